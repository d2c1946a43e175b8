#include "view/ExportDialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <optional>

#include "platform/StringTable.h"
#include "ui/DialogIds.h"
#include "ui/IntegerEdit.h"

namespace sigil {

namespace {

QDialogButtonBox* okCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(loadString(str::ButtonOk));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(controlName(kOkButton));
    buttons->button(QDialogButtonBox::Cancel)->setText(loadString(str::ButtonCancel));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(controlName(kCancelButton));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QLineEdit* edit(const QString& text, int id, int chars, QWidget* parent)
{
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(controlName(id));
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QLatin1Char('0')) * chars + 12);
    return e;
}

}  // namespace

SaveOptionsDialog::SaveOptionsDialog(const SaveAllChoice& choice, QWidget* parent) : QDialog(parent), choice_(choice)
{
    setObjectName(controlName(kSaveOptionsDialog));
    setWindowTitle(loadString(str::SaveOptionsTitle));
    auto* group = new QGroupBox(loadString(str::SaveFileNameGroup), this);
    byName_ = new QRadioButton(loadString(str::SaveByName), group);
    byName_->setObjectName(controlName(kSaveByNameRadio));
    numbered_ = new QRadioButton(loadString(str::SaveNumbered), group);
    numbered_->setObjectName(controlName(kSaveNumberedRadio));
    prefixEdit_ = edit(QString::fromStdString(choice.prefix), kSavePrefixEdit, 16, group);
    digitsEdit_ = edit(QString::number(choice.digits), kSaveDigitsEdit, 4, group);
    (choice.naming == 1 ? numbered_ : byName_)->setChecked(true);

    auto* grid = new QGridLayout(group);
    grid->addWidget(byName_, 0, 0, 1, 3);
    grid->addWidget(numbered_, 1, 0, 1, 3);
    grid->addWidget(new QLabel(loadString(str::SavePrefix), group), 2, 0);
    grid->addWidget(prefixEdit_, 2, 1, 1, 2);
    grid->addWidget(new QLabel(loadString(str::SaveDigits), group), 3, 0);
    grid->addWidget(digitsEdit_, 3, 1);
    grid->addWidget(new QLabel(loadString(str::SaveDigitsUnit), group), 3, 2);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(group);
    layout->addWidget(okCancel(this));
    connect(byName_, &QRadioButton::clicked, this, &SaveOptionsDialog::updateEnabling);
    connect(numbered_, &QRadioButton::clicked, this, &SaveOptionsDialog::updateEnabling);
    updateEnabling();
}

void SaveOptionsDialog::updateEnabling()
{
    const bool numbered = numbered_->isChecked();
    prefixEdit_->setEnabled(numbered);
    digitsEdit_->setEnabled(numbered);
}

void SaveOptionsDialog::accept()
{
    const int naming = numbered_->isChecked() ? 1 : 0;
    const std::optional<int> digits = readIntegerEdit(digitsEdit_);
    if (!digits)
        return;
    // A negative width means nothing for the numbered names: stay open.
    if (naming == 1 && *digits < 0)
        return;
    choice_ = {naming, prefixEdit_->text().toStdString(), *digits};
    QDialog::accept();
}

SnapAllDialog::SnapAllDialog(const SnapAllChoice& choice, QWidget* parent) : QDialog(parent), choice_(choice)
{
    setObjectName(controlName(kSnapAllDialog));
    setWindowTitle(loadString(str::SnapAllTitle));
    columnsEdit_ = edit(QString::number(choice.columns), kSnapColumnsEdit, 5, this);
    spacingEdit_ = edit(QString::number(choice.spacing), kSnapSpacingEdit, 5, this);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(loadString(str::SnapColumns), this), 0, 0);
    grid->addWidget(columnsEdit_, 0, 1);
    grid->addWidget(new QLabel(loadString(str::SnapColumnsUnit), this), 0, 2);
    grid->addWidget(new QLabel(loadString(str::SnapSpacing), this), 1, 0);
    grid->addWidget(spacingEdit_, 1, 1);
    grid->addWidget(new QLabel(loadString(str::SnapSpacingUnit), this), 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(grid);
    layout->addWidget(new QLabel(loadString(str::SnapColumnsNote), this));
    layout->addWidget(okCancel(this));
    columnsEdit_->setFocus();
    columnsEdit_->selectAll();
}

void SnapAllDialog::accept()
{
    const std::optional<int> columns = readIntegerEdit(columnsEdit_);
    if (!columns)
        return;
    const std::optional<int> spacing = readIntegerEdit(spacingEdit_);
    if (!spacing)
        return;
    choice_ = {*columns, *spacing};
    QDialog::accept();
}

bool runSaveOptionsDialog(QWidget* owner, SaveAllChoice& choice)
{
    SaveOptionsDialog dialog(choice, owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    choice = dialog.choice();
    return true;
}

bool runSnapAllDialog(QWidget* owner, SnapAllChoice& choice)
{
    SnapAllDialog dialog(choice, owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    choice = dialog.choice();
    return true;
}

}  // namespace sigil
