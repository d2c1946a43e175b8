#include "view/OtherSizeDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/StringTable.h"
#include "ui/DialogIds.h"
#include "ui/IntegerEdit.h"
#include "ui/MessageBoxes.h"

namespace sigil {

OtherSizeDialog::OtherSizeDialog(int size, QWidget* parent) : QDialog(parent), size_(size)
{
    setObjectName(controlName(kOtherSizeDialog));
    setWindowTitle(loadString(str::OtherSizeTitle));
    // No validator: a text that is not a number reaches accept() and gets
    // the integer message there, as every integer edit of the program does.
    edit_ = new QLineEdit(QString::number(size), this);
    edit_->setObjectName(controlName(kOtherSizeEdit));
    edit_->selectAll();
    auto* row = new QHBoxLayout;
    row->addWidget(edit_);
    row->addWidget(new QLabel(loadString(str::DotUnit), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(loadString(str::ButtonOk));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(controlName(kOkButton));
    buttons->button(QDialogButtonBox::Cancel)->setText(loadString(str::ButtonCancel));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(controlName(kCancelButton));
    connect(buttons, &QDialogButtonBox::accepted, this, &OtherSizeDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OtherSizeDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(loadString(str::OtherSizePrompt), this));
    layout->addLayout(row);
    layout->addWidget(buttons);
}

void OtherSizeDialog::accept()
{
    const std::optional<int> value = readIntegerEdit(edit_);
    if (!value)
        return;
    if (*value < 16 || *value > 256) {
        showMessage(this, loadString(str::SizeOutOfRange), QMessageBox::Warning);
        edit_->setFocus();
        edit_->selectAll();
        return;
    }
    size_ = *value;
    QDialog::accept();
}

}  // namespace sigil
