#include "shell/SettingsDialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "support/ViewFixture.h"
#include "ui/ColorButton.h"
#include "ui/DialogIds.h"

namespace sigil {
namespace {

using test::control;

// Answers every colour dialog with one colour (none: cancelled).
class ScriptedColors {
public:
    explicit ScriptedColors(std::optional<Color> answer)
    {
        previous_ = setColorChooser([answer](QWidget*, Color) { return answer; });
    }
    ~ScriptedColors() { setColorChooser(previous_); }

private:
    ColorChooser previous_;
};

class SettingsDialogTest : public testing::Test {
protected:
    SettingsDialogTest()
    {
        settings.display.xpDisplay = 0;
        settings.display.backColor = rgbColor(255, 255, 255);
        settings.display.selectColor = rgbColor(0, 0, 200);
    }
    test::SettingsFixture settings;
};

TEST_F(SettingsDialogTest, ControlsAreEnabledByTheirBoxesAndTheTransparencyType)
{
    struct Case {
        int grid, permate, permateType, editor;
        bool gridColor, typeList, permateColor, editorPath;
    };
    const Case cases[] = {
        {0, 0, 0, 0, false, false, true, false},  // the colour of type 0 stays enabled with the list off
        {1, 1, 0, 1, true, true, true, true},
        {0, 1, 2, 0, false, true, false, false},
        {1, 0, 4, 1, true, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.grid << c.permate << c.permateType << c.editor);
        settings.general.grid = c.grid;
        settings.display.transparency = c.permate;
        settings.display.transparencyType = c.permateType;
        settings.general.useEditor = c.editor;
        SettingsDialog dialog(settings.general, settings.display, settings.file);
        EXPECT_EQ(control<ColorButton>(dialog, kGridColorButton)->isEnabled(), c.gridColor);
        EXPECT_EQ(control<QComboBox>(dialog, kTransparencyTypeList)->isEnabled(), c.typeList);
        EXPECT_EQ(control<ColorButton>(dialog, kTransparencyColorButton)->isEnabled(), c.permateColor);
        EXPECT_EQ(control<QLineEdit>(dialog, kEditorPathEdit)->isEnabled(), c.editorPath);
        EXPECT_TRUE(control<QWidget>(dialog, kEditorBrowseButton)->isEnabled());

        // Clicking the boxes and choosing another type turn each rule over.
        control<QCheckBox>(dialog, kShowGridBox)->click();
        control<QCheckBox>(dialog, kTransparencyBox)->click();
        control<QCheckBox>(dialog, kUseEditorBox)->click();
        control<QComboBox>(dialog, kTransparencyTypeList)->setCurrentIndex(c.permateType == 0 ? 3 : 0);
        EXPECT_EQ(control<ColorButton>(dialog, kGridColorButton)->isEnabled(), !c.gridColor);
        EXPECT_EQ(control<QComboBox>(dialog, kTransparencyTypeList)->isEnabled(), !c.typeList);
        EXPECT_EQ(control<ColorButton>(dialog, kTransparencyColorButton)->isEnabled(), !c.permateColor);
        EXPECT_EQ(control<QLineEdit>(dialog, kEditorPathEdit)->isEnabled(), !c.editorPath);
    }
}

TEST_F(SettingsDialogTest, OkStoresTheChoiceSavesAtOnceAndReportsWhatToRedo)
{
    struct Case {
        const char* name;
        std::function<void(SettingsDialog&)> change;
        bool layoutChanged, displayChanged;
    };
    const Case cases[] = {
        {"nothing", [](SettingsDialog&) {}, false, false},
        {"arrangement", [](SettingsDialog& d) { control<QRadioButton>(d, kArrangeHorizontalRadio)->click(); }, true,
         false},
        {"grid colour only",
         [](SettingsDialog& d) {
             ScriptedColors red(rgbColor(255, 0, 0));
             control<QCheckBox>(d, kShowGridBox)->click();
             control<ColorButton>(d, kGridColorButton)->click();
         },
         false, false},
        {"background",
         [](SettingsDialog& d) {
             ScriptedColors green(rgbColor(0, 255, 0));
             control<ColorButton>(d, kBackColorButton)->click();
         },
         false, true},
        {"selection colour cancelled",
         [](SettingsDialog& d) {
             ScriptedColors cancelled(std::nullopt);
             control<ColorButton>(d, kSelectColorButton)->click();
         },
         false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::SettingsFixture fresh;
        fresh.display.xpDisplay = 0;
        fresh.display.backColor = rgbColor(255, 255, 255);
        SettingsDialog dialog(fresh.general, fresh.display, fresh.file);
        c.change(dialog);
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.changes().layoutChanged, c.layoutChanged);
        EXPECT_EQ(dialog.changes().displayChanged, c.displayChanged);
        // Both records reached the file.
        EXPECT_EQ(fresh.file.readInt("Sigilscope", "Horiz", -1), c.layoutChanged ? 1 : 0);
        EXPECT_EQ(fresh.file.readColor("Sigilscope", "BackColor", 0),
                  c.displayChanged ? rgbColor(0, 255, 0) : rgbColor(255, 255, 255));
    }
    EXPECT_EQ(settings.file.readInt("Sigilscope", "Horiz", -1), -1);
}

TEST_F(SettingsDialogTest, MacFilterKeepsOnlyTheBitsOfItsBoxes)
{
    settings.display.macFilter = 0x7FFFFFFF;
    {
        SettingsDialog dialog(settings.general, settings.display, settings.file);
        dialog.accept();
    }
    EXPECT_EQ(settings.display.macFilter, 0x1F0F);

    SettingsDialog dialog(settings.general, settings.display, settings.file);
    for (int id : {kMacMonoBox, kMac256ColourBox, kMac16x12Box, kMac32x32Box, kMac128x128Box})
        control<QCheckBox>(dialog, id)->click();
    dialog.accept();
    EXPECT_EQ(settings.display.macFilter, 0x1F0F & ~(1 | 4 | 0x100 | 0x400 | 0x1000));
    EXPECT_EQ(settings.file.readInt("Sigilscope", "MacFilter", 0), 0x1F0F & ~(1 | 4 | 0x100 | 0x400 | 0x1000));

    SettingsDialog none(settings.general, settings.display, settings.file);
    for (QCheckBox* box : none.findChildren<QCheckBox*>()) {
        const int id = box->objectName().toInt();
        if (id >= kMac16x12Box && id <= kMacTrueColourBox)
            box->setChecked(false);
    }
    none.accept();
    EXPECT_EQ(settings.display.macFilter, 0);
}

TEST_F(SettingsDialogTest, TextsAndTypeGoToTheRecordsAndCancelTouchesNothing)
{
    settings.display.transparencyType = 9;  // not in the list: kept as it is
    {
        SettingsDialog dialog(settings.general, settings.display, settings.file);
        EXPECT_TRUE(control<QCheckBox>(dialog, kXpDisplayBox)->isHidden());
        control<QLineEdit>(dialog, kMacFileTypesEdit)->setText(QStringLiteral("icns"));
        control<QLineEdit>(dialog, kEditorPathEdit)->setText(QStringLiteral("/usr/bin/editor"));
        control<QCheckBox>(dialog, kUseEditorBox)->click();
        control<QCheckBox>(dialog, kTransparencyBox)->click();
        dialog.reject();
    }
    EXPECT_EQ(settings.display.macFileTypes, "icon;icns;rsrc;macs");
    EXPECT_EQ(settings.general.useEditor, 0);
    EXPECT_EQ(settings.file.readString("Sigilscope", "MacFileType", "none"), "none");

    SettingsDialog dialog(settings.general, settings.display, settings.file);
    EXPECT_TRUE(control<QCheckBox>(dialog, kXpDisplayBox)->isHidden());  // kept in the file, not shown
    control<QCheckBox>(dialog, kXpDisplayBox)->click();
    control<QLineEdit>(dialog, kMacFileTypesEdit)->setText(QStringLiteral("icns"));
    control<QLineEdit>(dialog, kEditorPathEdit)->setText(QStringLiteral("/usr/bin/editor"));
    control<QCheckBox>(dialog, kUseEditorBox)->click();
    control<QCheckBox>(dialog, kTransparencyBox)->click();
    dialog.accept();
    EXPECT_TRUE(dialog.changes().displayChanged);  // XP display switched on
    EXPECT_EQ(settings.display.xpDisplay, 1);
    EXPECT_EQ(settings.display.macFileTypes, "icns");
    EXPECT_EQ(settings.general.editorPath, "/usr/bin/editor");
    EXPECT_EQ(settings.general.useEditor, 1);
    EXPECT_EQ(settings.display.transparency, 0);
    EXPECT_EQ(settings.display.transparencyType, 9);
    EXPECT_EQ(settings.file.readString("Sigilscope", "EditorPath", ""), "/usr/bin/editor");
}

}  // namespace
}  // namespace sigil
