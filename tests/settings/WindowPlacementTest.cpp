#include <gtest/gtest.h>

#include "settings/WindowPlacement.h"

using namespace sigil;

namespace {

const SettingsRect kWork{0, 0, 1000, 700};
// A work area with a task bar on the left and at the top.
const SettingsRect kOffsetWork{100, 40, 1100, 740};

struct RectCase {
    const char* label;
    SettingsRect stored;
    SettingsRect work;
    SettingsRect expected;  // for a window now 300 x 200
};

class PlacedRect : public testing::TestWithParam<RectCase> {};

TEST_P(PlacedRect, CentresOrMovesIntoTheWorkArea)
{
    EXPECT_EQ(placedRect(GetParam().stored, GetParam().work, 300, 200), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlacedRect,
    testing::Values(RectCase{"NothingStoredIsCentred", {0, 0, 0, 0}, kWork, {350, 250, 650, 450}},
                    RectCase{"CentredInAnOffsetWorkArea", {0, 0, 0, 0}, kOffsetWork, {450, 290, 750, 490}},
                    RectCase{"ZeroHeightIsCentred", {10, 10, 500, 10}, kWork, {350, 250, 650, 450}},
                    RectCase{"NegativeWidthIsCentred", {500, 10, 400, 300}, kWork, {350, 250, 650, 450}},
                    RectCase{"InsideStaysWithItsOwnSize", {10, 20, 410, 320}, kWork, {10, 20, 410, 320}},
                    RectCase{"OffTheRightEdge", {900, 100, 1100, 300}, kWork, {800, 100, 1000, 300}},
                    RectCase{"OffTheLeftEdge", {-50, 100, 150, 300}, kWork, {0, 100, 200, 300}},
                    RectCase{"AboveTheTop", {100, -30, 300, 70}, kOffsetWork, {100, 40, 300, 140}},
                    RectCase{"BelowTheBottom", {100, 650, 300, 750}, kWork, {100, 600, 300, 700}},
                    RectCase{"WiderThanTheWorkArea", {-50, 10, 1150, 110}, kWork, {-200, 10, 1000, 110}},
                    RectCase{"TallerThanTheWorkArea", {10, 50, 110, 850}, kWork, {10, -100, 110, 700}}),
    [](const auto& info) { return info.param.label; });

TEST(PlacedPoint, OnlyBothNegativeMeansCentre)
{
    EXPECT_EQ(placedPoint({-1, -1}, kWork, 301, 201), (SettingsPoint{349, 249}));
    EXPECT_EQ(placedPoint({-1, -1}, kOffsetWork, 300, 200), (SettingsPoint{450, 290}));
    // Position mode never clamps: off-screen points are kept.
    EXPECT_EQ(placedPoint({-5, 40}, kWork, 300, 200), (SettingsPoint{-5, 40}));
    EXPECT_EQ(placedPoint({5000, 4000}, kWork, 300, 200), (SettingsPoint{5000, 4000}));
}

TEST(Cascade, MovesRightAndDownBySizeKept)
{
    EXPECT_EQ(cascaded(SettingsPoint{10, 20}, 23), (SettingsPoint{33, 43}));
    EXPECT_EQ(cascaded(SettingsRect{10, 20, 110, 220}, 23), (SettingsRect{33, 43, 133, 243}));
}

struct AnchorCase {
    const char* label;
    AnchorFlags flags;
    SettingsRect expected;  // a 80 x 24 control at 200,250 after 300x300 -> 400x350
};

class Anchored : public testing::TestWithParam<AnchorCase> {};

TEST_P(Anchored, FollowsTheEdgesItIsAnchoredTo)
{
    EXPECT_EQ(anchoredRect({200, 250, 280, 274}, GetParam().flags, 300, 300, 400, 350), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Anchored,
                         testing::Values(AnchorCase{"None", {}, {200, 250, 280, 274}},
                                         AnchorCase{
                                             "LowerRightButton", {true, true, false, false}, {300, 300, 380, 324}},
                                         AnchorCase{"MoveXOnly", {true, false, false, false}, {300, 250, 380, 274}},
                                         AnchorCase{"StretchWidth", {false, false, true, false}, {200, 250, 380, 274}},
                                         AnchorCase{"StretchHeight", {false, false, false, true}, {200, 250, 280, 324}},
                                         AnchorCase{"StretchBoth", {false, false, true, true}, {200, 250, 380, 324}}),
                         [](const auto& info) { return info.param.label; });

TEST(Anchored, ShrinkingMovesBack)
{
    EXPECT_EQ(anchoredRect({200, 250, 280, 274}, {true, true, false, false}, 300, 300, 250, 160),
              (SettingsRect{150, 110, 230, 134}));
}

}  // namespace
