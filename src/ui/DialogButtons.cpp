#include "ui/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include "platform/StringTable.h"
#include "ui/DialogIds.h"

namespace sigil {

QDialogButtonBox* okCancelButtons(QDialog* dialog, const QString& okText)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    named(buttons->button(QDialogButtonBox::Ok), kOkButton)
        ->setText(okText.isEmpty() ? loadString(str::ButtonOk) : okText);
    named(buttons->button(QDialogButtonBox::Cancel), kCancelButton)->setText(loadString(str::ButtonCancel));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

}  // namespace sigil
