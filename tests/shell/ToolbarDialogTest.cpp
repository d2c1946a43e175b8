#include "shell/ToolbarDialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "settings/GeneralSettings.h"
#include "support/ViewFixture.h"
#include "ui/CommandIconTable.h"
#include "ui/CommandIds.h"
#include "ui/DialogIds.h"
#include "ui/IconResources.h"

namespace sigil {
namespace {

using Items = std::vector<int32_t>;
using test::control;

TEST(ToolbarButtons, SeparatorsAndKnownCommandsOnly)
{
    EXPECT_TRUE(toolbarButtons({}).empty());
    EXPECT_TRUE(toolbarButtons({40000, 2, -1}).empty());
    const auto separators = toolbarButtons({1, 1});
    ASSERT_EQ(separators.size(), 2u);
    EXPECT_TRUE(separators[0].separator && separators[1].separator);
    const auto mixed = toolbarButtons({40000, cmd::ShortcutList, 1, cmd::Exit});
    ASSERT_EQ(mixed.size(), 3u);
    EXPECT_EQ(mixed[0], (ToolbarButton{false, cmd::ShortcutList, 253, 252}));
    EXPECT_TRUE(mixed[1].separator);
    EXPECT_EQ(mixed[2], (ToolbarButton{false, cmd::Exit, 202, 203}));
    EXPECT_EQ(toolbarImageSize(0), 16);
    EXPECT_EQ(toolbarImageSize(1), 24);
    EXPECT_EQ(toolbarImageSize(2), 32);
    EXPECT_EQ(toolbarImageSize(3), 16);
    EXPECT_EQ(toolbarImageSize(-1), 16);
}

TEST(ToolbarItemsEditor, ButtonsFollowTheSelectionAndTheMarker)
{
    struct Case {
        int selected;
        bool remove, up, down;
    };
    // Three items and the marker at index 3.
    const Case cases[] = {
        {-1, false, false, false}, {0, true, false, true},   {1, true, true, true},
        {2, true, true, false},    {3, false, false, false}, {4, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected);
        ToolbarItemsEditor editor({cmd::Exit, 1, cmd::OpenFile});
        editor.select(c.selected);
        EXPECT_EQ(editor.canRemove(), c.remove);
        EXPECT_EQ(editor.canMoveUp(), c.up);
        EXPECT_EQ(editor.canMoveDown(), c.down);
        const Items before = editor.entries();
        editor.remove();
        editor.moveUp();
        editor.moveDown();
        EXPECT_EQ(editor.entries().back(), 0);  // the marker stays last whatever was tried
        if (!c.remove) {
            EXPECT_EQ(editor.entries(), before);
        }
    }
    ToolbarItemsEditor empty({});
    EXPECT_EQ(empty.entries(), Items{0});
    EXPECT_EQ(empty.selected(), 0);
    EXPECT_FALSE(empty.canRemove() || empty.canMoveUp() || empty.canMoveDown());
}

TEST(ToolbarItemsEditor, AddRemoveAndMoveKeepBothListsInStep)
{
    ToolbarItemsEditor editor({cmd::Exit, 40000});
    // The available list: a separator, then the table's commands not on the toolbar.
    ASSERT_EQ(editor.available().size(), 1u + CommandIconTable::kRowCount - 1);
    EXPECT_EQ(editor.available().front(), 1);
    EXPECT_EQ(editor.available()[1], cmd::CloseFile);
    EXPECT_EQ(editor.availableSelected(), static_cast<int>(editor.available().size()) - 1);
    EXPECT_EQ(editor.available().back(), cmd::About);

    // Added before the selected entry, which stays selected.
    editor.select(1);
    editor.add();  // About, the last available
    EXPECT_EQ(editor.entries(), (Items{cmd::Exit, cmd::About, 40000, 0}));
    EXPECT_EQ(editor.selected(), 2);
    EXPECT_EQ(editor.available().back(), cmd::Help);  // the new last entry is selected
    EXPECT_EQ(editor.availableSelected(), static_cast<int>(editor.available().size()) - 1);

    // A separator may be added again and again.
    editor.selectAvailable(0);
    editor.add();
    editor.add();
    EXPECT_EQ(editor.entries(), (Items{cmd::Exit, cmd::About, 1, 1, 40000, 0}));
    EXPECT_EQ(editor.available().front(), 1);

    // A command taken from the middle: the next one takes its place.
    editor.selectAvailable(1);
    editor.select(-1);  // nothing selected: before the marker
    editor.add();
    EXPECT_EQ(editor.entries(), (Items{cmd::Exit, cmd::About, 1, 1, 40000, cmd::CloseFile, 0}));
    EXPECT_EQ(editor.available()[editor.availableSelected()], cmd::RecentMenu);

    editor.select(5);
    editor.moveUp();
    EXPECT_EQ(editor.entries(), (Items{cmd::Exit, cmd::About, 1, 1, cmd::CloseFile, 40000, 0}));
    EXPECT_EQ(editor.selected(), 4);
    editor.moveDown();
    editor.moveDown();  // never below the marker
    EXPECT_EQ(editor.entries(), (Items{cmd::Exit, cmd::About, 1, 1, 40000, cmd::CloseFile, 0}));

    // A removed command is available again, in table order.
    editor.select(0);
    editor.remove();
    EXPECT_EQ(editor.selected(), 0);
    EXPECT_EQ(editor.available()[1], cmd::Exit);
    EXPECT_EQ(editor.items(), (Items{cmd::About, 1, 1, 40000, cmd::CloseFile}));

    editor.initialise();
    EXPECT_EQ(editor.items(), defaultToolbarItems());
    EXPECT_EQ(editor.selected(), static_cast<int>(editor.entries().size()) - 1);
}

class ToolbarDialogTest : public testing::Test {
protected:
    test::SettingsFixture settings;
    IconResources icons;
};

TEST_F(ToolbarDialogTest, RemovingEverythingGivesAnEmptyListAndOkKeepsUnknownItems)
{
    settings.general.toolbarItems = {40000, cmd::Exit, 1};
    settings.general.toolbarSize = 7;
    ToolbarDialog dialog(settings.general, icons);
    auto* entries = control<QListWidget>(dialog, kToolbarItemsList);
    auto* remove = control<QPushButton>(dialog, kToolbarRemoveButton);
    EXPECT_EQ(control<QComboBox>(dialog, kToolbarSizeList)->currentIndex(), 0);
    ASSERT_EQ(entries->count(), 4);
    EXPECT_EQ(entries->currentRow(), 3);
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_FALSE(control<QPushButton>(dialog, kToolbarDownButton)->isEnabled());

    entries->setCurrentRow(1);
    EXPECT_TRUE(remove->isEnabled());
    remove->click();
    EXPECT_EQ(entries->count(), 3);
    // Ctrl+Up in the list moves the separator to the top.
    QTest::keyClick(entries, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(dialog.editor().items(), (Items{1, 40000}));
    control<QComboBox>(dialog, kToolbarSizeList)->setCurrentIndex(2);
    dialog.accept();
    EXPECT_EQ(settings.general.toolbarItems, (Items{1, 40000}));
    EXPECT_EQ(settings.general.toolbarSize, 2);

    ToolbarDialog again(settings.general, icons);
    again.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
    auto* list = control<QListWidget>(again, kToolbarItemsList);
    // A double click is a click, then the second press.
    const QPoint first = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
    EXPECT_EQ(list->count(), 2);
    control<QPushButton>(again, kToolbarRemoveButton)->click();
    EXPECT_EQ(list->count(), 1);
    again.accept();
    EXPECT_TRUE(settings.general.toolbarItems.empty());
}

TEST_F(ToolbarDialogTest, AddingFromTheCommandListAndInitialising)
{
    settings.general.toolbarItems = {};
    ToolbarDialog dialog(settings.general, icons);
    auto* available = control<QListWidget>(dialog, kToolbarCommandsList);
    auto* add = control<QPushButton>(dialog, kToolbarAddButton);
    EXPECT_EQ(available->count(), 1 + CommandIconTable::kRowCount);
    EXPECT_TRUE(add->isEnabled());
    add->click();  // the last command, About
    available->setCurrentRow(0);
    add->click();  // a separator
    EXPECT_EQ(available->count(), CommandIconTable::kRowCount);
    EXPECT_EQ(dialog.editor().items(), (Items{cmd::About, 1}));
    control<QPushButton>(dialog, kToolbarInitialiseButton)->click();
    EXPECT_EQ(control<QListWidget>(dialog, kToolbarItemsList)->count(), 15);
    dialog.reject();
    EXPECT_TRUE(settings.general.toolbarItems.empty());
}

}  // namespace
}  // namespace sigil
