#include "ui/MessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>

#include "platform/StringTable.h"

namespace sigil {

namespace {
MessageHandler& handler()
{
    static MessageHandler current;
    return current;
}
}  // namespace

QString standardButtonText(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok:
        return loadString(str::ButtonOk);
    case QMessageBox::Yes:
        return loadString(str::MessageYes);
    case QMessageBox::No:
        return loadString(str::MessageNo);
    case QMessageBox::Cancel:
        return loadString(str::MessageCancel);  // Escape answers it
    default:
        return {};
    }
}

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
    // Set here rather than left to Qt's translation, which may lack the
    // mnemonics or be missing altogether.
    for (QAbstractButton* button : box.buttons()) {
        const QString label = standardButtonText(box.standardButton(button));
        if (!label.isEmpty())
            button->setText(label);
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace sigil
