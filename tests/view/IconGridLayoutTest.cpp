#include "view/IconGridLayout.h"

#include <gtest/gtest.h>

namespace sigil {
namespace {

IconGridLayout grid(int s, bool horizontal, QSize client, int count)
{
    IconGridLayout layout;
    layout.displaySize = s;
    layout.horizontal = horizontal;
    layout.client = client;
    layout.count = count;
    return layout;
}

TEST(IconGridLayout, HorizontalGeometryFollowsTheWorkedExample)
{
    const IconGridLayout layout = grid(32, true, QSize(200, 150), 12);
    EXPECT_EQ(layout.pitch(), 35);
    EXPECT_EQ(layout.perLine(), 5);
    EXPECT_EQ(layout.cellRect(7), QRect(73, 38, 32, 32));
    EXPECT_EQ(layout.extent(), QSize(175, 105));
}

TEST(IconGridLayout, VerticalArrangementFillsColumns)
{
    const IconGridLayout layout = grid(32, false, QSize(150, 200), 12);
    EXPECT_EQ(layout.perLine(), 5);
    EXPECT_EQ(layout.cellRect(7), QRect(38, 73, 32, 32));
    EXPECT_EQ(layout.extent(), QSize(105, 175));
}

TEST(IconGridLayout, NarrowWindowStillHoldsOneCellPerLine)
{
    const IconGridLayout layout = grid(32, true, QSize(30, 100), 3);
    EXPECT_EQ(layout.perLine(), 1);
    EXPECT_EQ(layout.extent(), QSize(35, 105));
}

TEST(IconGridLayout, EmptyLibraryScrollsOverTenByTen)
{
    EXPECT_EQ(grid(32, true, QSize(400, 300), 0).extent(), QSize(10, 10));
}

TEST(IconGridLayout, HitAreasStartThreePixelsBeforeTheSquare)
{
    const IconGridLayout layout = grid(32, true, QSize(200, 150), 12);
    EXPECT_EQ(layout.hitCell(QPoint(37, 10)), 1);  // 1 px left of cell 1's square
    EXPECT_EQ(layout.hitCell(QPoint(34, 10)), 0);
    EXPECT_EQ(layout.hitCell(QPoint(10, 40)), 5);
    EXPECT_EQ(layout.hitCell(QPoint(180, 10)), -1);  // right of the last column
    EXPECT_EQ(layout.hitCell(QPoint(10, 130)), 15);  // a free place after the last icon
    const IconGridLayout vertical = grid(32, false, QSize(150, 200), 12);
    EXPECT_EQ(vertical.hitCell(QPoint(40, 10)), 5);
    EXPECT_EQ(vertical.hitCell(QPoint(10, 180)), -1);
    EXPECT_EQ(layout.hitCell(QPoint(10, -40)), -1);  // above the grid: no cell to press
}

struct DropCase {
    const char* name;
    bool horizontal;
    QPoint at;
    int expected;
};

class DropTargets : public testing::TestWithParam<DropCase> {};

// 5 per line, 35 px pitch, 12 icons; quotients truncate toward zero.
TEST_P(DropTargets, FollowTheIntegerHitRule)
{
    const DropCase& c = GetParam();
    const IconGridLayout layout =
        c.horizontal ? grid(32, true, QSize(200, 150), 12) : grid(32, false, QSize(150, 200), 12);
    EXPECT_EQ(layout.dropTarget(c.at), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DropTargets,
    testing::Values(DropCase{"OnACell", true, {80, 40}, 7}, DropCase{"FreePlaceAfterTheLast", true, {10, 130}, 15},
                    DropCase{"RightOfTheLastColumnIsTheFirstPlace", true, {180, 40}, 0},
                    DropCase{"LessThanAPitchAboveIsTheFirstRow", true, {80, -20}, 2},
                    DropCase{"APitchAboveIsNegative", true, {80, -35}, -3},
                    DropCase{"FarAboveIsNegative", true, {10, -100}, -10},
                    DropCase{"APitchLeftOfTheFirstRowIsNegative", true, {-40, 10}, -1},
                    DropCase{"APitchLeftOfALaterRowIsThePlaceBefore", true, {-40, 40}, 4},
                    DropCase{"VerticalBelowTheLastRowIsTheFirstPlace", false, {40, 180}, 0},
                    DropCase{"VerticalRightOfTheLastColumnIsAFreePlace", false, {130, 10}, 15},
                    DropCase{"VerticalLessThanAPitchLeftIsTheFirstColumn", false, {-20, 80}, 2},
                    DropCase{"VerticalAPitchLeftIsNegative", false, {-40, 80}, -3},
                    DropCase{"VerticalAPitchAboveTheFirstColumnIsNegative", false, {10, -40}, -1},
                    DropCase{"VerticalAPitchAboveALaterColumnIsThePlaceBefore", false, {40, -40}, 4}),
    [](const auto& info) { return info.param.name; });

TEST(IconGridLayout, ScrollToShowBringsCellsIntoView)
{
    // 5 per row, 35 px rows, 100 px high window.
    const IconGridLayout layout = grid(32, true, QSize(200, 100), 40);
    EXPECT_EQ(scrollToShow(layout, 3, QPoint(0, 0)), 0);                  // on the top line: its own line's top
    EXPECT_EQ(scrollToShow(layout, 8, QPoint(0, 0)), -1);                 // wholly visible
    EXPECT_EQ(scrollToShow(layout, 12, QPoint(0, 0)), 3 * 35 + 3 - 100);  // below: bottom edge 3 px up
    EXPECT_EQ(scrollToShow(layout, 7, QPoint(0, 70)), 35);                // above the top line
    EXPECT_EQ(scrollToShow(layout, 12, QPoint(0, 35)), -1);
}

struct MoveCase {
    const char* name;
    bool horizontal;
    int count;
    int current;
    MoveKey key;
    int expected;
};

class KeyboardMoves : public testing::TestWithParam<MoveCase> {};

TEST_P(KeyboardMoves, LandWhereTheRulesSay)
{
    const MoveCase& c = GetParam();
    // 5 per line and 3 whole lines visible in either arrangement.
    const QSize client = c.horizontal ? QSize(180, 110) : QSize(110, 180);
    EXPECT_EQ(keyboardTarget(grid(32, c.horizontal, client, c.count), c.current, c.key), c.expected);
}

INSTANTIATE_TEST_SUITE_P(IconGridLayout, KeyboardMoves,
                         testing::Values(MoveCase{"NoSelectionDownSelectsFirst", true, 12, -1, MoveKey::Down, 0},
                                         MoveCase{"NoSelectionUpSelectsLast", true, 12, -1, MoveKey::Up, 11},
                                         MoveCase{"DownFromSixGoesToEleven", true, 12, 6, MoveKey::Down, 11},
                                         MoveCase{"DownFromNineIsClampedToLast", true, 12, 9, MoveKey::Down, 11},
                                         MoveCase{"DownFromLastLineGoesNowhere", true, 12, 11, MoveKey::Down, -1},
                                         MoveCase{"UpFromFirstLineGoesNowhere", true, 12, 2, MoveKey::Up, -1},
                                         MoveCase{"RightMovesByOne", true, 12, 4, MoveKey::Right, 5},
                                         MoveCase{"LeftFromZeroGoesNowhere", true, 12, 0, MoveKey::Left, -1},
                                         MoveCase{"PageDownStepsBackBeyondTheEnd", true, 12, 0, MoveKey::PageDown, 10},
                                         MoveCase{"PageUpStepsForwardBeforeTheStart", true, 30, 7, MoveKey::PageUp, 2},
                                         MoveCase{"PageDownWithinTheLibrary", true, 40, 1, MoveKey::PageDown, 16},
                                         MoveCase{"HomeAndEnd", true, 12, 6, MoveKey::End, 11},
                                         MoveCase{"Home", true, 12, 6, MoveKey::Home, 0},
                                         MoveCase{"VerticalDownMovesByOne", false, 12, 6, MoveKey::Down, 7},
                                         MoveCase{"VerticalRightMovesAcrossColumns", false, 12, 6, MoveKey::Right, 11},
                                         MoveCase{"VerticalRightClampedToLast", false, 12, 9, MoveKey::Right, 11},
                                         MoveCase{"EmptyLibraryMovesNowhere", true, 0, -1, MoveKey::Down, -1}),
                         [](const testing::TestParamInfo<MoveCase>& info) { return std::string(info.param.name); });

TEST(IconGridLayout, StandardSizeSteps)
{
    EXPECT_EQ(smallerStandardSize(100), 72);
    EXPECT_EQ(smallerStandardSize(16), 16);
    EXPECT_EQ(smallerStandardSize(200), 128);
    EXPECT_EQ(largerStandardSize(200), 200);
    EXPECT_EQ(largerStandardSize(10), 16);
    EXPECT_EQ(largerStandardSize(72), 128);
}

TEST(IconGridLayout, WheelChangesTheSizeByOneStepPerMessage)
{
    int remainder = 0;
    EXPECT_EQ(wheelSize(32, 120, remainder), 31);  // a forward notch shrinks
    EXPECT_EQ(remainder, 0);
    EXPECT_EQ(wheelSize(32, 60, remainder), 32);
    EXPECT_EQ(wheelSize(32, 60, remainder), 31);    // two half notches
    EXPECT_EQ(wheelSize(32, -300, remainder), 33);  // one step, the rest kept
    EXPECT_EQ(remainder, -60);
    remainder = 0;
    EXPECT_EQ(wheelSize(256, -120, remainder), 256);  // clamped
    EXPECT_EQ(wheelSize(16, 120, remainder), 16);
}

}  // namespace
}  // namespace sigil
