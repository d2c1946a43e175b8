#include "view/EditDialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "formats/IconMaker.h"
#include "platform/StringTable.h"
#include "ui/DialogIds.h"
#include "ui/IntegerEdit.h"
#include "ui/MessageBoxes.h"

namespace sigil {

namespace {

// OK (or okText) and Cancel, wired to the dialog's accept and reject.
QDialogButtonBox* addButtons(QDialog* dialog, const QString& okText)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setText(okText);
    ok->setObjectName(controlName(kOkButton));
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setText(loadString(str::ButtonCancel));
    cancel->setObjectName(controlName(kCancelButton));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QLineEdit* sizeEdit(int value, int id, QWidget* parent)
{
    auto* edit = new QLineEdit(QString::number(value), parent);
    edit->setObjectName(controlName(id));
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
    return edit;
}

struct ColourRadio {
    int id;
    int bitCount;
    int text;
};

constexpr ColourRadio kColourRadios[] = {
    {kAddMonoRadio, 1, str::AddMono},
    {kAdd16ColourRadio, 4, str::Add16Colours},
    {kAdd256ColourRadio, 8, str::Add256Colours},
    {kAddTrueColourRadio, 24, str::AddTrueColour},
    {kAddXpRadio, 32, str::AddXp},
};

constexpr int kColourBoxTexts[] = {
    str::BatchMono, str::Batch16Colours, str::Batch256Colours, str::BatchTrueColour, str::BatchXp,
};

constexpr int kSizeBoxTexts[] = {
    str::BatchNonSquare, str::Batch16, str::Batch24, str::Batch32,
    str::Batch48,        str::Batch64, str::Batch72, str::Batch128,
};

static_assert(std::size(kColourBoxTexts) + std::size(kSizeBoxTexts) == std::tuple_size_v<BatchDeleteBoxes>);
static_assert(kDeleteNonSquareBox == kDeleteMonoBox + std::size(kColourBoxTexts));
static_assert(kDelete128Box == kDeleteNonSquareBox + std::size(kSizeBoxTexts) - 1);

}  // namespace

AddIconDialog::AddIconDialog(const NewIconChoice& choice, QWidget* parent) : QDialog(parent), choice_(choice)
{
    setObjectName(controlName(kAddIconDialog));
    setWindowTitle(loadString(str::AddTitle));

    auto* sizeGroup = new QGroupBox(loadString(str::AddSizeGroup), this);
    widthEdit_ = sizeEdit(choice.width, kAddWidthEdit, sizeGroup);
    heightEdit_ = sizeEdit(choice.height, kAddHeightEdit, sizeGroup);
    auto* sizeRow = new QHBoxLayout(sizeGroup);
    sizeRow->addWidget(widthEdit_);
    sizeRow->addWidget(new QLabel(QStringLiteral("×"), sizeGroup));
    sizeRow->addWidget(heightEdit_);
    sizeRow->addWidget(new QLabel(loadString(str::DotUnit), sizeGroup));
    sizeRow->addStretch();

    auto* colourGroup = new QGroupBox(loadString(str::AddColoursGroup), this);
    auto* colourColumn = new QVBoxLayout(colourGroup);
    colours_ = new QButtonGroup(this);
    for (const ColourRadio& c : kColourRadios) {
        auto* radio = new QRadioButton(loadString(c.text), colourGroup);
        radio->setObjectName(controlName(c.id));
        colours_->addButton(radio, c.bitCount);
        colourColumn->addWidget(radio);
    }
    // Any other stored bit count leaves every button clear.
    if (QAbstractButton* chosen = colours_->button(choice.bitCount))
        chosen->setChecked(true);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(sizeGroup);
    layout->addWidget(colourGroup);
    layout->addWidget(addButtons(this, loadString(str::ButtonOk)));
    widthEdit_->setFocus();
    widthEdit_->selectAll();
}

void AddIconDialog::accept()
{
    // Both edits must hold integers before either size is judged.
    const std::optional<int> width = readIntegerEdit(widthEdit_);
    if (!width)
        return;
    const std::optional<int> height = readIntegerEdit(heightEdit_);
    if (!height)
        return;
    const bool widthOk = *width > 0 && *width <= 256;
    const bool heightOk = *height > 0 && *height <= 256;
    if (!widthOk || !heightOk) {
        showMessage(this, loadString(str::BadIconSize), QMessageBox::Warning);
        QLineEdit* bad = widthOk ? heightEdit_ : widthEdit_;
        bad->setFocus();
        bad->selectAll();
        return;
    }
    const int checked = colours_->checkedId();
    choice_ = {*width, *height, checked > 0 ? checked : 0};
    QDialog::accept();
}

RenameDialog::RenameDialog(const std::string& name, QWidget* parent) : QDialog(parent), initial_(name)
{
    setObjectName(controlName(kRenameDialog));
    setWindowTitle(loadString(str::RenameTitle));
    edit_ = new QLineEdit(QString::fromUtf8(name), this);
    edit_->setObjectName(controlName(kRenameEdit));
    edit_->setMinimumWidth(edit_->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 24);
    edit_->selectAll();
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(edit_);
    layout->addWidget(addButtons(this, loadString(str::ButtonOk)));
}

std::string RenameDialog::name() const
{
    // Names read from files need not be valid UTF-8; an untouched edit keeps
    // such a name byte for byte instead of its replacement characters.
    const QString text = edit_->text();
    if (text == QString::fromUtf8(initial_))
        return initial_;
    return text.toStdString();
}

BatchDeleteDialog::BatchDeleteDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(controlName(kBatchDeleteDialog));
    setWindowTitle(loadString(str::BatchTitle));

    auto makeGroup = [this](const QString& title, const auto& texts, size_t first) {
        auto* group = new QGroupBox(title, this);
        auto* column = new QVBoxLayout(group);
        for (size_t i = 0; i < std::size(texts); ++i) {
            auto* box = new QCheckBox(loadString(texts[i]), group);
            box->setObjectName(controlName(kDeleteMonoBox + int(first + i)));
            boxes_[first + i] = box;
            column->addWidget(box);
        }
        column->addStretch();
        return group;
    };
    auto* groups = new QHBoxLayout;
    groups->addWidget(makeGroup(loadString(str::BatchByColour), kColourBoxTexts, 0));
    groups->addWidget(makeGroup(loadString(str::BatchBySize), kSizeBoxTexts, std::size(kColourBoxTexts)));

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(groups);
    layout->addWidget(addButtons(this, loadString(str::BatchRun)));
}

BatchDeleteBoxes BatchDeleteDialog::boxes() const
{
    BatchDeleteBoxes states{};
    for (size_t i = 0; i < boxes_.size(); ++i)
        states[i] = boxes_[i]->isChecked();
    return states;
}

bool runAddIconDialog(QWidget* owner, NewIconChoice& choice)
{
    AddIconDialog dialog(choice, owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    choice = dialog.choice();
    return true;
}

bool runRenameDialog(QWidget* owner, std::string& name)
{
    RenameDialog dialog(name, owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    name = dialog.name();
    return true;
}

bool runMakeSizesDialog(QWidget* owner, std::vector<int>& sizes)
{
    QDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("makeSizesDialog"));
    dialog.setWindowTitle(loadString(str::MakeSizesTitle));
    auto* layout = new QVBoxLayout(&dialog);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(new QLabel(loadString(str::MakeSizesPrompt), &dialog));
    auto* grid = new QGridLayout;
    std::vector<std::pair<int, QCheckBox*>> boxes;
    const std::vector<int> offered = defaultMadeSizes(MadeFormat::Ico);
    for (size_t i = 0; i < offered.size(); ++i) {
        const int size = offered[i];
        auto* box = new QCheckBox(QStringLiteral("%1 x %1").arg(size), &dialog);
        box->setChecked(std::find(sizes.begin(), sizes.end(), size) != sizes.end());
        grid->addWidget(box, int(i % 5), int(i / 5));
        boxes.emplace_back(size, box);
    }
    layout->addLayout(grid);
    layout->addWidget(addButtons(&dialog, loadString(str::ButtonOk)));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    sizes.clear();
    for (const auto& [size, box] : boxes)
        if (box->isChecked())
            sizes.push_back(size);
    return true;
}

bool runBatchDeleteDialog(QWidget* owner, BatchDeleteBoxes& boxes)
{
    // A new dialog each time, so every box starts clear.
    BatchDeleteDialog dialog(owner);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    boxes = dialog.boxes();
    return true;
}

}  // namespace sigil
