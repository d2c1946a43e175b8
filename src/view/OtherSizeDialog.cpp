#include "view/OtherSizeDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/StringTable.h"
#include "ui/DialogIds.h"
#include "ui/MessageBoxes.h"

namespace sigil {

OtherSizeDialog::OtherSizeDialog(int size, QWidget* parent) : QDialog(parent), size_(size)
{
    setObjectName(controlName(kOtherSizeDialog));
    setWindowTitle(QStringLiteral("その他のサイズ"));
    edit_ = new QLineEdit(QString::number(size), this);
    edit_->setValidator(new QIntValidator(0, 9999, edit_));
    edit_->selectAll();
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("サイズ"), this));
    row->addWidget(edit_);
    row->addWidget(new QLabel(QStringLiteral("ドット (16～256)"), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("ｷｬﾝｾﾙ"));
    connect(buttons, &QDialogButtonBox::accepted, this, &OtherSizeDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OtherSizeDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

void OtherSizeDialog::accept()
{
    bool ok = false;
    const int value = edit_->text().trimmed().toInt(&ok);
    if (!ok || value < 16 || value > 256) {
        showMessage(this, loadString(str::SizeOutOfRange), QMessageBox::Warning);
        edit_->setFocus();
        return;
    }
    size_ = value;
    QDialog::accept();
}

}  // namespace sigil
