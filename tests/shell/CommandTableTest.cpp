#include "ui/CommandTable.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <set>
#include <tuple>

#include "shell/CMainFrame.h"
#include "shell/ShortcutCard.h"
#include "support/LanguageScope.h"
#include "support/ViewFixture.h"
#include "ui/CommandIconTable.h"
#include "ui/IconResources.h"
#include "view/CIconView.h"

namespace sigil {
namespace {

// Every action the menu bar's menus hold, submenus included.
QList<QAction*> menuActions(const QList<QAction*>& actions)
{
    QList<QAction*> all;
    for (QAction* action : actions) {
        all << action;
        if (action->menu())
            all << menuActions(action->menu()->actions());
    }
    return all;
}

QAction* findCommand(const QList<QAction*>& actions, int id)
{
    for (QAction* action : actions) {
        if (!action->isSeparator() && action->data().toInt() == id)
            return action;
    }
    return nullptr;
}

bool cardLists(const QString& key, int command)
{
    for (const ShortcutBox& box : shortcutBoxes()) {
        for (const ShortcutLine& line : box.lines) {
            if (line.action == commandText(command) && line.keys.split(QLatin1Char('/')).contains(key))
                return true;
        }
    }
    return false;
}

// Each row against the menus, the toolbar, the keys and the command state
// the frame actually builds, in both languages.
TEST(CommandTable, EveryRowIsWhatTheFrameBuilds)
{
    for (Language language : {Language::Japanese, Language::English}) {
        test::LanguageScope scope(language);
        test::SettingsFixture settings;
        settings.general.toolbarItems.clear();
        for (const CommandIcon& row : CommandIconTable::rows())
            settings.general.toolbarItems.push_back(row.command);
        IconLibrary library;
        IconResources icons;
        StartupInfo startup;
        CMainFrame frame(library, settings.file, settings.general, settings.display, icons, startup);
        const QList<QAction*> menus = menuActions(frame.menuBar()->actions());
        const QList<QAction*> toolbar = frame.toolbar()->actions();
        EXPECT_EQ(toolbar.size(), CommandIconTable::kRowCount);
        EXPECT_EQ(CommandIconTable::rows().size(), size_t(CommandIconTable::kRowCount));

        for (const CommandRow& row : commandRows()) {
            SCOPED_TRACE(row.id);
            QAction* inMenu = findCommand(menus, row.id);
            EXPECT_EQ(inMenu != nullptr, row.menu.ja != nullptr);
            const QString keys = commandKeyText(row.id);
            if (inMenu) {
                EXPECT_EQ(inMenu->text(), commandMenuText(row.id));
                EXPECT_EQ(inMenu->text().contains(QLatin1Char('\t')), row.keysInMenu && !keys.isEmpty());
            }
            QAction* onToolbar = findCommand(toolbar, row.id);
            EXPECT_EQ(onToolbar != nullptr, row.icon != 0);
            QAction* action = frame.action(row.id);
            ASSERT_NE(action, nullptr);
            EXPECT_EQ(action->statusTip(), commandText(row.id));
            EXPECT_EQ(action->toolTip(), commandTooltip(row.id));
            EXPECT_EQ(action->toolTip().endsWith(QLatin1Char(']')), !keys.isEmpty());
            EXPECT_EQ(action->isCheckable(), row.checkable);
            EXPECT_EQ(action->isEnabled(),
                      row.runner == Runner::Frame || frame.view()->document().commandEnabled(row.id));
            for (const KeyBinding& key : row.keys) {
                if (!key.key)
                    continue;
                SCOPED_TRACE(keyName(key).toStdString());
                EXPECT_TRUE(cardLists(keyName(key), row.id));
                EXPECT_EQ(keys.split(QLatin1Char('/')).contains(keyName(key)), key.shown);
                if (key.viewKey) {
                    EXPECT_EQ(viewCommandForKey(key.key, key.ctrl, key.shift), row.id);
                } else if (!key.alt) {
                    EXPECT_EQ(action->shortcut(), QKeySequence(keyName(key)));
                }
            }
        }
    }
}

// Numbers and keys are each one command's; texts exist in both languages,
// menu items with one mnemonic each.
TEST(CommandTable, RowsAreUniqueAndTranslated)
{
    std::set<int> ids;
    std::set<std::tuple<int, bool, bool, bool>> keys;
    for (const CommandRow& row : commandRows()) {
        SCOPED_TRACE(row.id);
        EXPECT_TRUE(ids.insert(row.id).second);
        for (const KeyBinding& key : row.keys) {
            if (key.key) {
                EXPECT_TRUE(keys.insert({key.key, key.ctrl, key.shift, key.alt}).second);
            }
        }
        for (const CommandText& text : {row.menu, row.context, row.text, row.tooltip}) {
            EXPECT_EQ(text.ja == nullptr, text.en == nullptr);
            if (text.en) {
                EXPECT_FALSE(test::hasJapanese(QString::fromUtf8(text.en))) << text.en;
            }
        }
        EXPECT_NE(row.text.ja, nullptr);
        for (const CommandText& text : {row.menu, row.context}) {
            for (const char* menu : {text.ja, text.en}) {
                if (menu) {
                    EXPECT_EQ(QString::fromUtf8(menu).count(QLatin1Char('&')), 1) << menu;
                }
            }
        }
    }
}

}  // namespace
}  // namespace sigil
