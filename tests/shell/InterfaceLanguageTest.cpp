// The interface in both languages: the menus the main frame builds have one
// mnemonic per item and none twice in a menu, the English windows show no
// Japanese, and no text of a window is cut off.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTest>
#include <QToolBar>
#include <map>

#include "formats/LibraryWriter.h"
#include "platform/StringTable.h"
#include "property/DeviceEdits.h"
#include "property/PropertyWindow.h"
#include "shell/AboutBox.h"
#include "shell/CMainFrame.h"
#include "shell/FrameSteps.h"
#include "shell/RecentMenu.h"
#include "shell/SettingsDialog.h"
#include "shell/ShortcutCard.h"
#include "shell/ToolbarDialog.h"
#include "support/LanguageScope.h"
#include "support/TextFiles.h"
#include "support/ViewFixture.h"
#include "ui/CommandIds.h"
#include "ui/FolderChooser.h"
#include "ui/IconButton.h"
#include "ui/IconResources.h"
#include "view/CIconView.h"
#include "view/EditDialogs.h"
#include "view/ExportDialogs.h"
#include "view/OtherSizeDialog.h"

namespace sigil {
namespace {

using test::hasJapanese;
using test::LanguageScope;

const char* nameOf(Language language)
{
    return language == Language::English ? "en" : "ja";
}

// The mnemonic letter of a menu text, upper case; none: null.
QChar mnemonicOf(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toUpper();
        ++i;
    }
    return {};
}

// Every item of the menu has a mnemonic, and no two have the same; then
// the same for its submenus.
void checkMnemonics(const QString& where, const QList<QAction*>& items)
{
    std::map<QChar, QString> taken;
    for (const QAction* item : items) {
        if (item->isSeparator() || item->data().toInt() == kNoRecentData)
            continue;
        const QString text = item->text();
        const QChar letter = mnemonicOf(text);
        EXPECT_FALSE(letter.isNull()) << where.toStdString() << ": no mnemonic in " << text.toStdString();
        if (letter.isNull())
            continue;
        const auto [at, fresh] = taken.emplace(letter, text);
        EXPECT_TRUE(fresh) << where.toStdString() << ": " << text.toStdString() << " and " << at->second.toStdString()
                           << " share " << QString(letter).toStdString();
        if (item->menu())
            checkMnemonics(where + QStringLiteral(" > ") + text, item->menu()->actions());
    }
}

// The texts a window shows, each with where it is.
std::vector<std::pair<QString, QString>> shownTexts(const QWidget& window)
{
    std::vector<std::pair<QString, QString>> texts;
    texts.emplace_back(QStringLiteral("title"), window.windowTitle());
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        const QString name = QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName();
        if (!w->toolTip().isEmpty())
            texts.emplace_back(name + QStringLiteral(" tip"), w->toolTip());
        if (const auto* button = qobject_cast<const QAbstractButton*>(w))
            texts.emplace_back(name, button->text());
        else if (const auto* label = qobject_cast<const QLabel*>(w))
            texts.emplace_back(name, label->text());
        else if (const auto* group = qobject_cast<const QGroupBox*>(w))
            texts.emplace_back(name, group->title());
        else if (const auto* combo = qobject_cast<const QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i)
                texts.emplace_back(name, combo->itemText(i));
    }
    return texts;
}

void expectNoJapanese(const QWidget& window)
{
    for (const auto& [where, text] : shownTexts(window)) {
        // Each language by its own name in the language list.
        if (text == loadString(str::SettingsLanguageJapanese))
            continue;
        EXPECT_FALSE(hasJapanese(text)) << window.objectName().toStdString() << " " << where.toStdString() << ": "
                                        << text.toStdString();
    }
}

// The window shown: every button, box and label is as wide as its text
// needs, and every group box as its title.
void expectNothingCut(QWidget& window)
{
    window.show();
    QApplication::processEvents();
    const std::string name = window.objectName().toStdString() + " " + window.windowTitle().toStdString();
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisible() || dynamic_cast<IconButton*>(w))
            continue;
        const QFontMetrics metrics = w->fontMetrics();
        auto plain = [](QString text) { return text.remove(QRegularExpression(QStringLiteral("&(?!&)"))); };
        if (auto* check = qobject_cast<QCheckBox*>(w)) {
            EXPECT_GE(check->width(), check->sizeHint().width()) << name << ": " << check->text().toStdString();
        } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
            EXPECT_GE(radio->width(), radio->sizeHint().width()) << name << ": " << radio->text().toStdString();
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            if (button->text().isEmpty())
                continue;
            EXPECT_GE(button->width(), metrics.horizontalAdvance(plain(button->text())) + 6)
                << name << ": " << button->text().toStdString();
        } else if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->text().isEmpty() || label->wordWrap())
                continue;
            EXPECT_GE(label->width(), metrics.horizontalAdvance(label->text()))
                << name << ": " << label->text().toStdString();
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            EXPECT_GE(group->width(), metrics.horizontalAdvance(plain(group->title())) + 8)
                << name << ": " << group->title().toStdString();
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            for (int i = 0; i < combo->count(); ++i)
                EXPECT_GE(combo->width(), metrics.horizontalAdvance(combo->itemText(i)) + 24)
                    << name << ": " << combo->itemText(i).toStdString();
        }
    }
    window.hide();
}

// Opens a library of two icons in the frame and deletes the first: a step
// to undo.
void loadTwoIconsAndDeleteOne(CMainFrame& frame, const std::string& path)
{
    ASSERT_NO_FATAL_FAILURE(test::openTwoIconLibrary(frame, path));
    QTest::keyClick(frame.view(), Qt::Key_Delete);
    ASSERT_TRUE(frame.action(cmd::Undo)->isEnabled());
}

// Every dialog of the program, built in turn and handed to `check`.
template <typename Check> void forEveryDialog(test::SettingsFixture& settings, const IconResources& icons, Check check)
{
    SettingsDialog settingsDialog(settings.general, settings.display, settings.file);
    check(settingsDialog);
    ToolbarDialog toolbar(settings.general, icons);
    check(toolbar);
    AddIconDialog add(NewIconChoice{});
    check(add);
    RenameDialog rename("icon");
    check(rename);
    BatchDeleteDialog batch;
    check(batch);
    SaveOptionsDialog saveOptions(SaveAllChoice{});
    check(saveOptions);
    SnapAllDialog snapAll(SnapAllChoice{});
    check(snapAll);
    OtherSizeDialog otherSize(32);
    check(otherSize);
    AboutBox about(icons.logo(), QStringLiteral("1.00"));
    check(about);
    FolderChooser chooser(settings.file);
    chooser.setTitle(loadString(str::ChooseOpenFolder));
    check(chooser);
}

class InterfaceLanguageTest : public testing::TestWithParam<Language> {
protected:
    InterfaceLanguageTest() : language_(GetParam())
    {
        startup.versionText = QStringLiteral("1.00");
        // Two recent entries, so the submenu holds numbered items.
        const std::string kept = settings.dir.file("kept.ico");
        test::writeTextFile(kept, "x");
        settings.general.recentPaths = {kept, settings.dir.file("gone.ico")};
    }

    LanguageScope language_;
    test::SettingsFixture settings;
    IconLibrary library;
    IconResources icons;
    StartupInfo startup;
    test::ScriptedMessages messages;
};

TEST_P(InterfaceLanguageTest, EveryMenuItemHasAMnemonicOfItsOwn)
{
    CMainFrame frame(library, settings.file, settings.general, settings.display, icons, startup);
    const QString where = QString::fromLatin1(nameOf(GetParam()));
    checkMnemonics(where + QStringLiteral(" menu bar"), frame.menuBar()->actions());
    ASSERT_NE(frame.contextMenu(), nullptr);
    checkMnemonics(where + QStringLiteral(" right-click menu"), frame.contextMenu()->actions());
    ASSERT_NE(frame.recentMenu(), nullptr);
    EXPECT_EQ(frame.recentMenu()->actions().size(), 2);
    // With an undo step the undo item still has its letter.
    loadTwoIconsAndDeleteOne(frame, settings.dir.file("set.icl"));
    checkMnemonics(where + QStringLiteral(" menu bar with a step"), frame.menuBar()->actions());
}

TEST_P(InterfaceLanguageTest, WindowsShowTheirTextsWhole)
{
    forEveryDialog(settings, icons, expectNothingCut);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, InterfaceLanguageTest, testing::Values(Language::Japanese, Language::English),
                         [](const auto& info) { return std::string(nameOf(info.param)); });

class EnglishInterfaceTest : public testing::Test {
protected:
    EnglishInterfaceTest() { startup.versionText = QStringLiteral("1.00"); }

    LanguageScope english_{Language::English};
    test::SettingsFixture settings;
    IconLibrary library;
    IconResources icons;
    StartupInfo startup;
    test::ScriptedMessages messages;
};

TEST_F(EnglishInterfaceTest, TheMainWindowShowsNoJapanese)
{
    CMainFrame frame(library, settings.file, settings.general, settings.display, icons, startup);
    std::vector<QMenu*> menus{frame.contextMenu(), frame.recentMenu()};
    for (QAction* title : frame.menuBar()->actions()) {
        EXPECT_FALSE(hasJapanese(title->text())) << title->text().toStdString();
        menus.push_back(title->menu());
    }
    for (QMenu* menu : menus) {
        ASSERT_NE(menu, nullptr);
        for (QAction* item : menu->actions()) {
            for (const QString& text : {item->text(), item->toolTip(), item->statusTip()})
                EXPECT_FALSE(hasJapanese(text)) << text.toStdString();
        }
    }
    ASSERT_NE(frame.toolbar(), nullptr);
    EXPECT_EQ(frame.toolbar()->windowTitle(), QStringLiteral("Toolbar"));
    for (QAction* button : frame.toolbar()->actions())
        EXPECT_FALSE(hasJapanese(button->toolTip())) << button->toolTip().toStdString();
    for (int pane = 0; pane < 3; ++pane)
        EXPECT_FALSE(hasJapanese(frame.paneText(pane))) << frame.paneText(pane).toStdString();
    EXPECT_EQ(frame.paneText(1), QStringLiteral("Icons: 0"));
    for (QAction* item : frame.menuBar()->actions())
        EXPECT_FALSE(hasJapanese(item->text()));
    EXPECT_EQ(frame.menuBar()->actions().front()->text(), QStringLiteral("&File"));
    EXPECT_EQ(frame.action(cmd::Undo)->text(), QStringLiteral("&Undo\tCtrl+Z"));
    EXPECT_EQ(frame.document()->titleText(), QStringLiteral("Sigilscope - Untitled"));

    auto* property = frame.findChild<PropertyWindow*>();
    ASSERT_NE(property, nullptr);
    expectNoJapanese(*property);
    expectNothingCut(*property);
    EXPECT_EQ(property->windowTitle(), QStringLiteral("Properties"));
    // Its list is wide enough for the longest line it may show.
    auto* list = test::control<QListWidget>(*property, kDeviceList);
    ASSERT_NE(list, nullptr);
    const int room = list->width() - 2 * list->frameWidth() - list->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int bitCount : kColourClassBitCounts) {
        const QString line = QStringLiteral("256 x 256 - ") + colourClassText(bitCount);
        EXPECT_LE(list->fontMetrics().horizontalAdvance(line) + 6, room) << line.toStdString();
    }
    EXPECT_EQ(frame.shortcutCard()->windowTitle(), QStringLiteral("Shortcut List"));

    // The undo item names its step.
    loadTwoIconsAndDeleteOne(frame, settings.dir.file("set.icl"));
    EXPECT_EQ(frame.action(cmd::Undo)->text(), QStringLiteral("&Undo Delete\tCtrl+Z"));
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Sigilscope - set.icl*"));
    EXPECT_EQ(frame.paneText(1), QStringLiteral("Icons: 1"));
    frame.selectionChangedMessage(0);
    EXPECT_FALSE(hasJapanese(frame.paneText(0))) << frame.paneText(0).toStdString();
}

TEST_F(EnglishInterfaceTest, TheShortcutCardShowsNoJapanese)
{
    for (const ShortcutBox& box : shortcutBoxes()) {
        EXPECT_FALSE(hasJapanese(box.heading)) << box.heading.toStdString();
        for (const ShortcutLine& line : box.lines) {
            EXPECT_FALSE(hasJapanese(line.keys)) << line.keys.toStdString();
            EXPECT_FALSE(hasJapanese(line.action)) << line.action.toStdString();
        }
    }
}

TEST_F(EnglishInterfaceTest, TheDialogsShowNoJapanese)
{
    forEveryDialog(settings, icons, expectNoJapanese);
}

TEST(InterfaceLanguageSetting, TheSettingsDialogChoosesTheLanguageForTheNextStart)
{
    struct Case {
        const char* stored;
        int shown;
        int chosen;
        const char* written;
    };
    const Case cases[] = {
        {"ja", 0, 1, "en"},   {"en", 1, 2, "auto"},
        {"auto", 2, 0, "ja"}, {"EN", 1, 1, "EN"},  // unchanged: kept as written
        {"fr", 0, 0, "fr"},                        // unknown, reads as Japanese and stays until changed
        {"fr", 0, 1, "en"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.stored << " " << c.chosen);
        test::SettingsFixture settings;
        settings.general.language = c.stored;
        SettingsDialog dialog(settings.general, settings.display, settings.file);
        auto* list = test::control<QComboBox>(dialog, kLanguageList);
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->currentIndex(), c.shown);
        list->setCurrentIndex(c.chosen);
        dialog.accept();
        EXPECT_EQ(settings.general.language, c.written);
        // Written at once, and what the next start reads.
        GeneralSettings again;
        again.load(settings.file);
        EXPECT_EQ(again.language, c.written);
        // The running interface keeps its language.
        EXPECT_EQ(interfaceLanguage(), Language::Japanese);
    }
}

}  // namespace
}  // namespace sigil
