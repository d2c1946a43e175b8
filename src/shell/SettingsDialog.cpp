#include "shell/SettingsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/SettingsFile.h"
#include "platform/StringTable.h"
#include "settings/DisplaySettingsFile.h"
#include "settings/GeneralSettings.h"
#include "ui/ColorButton.h"
#include "ui/DialogButtons.h"
#include "ui/DialogIds.h"
#include "ui/FileDialog.h"

namespace sigil {

namespace {

struct MacBox {
    int bit;
    int control;
    int text;  // in the string table; 0: the text below
    const char* plain;
};

// The MacFilter bit of each colour class and each size.
constexpr MacBox kMacColourBoxes[SettingsChoice::kMacColourCount] = {
    {0, kMacMonoBox, str::SettingsMacMono, nullptr},
    {1, kMac16ColourBox, str::SettingsMac16Colours, nullptr},
    {2, kMac256ColourBox, str::SettingsMac256Colours, nullptr},
    {3, kMacTrueColourBox, str::SettingsMacTrueColour, nullptr},
};
constexpr MacBox kMacSizeBoxes[SettingsChoice::kMacSizeCount] = {
    {8, kMac16x12Box, 0, "16x12"},  {9, kMac16x16Box, 0, "16x16"},      {10, kMac32x32Box, 0, "32x32"},
    {11, kMac48x48Box, 0, "48x48"}, {12, kMac128x128Box, 0, "128x128"},
};

constexpr int kTransparencyTypes[] = {
    str::SettingsTransparentChosen,     str::SettingsTransparentTopLeft,     str::SettingsTransparentTopRight,
    str::SettingsTransparentBottomLeft, str::SettingsTransparentBottomRight,
};

// The language list's entries and the settings' values, in order.
constexpr int kLanguageTexts[] = {str::SettingsLanguageJapanese, str::SettingsLanguageEnglish,
                                  str::SettingsLanguageAuto};
constexpr const char* kLanguageValues[] = {"ja", "en", "auto"};

QString macBoxText(const MacBox& box)
{
    return box.text ? loadString(box.text) : QString::fromUtf8(box.plain);
}

QCheckBox* checkBox(const QString& text, int id, QWidget* parent)
{
    return named(new QCheckBox(text, parent), id);
}

ColorButton* colorButton(int id, QWidget* parent)
{
    auto* button = named(new ColorButton(parent), id);
    button->setFixedSize(40, 22);
    QObject::connect(button, &QAbstractButton::clicked, button, &ColorButton::choose);
    return button;
}

}  // namespace

SettingsChoice settingsChoiceOf(const GeneralSettings& general, const DisplaySettings& display)
{
    SettingsChoice c;
    c.showGrid = general.grid != 0;
    c.arrangement = general.horizontal != 0 ? 1 : 0;
    c.xpDisplay = display.xpDisplay != 0;
    for (int i = 0; i < SettingsChoice::kMacColourCount; ++i)
        c.macColours[i] = (display.macFilter >> kMacColourBoxes[i].bit) & 1;
    for (int i = 0; i < SettingsChoice::kMacSizeCount; ++i)
        c.macSizes[i] = (display.macFilter >> kMacSizeBoxes[i].bit) & 1;
    c.macFileTypes = display.macFileTypes;
    c.transparency = display.transparency != 0;
    c.transparencyType = display.transparencyType;
    c.useEditor = general.useEditor != 0;
    c.editorPath = general.editorPath;
    c.backColor = display.backColor;
    c.gridColor = general.gridColor;
    c.selectColor = display.selectColor;
    c.transparencyColor = display.transparencyColor;
    const QString language = QString::fromStdString(general.language).trimmed().toLower();
    c.language = language == QLatin1String("en") ? 1 : language == QLatin1String("auto") ? 2 : 0;
    return c;
}

SettingsEnabling settingsEnabling(const SettingsChoice& choice)
{
    SettingsEnabling e;
    e.gridColor = choice.showGrid;
    e.transparencyType = choice.transparency;
    // The chosen colour matters only for "chosen colour is transparent", even while the list
    // itself is disabled.
    e.transparencyColor = choice.transparencyType == 0;
    e.editorPath = choice.useEditor;
    return e;
}

SettingsChanges applySettingsChoice(const SettingsChoice& c, GeneralSettings& general, DisplaySettings& display)
{
    SettingsChanges changes;
    general.grid = c.showGrid ? 1 : 0;
    general.gridColor = c.gridColor;
    general.useEditor = c.useEditor ? 1 : 0;
    general.editorPath = c.editorPath;
    // A value the list cannot show stays as it is until another is chosen.
    if (c.language != settingsChoiceOf(general, display).language)
        general.language = kLanguageValues[c.language >= 0 && c.language < 3 ? c.language : 0];

    int filter = 0;
    for (int i = 0; i < SettingsChoice::kMacColourCount; ++i)
        filter |= c.macColours[i] ? 1 << kMacColourBoxes[i].bit : 0;
    for (int i = 0; i < SettingsChoice::kMacSizeCount; ++i)
        filter |= c.macSizes[i] ? 1 << kMacSizeBoxes[i].bit : 0;
    display.macFilter = filter;
    display.macFileTypes = c.macFileTypes;
    display.transparency = c.transparency ? 1 : 0;
    display.transparencyType = c.transparencyType;
    display.transparencyColor = c.transparencyColor;

    const bool horizontal = c.arrangement == 1;
    if (horizontal != (general.horizontal != 0)) {
        general.horizontal = horizontal ? 1 : 0;
        changes.layoutChanged = true;
    }
    const int xp = c.xpDisplay ? 1 : 0;
    if (xp != display.xpDisplay || c.backColor != display.backColor || c.selectColor != display.selectColor) {
        display.xpDisplay = xp;
        display.backColor = c.backColor;
        display.selectColor = c.selectColor;
        changes.displayChanged = true;
    }
    return changes;
}

SettingsDialog::SettingsDialog(GeneralSettings& general, DisplaySettings& display, SettingsFile& file, QWidget* parent)
    : QDialog(parent),
      general_(general),
      display_(display),
      file_(file),
      choice_(settingsChoiceOf(general, display))
{
    setObjectName(controlName(kSettingsDialog));
    setWindowTitle(loadString(str::SettingsTitle));
    buildControls();
    xpDisplay_->hide();
    showChoice();
    updateEnabling();
}

void SettingsDialog::buildControls()
{
    auto* shown = new QGroupBox(loadString(str::SettingsDisplayGroup), this);
    showGrid_ = checkBox(loadString(str::SettingsShowGrid), kShowGridBox, shown);
    gridColor_ = colorButton(kGridColorButton, shown);
    backColor_ = colorButton(kBackColorButton, shown);
    selectColor_ = colorButton(kSelectColorButton, shown);
    vertical_ = named(new QRadioButton(loadString(str::SettingsVertical), shown), kArrangeVerticalRadio);
    horizontal_ = named(new QRadioButton(loadString(str::SettingsHorizontal), shown), kArrangeHorizontalRadio);
    xpDisplay_ = checkBox(loadString(str::SettingsXpDisplay), kXpDisplayBox, shown);
    auto* shownGrid = new QGridLayout(shown);
    shownGrid->addWidget(showGrid_, 0, 0);
    shownGrid->addWidget(gridColor_, 0, 1);
    shownGrid->addWidget(new QLabel(loadString(str::SettingsBackColor), shown), 0, 3, Qt::AlignRight);
    shownGrid->addWidget(backColor_, 0, 4);
    auto* arrangement = new QHBoxLayout;
    arrangement->addWidget(vertical_);
    arrangement->addWidget(horizontal_);
    arrangement->addStretch();
    shownGrid->addLayout(arrangement, 1, 0, 1, 2);
    shownGrid->addWidget(new QLabel(loadString(str::SettingsSelectColor), shown), 1, 3, Qt::AlignRight);
    shownGrid->addWidget(selectColor_, 1, 4);
    shownGrid->addWidget(xpDisplay_, 2, 0, 1, 5);
    shownGrid->setColumnStretch(2, 1);

    auto* mac = new QGroupBox(loadString(str::SettingsMacGroup), this);
    auto* macGrid = new QGridLayout(mac);
    macGrid->addWidget(new QLabel(loadString(str::SettingsMacColours), mac), 0, 0);
    for (int i = 0; i < SettingsChoice::kMacColourCount; ++i) {
        macColours_[i] = checkBox(macBoxText(kMacColourBoxes[i]), kMacColourBoxes[i].control, mac);
        macGrid->addWidget(macColours_[i], 0, 1 + i);
    }
    macGrid->addWidget(new QLabel(loadString(str::SettingsMacSizes), mac), 1, 0);
    for (int i = 0; i < SettingsChoice::kMacSizeCount; ++i) {
        macSizes_[i] = checkBox(macBoxText(kMacSizeBoxes[i]), kMacSizeBoxes[i].control, mac);
        macGrid->addWidget(macSizes_[i], 1 + i / 3, 1 + i % 3);
    }
    macFileTypes_ = named(new QLineEdit(mac), kMacFileTypesEdit);
    macGrid->addWidget(new QLabel(loadString(str::SettingsMacFileTypes), mac), 3, 0, 1, 2);
    macGrid->addWidget(macFileTypes_, 3, 2, 1, 3);
    macGrid->addWidget(new QLabel(loadString(str::SettingsMacFileTypesNote), mac), 4, 2, 1, 3);

    auto* bitmap = new QGroupBox(loadString(str::SettingsBitmapGroup), this);
    transparency_ = checkBox(loadString(str::SettingsTransparency), kTransparencyBox, bitmap);
    transparencyType_ = named(new QComboBox(bitmap), kTransparencyTypeList);
    for (int text : kTransparencyTypes)
        transparencyType_->addItem(loadString(text));
    transparencyColor_ = colorButton(kTransparencyColorButton, bitmap);
    auto* bitmapRow = new QHBoxLayout(bitmap);
    bitmapRow->addWidget(transparency_);
    bitmapRow->addWidget(transparencyType_, 1);
    bitmapRow->addWidget(transparencyColor_);

    useEditor_ = checkBox(loadString(str::SettingsUseEditor), kUseEditorBox, this);
    editorPath_ = named(new QLineEdit(this), kEditorPathEdit);
    auto* browse = named(new QPushButton(QStringLiteral(".."), this), kEditorBrowseButton);
    browse->setFixedWidth(28);
    auto* editorRow = new QHBoxLayout;
    editorRow->addWidget(editorPath_, 1);
    editorRow->addWidget(browse);

    // The language, used from the next start: the texts are chosen once,
    // before any window is built.
    language_ = named(new QComboBox(this), kLanguageList);
    for (int text : kLanguageTexts)
        language_->addItem(loadString(text));
    auto* languageRow = new QHBoxLayout;
    languageRow->addWidget(new QLabel(loadString(str::SettingsLanguage), this));
    languageRow->addWidget(language_);
    languageRow->addWidget(new QLabel(loadString(str::SettingsLanguageNote), this));
    languageRow->addStretch();

    QDialogButtonBox* buttons = okCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(shown);
    layout->addWidget(mac);
    layout->addWidget(bitmap);
    layout->addWidget(useEditor_);
    layout->addLayout(editorRow);
    layout->addLayout(languageRow);
    layout->addWidget(buttons);

    for (QCheckBox* box : {showGrid_, transparency_, useEditor_})
        connect(box, &QCheckBox::clicked, this, &SettingsDialog::updateEnabling);
    connect(transparencyType_, &QComboBox::currentIndexChanged, this, &SettingsDialog::updateEnabling);
    connect(browse, &QPushButton::clicked, this, &SettingsDialog::browseEditor);
}

void SettingsDialog::showChoice()
{
    // The list would run the enabling rules, which read the controls back
    // before they are all filled.
    const QSignalBlocker quiet(transparencyType_);
    const SettingsChoice& c = choice_;
    showGrid_->setChecked(c.showGrid);
    (c.arrangement == 1 ? horizontal_ : vertical_)->setChecked(true);
    xpDisplay_->setChecked(c.xpDisplay);
    for (int i = 0; i < SettingsChoice::kMacColourCount; ++i)
        macColours_[i]->setChecked(c.macColours[i]);
    for (int i = 0; i < SettingsChoice::kMacSizeCount; ++i)
        macSizes_[i]->setChecked(c.macSizes[i]);
    macFileTypes_->setText(QString::fromStdString(c.macFileTypes));
    transparency_->setChecked(c.transparency);
    // A stored type outside the list selects nothing, as the list would.
    transparencyType_->setCurrentIndex(
        c.transparencyType >= 0 && c.transparencyType < transparencyType_->count() ? c.transparencyType : -1);
    useEditor_->setChecked(c.useEditor);
    editorPath_->setText(QString::fromStdString(c.editorPath));
    backColor_->setColor(c.backColor);
    gridColor_->setColor(c.gridColor);
    selectColor_->setColor(c.selectColor);
    transparencyColor_->setColor(c.transparencyColor);
    language_->setCurrentIndex(c.language);
}

void SettingsDialog::readChoice()
{
    SettingsChoice& c = choice_;
    c.showGrid = showGrid_->isChecked();
    c.arrangement = horizontal_->isChecked() ? 1 : 0;
    c.xpDisplay = xpDisplay_->isChecked();
    for (int i = 0; i < SettingsChoice::kMacColourCount; ++i)
        c.macColours[i] = macColours_[i]->isChecked();
    for (int i = 0; i < SettingsChoice::kMacSizeCount; ++i)
        c.macSizes[i] = macSizes_[i]->isChecked();
    c.macFileTypes = macFileTypes_->text().toStdString();
    c.transparency = transparency_->isChecked();
    // A stored type the list does not show stays as it is.
    if (transparencyType_->currentIndex() >= 0)
        c.transparencyType = transparencyType_->currentIndex();
    c.useEditor = useEditor_->isChecked();
    c.editorPath = editorPath_->text().toStdString();
    c.backColor = backColor_->color();
    c.gridColor = gridColor_->color();
    c.selectColor = selectColor_->color();
    c.transparencyColor = transparencyColor_->color();
    c.language = language_->currentIndex();
}

void SettingsDialog::updateEnabling()
{
    readChoice();
    const SettingsEnabling e = settingsEnabling(choice_);
    gridColor_->setEnabled(e.gridColor);
    transparencyType_->setEnabled(e.transparencyType);
    transparencyColor_->setEnabled(e.transparencyColor);
    editorPath_->setEnabled(e.editorPath);
}

void SettingsDialog::browseEditor()
{
    readChoice();
    FileDialog dialog(this);
    // Programs here have no extension, so a typed name gets none added.
    if (!dialog.run(true, false, loadString(str::EditorFilter).toStdString(), choice_.editorPath, ""))
        return;
    choice_.editorPath = dialog.path();
    editorPath_->setText(QString::fromStdString(choice_.editorPath));
}

void SettingsDialog::accept()
{
    readChoice();
    changes_ = applySettingsChoice(choice_, general_, display_);
    // Saved at once, so a crash or a second copy of the program cannot lose
    // the choice.
    general_.save();
    saveDisplaySettings(display_, file_, kMainSection);
    QDialog::accept();
}

}  // namespace sigil
