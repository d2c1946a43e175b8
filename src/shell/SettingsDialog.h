#pragma once
// The settings dialog (107, "Settings"): display, Mac import, bitmap import,
// external editor and interface language options. OK writes them into the two settings records,
// saves both at once and tells the caller what the view must redo.

#include <QDialog>
#include <array>
#include <string>

#include "model/DisplaySettings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace sigil {

struct GeneralSettings;
class ColorButton;
class SettingsFile;

// What the dialog's controls hold.
struct SettingsChoice {
    static constexpr int kMacColourCount = 4;  // mono, 16, 256, 24/32-bit
    static constexpr int kMacSizeCount = 5;    // 16x12, 16x16, 32x32, 48x48, 128x128

    bool showGrid = false;
    int arrangement = 0;  // 0 vertical, 1 horizontal
    bool xpDisplay = false;
    std::array<bool, kMacColourCount> macColours{};
    std::array<bool, kMacSizeCount> macSizes{};
    std::string macFileTypes;
    bool transparency = false;
    int transparencyType = 0;  // index in the transparency list
    bool useEditor = false;
    std::string editorPath;
    Color backColor = 0;
    Color gridColor = 0;
    Color selectColor = 0;
    Color transparencyColor = 0;
    // The interface language: 0 Japanese, 1 English, 2 automatic (the
    // settings' "ja", "en" and "auto"); used from the next start.
    int language = 0;
};

// Which controls are enabled for a choice.
struct SettingsEnabling {
    bool gridColor = false;
    bool transparencyType = false;
    bool transparencyColor = false;
    bool editorPath = false;
};

// What the view must do after OK.
struct SettingsChanges {
    bool layoutChanged = false;   // the arrangement changed
    bool displayChanged = false;  // XP display, background or selection colour changed
};

SettingsChoice settingsChoiceOf(const GeneralSettings& general, const DisplaySettings& display);
SettingsEnabling settingsEnabling(const SettingsChoice& choice);
// Writes the choice into the records (the file is not touched).
SettingsChanges applySettingsChoice(const SettingsChoice& choice, GeneralSettings& general, DisplaySettings& display);

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    // The XP display box is hidden: alpha icons are shown as they are.
    SettingsDialog(GeneralSettings& general, DisplaySettings& display, SettingsFile& file, QWidget* parent = nullptr);

    // Valid after OK.
    const SettingsChanges& changes() const { return changes_; }

    void accept() override;

private:
    void buildControls();
    void showChoice();
    void readChoice();
    void updateEnabling();
    void browseEditor();

    GeneralSettings& general_;
    DisplaySettings& display_;
    SettingsFile& file_;
    SettingsChoice choice_;
    SettingsChanges changes_;

    QCheckBox* showGrid_ = nullptr;
    QRadioButton* vertical_ = nullptr;
    QRadioButton* horizontal_ = nullptr;
    QCheckBox* xpDisplay_ = nullptr;
    std::array<QCheckBox*, SettingsChoice::kMacColourCount> macColours_{};
    std::array<QCheckBox*, SettingsChoice::kMacSizeCount> macSizes_{};
    QLineEdit* macFileTypes_ = nullptr;
    QCheckBox* transparency_ = nullptr;
    QComboBox* transparencyType_ = nullptr;
    QCheckBox* useEditor_ = nullptr;
    QLineEdit* editorPath_ = nullptr;
    ColorButton* backColor_ = nullptr;
    ColorButton* gridColor_ = nullptr;
    ColorButton* selectColor_ = nullptr;
    ColorButton* transparencyColor_ = nullptr;
    QComboBox* language_ = nullptr;
};

}  // namespace sigil
