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

QMessageBox::StandardButton showMessage(QWidget* parent, const QString& text,
                                        QMessageBox::Icon icon = QMessageBox::Warning,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);

}  // namespace sigil
