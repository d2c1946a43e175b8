#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "model/IconEntry.h"

using namespace sigil;

namespace {

using Shape = std::tuple<int, int, int>;  // width, height, bits

void fill(IconEntry& e, const std::vector<Shape>& shapes)
{
    for (auto [w, h, b] : shapes) {
        IconDevice d;
        ASSERT_TRUE(d.makeBlank(w, h, b));
        e.devices.push_back(std::move(d));
    }
}

std::vector<Shape> shapes(const IconEntry& e)
{
    std::vector<Shape> out;
    for (const IconDevice& d : e.devices)
        out.emplace_back(d.width, d.height, d.bitCount);
    return out;
}

TEST(CanonicalOrder, WidthThenBitCount)
{
    IconEntry e;
    fill(e, {{32, 32, 8}, {16, 16, 4}, {32, 32, 4}, {16, 16, 32}});
    e.sortDevices();
    EXPECT_EQ(shapes(e), (std::vector<Shape>{{16, 16, 4}, {16, 16, 32}, {32, 32, 4}, {32, 32, 8}}));
}

TEST(CanonicalOrder, HeightIsNotLookedAt)
{
    IconEntry e;
    fill(e, {{16, 32, 8}, {16, 16, 4}});
    e.sortDevices();
    EXPECT_EQ(shapes(e), (std::vector<Shape>{{16, 16, 4}, {16, 32, 8}}));
}

TEST(CanonicalOrder, EqualKeysAreExchanged)
{
    // Two devices of the same width and depth swap, as the exchange sort does.
    IconEntry e;
    fill(e, {{16, 16, 8}, {16, 20, 8}});
    e.sortDevices();
    EXPECT_EQ(shapes(e), (std::vector<Shape>{{16, 20, 8}, {16, 16, 8}}));
}

struct DisplayCase {
    int size;
    int expected;
};

class DisplayDevice : public testing::TestWithParam<DisplayCase> {};

TEST_P(DisplayDevice, IsTheDeepestOfTheSmallestSizeAtLeastS)
{
    IconEntry e;
    fill(e, {{16, 16, 4}, {32, 32, 4}, {32, 32, 8}, {48, 48, 8}});
    EXPECT_EQ(e.displayDevice(GetParam().size), GetParam().expected);
    // Devices kept largest first, as a PE module's group lists them, give
    // the same device.
    IconEntry group;
    fill(group, {{48, 48, 8}, {32, 32, 8}, {32, 32, 4}, {16, 16, 4}});
    EXPECT_EQ(group.displayDevice(GetParam().size), 3 - GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, DisplayDevice,
                         testing::Values(DisplayCase{32, 2}, DisplayCase{64, 3}, DisplayCase{16, 0}, DisplayCase{17, 2},
                                         DisplayCase{48, 3}));

TEST(DisplayDevice, NoDevicesGivesNone)
{
    IconEntry e;
    EXPECT_EQ(e.displayDevice(32), -1);
}

TEST(AddDevice, InsertsWhereTheOrderWantsIt)
{
    IconEntry e;
    fill(e, {{16, 16, 4}, {32, 32, 4}, {32, 32, 24}});
    EXPECT_EQ(e.addDevice(32, 32, 8), 2);
    EXPECT_EQ(e.addDevice(32, 32, 4), -1);
    EXPECT_EQ(e.deviceCount(), 4);
    EXPECT_EQ(e.addDevice(48, 48, 4), 4);
    EXPECT_EQ(e.addDevice(24, 24, 32), 1);
    EXPECT_EQ(e.addDevice(0, 24, 32), -1);
    EXPECT_EQ(shapes(e),
              (std::vector<Shape>{{16, 16, 4}, {24, 24, 32}, {32, 32, 4}, {32, 32, 8}, {32, 32, 24}, {48, 48, 4}}));
}

TEST(DrawIcon, FitsTheCellKeepingProportionsAndCentres)
{
    EXPECT_EQ(iconDrawRect(32, 21, 50, 50, 0, 0), QRect(0, 9, 50, 32));
    EXPECT_EQ(iconDrawRect(32, 32, 64, 40, 10, 20), QRect(22, 20, 40, 40));
    EXPECT_EQ(iconDrawRect(16, 32, 20, 20, 0, 0), QRect(5, 0, 10, 20));
    EXPECT_TRUE(iconDrawRect(32, 32, 0, 50, 0, 0).isEmpty());
}

TEST(SameIcon, ComparesDevicesNotNames)
{
    IconEntry a, b, c;
    fill(a, {{16, 16, 4}, {32, 32, 8}});
    fill(b, {{16, 16, 4}, {32, 32, 8}});
    fill(c, {{32, 32, 8}, {16, 16, 4}});
    a.name = "one";
    b.name = "two";
    EXPECT_TRUE(a.sameIcon(b));
    EXPECT_FALSE(a.sameIcon(c));
    IconEntry empty1, empty2;
    EXPECT_TRUE(empty1.sameIcon(empty2));
    EXPECT_FALSE(a.sameIcon(empty1));
}

TEST(ClearEntry, EmptiesEverything)
{
    IconEntry e;
    fill(e, {{16, 16, 4}});
    e.name = "x";
    e.source = "y";
    e.current = 0;
    e.clearEntry();
    EXPECT_EQ(e.deviceCount(), 0);
    EXPECT_TRUE(e.name.empty());
    EXPECT_TRUE(e.source.empty());
}

}  // namespace
