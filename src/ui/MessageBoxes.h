#pragma once
// Every message box of the program goes through here, so that tests can
// answer them. Texts keep the string table's "\r\n" line breaks.

#include <QMessageBox>
#include <QString>
#include <functional>

namespace sigil {

using MessageHandler = std::function<QMessageBox::StandardButton(
    QWidget* parent, const QString& text, QMessageBox::Icon icon, QMessageBox::StandardButtons buttons)>;

// Replaces the handler (an empty one restores the real message boxes);
// answers the handler that was installed before.
MessageHandler setMessageHandler(MessageHandler handler);

// The text of a standard button in every message box of the program, with
// its mnemonic so that a letter key answers the box; empty for a button the
// program does not use.
QString standardButtonText(QMessageBox::StandardButton button);

QMessageBox::StandardButton showMessage(QWidget* parent, const QString& text,
                                        QMessageBox::Icon icon = QMessageBox::Warning,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);

}  // namespace sigil
