#include "ui/MessageBoxes.h"

#include <QApplication>

namespace sigil {

namespace {
MessageHandler& handler()
{
    static MessageHandler current;
    return current;
}
}  // namespace

MessageHandler setMessageHandler(MessageHandler next)
{
    MessageHandler previous = std::move(handler());
    handler() = std::move(next);
    return previous;
}

QMessageBox::StandardButton showMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons)
{
    if (handler())
        return handler()(parent, text, icon, buttons);
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    // The program's name as the caption, as every message box of the program has.
    QMessageBox box(icon, QStringLiteral("Sigilscope"), shown, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace sigil
