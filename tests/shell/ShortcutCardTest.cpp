#include "shell/ShortcutCard.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenuBar>
#include <QTest>

#include "platform/StringTable.h"
#include "shell/CMainFrame.h"
#include "support/ViewFixture.h"
#include "ui/CommandIds.h"
#include "ui/CommandTable.h"
#include "ui/IconResources.h"

namespace sigil {
namespace {

TEST(ShortcutCardPicture, ListsEveryCommandKeyWithItsMenuActionInEightBoxes)
{
    const std::vector<ShortcutBox> boxes = shortcutBoxes();
    ASSERT_EQ(boxes.size(), 8u);
    auto shown = [&](const QString& key, const QString& action) {
        for (const ShortcutBox& box : boxes) {
            for (const ShortcutLine& line : box.lines) {
                if (line.keys.split(QLatin1Char('/')).contains(key) && line.action == action)
                    return true;
            }
        }
        return false;
    };
    for (const CommandKey& key : commandKeys())
        EXPECT_TRUE(shown(keyName(key), commandText(key.command))) << keyName(key).toStdString();
    EXPECT_TRUE(shown(QStringLiteral("F2"), QStringLiteral("名前を変更")));
    EXPECT_TRUE(shown(QStringLiteral("Ctrl+R"), QStringLiteral("名前を変更")));

    const QImage picture = shortcutPicture();
    EXPECT_EQ(picture.size(), QSize(382, 355));
    EXPECT_NE(picture.pixel(0, 0), picture.pixel(10, 10));  // boxes drawn on the background
}

class ShortcutCardTest : public testing::Test {
protected:
    test::SettingsFixture settings;
    IconLibrary library;
    IconResources icons;
    StartupInfo startup;
};

TEST_F(ShortcutCardTest, ToggledByItsCommandHiddenByADoubleClickAndRememberedAtClose)
{
    settings.file.writeInt("Sigilscope", "ShowShortcut", 1);
    settings.file.writePoint("Sigilscope", "PtShortcut", {40, 50});
    {
        CMainFrame frame(library, settings.file, settings.general, settings.display, icons, startup);
        ShortcutCard* card = frame.shortcutCard();
        ASSERT_NE(card, nullptr);
        // Shown only once the main window is on screen, so that it lies above.
        EXPECT_FALSE(card->isVisible());
        frame.show();
        EXPECT_FALSE(card->isVisible());
        ASSERT_TRUE(test::pumpUntil([&] { return card->isVisible(); }));
        EXPECT_EQ(card->pos(), QPoint(40, 50));
        EXPECT_EQ(card->windowOpacity(), 180 / 255.0);
        QAction* toggle = frame.action(cmd::ShortcutList);
        ASSERT_NE(toggle, nullptr);
        EXPECT_EQ(toggle->text(), QStringLiteral("ショートカット一覧(&S)"));
        frame.updateCommandStates();
        EXPECT_TRUE(toggle->isChecked());

        QTest::mouseDClick(card, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        EXPECT_FALSE(card->isVisible());
        EXPECT_FALSE(toggle->isChecked());  // the card told the frame
        toggle->trigger();
        EXPECT_TRUE(card->isVisible());
        QTest::keyClick(card, Qt::Key_Escape);
        EXPECT_FALSE(card->isVisible());

        card->move(70, 80);
        ASSERT_TRUE(frame.close());
    }
    EXPECT_EQ(settings.file.readInt("Sigilscope", "ShowShortcut", -1), 0);
    const SettingsPoint at = settings.file.readPoint("Sigilscope", "PtShortcut", {-1, -1});
    EXPECT_EQ(at.x, 70);
    EXPECT_EQ(at.y, 80);
}

TEST_F(ShortcutCardTest, StatusBarItemGaveUpTheLetterOfTheCard)
{
    CMainFrame frame(library, settings.file, settings.general, settings.display, icons, startup);
    QMenu* palette = frame.menuBar()->findChild<QMenu*>(QStringLiteral("paletteMenu"));
    ASSERT_NE(palette, nullptr);
    QStringList mnemonics;
    for (const QAction* item : palette->actions()) {
        const int amp = item->text().indexOf(QLatin1Char('&'));
        ASSERT_GE(amp, 0) << item->text().toStdString();
        mnemonics << item->text().mid(amp + 1, 1).toUpper();
    }
    ASSERT_GE(mnemonics.size(), 3);
    EXPECT_TRUE(mnemonics.contains(QStringLiteral("S")));
    EXPECT_EQ(mnemonics.removeDuplicates(), 0) << mnemonics.join(QLatin1Char(' ')).toStdString();
    // Rebuilding the toolbar keeps every item of the menu.
    const qsizetype items = palette->actions().size();
    frame.buildToolbar();
    EXPECT_EQ(palette->actions().size(), items);
}

}  // namespace
}  // namespace sigil
