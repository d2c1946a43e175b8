#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "imaging/Conversions.h"
#include "support/DeviceMaker.h"
#include "support/IconBytes.h"

using namespace sigil;
using namespace sigil::test;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

DisplaySettings permate(int type, Color color = 0, int on = 1)
{
    DisplaySettings s;
    s.transparency = on;
    s.transparencyType = type;
    s.transparencyColor = color;
    return s;
}

// A copy to compare against after an operation that must change nothing.
IconDevice snapshot(const IconDevice& d)
{
    IconDevice copy;
    copy.copyFrom(d);
    return copy;
}

bool unchanged(const IconDevice& before, const IconDevice& after)
{
    return before.sameDevice(after) && before.allocatedBytes() == after.allocatedBytes() &&
           before.compression == after.compression;
}

// ---- makeTransparent ------------------------------------------------------

// Four corners of distinct colours on a grey field; each type must pick its
// own corner (stored row 0 is the bottom row) and nothing else.
struct CornerCase {
    int type;
    int x;
    int row;
};

class CornerTest : public ::testing::TestWithParam<std::tuple<CornerCase, int>> {};

TEST_P(CornerTest, PicksTheNamedCornerOnly)
{
    const auto [corner, bits] = GetParam();
    const int w = 5, h = 4;
    // Palette images use indices 1..4 for the corners and 9 elsewhere; the
    // colours come from the standard palette, which has no duplicates there.
    // True-colour images use 0x101010 * (k + 1).
    auto value = [&](int x, int y) -> uint32_t {
        int k = 9;
        if (x == 0 && y == h - 1)
            k = 1;
        else if (x == w - 1 && y == h - 1)
            k = 2;
        else if (x == 0 && y == 0)
            k = 3;
        else if (x == w - 1 && y == 0)
            k = 4;
        return bits <= 8 ? uint32_t(k) : 0x101010u * uint32_t(k + 1) | (bits == 32 ? 0xFF000000u : 0);
    };
    IconDevice d = makeDevice(w, h, bits, value);
    makeTransparent(d, 0, corner.type);
    EXPECT_EQ(maskedCount(d), 1);
    EXPECT_TRUE(maskedAt(d, corner.x, corner.row));
    if (bits == 8)
        EXPECT_EQ(pixelAt(d, corner.x, corner.row), 255u);  // black of the standard palette
    else
        EXPECT_EQ(pixelAt(d, corner.x, corner.row), 0u);  // black, alpha included
    EXPECT_EQ(pixelAt(d, 2, 1), value(2, 1));
}

INSTANTIATE_TEST_SUITE_P(Corners, CornerTest,
                         ::testing::Combine(::testing::Values(CornerCase{1, 0, 3}, CornerCase{2, 4, 3},
                                                              CornerCase{3, 0, 0}, CornerCase{4, 4, 0}),
                                            ::testing::Values(8, 24, 32)));

TEST(MakeTransparent, WhiteTopLeftLeavesNearWhiteOpaque)
{
    IconDevice d = makeDevice(4, 3, 24, [](int x, int) { return x % 2 ? 0xFEFEFEu : kWhite; });
    makeTransparent(d, 0, kTopLeft);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(maskedAt(d, x, y), x % 2 == 0) << x << "," << y;
            EXPECT_EQ(pixelAt(d, x, y), x % 2 ? 0xFEFEFEu : 0u);
        }
}

TEST(MakeTransparent, GivenColorAndUnknownTypesUseTheColor)
{
    for (int type : {0, 5, -1}) {
        IconDevice d = makeDevice(3, 2, 24, [](int x, int) { return x == 1 ? 0x123456u : 0x654321u; });
        makeTransparent(d, rgbColor(0x12, 0x34, 0x56), type);
        EXPECT_EQ(maskedCount(d), 2) << type;
        EXPECT_TRUE(maskedAt(d, 1, 0));
        EXPECT_TRUE(maskedAt(d, 1, 1));
    }
}

TEST(MakeTransparent, PaletteUsesFirstBlackEntryOrZero)
{
    // Standard 16-colour palette: black is entry 15.
    IconDevice withBlack = makeDevice(4, 2, 4, [](int x, int) { return x == 0 ? 3u : 5u; });
    makeTransparent(withBlack, 0, kBottomLeft);
    EXPECT_EQ(pixelAt(withBlack, 0, 0), 15u);
    EXPECT_EQ(pixelAt(withBlack, 1, 0), 5u);
    EXPECT_EQ(maskedCount(withBlack), 2);

    IconDevice noBlack = makeDevice(4, 2, 4, [](int x, int) { return x == 0 ? 3u : 5u; });
    setTableEntry(noBlack, 15, 0x010101);
    makeTransparent(noBlack, 0, kBottomLeft);
    EXPECT_EQ(pixelAt(noBlack, 0, 1), 0u);
    EXPECT_EQ(pixelAt(noBlack, 3, 1), 5u);
}

TEST(MakeTransparent, MonochromeKeyThroughTable)
{
    // Entry 1 of the 2-colour palette is white; odd pixels are set bits.
    IconDevice d = makeDevice(9, 2, 1, [](int x, int) { return uint32_t(x % 2); });
    makeTransparent(d, kWhite, kGivenColor);
    EXPECT_EQ(maskedCount(d), 8);
    for (int x = 0; x < 9; ++x)
        EXPECT_EQ(pixelAt(d, x, 1), 0u);
}

TEST(MakeTransparent, TrueColorAlphaIsReadButNotCompared)
{
    IconDevice d = makeDevice(2, 2, 32, [](int x, int y) { return x == 0 && y == 1 ? 0x80112233u : 0xFF112233u; });
    makeTransparent(d, 0, kTopLeft);
    EXPECT_EQ(maskedCount(d), 4);
    EXPECT_EQ(pixelAt(d, 1, 0), 0u);
}

TEST(MakeTransparent, HighColorAndMalformedDevicesUntouched)
{
    IconDevice high = makeDevice(2, 2, 16, [](int, int) { return 0u; });
    const IconDevice before = snapshot(high);
    makeTransparent(high, 0, kGivenColor);
    EXPECT_TRUE(unchanged(before, high));

    IconDevice empty;
    makeTransparent(empty, 0, kTopLeft);
    EXPECT_FALSE(empty.hasBlock());

    // A block shorter than the fields describe is never walked.
    IconDevice lying = makeDevice(4, 4, 24, [](int, int) { return 0u; });
    lying.height = 400;
    makeTransparent(lying, 0, kTopLeft);
    lying.height = 4;
    EXPECT_EQ(maskedCount(lying), 0);
}

// ---- normalize ------------------------------------------------------------

TEST(Normalize, AppliesTransparencyOnlyWhenAllowed)
{
    struct Case {
        bool apply;
        int permateOn;
        uint8_t macFlag;
        int bits;
        int expectMasked;
    };
    const Case cases[] = {
        {true, 1, 0, 24, 2},   // the black pixels become transparent
        {false, 1, 0, 24, 0},  // caller says no
        {true, 0, 0, 24, 0},   // setting off
        {true, 1, 1, 24, 0},   // Mac elements keep their pixels
        {true, 1, 0, 32, 0},   // 32-bit pictures have their alpha
    };
    for (const Case& c : cases) {
        IconDevice d = makeDevice(2, 2, c.bits, [](int x, int) { return x == 0 ? 0u : 0xFF00FF00u; });
        d.macFlag = c.macFlag;
        ASSERT_TRUE(normalize(d, c.apply, permate(kGivenColor, 0, c.permateOn)));
        EXPECT_EQ(maskedCount(d), c.expectMasked) << c.apply << c.permateOn << int(c.macFlag) << c.bits;
    }
}

// An RLE8 device as a reader leaves it: header, 256-entry table, codes.
IconDevice rle8Device(int w, int h, int bits, const Bytes& codes)
{
    Header hd;
    hd.width = w;
    hd.height = h;
    hd.bitCount = uint16_t(bits);
    hd.compression = 1;
    hd.imageSize = uint32_t(codes.size());
    IconDevice d;
    if (d.setFromHeader(headerBytes(hd), false) != 40)
        return d;
    uint8_t* b = d.blockData();
    for (int i = 0; i < (bits <= 8 ? 1 << bits : 0); ++i)
        b[40 + 4 * i] = uint8_t(i);  // blue = index, so index 0 is the only black
    std::copy(codes.begin(), codes.end(), b + 40 + IconDevice::colorTableBytes(bits));
    return d;
}

TEST(Normalize, ExpandsRle8ThenMakesTransparent)
{
    // Row 0: three pixels of 7, one of 0; row 1: four of 0; end of bitmap.
    IconDevice d = rle8Device(4, 2, 8, {3, 7, 1, 0, 0, 0, 4, 0, 0, 1});
    ASSERT_TRUE(d.hasBlock());
    ASSERT_TRUE(normalize(d, true, permate(kGivenColor, 0)));
    EXPECT_EQ(d.compression, 0);
    EXPECT_EQ(d.allocatedBytes(), d.blockBytes());
    EXPECT_EQ(pixelAt(d, 2, 0), 7u);
    EXPECT_FALSE(maskedAt(d, 2, 0));
    EXPECT_TRUE(maskedAt(d, 3, 0));
    EXPECT_EQ(maskedCount(d), 5);
}

TEST(Normalize, RefusesRleOfOtherDepthUnchanged)
{
    IconDevice d = rle8Device(4, 2, 4, {4, 0x11, 0, 1});
    ASSERT_TRUE(d.hasBlock());
    const IconDevice before = snapshot(d);
    EXPECT_FALSE(normalize(d, true, permate(kGivenColor, 0)));
    EXPECT_TRUE(unchanged(before, d));
}

// ---- applyMask ------------------------------------------------------------

// A 1-bit picture whose AND mask marks the left column.
IconDevice leftColumnMask(int w, int h)
{
    IconDevice m = makeDevice(w, h, 1, [](int, int) { return 0u; });
    setMask(m, [](int x, int) { return x == 0; });
    return m;
}

class MonochromeMaskTest : public ::testing::TestWithParam<std::tuple<int, uint32_t, uint32_t>> {};

TEST_P(MonochromeMaskTest, MaskCopiedAndMaskedPixelsGetTransparentColor)
{
    const auto [bits, value, transparent] = GetParam();
    IconDevice d = makeDevice(5, 3, bits, [v = value](int, int) { return v; });
    setMask(d, [](int x, int) { return x == 4; });  // replaced, not merged
    ASSERT_TRUE(applyMask(d, leftColumnMask(5, 3)));
    EXPECT_EQ(d.bitCount, bits);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(maskedAt(d, x, y), x == 0);
            EXPECT_EQ(pixelAt(d, x, y), x == 0 ? transparent : value);
        }
}

INSTANTIATE_TEST_SUITE_P(Depths, MonochromeMaskTest,
                         ::testing::Values(std::make_tuple(1, 1u, 0u), std::make_tuple(4, 3u, 15u),
                                           std::make_tuple(8, 7u, 255u), std::make_tuple(16, 0x7C00u, 0u),
                                           std::make_tuple(24, 0x336699u, 0u), std::make_tuple(32, 0xFF336699u, 0u)));

TEST(ApplyMask, EmptyMonochromeMaskMakesTargetOpaque)
{
    IconDevice d = makeDevice(4, 4, 8, [](int x, int y) { return uint32_t(x + 4 * y); });
    setMask(d, [](int x, int y) { return (x + y) % 2 == 0; });
    ASSERT_TRUE(applyMask(d, makeDevice(4, 4, 1, [](int x, int) { return uint32_t(x % 2); })));
    EXPECT_EQ(maskedCount(d), 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(pixelAt(d, x, y), uint32_t(x + 4 * y));
}

TEST(ApplyMask, MacTargetRefusesMonochromeMask)
{
    IconDevice d = makeDevice(4, 4, 4, [](int, int) { return 2u; });
    d.macFlag = 1;
    const IconDevice before = snapshot(d);
    EXPECT_FALSE(applyMask(d, leftColumnMask(4, 4)));
    EXPECT_TRUE(unchanged(before, d));
}

// A grey ramp: 8-bit indices into a grey table (entry k = k, k, k).
IconDevice greyRamp(int w, int h, const PixelFn& grey)
{
    IconDevice g = makeDevice(w, h, 8, grey);
    for (int k = 0; k < 256; ++k)
        setTableEntry(g, k, 0x010101u * uint32_t(k));
    return g;
}

TEST(ApplyMask, GreyRampTurnsTrueColorIntoAlpha)
{
    const int grey[4] = {0, 100, 254, 255};
    IconDevice d = makeDevice(4, 2, 24, [](int, int) { return 0x204060u; });
    d.bytesLeft = 9;
    ASSERT_TRUE(applyMask(d, greyRamp(4, 2, [&](int x, int) { return uint32_t(grey[x]); })));
    EXPECT_EQ(d.bitCount, 32);
    EXPECT_EQ(d.allocatedBytes(), d.blockBytes());
    EXPECT_EQ(d.bytesLeft, 9);
    EXPECT_EQ(getU16(d.blockData() + 14), 32);
    EXPECT_EQ(getI32(d.blockData() + 8), 4);  // header height stays doubled
    for (int x = 0; x < 4; ++x) {
        const uint32_t alpha = uint32_t(255 - grey[x]);
        EXPECT_EQ(pixelAt(d, x, 1), grey[x] == 255 ? 0u : (alpha << 24 | 0x204060u)) << x;
        EXPECT_EQ(maskedAt(d, x, 1), grey[x] == 255);
    }
}

TEST(ApplyMask, GreyOfTrueColorSourceIsChannelAverage)
{
    // (0x30 + 0x60 + 0x90) / 3 = 0x60; the source's alpha is ignored.
    IconDevice d = makeDevice(2, 1, 32, [](int, int) { return 0xFFABCDEFu; });
    setMask(d, [](int, int) { return true; });
    ASSERT_TRUE(applyMask(d, makeDevice(2, 1, 32, [](int x, int) { return x ? 0x00FFFFFFu : 0x12306090u; })));
    EXPECT_EQ(pixelAt(d, 0, 0), uint32_t(255 - 0x60) << 24 | 0xABCDEFu);
    EXPECT_FALSE(maskedAt(d, 0, 0));
    EXPECT_EQ(pixelAt(d, 1, 0), 0u);
    EXPECT_TRUE(maskedAt(d, 1, 0));
}

TEST(ApplyMask, HighColorSourceScalesFiveBitComponents)
{
    // 5-5-5: red 31, green 0, blue 16 -> 255, 0, 132; grey (255 + 132) / 3 = 129.
    const uint32_t pixel = (31u << 10) | 16u;
    IconDevice d = makeDevice(1, 1, 24, [](int, int) { return 0x010203u; });
    ASSERT_TRUE(applyMask(d, makeDevice(1, 1, 16, [&](int, int) { return pixel; })));
    EXPECT_EQ(pixelAt(d, 0, 0), uint32_t(255 - 129) << 24 | 0x010203u);
}

TEST(ApplyMask, MacAlphaElementGivesOpacity)
{
    IconDevice alpha = makeDevice(3, 1, 8, [](int x, int) { return uint32_t(x * 127); });
    alpha.macFlag = 1;
    IconDevice d = makeDevice(3, 1, 24, [](int, int) { return 0x0A0B0Cu; });
    ASSERT_TRUE(applyMask(d, alpha));
    EXPECT_EQ(pixelAt(d, 0, 0), 0u);  // opacity 0: transparent black
    EXPECT_TRUE(maskedAt(d, 0, 0));
    EXPECT_EQ(pixelAt(d, 1, 0), 127u << 24 | 0x0A0B0Cu);
    EXPECT_EQ(pixelAt(d, 2, 0), 254u << 24 | 0x0A0B0Cu);
}

TEST(ApplyMask, SmallerSourceLeavesUncoveredPixelsOpaque)
{
    IconDevice d = makeDevice(4, 4, 32, [](int, int) { return 0xFF010101u; });
    ASSERT_TRUE(applyMask(d, greyRamp(2, 2, [](int, int) { return 255u; })));
    EXPECT_EQ(maskedCount(d), 4);
    EXPECT_TRUE(maskedAt(d, 1, 1));
    EXPECT_EQ(pixelAt(d, 3, 3), 0xFF010101u);
}

TEST(ApplyMask, RefusedCombinationsChangeNothing)
{
    const IconDevice deep = makeDevice(4, 4, 24, [](int, int) { return kWhite; });
    for (int bits : {1, 4, 8, 16}) {
        IconDevice d = makeDevice(4, 4, bits, [](int, int) { return 1u; });
        const IconDevice before = snapshot(d);
        EXPECT_FALSE(applyMask(d, deep)) << bits;
        EXPECT_TRUE(unchanged(before, d)) << bits;
    }
    IconDevice d = makeDevice(4, 4, 24, [](int, int) { return 1u; });
    const IconDevice before = snapshot(d);
    EXPECT_FALSE(applyMask(d, IconDevice{}));
    EXPECT_FALSE(applyMask(d, d));
    EXPECT_TRUE(unchanged(before, d));
}

// ---- replaceFrom ----------------------------------------------------------

TEST(ReplaceFrom, WithMaskCopiesEverything)
{
    IconDevice source = makeDevice(4, 4, 8, [](int x, int) { return uint32_t(x); });
    setMask(source, [](int x, int) { return x == 1; });
    source.macFlag = 1;
    IconDevice target = makeDevice(4, 4, 8, [](int, int) { return 9u; });
    ASSERT_TRUE(replaceFrom(target, source, true));
    EXPECT_TRUE(source.sameDevice(target));
    EXPECT_EQ(target.macFlag, 1);
}

TEST(ReplaceFrom, WithoutMaskKeepsTargetMask)
{
    IconDevice source = makeDevice(4, 4, 8, [](int x, int) { return uint32_t(x); });
    setTableEntry(source, 2, 0xABCDEF);
    setMask(source, [](int x, int) { return x == 1; });
    IconDevice target = makeDevice(4, 4, 8, [](int, int) { return 9u; });
    setMask(target, [](int x, int) { return x == 3; });
    ASSERT_TRUE(replaceFrom(target, source, false));
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(pixelAt(target, x, 2), uint32_t(x));
        EXPECT_EQ(maskedAt(target, x, 2), x == 3);
    }
    EXPECT_EQ(getU32(target.blockData() + 40 + 8), 0xABCDEFu);
}

TEST(ReplaceFrom, RefusesOtherSizesAndDepths)
{
    const IconDevice source = makeDevice(4, 4, 8, [](int, int) { return 1u; });
    for (auto [w, h, bits] : {std::tuple{4, 5, 8}, std::tuple{5, 4, 8}, std::tuple{4, 4, 24}}) {
        for (bool withMask : {true, false}) {
            IconDevice target = makeDevice(w, h, bits, [](int, int) { return 2u; });
            const IconDevice before = snapshot(target);
            EXPECT_FALSE(replaceFrom(target, source, withMask));
            EXPECT_TRUE(unchanged(before, target));
        }
    }
}

}  // namespace
