#pragma once
// The OK and Cancel buttons at the foot of a dialog, in the interface
// language.

#include <QString>

class QDialog;
class QDialogButtonBox;

namespace sigil {

// OK (or okText) and Cancel, numbered 1 and 2 and wired to the dialog's
// accept and reject.
QDialogButtonBox* okCancelButtons(QDialog* dialog, const QString& okText = QString());

}  // namespace sigil
