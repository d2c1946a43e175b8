#include "model/DisplaySettings.h"

#include <QGuiApplication>
#include <QPalette>

#include "platform/SettingsFile.h"

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

void DisplaySettings::load(SettingsFile& file, const std::string& section)
{
    file_ = &file;
    section_ = section;
    iconSize = file.readInt(section, "Size", systemIconSize());
    xpDisplay = file.readInt(section, "XPDisp", 1);
    macFilter = file.readInt(section, "MacFilter", 7951);
    macFileTypes = file.readString(section, "MacFileType", "icon;icns;rsrc;macs");
    transparency = file.readInt(section, "Permate", 1);
    transparencyType = file.readInt(section, "PermateType", 0);
    backColor = file.readColor(section, "BackColor", systemBackColor());
    selectColor = file.readColor(section, "SelectColor", systemSelectColor());
    transparencyColor = file.readColor(section, "PermateColor", 0);
}

void DisplaySettings::save() const
{
    if (!file_)
        return;
    file_->writeInt(section_, "Size", iconSize);
    file_->writeInt(section_, "XPDisp", xpDisplay);
    file_->writeInt(section_, "MacFilter", macFilter);
    file_->writeString(section_, "MacFileType", macFileTypes);
    file_->writeInt(section_, "Permate", transparency);
    file_->writeInt(section_, "PermateType", transparencyType);
    file_->writeColor(section_, "BackColor", backColor);
    file_->writeColor(section_, "SelectColor", selectColor);
    file_->writeColor(section_, "PermateColor", transparencyColor);
}

}  // namespace sigil
