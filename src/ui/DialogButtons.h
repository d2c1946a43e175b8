#pragma once
// The OK and "ｷｬﾝｾﾙ" buttons at the foot of a dialog.

#include <QString>

class QDialog;
class QDialogButtonBox;

namespace sigil {

// OK (or okText) and ｷｬﾝｾﾙ, numbered 1 and 2 and wired to the dialog's
// accept and reject.
QDialogButtonBox* okCancelButtons(QDialog* dialog, const QString& okText = QStringLiteral("OK"));

}  // namespace sigil
