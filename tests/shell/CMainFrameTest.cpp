#include "shell/CMainFrame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "document/LibraryDocument.h"
#include "formats/LibraryWriter.h"
#include "shell/FrameSteps.h"
#include "shell/SettingsDialog.h"
#include "shell/ToolbarDialog.h"
#include "support/IconBytes.h"
#include "support/ViewFixture.h"
#include "ui/CommandIds.h"
#include "ui/DialogIds.h"
#include "ui/IconResources.h"
#include "view/CIconView.h"

namespace sigil {
namespace {

class MainFrameTest : public testing::Test {
protected:
    MainFrameTest() { startup.versionText = QStringLiteral("1.00"); }

    test::SettingsFixture settings;
    IconLibrary library;
    IconResources icons;
    StartupInfo startup;
    test::ScriptedMessages messages;
};

TEST_F(MainFrameTest, StatusPanesShowCountSelectionSizeAndProgress)
{
    CMainFrame frame(library, settings.file, settings.general, settings.display, icons, startup);
    EXPECT_EQ(frame.paneText(1), QStringLiteral("0個"));
    EXPECT_EQ(frame.paneText(2), QStringLiteral("x32"));
    EXPECT_EQ(frame.paneText(0), QString());
    frame.progressMessage(1, 40);
    EXPECT_EQ(frame.paneText(0), QStringLiteral("ヘッダを書き込んでいます..(40%)"));
    frame.progressMessage(2, 7);
    EXPECT_EQ(frame.paneText(0), QStringLiteral("保存中です..(7%)"));
    frame.progressMessage(3, 100);
    EXPECT_EQ(frame.paneText(0), QStringLiteral("完了しました"));
    frame.progressMessage(9, 0);
    EXPECT_EQ(frame.paneText(0), QString());

    const std::string path = settings.dir.file("one.ico");
    ASSERT_TRUE(test::writeFile(path, test::icoFile({test::iconImage(16, 16, 4), test::iconImage(32, 32, 8)})));
    frame.view()->initialUpdate({path});
    ASSERT_TRUE(test::pumpUntil([&] { return !frame.view()->loading(); }));
    EXPECT_EQ(frame.paneText(1), QStringLiteral("1個"));
    EXPECT_EQ(frame.paneText(0), QStringLiteral("2ﾃﾞﾊﾞｲｽ : one"));
    frame.selectionChangedMessage(1);  // equal to the count: empty
    EXPECT_EQ(frame.paneText(0), QString());
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Sigilscope - one.icl*"));
}

TEST_F(MainFrameTest, ToolbarFollowsTheSettingsList)
{
    settings.general.toolbarItems = {57665, 1, 40000, 32771};
    settings.general.toolbarSize = 2;
    CMainFrame frame(library, settings.file, settings.general, settings.display, icons, startup);
    ASSERT_NE(frame.toolbar(), nullptr);
    const auto actions = frame.toolbar()->actions();
    ASSERT_EQ(actions.size(), 3);  // 40000 is no command: no button
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(frame.toolbar()->widgetForAction(actions[1])->width(), 10);
    EXPECT_EQ(actions[2]->data().toInt(), 32771);
    EXPECT_EQ(frame.toolbar()->iconSize(), QSize(32, 32));
    EXPECT_EQ(frame.toolbar()->widgetForAction(actions[2])->size(), QSize(39, 39));

    settings.general.toolbarItems = {1, 1};
    frame.buildToolbar();
    ASSERT_NE(frame.toolbar(), nullptr);
    EXPECT_EQ(frame.toolbar()->actions().size(), 2);
    settings.general.toolbarItems = {40000};
    frame.buildToolbar();
    EXPECT_EQ(frame.toolbar(), nullptr);
}

// Answers the modal dialog of type D that the next step opens; `shown`
// tells whether there was one.
template <typename D, typename Answer> void answerDialog(bool& shown, Answer answer)
{
    QTimer::singleShot(0, [&shown, answer] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        shown = dialog != nullptr;
        if (dialog)
            answer(*dialog);
    });
}

TEST_F(MainFrameTest, ToolbarDialogMayLeaveTheWindowWithoutToolbar)
{
    CMainFrame frame(library, settings.file, settings.general, settings.display, icons, startup);
    QMenu* palette = frame.menuBar()->findChild<QMenu*>(QStringLiteral("paletteMenu"));
    ASSERT_NE(palette, nullptr);
    ASSERT_EQ(palette->actions().size(), 3);  // toolbar, status bar and shortcut card
    bool shown = false;
    answerDialog<ToolbarDialog>(shown, [](ToolbarDialog& dialog) {
        auto* entries = test::control<QListWidget>(dialog, kToolbarItemsList);
        auto* remove = test::control<QPushButton>(dialog, kToolbarRemoveButton);
        while (entries->count() > 1) {
            entries->setCurrentRow(0);
            remove->click();
        }
        dialog.accept();
    });
    frame.action(cmd::CustomizeToolbar)->trigger();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(settings.general.toolbarItems.empty());
    EXPECT_EQ(frame.toolbar(), nullptr);
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(palette->actions().size(), 2);
    EXPECT_EQ(palette->actions()[0]->text(), QStringLiteral("ステータスバー(&U)"));

    settings.general.toolbarItems = {cmd::OpenFile};
    frame.buildToolbar();
    ASSERT_NE(frame.toolbar(), nullptr);
    EXPECT_EQ(palette->actions().size(), 3);
    EXPECT_EQ(palette->actions()[0], frame.toolbar()->toggleViewAction());
}

TEST_F(MainFrameTest, SettingsKeyRunsTheDialogAndTheViewFollowsTheArrangement)
{
    CMainFrame frame(library, settings.file, settings.general, settings.display, icons, startup);
    frame.view()->initialUpdate({});
    bool shown = false;
    answerDialog<SettingsDialog>(shown, [](SettingsDialog& dialog) {
        test::control<QRadioButton>(dialog, kArrangeHorizontalRadio)->click();
        dialog.accept();
    });
    QTest::keyClick(frame.view(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(shown);
    EXPECT_EQ(settings.general.horizontal, 1);
    EXPECT_TRUE(frame.view()->gridLayout().horizontal);
    EXPECT_EQ(settings.file.readInt("Sigilscope", "Horiz", 0), 1);
}

TEST_F(MainFrameTest, CommandsAreGreyedWhileALoadRuns)
{
    CMainFrame frame(library, settings.file, settings.general, settings.display, icons, startup);
    frame.updateCommandStates();
    EXPECT_TRUE(frame.action(cmd::OpenFile)->isEnabled());
    EXPECT_FALSE(frame.action(cmd::CloseFile)->isEnabled());
    EXPECT_TRUE(frame.action(cmd::Size32)->isChecked());
    const std::string path = settings.dir.file("a.ico");
    ASSERT_TRUE(test::writeFile(path, test::icoFile({test::iconImage(16, 16, 4)})));
    frame.view()->initialUpdate({path});
    EXPECT_FALSE(frame.action(cmd::OpenFile)->isEnabled());
    ASSERT_TRUE(test::pumpUntil([&] { return !frame.view()->loading(); }));
    EXPECT_TRUE(frame.action(cmd::OpenFile)->isEnabled());
    EXPECT_TRUE(frame.action(cmd::CloseFile)->isEnabled());
}

TEST_F(MainFrameTest, ClosingWritesThePlacementUnlessTheViewRefuses)
{
    {
        CMainFrame frame(library, settings.file, settings.general, settings.display, icons, startup);
        frame.view()->initialUpdate({});
        frame.show();
        EXPECT_TRUE(frame.close());
    }
    EXPECT_EQ(settings.file.readInt("Sigilscope", "Plase", 0), 1);
    EXPECT_EQ(settings.file.readInt("Sigilscope", "ShowShortcut", -1), 0);

    test::SettingsFixture other;
    CMainFrame frame(library, other.file, other.general, other.display, icons, startup);
    const std::string path = other.dir.file("a.ico");
    ASSERT_TRUE(test::writeFile(path, test::icoFile({test::iconImage(16, 16, 4)})));
    frame.view()->initialUpdate({path});
    ASSERT_TRUE(test::pumpUntil([&] { return !frame.view()->loading(); }));
    frame.show();
    messages.answerNext(QMessageBox::Cancel);  // the save question
    EXPECT_FALSE(frame.close());
    EXPECT_EQ(other.file.readInt("Sigilscope", "Plase", 0), 0);
    EXPECT_EQ(other.file.readInt("Sigilscope", "ShowShortcut", -1), -1);
    messages.answerNext(QMessageBox::No);
    EXPECT_TRUE(frame.close());
}

}  // namespace
}  // namespace sigil

namespace sigil {
namespace {

TEST_F(MainFrameTest, ClosingWithTheFocusInTheViewEndsCleanly)
{
    // Hiding the window takes the focus from the view, which then reports
    // its selection; the frame going down must no longer hear it.
    const std::string path = settings.dir.file("a.ico");
    ASSERT_TRUE(test::writeFile(path, test::icoFile({test::iconImage(16, 16, 4)})));
    auto frame =
        std::make_unique<CMainFrame>(library, settings.file, settings.general, settings.display, icons, startup);
    frame->view()->initialUpdate({path});
    ASSERT_TRUE(test::pumpUntil([&] { return !frame->view()->loading(); }));
    frame->show();
    QApplication::setActiveWindow(frame.get());
    frame->view()->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(frame->view()->hasFocus());
    frame.reset();
    EXPECT_EQ(library.size(), 1);
}

TEST_F(MainFrameTest, EditMenuUndoesTheStepItNamesAndTheTitleFollows)
{
    CMainFrame frame(library, settings.file, settings.general, settings.display, icons, startup);
    QStringList menus;
    for (QAction* menu : frame.menuBar()->actions())
        menus << menu->text();
    EXPECT_EQ(menus.mid(0, 3), (QStringList{"ファイル(&F)", "編集(&E)", "表示(&V)"}));

    ASSERT_NO_FATAL_FAILURE(test::openTwoIconLibrary(frame, settings.dir.file("set.icl")));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Sigilscope - set.icl"));
    EXPECT_FALSE(frame.action(cmd::Undo)->isEnabled());

    QTest::keyClick(frame.view(), Qt::Key_Delete);
    EXPECT_EQ(library.size(), 1);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Sigilscope - set.icl*"));
    EXPECT_TRUE(frame.action(cmd::Undo)->isEnabled());
    EXPECT_EQ(frame.action(cmd::Undo)->text(), QStringLiteral("元に戻す(&U): 削除\tCtrl+Z"));
    QTest::keyClick(frame.view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(library.size(), 2);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Sigilscope - set.icl"));
    frame.action(cmd::Redo)->trigger();
    EXPECT_EQ(library.size(), 1);
    QTest::keyClick(frame.view(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);  // nothing left to redo
    EXPECT_EQ(library.size(), 1);
}

}  // namespace
}  // namespace sigil
