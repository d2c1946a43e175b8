#include "shell/RecentMenu.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QMenu>
#include <QMenuBar>

#include "shell/CMainFrame.h"
#include "support/BmpBytes.h"
#include "support/IconBytes.h"
#include "support/ViewFixture.h"
#include "ui/CommandIds.h"
#include "ui/IconResources.h"
#include "ui/MenuIconRegistry.h"
#include "view/CIconView.h"

namespace sigil {
namespace {

using Kind = RecentMenuItem::Kind;

class RecentMenuTest : public testing::Test {
protected:
    std::string iconFile(const std::string& name)
    {
        const std::string path = settings.dir.file(name);
        EXPECT_TRUE(test::writeFile(path, test::icoFile({test::iconImage(16, 16, 4), test::iconImage(32, 32, 8)})));
        return path;
    }
    QMenu* fileMenu(CMainFrame& frame) { return frame.menuBar()->findChild<QMenu*>(QStringLiteral("fileMenu")); }

    test::SettingsFixture settings;
    IconLibrary library;
    IconResources icons;
    StartupInfo startup;
};

TEST_F(RecentMenuTest, LabelsAndIdsForNoneOneAndElevenEntries)
{
    const std::vector<RecentMenuItem> none = recentMenuItems({});
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].label, QStringLiteral("no data"));
    EXPECT_EQ(none[0].id, 32975);
    EXPECT_EQ(none[0].kind, Kind::NoData);

    const std::string ico = iconFile("one.ico");
    const std::vector<RecentMenuItem> one = recentMenuItems({ico});
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].label, QStringLiteral("&1 one.ico"));
    EXPECT_EQ(one[0].id, cmd::RecentFileFirst);
    EXPECT_EQ(one[0].kind, Kind::File);

    // Oldest first: a missing file, a folder written with its separator,
    // then nine more files; the eleventh entry is numbered 1 again.
    std::vector<std::string> paths = {settings.dir.file("gone.ico"), settings.dir.path() + "/"};
    for (int n = 2; n < 11; ++n)
        paths.push_back(n == 10 ? ico : settings.dir.file("f" + std::to_string(n) + ".ico"));
    const std::vector<RecentMenuItem> eleven = recentMenuItems(paths);
    ASSERT_EQ(eleven.size(), 11u);
    QStringList labels;
    std::vector<int> ids;
    for (const RecentMenuItem& item : eleven) {
        labels << item.label;
        ids.push_back(item.id);
    }
    EXPECT_EQ(labels.join(QLatin1Char('|')), QStringLiteral("&1 one.ico|&2 f9.ico|&3 f8.ico|&4 f7.ico|&5 f6.ico|"
                                                            "&6 f5.ico|&7 f4.ico|&8 f3.ico|&9 f2.ico|&0 |&1 gone.ico"));
    EXPECT_EQ(ids, (std::vector<int>{32783, 32782, 32781, 32780, 32779, 32778, 32777, 32776, 32775, 32875, 32773}));
    EXPECT_EQ(eleven[9].kind, Kind::Folder);
    EXPECT_EQ(eleven[10].kind, Kind::Missing);

    // A twelfth entry (a hand-made settings file) would get a number the
    // view does not open: it is left out rather than shown dead.
    paths.push_back(ico);
    const std::vector<RecentMenuItem> twelve = recentMenuItems(paths);
    ASSERT_EQ(twelve.size(), 11u);
    EXPECT_EQ(twelve[0].id, 32783);
    EXPECT_EQ(twelve[0].label, QStringLiteral("&1 one.ico"));
}

TEST_F(RecentMenuTest, FrameKeepsTheSubmenuAtPositionTwoAndRebuildsItOnEveryAdd)
{
    settings.general.toolbarItems = {cmd::RecentMenu, cmd::OpenFile};
    CMainFrame frame(library, settings.file, settings.general, settings.display, icons, startup);
    QMenu* file = fileMenu(frame);
    ASSERT_NE(file, nullptr);
    ASSERT_NE(frame.recentMenu(), nullptr);
    EXPECT_EQ(file->actions().at(2), frame.recentMenu()->menuAction());
    EXPECT_EQ(file->actions().at(2)->text(), QStringLiteral("最近使ったファイル(&R)"));
    ASSERT_EQ(frame.recentMenu()->actions().size(), 1);
    EXPECT_FALSE(frame.recentMenu()->actions().at(0)->isEnabled());  // "no data"
    // The toolbar's button pops the menu up, "no data" and all.
    ASSERT_NE(frame.action(cmd::RecentMenu), nullptr);
    EXPECT_TRUE(frame.action(cmd::RecentMenu)->isEnabled());
    frame.action(cmd::RecentMenu)->trigger();
    EXPECT_TRUE(frame.recentMenu()->isVisible());
    EXPECT_FALSE(frame.recentMenu()->actions().at(0)->isEnabled());  // still: nothing handles it
    frame.recentMenu()->hide();

    const std::string ico = iconFile("one.ico");
    const std::string bmp = settings.dir.file("plain.bmp");
    ASSERT_TRUE(test::writeFile(bmp, test::bmpFile(test::plainBmp(4, 4, 24, [](int, int) { return 0x808080u; }))));
    const int itemsBefore = static_cast<int>(file->actions().size());
    settings.general.addRecent(ico, true, false);
    settings.general.addRecent(bmp, true, false);
    settings.general.addRecent(settings.dir.path(), true, true);
    EXPECT_EQ(file->actions().size(), itemsBefore);  // replaced, not added
    const QList<QAction*> items = frame.recentMenu()->actions();
    EXPECT_EQ(file->actions().at(2), frame.recentMenu()->menuAction());
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->data().toInt(), cmd::RecentFolderFirst + 2);
    EXPECT_EQ(items[1]->text(), QStringLiteral("&2 plain.bmp"));
    EXPECT_EQ(items[2]->text(), QStringLiteral("&3 one.ico"));

    // Icons: the folder's, the missing-file icon for a file without one, the
    // file's own first icon.
    auto image = [](const QIcon& icon) { return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32); };
    EXPECT_EQ(image(items[0]->icon()), image(icons.icon(212)));
    EXPECT_EQ(image(items[1]->icon()), image(icons.icon(210)));
    // The file's own icon is read meanwhile on a worker thread.
    ASSERT_TRUE(test::pumpUntil([&] { return image(items[2]->icon()) != image(icons.icon(210)); }));
    EXPECT_EQ(qAlpha(image(items[2]->icon()).pixel(8, 8)), 255);
    EXPECT_EQ(image(items[1]->icon()), image(icons.icon(210)));
    // The menus draw the icons registered for their commands.
    const auto* registry = frame.findChild<MenuIconRegistry*>();
    ASSERT_NE(registry, nullptr);
    ASSERT_NE(registry->iconsFor(items[2]), nullptr);
    EXPECT_EQ(registry->iconsFor(items[2])->normal.toImage().convertToFormat(QImage::Format_ARGB32),
              image(items[2]->icon()));

    // Shown, the entries take the enabling of their commands: idle, enabled.
    frame.recentMenu()->popup(QPoint(0, 0));
    EXPECT_TRUE(items[2]->isEnabled());
    frame.recentMenu()->hide();

    // Choosing an entry opens it through the view.
    items[2]->trigger();
    ASSERT_TRUE(test::pumpUntil([&] { return !frame.view()->loading(); }));
    EXPECT_EQ(library.size(), 1);
}

TEST_F(RecentMenuTest, EachEntryOpensItsOwnFileAndBecomesTheNewest)
{
    test::ScriptedMessages messages;
    CMainFrame frame(library, settings.file, settings.general, settings.display, icons, startup);
    const std::vector<std::string> oldestFirst = {iconFile("red.ico"), iconFile("green.ico"), iconFile("blue.ico")};
    for (const std::string& path : oldestFirst)
        settings.general.addRecent(path, true, false);
    // Menu position (newest first) to choose, and the file it must open.
    for (const int position : {2, 0, 1, 2}) {
        const std::vector<std::string> before = settings.general.recentPaths;
        const std::string chosen = before[before.size() - 1 - static_cast<size_t>(position)];
        messages.answerNext(QMessageBox::No);  // the open library is not saved
        frame.recentMenu()->actions().at(position)->trigger();
        ASSERT_TRUE(test::pumpUntil([&] { return !frame.view()->loading(); }));
        ASSERT_EQ(library.size(), 1);
        EXPECT_EQ(library.at(0).source, chosen);
        std::vector<std::string> expected = before;
        std::erase(expected, chosen);
        expected.push_back(chosen);
        EXPECT_EQ(settings.general.recentPaths, expected) << "after position " << position;
    }
}

}  // namespace
}  // namespace sigil
