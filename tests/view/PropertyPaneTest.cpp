// How the icon view drives the property pane: the icon it is told to show,
// and the keys and mouse that show, hide and focus it.

#include <gtest/gtest.h>

#include <QTest>

#include "support/ViewFixture.h"
#include "ui/CommandIds.h"
#include "view/CIconView.h"

namespace sigil {
namespace {

// Records what the view asks of the pane.
struct RecordingPane : PropertyPane {
    std::vector<std::pair<const IconEntry*, bool>> shown;  // icon, force
    bool visible = false;
    int toggles = 0;
    int focused = 0;
    void showIcon(IconEntry* icon, bool force) override { shown.emplace_back(icon, force); }
    bool paneVisible() const override { return visible; }
    void togglePane() override
    {
        ++toggles;
        visible = !visible;
    }
    void focusPane() override { ++focused; }
};

class PropertyPaneTest : public testing::Test {
protected:
    PropertyPaneTest()
    {
        for (int i = 0; i < 3; ++i) {
            auto entry = std::make_unique<IconEntry>();
            entry->addDevice(16, 16, 4);
            library.appendIcon(std::move(entry));
        }
        view.resize(200, 200);
        view.show();
        view.setPropertyPane(&pane);
    }
    ~PropertyPaneTest() override { view.setPropertyPane(nullptr); }

    test::SettingsFixture settings;
    IconLibrary library;
    test::ScriptedMessages messages;
    LibraryDocument doc{library, settings.general, settings.display};
    CIconView view{doc, settings.file};
    RecordingPane pane;
};

TEST_F(PropertyPaneTest, TheSelectedIconIsShownAndNoneWhenTheLibraryIsCleared)
{
    view.selectIcon(2);
    ASSERT_FALSE(pane.shown.empty());
    EXPECT_EQ(pane.shown.back(), std::make_pair(static_cast<const IconEntry*>(&library.at(2)), true));
    view.selectIcon(-1);
    EXPECT_EQ(pane.shown.back(), std::make_pair(static_cast<const IconEntry*>(nullptr), false));
    view.selectIcon(1);
    doc.clearLibrary();
    EXPECT_EQ(pane.shown.back().first, nullptr);
}

TEST_F(PropertyPaneTest, EnterAndCtrlDoubleClickToggleTabAndCtrlTabFocusAVisiblePane)
{
    QTest::keyClick(&view, Qt::Key_Tab);
    QTest::keyClick(&view, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(pane.focused, 0);  // hidden: the keys stay here

    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_TRUE(view.commandChecked(cmd::ShowProperty));
    QTest::keyClick(&view, Qt::Key_Tab);
    QTest::keyClick(&view, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(pane.focused, 2);

    QTest::mouseDClick(view.viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(10, 10));
    EXPECT_EQ(pane.toggles, 2);
    EXPECT_FALSE(view.commandChecked(cmd::ShowProperty));
}

}  // namespace
}  // namespace sigil
