#include "model/DisplaySettings.h"

#include <QGuiApplication>
#include <QPalette>

namespace sigil {

namespace {

// Without a GUI application (the CLI, tests) there is no palette to ask.
const QGuiApplication* guiApplication()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance());
}

Color fromQColor(const QColor& c)
{
    return rgbColor(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()), static_cast<uint8_t>(c.blue()));
}

}  // namespace

int DisplaySettings::systemIconSize()
{
    return 32;
}

Color DisplaySettings::systemBackColor()
{
    if (guiApplication())
        return fromQColor(QGuiApplication::palette().color(QPalette::Base));
    return rgbColor(255, 255, 255);
}

Color DisplaySettings::systemSelectColor()
{
    if (guiApplication())
        return fromQColor(QGuiApplication::palette().color(QPalette::Highlight));
    return rgbColor(0, 120, 215);
}

}  // namespace sigil
