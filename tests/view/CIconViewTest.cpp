#include "view/CIconView.h"

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "platform/StringTable.h"
#include "support/IconBytes.h"
#include "support/ViewFixture.h"

namespace sigil {
namespace {

using test::pumpUntil;

class IconViewTest : public testing::Test {
protected:
    IconViewTest()
    {
        settings.general.horizontal = 1;
        settings.display.iconSize = 32;
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.resize(180, 110);  // 5 per row, 3 whole rows visible
        view.show();            // a hidden widget lays out its viewport only when shown
        view.initialUpdate({});
    }

    std::string iconFile(const std::string& name)
    {
        const std::string path = settings.dir.file(name);
        EXPECT_TRUE(test::writeFile(path, test::icoFile({test::iconImage(16, 16, 4)})));
        return path;
    }

    // Loads n icons named i00, i01, ... in that order.
    void loadIcons(int n)
    {
        char name[16];
        for (int i = 0; i < n; ++i) {
            std::snprintf(name, sizeof name, "i%02d.ico", i);
            doc.queueFile(iconFile(name));
        }
        doc.startLoader();
        ASSERT_TRUE(pumpUntil([this] { return !view.loading(); }));
    }

    std::string names() const
    {
        std::string s;
        for (int i = 0; i < library.size(); ++i)
            s += library.at(i).name.substr(1) + " ";
        return s;
    }

    test::SettingsFixture settings;
    IconLibrary library;
    test::ScriptedMessages messages;
    LibraryDocument doc{library, settings.general, settings.display};
    CIconView view{doc, settings.file};
};

TEST_F(IconViewTest, LoadingSelectsTheFirstIconAndReportsCounts)
{
    // Counts are reported at most once a frame while icons arrive; the
    // last report sees every icon.
    std::vector<int> counts;
    QObject::connect(&view, &CIconView::countChangedMessage, [&] { counts.push_back(library.size()); });
    loadIcons(3);
    EXPECT_EQ(library.size(), 3);
    EXPECT_EQ(view.selection(), 0);
    ASSERT_FALSE(counts.empty());
    EXPECT_EQ(counts.back(), 3);
    EXPECT_EQ(doc.libraryPath(), "i00.icl");
    // A second path into a non-empty library marks it modified, keeps the name.
    EXPECT_TRUE(doc.queueFile(iconFile("more.ico")));
    EXPECT_EQ(doc.libraryPath(), "i00.icl");
}

TEST_F(IconViewTest, ArrowKeysMoveTheSelectionAndShiftMovesTheIcon)
{
    loadIcons(12);
    view.selectIcon(6);
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(view.selection(), 11);
    QTest::keyClick(&view, Qt::Key_Down);
    EXPECT_EQ(view.selection(), 11);
    view.selectIcon(2);
    QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(view.selection(), 3);
    EXPECT_EQ(names(), "00 01 03 02 04 05 06 07 08 09 10 11 ");
    EXPECT_TRUE(doc.modified());
}

TEST_F(IconViewTest, CtrlKeysChangeTheDisplaySize)
{
    QSignalSpy sizes(&view, &CIconView::sizeChangedMessage);
    settings.display.iconSize = 100;
    QTest::keyClick(&view, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(settings.display.iconSize, 72);
    settings.display.iconSize = 200;
    QTest::keyClick(&view, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(settings.display.iconSize, 200);
    settings.display.iconSize = 256;
    QTest::keyClick(&view, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(settings.display.iconSize, 256);
    QTest::keyClick(&view, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(settings.display.iconSize, 255);
    EXPECT_EQ(sizes.count(), 2);
}

TEST_F(IconViewTest, CommandKeysRunTheirCommandsAndShiftFallsBackToThePlainKey)
{
    loadIcons(2);
    view.selectIcon(0);
    QSignalSpy exits(&view, &CIconView::exitRequested);
    QSignalSpy helps(&view, &CIconView::helpRequested);
    struct Step {
        int key;
        Qt::KeyboardModifiers modifiers;
        int icons;  // the count after the key
    };
    const Step steps[] = {
        {Qt::Key_L, Qt::ControlModifier, 3},                      // duplicate
        {Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier, 4},  // no row of its own: as Ctrl+L
        {Qt::Key_Z, Qt::ControlModifier, 3},                      // undo
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, 4},  // redo
        {Qt::Key_Delete, Qt::NoModifier, 3},                      // delete the icon
        {Qt::Key_F4, Qt::ControlModifier, 3},                     // the frame's key: swallowed here
    };
    for (const Step& step : steps) {
        QTest::keyClick(&view, static_cast<Qt::Key>(step.key), step.modifiers);
        EXPECT_EQ(library.size(), step.icons) << QKeySequence(step.key | step.modifiers).toString().toStdString();
    }
    QTest::keyClick(&view, Qt::Key_F1);
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(helps.count(), 1);
    EXPECT_EQ(exits.count(), 1);
}

TEST_F(IconViewTest, CtrlWheelShrinksByOnePixelPerNotch)
{
    auto wheel = [this](int delta) {
        QWheelEvent event(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view.viewport(), &event);
    };
    wheel(120);
    EXPECT_EQ(settings.display.iconSize, 31);
    wheel(60);
    EXPECT_EQ(settings.display.iconSize, 31);
    wheel(60);
    EXPECT_EQ(settings.display.iconSize, 30);
}

struct WheelCase {
    const char* name;
    int horizontal;  // the arrangement setting
    QPoint delta;    // angle delta of one wheel message
    Qt::Orientation scrolls;
};

class IconViewWheel : public IconViewTest, public testing::WithParamInterface<WheelCase> {};

// The wheel scrolls the one bar that has a range, whichever way it turns.
TEST_P(IconViewWheel, ScrollsTheBarThatHasARange)
{
    const WheelCase& c = GetParam();
    settings.general.horizontal = c.horizontal;
    loadIcons(40);
    QScrollBar* moving = c.scrolls == Qt::Horizontal ? view.horizontalScrollBar() : view.verticalScrollBar();
    QScrollBar* still = c.scrolls == Qt::Horizontal ? view.verticalScrollBar() : view.horizontalScrollBar();
    ASSERT_GT(moving->maximum(), 0);
    ASSERT_EQ(still->maximum(), 0);
    auto wheel = [this](QPoint delta) {
        QWheelEvent event(QPointF(10, 10), QPointF(10, 10), QPoint(), delta, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view.viewport(), &event);
    };
    wheel(c.delta);  // towards the user: on to later icons
    const int forward = moving->value();
    EXPECT_GT(forward, 0);
    wheel(-c.delta);
    EXPECT_LT(moving->value(), forward);
    EXPECT_EQ(settings.display.iconSize, 32);
}

INSTANTIATE_TEST_SUITE_P(Cases, IconViewWheel,
                         testing::Values(WheelCase{"VerticalWheelScrollsColumnsSideways", 0, {0, -120}, Qt::Horizontal},
                                         WheelCase{"VerticalWheelScrollsRowsDown", 1, {0, -120}, Qt::Vertical},
                                         WheelCase{"SidewaysWheelScrollsColumns", 0, {-120, 0}, Qt::Horizontal}),
                         [](const auto& info) { return info.param.name; });

// Presses on cell `from`, moves by `step` and then to `to`, and releases.
void dragCell(QWidget* viewport, QPoint from, QPoint to, Qt::KeyboardModifiers mods, int step = 10)
{
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(from + QPoint(step, 0)), viewport->mapToGlobal(from), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &move);
    QMouseEvent moveTo(QEvent::MouseMove, QPointF(to), viewport->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                       Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &moveTo);
    QTest::mouseRelease(viewport, Qt::LeftButton, mods, to);
}

QPoint centre(int k)
{
    return QPoint(3 + (k % 5) * 35 + 16, 3 + (k / 5) * 35 + 16);
}

TEST_F(IconViewTest, DragMovesSwapsAndCopies)
{
    loadIcons(6);
    dragCell(view.viewport(), centre(1), centre(4), Qt::NoModifier);
    EXPECT_EQ(names(), "00 02 03 04 01 05 ");
    EXPECT_EQ(view.selection(), 4);
    dragCell(view.viewport(), centre(0), centre(5), Qt::ShiftModifier);
    EXPECT_EQ(names(), "05 02 03 04 01 00 ");
    dragCell(view.viewport(), centre(2), centre(1), Qt::ControlModifier);
    EXPECT_EQ(names(), "05 03 02 03 04 01 00 ");
    EXPECT_EQ(view.selection(), 3);  // still on the dragged icon
}

TEST_F(IconViewTest, DragReleaseTargetsOutsideTheIcons)
{
    view.resize(200, 110);  // still 5 per row, with room right of the last column
    loadIcons(6);
    // The free area after the last icon, inside the columns: nothing moves.
    dragCell(view.viewport(), centre(1), centre(8), Qt::NoModifier);
    EXPECT_EQ(names(), "00 01 02 03 04 05 ");
    // Right of the last column aims at the first place.
    dragCell(view.viewport(), centre(3), QPoint(185, 20), Qt::NoModifier);
    EXPECT_EQ(names(), "03 00 01 02 04 05 ");
    // With Ctrl on the free area the copy goes to the end.
    dragCell(view.viewport(), centre(2), centre(8), Qt::ControlModifier);
    EXPECT_EQ(names(), "03 00 01 02 04 05 01 ");
    // Released out of the view (over the toolbar, beside or below the
    // window), a drag moves and copies nothing.
    for (const QPoint outside : {QPoint(100, -40), QPoint(100, -10), QPoint(-5, 20), QPoint(300, 20), QPoint(50, 500)})
        for (const Qt::KeyboardModifiers mods : {Qt::NoModifier, Qt::ControlModifier, Qt::ShiftModifier})
            dragCell(view.viewport(), centre(4), outside, mods);
    EXPECT_EQ(names(), "03 00 01 02 04 05 01 ");
    EXPECT_FALSE(view.dragging());
}

TEST_F(IconViewTest, AMoveOfThreePixelsDoesNotStartADrag)
{
    loadIcons(3);
    dragCell(view.viewport(), centre(0), centre(0) + QPoint(3, 0), Qt::NoModifier, 3);
    EXPECT_EQ(names(), "00 01 02 ");
    QTest::mousePress(view.viewport(), Qt::LeftButton, Qt::NoModifier, centre(0));
    QMouseEvent move(QEvent::MouseMove, QPointF(centre(0) + QPoint(4, 0)), QPointF(), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &move);
    EXPECT_TRUE(view.dragging());
    view.stopDrag();
}

TEST_F(IconViewTest, ClickOnAFreePlaceClearsTheSelection)
{
    loadIcons(3);
    QSignalSpy selections(&view, &CIconView::selectionChangedMessage);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, centre(1));
    EXPECT_EQ(view.selection(), 1);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, centre(9));
    EXPECT_EQ(view.selection(), -1);
    ASSERT_FALSE(selections.isEmpty());
    EXPECT_EQ(selections.last().at(0).toInt(), -1);
}

}  // namespace
}  // namespace sigil

namespace sigil {
namespace {

TEST_F(IconViewTest, PaintsGridSelectionAndIconsWhereTheLayoutSays)
{
    settings.general.grid = 1;
    settings.general.gridColor = rgbColor(255, 0, 0);
    settings.display.backColor = rgbColor(255, 255, 255);
    settings.display.selectColor = rgbColor(0, 0, 255);
    loadIcons(3);
    view.selectIcon(1);
    const QImage shot = view.viewport()->grab().toImage();
    auto at = [&](int x, int y) { return shot.pixelColor(x, y).rgb() & 0xFFFFFF; };
    // Cell 0 at (3, 3): its grid frame one pixel outside, its icon inside.
    EXPECT_EQ(at(2, 20), 0xFF0000u);
    EXPECT_EQ(at(35, 20), 0xFF0000u);
    EXPECT_NE(at(19, 19), 0xFFFFFFu);
    // Cell 1 at (38, 3) is selected: the square covers the frame.
    EXPECT_EQ(at(37, 20), 0x0000FFu);
    EXPECT_NE(at(54, 19), 0x0000FFu);  // its icon
    // Beyond the last icon only the background.
    EXPECT_EQ(at(150, 90), 0xFFFFFFu);

    // While the selected icon is dragged its cell shows the square alone.
    QTest::mousePress(view.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(54, 19));
    QMouseEvent move(QEvent::MouseMove, QPointF(64, 19), QPointF(), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &move);
    ASSERT_TRUE(view.dragging());
    const QImage dragging = view.viewport()->grab().toImage();
    EXPECT_EQ(dragging.pixelColor(54, 19).rgb() & 0xFFFFFF, 0x0000FFu);
    view.stopDrag();
}

}  // namespace
}  // namespace sigil
