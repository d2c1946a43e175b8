#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>
#include <atomic>
#include <utility>
#include <vector>

#include "formats/LoadJob.h"
#include "imaging/MacIconImport.h"
#include "support/DeviceMaker.h"
#include "support/LoadRecorder.h"
#include "support/MacBytes.h"
#include "support/TempDir.h"

using namespace sigil;
using namespace sigil::test;

namespace {

constexpr int kAllBits = 0x1F0F;

DisplaySettings macSettings(int filter = kAllBits, const std::string& types = "icon;icns;rsrc;macs")
{
    DisplaySettings s;
    s.macFilter = filter;
    s.macFileTypes = types;
    return s;
}

bool load(const Bytes& file, IconEntry& icon, const DisplaySettings& settings = macSettings(),
          const std::string& path = "/mac/Folder/name", const std::string& name = "name")
{
    return loadMacIconBytes(icon, file, path, name, settings);
}

Bytes icnsFile(const std::vector<Bytes>& elements, const std::string& type = "icns")
{
    return macBinary({.resourceFork = icnsFamily(elements), .fileType = type});
}

Bytes classicFile(const std::vector<MacResource>& resources, const std::string& type = "rsrc")
{
    return macBinary({.resourceFork = resourceFork(resources), .fileType = type});
}

// Pixels and mask by Mac coordinates (y = 0 is the top row).
uint32_t pixel(const IconDevice& d, int x, int y)
{
    return pixelAt(d, x, d.height - 1 - y);
}
bool masked(const IconDevice& d, int x, int y)
{
    return maskedAt(d, x, d.height - 1 - y);
}
// Colour-table entry as 0xRRGGBB.
uint32_t tableEntry(const IconDevice& d, int index)
{
    const uint8_t* e = d.blockData() + kHeaderBytes + 4 * index;
    return (uint32_t(e[2]) << 16) | (uint32_t(e[1]) << 8) | e[0];
}

std::vector<std::pair<int, int>> shapes(const IconEntry& icon)
{
    std::vector<std::pair<int, int>> s;
    for (const IconDevice& d : icon.devices)
        s.emplace_back(d.width, d.bitCount);
    return s;
}

// 32 x 32 family parts: black on the left half, opaque on the top half.
const Bytes& icnMask()
{
    static const Bytes b = blackAndWhiteData(
        32, 32, [](int x, int) { return x < 16; }, [](int, int y) { return y < 16; });
    return b;
}
Bytes filled(int w, int h, int bits, uint8_t value)
{
    return indexedData(w, h, bits, [value](int, int) { return value; });
}
uint32_t rampRgb(int x, int y)
{
    return (uint32_t(x * 7 & 0xFF) << 16) | (uint32_t(y * 5 & 0xFF) << 8) | uint32_t((x + y) & 0xFF);
}

TEST(MacIconImport, ClassicResourcesGiveMaskedDevicesOnTheStandardPalettes)
{
    const Bytes file =
        classicFile({{"ICN#", icnMask()}, {"icl4", filled(32, 32, 4, 3)}, {"icl8", filled(32, 32, 8, 5)}});
    IconEntry icon;
    ASSERT_TRUE(load(file, icon));
    ASSERT_EQ(shapes(icon), (std::vector<std::pair<int, int>>{{32, 1}, {32, 4}, {32, 8}}));
    const IconDevice& mono = icon.devices[0];
    const IconDevice& c16 = icon.devices[1];
    const IconDevice& c256 = icon.devices[2];
    EXPECT_EQ(mono.height, 32);
    EXPECT_TRUE(mono.macFlag);
    EXPECT_FALSE(c16.macFlag);

    // Top half opaque: the picture shows; bottom half transparent and black.
    EXPECT_EQ(pixel(mono, 3, 3), 0u);   // Mac black
    EXPECT_EQ(pixel(mono, 20, 3), 1u);  // Mac white
    EXPECT_EQ(pixel(c16, 20, 3), 3u);
    EXPECT_EQ(pixel(c256, 20, 3), 5u);
    EXPECT_FALSE(masked(c16, 20, 3));
    for (const IconDevice* d : {&mono, &c16, &c256}) {
        EXPECT_TRUE(masked(*d, 20, 20));
        EXPECT_EQ(maskedCount(*d), 32 * 16);
    }
    EXPECT_EQ(pixel(mono, 20, 20), 0u);
    EXPECT_EQ(pixel(c16, 20, 20), 15u);
    EXPECT_EQ(pixel(c256, 20, 20), 255u);

    // Colour elements carry the standard palettes of blank devices (values
    // off the even levels included), not Apple's system palettes.
    EXPECT_EQ(tableEntry(mono, 0), 0x000000u);
    EXPECT_EQ(tableEntry(mono, 1), 0xFFFFFFu);
    EXPECT_EQ(tableEntry(c16, 1), 0xFFFF00u);
    EXPECT_EQ(tableEntry(c16, 3), 0xFF0000u);
    EXPECT_EQ(tableEntry(c16, 15), 0x000000u);
    EXPECT_EQ(tableEntry(c256, 1), 0xFFFECBu);
    EXPECT_EQ(tableEntry(c256, 5), 0xFDFD00u);
    EXPECT_EQ(tableEntry(c256, 214), 0x000032u);
    EXPECT_EQ(tableEntry(c256, 255), 0x000000u);
    for (const IconDevice* d : {&c16, &c256}) {
        IconDevice blank;
        ASSERT_TRUE(blank.makeBlank(32, 32, d->bitCount));
        for (int i = 0; i < (1 << d->bitCount); ++i)
            EXPECT_EQ(tableEntry(*d, i), tableEntry(blank, i)) << d->bitCount << " bits, entry " << i;
    }

    EXPECT_EQ(icon.name, "name");
    EXPECT_EQ(icon.source, "/mac/Folder/name");
    for (const IconDevice& d : icon.devices)
        EXPECT_EQ(d.allocatedBytes(), d.blockBytes());
}

TEST(MacIconImport, OpacityElementBecomesTheAlphaChannel)
{
    const Bytes opacity = indexedData(32, 32, 8, [](int x, int) { return uint8_t(x * 8); });
    const Bytes file = icnsFile({icnsElement("TOC ", Bytes(16, 0)), icnsElement("ic08", {0x89, 'P', 'N', 'G'}),
                                 icnsElement("il32", packedRgb(32, 32, rampRgb)), icnsElement("l8mk", opacity)});
    IconEntry icon;
    ASSERT_TRUE(load(file, icon));
    ASSERT_EQ(shapes(icon), (std::vector<std::pair<int, int>>{{32, 32}}));
    const IconDevice& d = icon.devices[0];
    for (int y : {0, 9, 31})
        for (int x : {1, 17, 31})
            EXPECT_EQ(pixel(d, x, y), (uint32_t(x * 8) << 24) | rampRgb(x, y)) << x << "," << y;
    // Opacity 0: fully transparent and black.
    EXPECT_EQ(pixel(d, 0, 5), 0u);
    EXPECT_TRUE(masked(d, 0, 5));
    EXPECT_EQ(maskedCount(d), 32);
}

TEST(MacIconImport, TrueColourWithoutOpacityTakesTheBlackAndWhiteMask)
{
    const Bytes file = icnsFile({icnsElement("il32", packedRgb(32, 32, rampRgb)), icnsElement("ICN#", icnMask())});
    IconEntry icon;
    ASSERT_TRUE(load(file, icon));
    ASSERT_EQ(shapes(icon), (std::vector<std::pair<int, int>>{{32, 1}, {32, 24}}));
    const IconDevice& d = icon.devices[1];
    EXPECT_EQ(pixel(d, 7, 3), rampRgb(7, 3));
    EXPECT_FALSE(masked(d, 7, 3));
    EXPECT_EQ(pixel(d, 7, 20), 0u);
    EXPECT_TRUE(masked(d, 7, 20));
}

TEST(MacIconImport, OpacityWinsOverTheBlackAndWhiteMaskOnlyForItsSize)
{
    // The 32 x 32 picture has an opacity element; the 16 x 16 one does not.
    const Bytes file = icnsFile({icnsElement("ICN#", icnMask()), icnsElement("il32", packedRgb(32, 32, rampRgb)),
                                 icnsElement("l8mk", filled(32, 32, 8, 200)), icnsElement("s8mk", filled(16, 16, 8, 0)),
                                 icnsElement("icl8", filled(32, 32, 8, 9))});
    IconEntry icon;
    ASSERT_TRUE(load(file, icon));
    ASSERT_EQ(shapes(icon), (std::vector<std::pair<int, int>>{{32, 1}, {32, 8}, {32, 32}}));
    const IconDevice& alpha = icon.devices[2];
    EXPECT_EQ(pixel(alpha, 20, 20) >> 24, 200u);  // transparent under ICN#, but alpha decides
    EXPECT_EQ(maskedCount(alpha), 0);
    EXPECT_EQ(maskedCount(icon.devices[1]), 32 * 16);
}

TEST(MacIconImport, SmallSizesAreSixteenByTwelveAndSixteenBySixteen)
{
    const Bytes mask12 = blackAndWhiteData(
        16, 12, [](int, int) { return true; }, [](int x, int) { return x >= 4; });
    const Bytes file = classicFile({{"icm#", mask12},
                                    {"icm4", filled(16, 12, 4, 2)},
                                    {"ics8", filled(16, 16, 8, 7)},
                                    {"is32", packedRgb(16, 16, rampRgb)}});
    IconEntry icon;
    ASSERT_TRUE(load(file, icon));
    ASSERT_EQ(icon.deviceCount(), 4);
    int twelve = 0;
    for (const IconDevice& d : icon.devices) {
        if (d.height != 12)
            continue;
        ++twelve;
        EXPECT_EQ(d.width, 16);
        EXPECT_EQ(maskedCount(d), 4 * 12);
        EXPECT_TRUE(masked(d, 0, 11));
        EXPECT_FALSE(masked(d, 4, 11));
    }
    EXPECT_EQ(twelve, 2);
    // Classic resources carry no length: 24-bit data are always run-length.
    const auto is32 =
        std::find_if(icon.devices.begin(), icon.devices.end(), [](const IconDevice& d) { return d.bitCount == 24; });
    ASSERT_NE(is32, icon.devices.end());
    EXPECT_EQ(pixel(*is32, 15, 15), rampRgb(15, 15));
}

// ---- the MacFilter setting -------------------------------------------------

struct FilterCase {
    int filter;
    bool read;
    std::vector<std::pair<int, int>> shapes;  // (width, bit count)
};

class MacFilterTest : public testing::TestWithParam<FilterCase> {};

TEST_P(MacFilterTest, DropsTheFilteredSizesAndDepths)
{
    const Bytes file =
        icnsFile({icnsElement("ICN#", icnMask()), icnsElement("icl4", filled(32, 32, 4, 3)),
                  icnsElement("icl8", filled(32, 32, 8, 5)), icnsElement("il32", packedRgb(32, 32, rampRgb)),
                  icnsElement("l8mk", filled(32, 32, 8, 255)),
                  icnsElement("ics#", blackAndWhiteData(
                                          16, 16, [](int, int) { return false; }, [](int x, int) { return x < 8; })),
                  icnsElement("is32", packedRgb(16, 16, rampRgb))});
    IconEntry icon;
    const FilterCase& c = GetParam();
    EXPECT_EQ(load(file, icon, macSettings(c.filter)), c.read);
    EXPECT_EQ(shapes(icon), c.shapes);
    // The masks were applied even when the '#' devices were then dropped.
    for (const IconDevice& d : icon.devices) {
        if (d.bitCount == 4 || d.bitCount == 24) {
            EXPECT_EQ(maskedCount(d), d.width * d.height / 2) << d.width << "x" << d.bitCount;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Filters, MacFilterTest,
    testing::Values(FilterCase{kAllBits, true, {{16, 1}, {16, 24}, {32, 1}, {32, 4}, {32, 8}, {32, 32}}},
                    FilterCase{kAllBits & ~kMacSize32x32, true, {{16, 1}, {16, 24}}},
                    FilterCase{kAllBits & ~kMacSize16x16, true, {{32, 1}, {32, 4}, {32, 8}, {32, 32}}},
                    FilterCase{kAllBits & ~kMacKeep1Bit, true, {{16, 24}, {32, 4}, {32, 8}, {32, 32}}},
                    FilterCase{kAllBits & ~kMacKeep4Bit, true, {{16, 1}, {16, 24}, {32, 1}, {32, 8}, {32, 32}}},
                    FilterCase{kAllBits & ~kMacKeep8Bit, true, {{16, 1}, {16, 24}, {32, 1}, {32, 4}, {32, 32}}},
                    FilterCase{kAllBits & ~kMacKeep32Bit, true, {{16, 1}, {16, 24}, {32, 1}, {32, 4}, {32, 8}}},
                    // No depth kept but 24 bits, which no bit removes.
                    FilterCase{0x1F00, true, {{16, 24}}},
                    // Only sizes the file does not have: nothing read.
                    FilterCase{0x000F | kMacSize16x12 | kMacSize48x48 | kMacSize128x128, false, {}}));

TEST(MacIconImport, FilterThatRemovesEveryDeviceStillReadsTheFile)
{
    IconEntry icon;
    EXPECT_TRUE(load(icnsFile({icnsElement("ICN#", icnMask())}), icon, macSettings(kAllBits & ~kMacKeep1Bit)));
    EXPECT_EQ(icon.deviceCount(), 0);
    EXPECT_EQ(icon.name, "name");
}

// ---- element data ------------------------------------------------------------

// Reads element data directly; the device and the bytes it used.
std::pair<IconDevice, size_t> readElement(const std::string& type, const Bytes& data, uint64_t length = 0)
{
    IconDevice d;
    EXPECT_TRUE(setupMacElement(d, type, kAllBits));
    ByteStream in(data);
    const size_t used = readMacElement(d, in, length);
    return {std::move(d), used};
}

Bytes repeat(uint8_t count, uint8_t value)  // count 3 to 130
{
    return {uint8_t(count + 125), value};
}

TEST(MacElement, SetupGivesTheTableSizeDepthAndMaskFlag)
{
    struct Row {
        const char* type;
        int w, h, bits;
        bool flag;
    };
    for (const Row& r : {Row{"ICT#", 128, 128, 1, true}, Row{"ich4", 48, 48, 4, false}, Row{"icm8", 16, 12, 8, false},
                         Row{"IH32", 48, 48, 24, false}, Row{"t8mk", 128, 128, 8, true}}) {
        IconDevice d;
        ASSERT_TRUE(setupMacElement(d, r.type, kAllBits)) << r.type;
        EXPECT_EQ(d.width, r.w);
        EXPECT_EQ(d.height, r.h);
        EXPECT_EQ(d.bitCount, r.bits);
        EXPECT_EQ(bool(d.macFlag), r.flag);
        EXPECT_EQ(d.allocatedBytes(), d.blockBytes());
    }
    IconDevice d;
    for (const char* refused : {"ic08", "icn", "icl", "TOC ", "icns", ""})
        EXPECT_FALSE(setupMacElement(d, refused, kAllBits)) << refused;
    EXPECT_FALSE(setupMacElement(d, "ich8", kAllBits & ~kMacSize48x48));
    EXPECT_FALSE(setupMacElement(d, "ict#", kAllBits & ~kMacSize128x128));
}

TEST(MacElement, It32SkipsItsFourBytePrefix)
{
    Bytes data = {0, 0, 0, 0};
    append(data, packedRgb(128, 128, [](int x, int y) { return rampRgb(x, y) ^ uint32_t(x * y & 0xFF); }));
    const auto [d, used] = readElement("it32", data, data.size());
    EXPECT_EQ(used, data.size());
    for (int y : {0, 63, 127})
        for (int x : {0, 77, 127})
            EXPECT_EQ(pixel(d, x, y), rampRgb(x, y) ^ uint32_t(x * y & 0xFF)) << x << "," << y;
}

TEST(MacElement, UncompressedWhenTheLengthIsFourBytesAPixel)
{
    Bytes data;
    for (int i = 0; i < 16 * 16; ++i)
        append(data, {0xEE, uint8_t(i), uint8_t(i / 2), uint8_t(255 - i)});  // unused, red, green, blue
    const auto [d, used] = readElement("is32", data, data.size());
    EXPECT_EQ(used, data.size());
    EXPECT_EQ(pixel(d, 0, 0), 0x0000FFu);
    EXPECT_EQ(pixel(d, 5, 2), (37u << 16) | (18u << 8) | (255u - 37));
}

TEST(MacElement, RunsThatOverrunAPlaneStopAtItsEnd)
{
    Bytes data;
    // Red: 130 + 130 values for a plane of 256; the last 4 are dropped.
    append(data, repeat(130, 10));
    append(data, repeat(130, 20));
    // Green: 130 repeated, then 128 literals of which 126 fit.
    append(data, repeat(130, 30));
    data.push_back(127);
    for (int i = 0; i < 128; ++i)
        data.push_back(uint8_t(100 + i));
    // Blue: 130 repeated, then 128 literals; reading stops when it is full.
    append(data, repeat(130, 40));
    data.push_back(127);
    for (int i = 0; i < 128; ++i)
        data.push_back(uint8_t(i));
    const auto [d, used] = readElement("is32", data, data.size());
    EXPECT_EQ(used, data.size() - 2);  // the blue literal's last two values
    const auto at = [&d](int i) { return pixel(d, i % 16, i / 16); };
    EXPECT_EQ(at(129), (10u << 16) | (30u << 8) | 40u);
    EXPECT_EQ(at(130), (20u << 16) | (100u << 8) | 0u);
    EXPECT_EQ(at(255), (20u << 16) | (225u << 8) | 125u);
}

TEST(MacElement, DataCutShortLeaveTheRestZero)
{
    // Only the red plane arrives.
    const Bytes red = {repeat(130, 9)[0], 9, repeat(126, 9)[0], 9};
    const auto [rle, rleUsed] = readElement("is32", red);
    EXPECT_EQ(rleUsed, red.size());
    EXPECT_EQ(pixel(rle, 15, 15), 9u << 16);

    // A literal run cut inside: the values that came are kept.
    const auto [lit, litUsed] = readElement("is32", {2, 1, 2});
    EXPECT_EQ(litUsed, 3u);
    EXPECT_EQ(pixel(lit, 1, 0), 2u << 16);
    EXPECT_EQ(pixel(lit, 2, 0), 0u);

    // Three rows of an 8-bit element.
    const Bytes rows(3 * 32 + 5, 7);
    const auto [c256, used] = readElement("icl8", rows);
    EXPECT_EQ(used, rows.size());
    EXPECT_EQ(pixel(c256, 4, 3), 7u);
    EXPECT_EQ(pixel(c256, 5, 3), 0u);
    EXPECT_EQ(pixel(c256, 0, 31), 0u);

    // A '#' element without its mask: the picture stays and is opaque.
    Bytes picture = icnMask();
    picture.resize(picture.size() / 2);
    const auto [mono, monoUsed] = readElement("ICN#", picture);
    EXPECT_EQ(monoUsed, picture.size());
    EXPECT_EQ(pixel(mono, 3, 30), 0u);
    EXPECT_EQ(pixel(mono, 30, 30), 1u);
    EXPECT_EQ(maskedCount(mono), 0);

    const auto [none, noneUsed] = readElement("il32", {});
    EXPECT_EQ(noneUsed, 0u);
}

TEST(MacIconImport, ElementCutShortByTheFileEndIsKept)
{
    Bytes file = icnsFile({icnsElement("icl8", filled(32, 32, 8, 6))});
    file.resize(file.size() - 32 * 30);  // two rows left
    IconEntry icon;
    ASSERT_TRUE(load(file, icon));
    ASSERT_EQ(icon.deviceCount(), 1);
    EXPECT_EQ(pixel(icon.devices[0], 31, 1), 6u);
    EXPECT_EQ(pixel(icon.devices[0], 0, 2), 0u);
}

TEST(MacIconImport, EachElementsStatedLengthDecidesWhereTheNextStarts)
{
    Bytes icl8 = filled(32, 32, 8, 6);
    append(icl8, {'i', 'c', 'l', '4', 0, 0, 2, 8});  // trailing bytes that look like an element
    const Bytes file = icnsFile({icnsElement("icl8", icl8), icnsElement("ics4", filled(16, 16, 4, 1))});
    IconEntry icon;
    ASSERT_TRUE(load(file, icon));
    EXPECT_EQ(shapes(icon), (std::vector<std::pair<int, int>>{{16, 4}, {32, 8}}));
}

TEST(MacIconImport, ElementsBeyondTheCapAreNotRead)
{
    // Elements that differ, so that none is dropped as a repeat.
    std::vector<Bytes> elements;
    for (int i = 0; i < 100; ++i)
        elements.push_back(icnsElement("ics8", filled(16, 16, 8, uint8_t(i))));
    IconEntry icon;
    ASSERT_TRUE(load(icnsFile(elements), icon));
    EXPECT_EQ(icon.deviceCount(), 64);
}

// ---- the wrapper, the fork and the file type ---------------------------------

TEST(MacIconImport, FindsTheFamilyAsAResourceOrAsTheWholeFork)
{
    const Bytes family = icnsFamily({icnsElement("ics8", filled(16, 16, 8, 1))});
    const std::vector<Bytes> files = {
        macBinary({.resourceFork = family}),
        macBinary({.resourceFork = resourceFork({{"icns", family}})}),
        // After another item, behind a data fork that is rounded up to 128.
        macBinary(
            {.resourceFork = resourceFork({{"STR ", Bytes(13, 'x')}, {"icns", family}}), .dataFork = Bytes(20, 'd')}),
    };
    for (const Bytes& file : files) {
        IconEntry icon;
        ASSERT_TRUE(load(file, icon));
        EXPECT_EQ(shapes(icon), (std::vector<std::pair<int, int>>{{16, 8}}));
    }
}

TEST(MacIconImport, FileTypeMustBeInTheList)
{
    const std::vector<MacResource> resources = {{"ics8", filled(16, 16, 8, 1)}};
    IconEntry icon;
    EXPECT_TRUE(load(classicFile(resources, "ICON"), icon));
    EXPECT_FALSE(load(classicFile(resources, "APPL"), icon));
    EXPECT_FALSE(load(classicFile(resources, "rsrc"), icon, macSettings(kAllBits, "icon")));
    EXPECT_TRUE(load(classicFile(resources, "rsrc"), icon, macSettings(kAllBits, "ICON;Rsrc")));
    EXPECT_TRUE(load(classicFile(resources, "APPL"), icon, macSettings(kAllBits, "")));
    // Whole entries only: a type spanning a separator, or part of an entry, is not listed.
    for (const char* type : {"n;ic", "con;", "c;ma"})
        EXPECT_FALSE(load(classicFile(resources, type), icon)) << type;
    EXPECT_TRUE(load(classicFile(resources, "icns"), icon, macSettings(kAllBits, "icon; icns ")));
}

struct RefusedCase {
    const char* what;
    Bytes file;
};

class MacRefusedTest : public testing::TestWithParam<RefusedCase> {};

TEST_P(MacRefusedTest, IsRefusedWithoutDevices)
{
    SCOPED_TRACE(GetParam().what);
    IconEntry icon;
    EXPECT_FALSE(load(GetParam().file, icon));
    EXPECT_EQ(icon.deviceCount(), 0);
}

Bytes withByte(Bytes b, size_t at, uint8_t v)
{
    b[at] = v;
    return b;
}
Bytes cut(Bytes b, size_t size)
{
    b.resize(size);
    return b;
}

const Bytes kGood = classicFile({{"ics8", filled(16, 16, 8, 1)}});
const Bytes kGoodIcns = icnsFile({icnsElement("ics8", filled(16, 16, 8, 1))});

INSTANTIATE_TEST_SUITE_P(
    Files, MacRefusedTest,
    testing::Values(
        RefusedCase{"empty", {}}, RefusedCase{"header only, cut", cut(kGood, 127)},
        RefusedCase{"plain icns without a readable element", icnsFamily({icnsElement("TOC ", Bytes(8, 0))})},
        RefusedCase{"nonzero version", withByte(kGood, 0, 1)},
        RefusedCase{"no resource fork", macBinary({.resourceFork = resourceFork({{"ics8", filled(16, 16, 8, 1)}}),
                                                   .resourceForkLength = 0})},
        RefusedCase{"data fork past the end", withByte(kGood, 83, 0x7F)}, RefusedCase{"header only", cut(kGood, 128)},
        RefusedCase{"only unreadable elements",
                    icnsFile({icnsElement("TOC ", Bytes(8, 0)), icnsElement("ic08", Bytes(40, 1))})},
        RefusedCase{"empty family", icnsFile({})},
        RefusedCase{"element shorter than its header", icnsFile({icnsElement("ics8", filled(16, 16, 8, 1), 7)})},
        RefusedCase{"element of no data", icnsFile({icnsElement("ics8", {})})},
        RefusedCase{"family cut after its header", cut(kGoodIcns, 128 + 8)},
        RefusedCase{"map past the end", withByte(kGood, 128 + 4, 0x40)},
        RefusedCase{
            "type count with nothing behind",
            cut(withByte(withByte(kGood, kGood.size() - 22, 0xFF), kGood.size() - 21, 0xFF), kGood.size() - 12)},
        RefusedCase{"item past the end", withByte(kGood, kGood.size() - 7, 0x7F)},
        RefusedCase{"fork of zeros", macBinary({.resourceFork = Bytes(300, 0)})},
        RefusedCase{"fork of ones", macBinary({.resourceFork = Bytes(300, 0xFF)})}));

TEST(MacIconImport, FolderIconIsNamedAfterItsFolder)
{
    const struct {
        const char* path;
        const char* name;
        const char* expected;
    } cases[] = {
        {"/disk/Tools/Icon_", "Icon_", "Tools"},
        {"Tools/Icon_", "Icon_", "Tools"},
        {"/disk/Tools/Icon_x", "Icon_x", "Icon_x"},
        {"/disk/Tools/icon_", "icon_", "icon_"},
        {"Icon_", "Icon_", "Icon_"},
        {"/Icon_", "Icon_", "Icon_"},
    };
    for (const auto& c : cases) {
        IconEntry icon;
        ASSERT_TRUE(load(kGood, icon, macSettings(), c.path, c.name));
        EXPECT_EQ(icon.name, c.expected) << c.path;
        EXPECT_EQ(icon.source, c.path);
    }
}

TEST(MacIconImport, StopDropsTheIcon)
{
    std::atomic<bool> stop{true};
    IconEntry icon;
    EXPECT_FALSE(loadMacIconBytes(icon, kGoodIcns, "p", "n", macSettings(), &stop));
    EXPECT_EQ(icon.deviceCount(), 0);
    EXPECT_FALSE(loadMacIconBytes(icon, kGood, "p", "n", macSettings(), &stop));
}

// ---- through the load job ----------------------------------------------------

TEST(MacIconImport, LoadJobReadsMacFilesOfAnyOtherExtension)
{
    TempDir dir;
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("Tools"))));
    ASSERT_TRUE(writeFile(dir.file("Tools/Icon_"), kGood));
    ASSERT_TRUE(writeFile(dir.file("family.bin"), kGoodIcns));
    ASSERT_TRUE(writeFile(dir.file("notes"), Bytes{'h', 'e', 'l', 'l', 'o'}));
    IconLibrary lib;
    LoadRecorder rec;
    lib.setLoadObserver(&rec);
    const DisplaySettings settings = macSettings(kAllBits & ~kMacSize16x16);
    EXPECT_TRUE(openFile(lib, dir.file("Tools/Icon_")));
    EXPECT_FALSE(openFile(lib, dir.file("notes")));
    lib.setDisplaySettings(&settings);
    EXPECT_FALSE(openFile(lib, dir.file("family.bin")));  // its only size is filtered out
    ASSERT_EQ(lib.size(), 1);
    EXPECT_EQ(lib.at(0).name, "Tools");
    EXPECT_EQ(lib.at(0).source, dir.file("Tools/Icon_"));
    EXPECT_EQ(lib.at(0).current, 0);
    EXPECT_EQ(rec.added, std::vector<int>{0});
    EXPECT_EQ(lib.deviceTotal(), 1);
}

TEST(MacIconImport, LoadJobAppendsAFamilyTheFilterEmptied)
{
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("mono"), icnsFile({icnsElement("ICN#", icnMask())})));
    IconLibrary lib;
    const DisplaySettings settings = macSettings(kAllBits & ~kMacKeep1Bit);
    lib.setDisplaySettings(&settings);
    EXPECT_TRUE(openFile(lib, dir.file("mono")));
    ASSERT_EQ(lib.size(), 1);
    EXPECT_EQ(lib.at(0).deviceCount(), 0);
    EXPECT_EQ(lib.deviceTotal(), 0);
}

// ---- plain icns files --------------------------------------------------------

// A 16 x 16 'is32' element (run-length planes with literal and repeated
// runs) and a 32 x 32 PNG picture; the expected pixels below are what
// Pillow's icns reader gives for the same family.
const Bytes kIs32Runs{
    0x7F, 0x00, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0xF0, 0x00, 0x10,
    0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0xF0, 0x00, 0x10, 0x20, 0x30, 0x40,
    0x50, 0x60, 0x70, 0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0xF0, 0x00, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70,
    0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0xF0, 0x00, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xA0,
    0xB0, 0xC0, 0xD0, 0xE0, 0xF0, 0x00, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0,
    0xE0, 0xF0, 0x00, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0xF0, 0x00,
    0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0xF0, 0x7F, 0x00, 0x10, 0x20,
    0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0xF0, 0x00, 0x10, 0x20, 0x30, 0x40, 0x50,
    0x60, 0x70, 0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0xF0, 0x00, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80,
    0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0xF0, 0x00, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xA0, 0xB0,
    0xC0, 0xD0, 0xE0, 0xF0, 0x00, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0,
    0xF0, 0x00, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0xF0, 0x00, 0x10,
    0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0xF0, 0x00, 0x10, 0x20, 0x30, 0x40,
    0x50, 0x60, 0x70, 0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0xF0, 0xFD, 0xC8, 0x7F, 0x00, 0x08, 0x10, 0x18, 0x20,
    0x28, 0x30, 0x38, 0x40, 0x48, 0x50, 0x58, 0x60, 0x68, 0x70, 0x78, 0x00, 0x09, 0x12, 0x1B, 0x24, 0x2D, 0x36, 0x3F,
    0x48, 0x51, 0x5A, 0x63, 0x6C, 0x75, 0x7E, 0x87, 0x00, 0x0A, 0x14, 0x1E, 0x28, 0x32, 0x3C, 0x46, 0x50, 0x5A, 0x64,
    0x6E, 0x78, 0x82, 0x8C, 0x96, 0x00, 0x0B, 0x16, 0x21, 0x2C, 0x37, 0x42, 0x4D, 0x58, 0x63, 0x6E, 0x79, 0x84, 0x8F,
    0x9A, 0xA5, 0x00, 0x0C, 0x18, 0x24, 0x30, 0x3C, 0x48, 0x54, 0x60, 0x6C, 0x78, 0x84, 0x90, 0x9C, 0xA8, 0xB4, 0x00,
    0x0D, 0x1A, 0x27, 0x34, 0x41, 0x4E, 0x5B, 0x68, 0x75, 0x82, 0x8F, 0x9C, 0xA9, 0xB6, 0xC3, 0x00, 0x0E, 0x1C, 0x2A,
    0x38, 0x46, 0x54, 0x62, 0x70, 0x7E, 0x8C, 0x9A, 0xA8, 0xB6, 0xC4, 0xD2, 0x00, 0x0F, 0x1E, 0x2D, 0x3C, 0x4B, 0x5A,
    0x69, 0x78, 0x87, 0x96, 0xA5, 0xB4, 0xC3, 0xD2, 0xE1, 0xFF, 0x32, 0xFB, 0x32,
};
const Bytes kPng32{
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00,
    0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x20, 0x08, 0x06, 0x00, 0x00, 0x00, 0x73, 0x7A, 0x7A, 0xF4, 0x00,
    0x00, 0x00, 0x3C, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0xED, 0xCE, 0x21, 0x0E, 0x00, 0x20, 0x0C, 0x03,
    0xC0, 0x92, 0x20, 0x78, 0x36, 0x3F, 0x1F, 0x96, 0x80, 0x9E, 0xBB, 0x26, 0x15, 0xAD, 0xBA, 0x91, 0xEC,
    0xAC, 0xE4, 0x6E, 0x3D, 0xBB, 0xB5, 0x33, 0x2B, 0x6F, 0xEA, 0x7B, 0x1A, 0x03, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x70, 0x00, 0xDD, 0xEF, 0x22, 0xCE, 0x95,
    0x4B, 0xE9, 0x44, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82,
};

Bytes mask16()
{
    return indexedData(16, 16, 8, [](int x, int y) { return uint8_t(x + y * 16); });
}

TEST(PlainIcns, PixelsMatchAnIndependentDecoder)
{
    const Bytes file =
        icnsFamily({icnsElement("is32", kIs32Runs), icnsElement("s8mk", mask16()), icnsElement("ic11", kPng32)});
    IconEntry icon;
    ASSERT_TRUE(load(file, icon));
    ASSERT_EQ(shapes(icon), (std::vector<std::pair<int, int>>{{16, 32}, {32, 32}}));
    EXPECT_EQ(icon.source, "/mac/Folder/name");
    struct Sample {
        int device, x, y;
        uint32_t argb;  // Pillow's (r, g, b, a) as 0xAARRGGBB
    };
    const Sample samples[] = {
        {0, 5, 3, 0x3550C832},  {0, 15, 7, 0x7FF0C832},  {0, 3, 8, 0x83301832},
        {0, 9, 12, 0xC9906C32}, {0, 15, 15, 0xFFF0E132}, {1, 0, 0, 0x00000080},
        {1, 4, 1, 0xFE200880},  {1, 31, 31, 0xE0F8F880}, {1, 10, 20, 0xEB50A080},
    };
    for (const Sample& s : samples)
        EXPECT_EQ(pixel(icon.devices[size_t(s.device)], s.x, s.y), s.argb) << s.device << ": " << s.x << "," << s.y;
    // Opacity 0 from a mask element is black (Pillow keeps the colour);
    // a PNG keeps it. Both are masked.
    EXPECT_EQ(pixel(icon.devices[0], 0, 0), 0u);
    EXPECT_TRUE(masked(icon.devices[0], 0, 0));
    EXPECT_TRUE(masked(icon.devices[1], 0, 0));
    EXPECT_FALSE(masked(icon.devices[1], 4, 1));
}

TEST(PlainIcns, DamagedElementsGiveWhatIsUsable)
{
    const Bytes jpeg2000{0x00, 0x00, 0x00, 0x0C, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A};
    Bytes cutPng(kPng32.begin(), kPng32.end() - 30);
    // Runs that repeat far past each 16 x 16 plane: the planes fill and the
    // rest is not read.
    Bytes overrun;
    for (int i = 0; i < 40; ++i)
        overrun.insert(overrun.end(), {0xFF, uint8_t(i)});
    Bytes it32(4, 0);
    for (int i = 0; i < 3 * 128; ++i)
        it32.insert(it32.end(), {0xFF, 0x40});  // 130 values a run: 3 x 16384 values in all
    struct Case {
        const char* what;
        Bytes file;
        std::vector<std::pair<int, int>> shapes;
    };
    const std::vector<Case> cases{
        {"runs past the plane", icnsFamily({icnsElement("is32", overrun)}), {{16, 24}}},
        {"it32 after its four zero bytes", icnsFamily({icnsElement("it32", it32)}), {{128, 24}}},
        {"element of length 0 ends the family",
         icnsFamily({icnsElement("ic11", kPng32), icnsElement("is32", kIs32Runs, 0), icnsElement("is32", kIs32Runs)}),
         {{32, 32}}},
        {"element longer than the file keeps what is there",
         icnsFamily({icnsElement("is32", kIs32Runs), icnsElement("s8mk", mask16(), 0x7FFFFFF0)}),
         {{16, 32}}},
        {"a JPEG 2000 signature alone, a cut PNG and an unknown element are passed over",
         icnsFamily({icnsElement("ic09", jpeg2000), icnsElement("ic12", cutPng), icnsElement("icnV", {0, 0, 0, 1}),
                     icnsElement("icp5", kPng32)}),
         {{32, 32}}},
        {"a retina element twice the size of a plain one is the same device",
         icnsFamily({icnsElement("icp5", kPng32), icnsElement("ic11", kPng32)}),
         {{32, 32}}},
        {"elements past the cap on elements visited are not read",
         [] {
             std::vector<Bytes> elements(300, icnsElement("ic09", Bytes(4, 0)));
             elements.push_back(icnsElement("icp5", kPng32));
             return icnsFamily(elements);
         }(),
         {}},
        {"PNG whose header claims a huge picture",
         [] {
             Bytes png = kPng32;
             png[16] = 0x7F;
             return icnsFamily({icnsElement("ic10", png)});
         }(),
         {}},
    };
    for (const Case& c : cases) {
        IconEntry icon;
        EXPECT_EQ(load(c.file, icon), !c.shapes.empty()) << c.what;
        EXPECT_EQ(shapes(icon), c.shapes) << c.what;
    }
}

// An 8 x 8 RGBA picture, losslessly coded JP2 (by Pillow); pixels as
// Pillow decodes them.
const Bytes kJp2{
    0x00, 0x00, 0x00, 0x0C, 0x6A, 0x50, 0x20, 0x20, 0x0D, 0x0A, 0x87, 0x0A, 0x00, 0x00, 0x00, 0x14, 0x66, 0x74, 0x79,
    0x70, 0x6A, 0x70, 0x32, 0x20, 0x00, 0x00, 0x00, 0x00, 0x6A, 0x70, 0x32, 0x20, 0x00, 0x00, 0x00, 0x2D, 0x6A, 0x70,
    0x32, 0x68, 0x00, 0x00, 0x00, 0x16, 0x69, 0x68, 0x64, 0x72, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x08, 0x00,
    0x04, 0x07, 0x07, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0F, 0x63, 0x6F, 0x6C, 0x72, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x10, 0x00, 0x00, 0x01, 0x39, 0x6A, 0x70, 0x32, 0x63, 0xFF, 0x4F, 0xFF, 0x51, 0x00, 0x32, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x08, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0x00,
    0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0x07, 0x01, 0x01, 0x07, 0x01, 0x01,
    0x07, 0x01, 0x01, 0x07, 0x01, 0x01, 0xFF, 0x52, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x01, 0x00, 0x03, 0x04, 0x04, 0x00,
    0x01, 0xFF, 0x5C, 0x00, 0x0D, 0x40, 0x40, 0x48, 0x48, 0x50, 0x48, 0x48, 0x50, 0x48, 0x48, 0x50, 0xFF, 0x64, 0x00,
    0x25, 0x00, 0x01, 0x43, 0x72, 0x65, 0x61, 0x74, 0x65, 0x64, 0x20, 0x62, 0x79, 0x20, 0x4F, 0x70, 0x65, 0x6E, 0x4A,
    0x50, 0x45, 0x47, 0x20, 0x76, 0x65, 0x72, 0x73, 0x69, 0x6F, 0x6E, 0x20, 0x32, 0x2E, 0x35, 0x2E, 0x30, 0xFF, 0x90,
    0x00, 0x0A, 0x00, 0x00, 0x00, 0x00, 0x00, 0xB5, 0x00, 0x01, 0xFF, 0x93, 0xC7, 0xD4, 0x04, 0x08, 0x2F, 0xC7, 0xD4,
    0x04, 0x08, 0x2F, 0xCF, 0xB4, 0x08, 0x04, 0x8B, 0xCF, 0xB4, 0x08, 0x02, 0x7F, 0xCF, 0xC0, 0x08, 0x04, 0x5F, 0xA7,
    0xE0, 0x04, 0x04, 0x5F, 0xC0, 0xF9, 0x01, 0x40, 0xF9, 0x01, 0x40, 0xF9, 0xC1, 0x00, 0x05, 0x7F, 0x05, 0x7F, 0x05,
    0x7F, 0xC1, 0xF3, 0x81, 0x83, 0xE7, 0x05, 0x0F, 0xB4, 0x08, 0x07, 0x00, 0x7F, 0x08, 0x93, 0xC7, 0xDA, 0x06, 0x00,
    0x0D, 0x02, 0x09, 0xA3, 0xED, 0x03, 0x00, 0x0B, 0x3D, 0x86, 0xC0, 0xF9, 0x01, 0xC0, 0xF9, 0x01, 0xC0, 0x3E, 0x10,
    0xC0, 0x10, 0x82, 0x07, 0x10, 0x83, 0x7F, 0x10, 0x79, 0x1F, 0xC7, 0xDA, 0x0B, 0x1F, 0x68, 0x1C, 0x3E, 0xD0, 0x20,
    0x05, 0x1C, 0x37, 0x68, 0x2F, 0x05, 0x25, 0x7F, 0x08, 0x0F, 0xC3, 0xEA, 0x03, 0x00, 0x22, 0x1A, 0x15, 0xA1, 0xF5,
    0x01, 0x80, 0x03, 0x7F, 0xEB, 0xC0, 0x7C, 0x22, 0x40, 0x7C, 0x21, 0xC0, 0x08, 0x80, 0x22, 0xC6, 0x2F, 0x3F, 0x1F,
    0x9A, 0xC1, 0x24, 0x7F, 0xC7, 0xDA, 0x0F, 0x1F, 0x68, 0x24, 0x3E, 0xD0, 0x30, 0x14, 0xE2, 0xFB, 0x5E, 0x09, 0x57,
    0xCF, 0x14, 0xE4, 0x3D, 0x1F, 0x12, 0xB3, 0x1F, 0xFF, 0xD9,
};

TEST(PlainIcns, Jpeg2000ElementsAreDecoded)
{
    IconEntry icon;
    ASSERT_TRUE(load(icnsFamily({icnsElement("ic08", kJp2)}), icon));
    ASSERT_EQ(shapes(icon), (std::vector<std::pair<int, int>>{{8, 32}}));
    const IconDevice& d = icon.devices[0];
    EXPECT_EQ(pixel(d, 0, 0), 0x000000C8u);
    EXPECT_TRUE(masked(d, 0, 0));
    EXPECT_EQ(pixel(d, 1, 0), 0xF52000C8u);
    EXPECT_EQ(pixel(d, 7, 7), 0xB9E0E097u);
    EXPECT_EQ(pixel(d, 3, 5), 0xE160A0B9u);
    // Cut short, it is passed over.
    IconEntry cut;
    EXPECT_FALSE(load(icnsFamily({icnsElement("ic08", Bytes(kJp2.begin(), kJp2.end() - 100))}), cut));
}

// "ARGB" and the alpha, red, green and blue planes, run-length packed.
Bytes argbElementData(int side, const std::function<uint32_t(int x, int y)>& argb)
{
    Bytes b{'A', 'R', 'G', 'B'};
    for (int shift : {24, 16, 8, 0}) {
        Bytes plane;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                plane.push_back(uint8_t(argb(x, y) >> shift));
        const Bytes packed = packPlane(plane);
        b.insert(b.end(), packed.begin(), packed.end());
    }
    return b;
}

TEST(PlainIcns, ArgbElementsAreRunLengthPlanesOfTheirNominalSize)
{
    const auto argb = [](int x, int y) { return 0x80000000u | uint32_t(x * 8) << 16 | uint32_t(y * 8) << 8 | 0x33u; };
    const Bytes ic04 = argbElementData(16, argb);
    IconEntry icon;
    ASSERT_TRUE(load(icnsFamily({icnsElement("ic04", ic04), icnsElement("icsb", argbElementData(18, argb)),
                                 icnsElement("SB24", argbElementData(48, argb))}),
                     icon));
    ASSERT_EQ(shapes(icon), (std::vector<std::pair<int, int>>{{16, 32}, {18, 32}, {48, 32}}));
    for (const IconDevice& d : icon.devices)
        for (const auto& [x, y] : {std::pair{0, 0}, {15, 2}, {7, 15}})
            EXPECT_EQ(pixel(d, x, y), argb(x, y)) << d.width << ": " << x << "," << y;
    // Cut short in the blue plane, the element is passed over.
    IconEntry cut;
    EXPECT_FALSE(load(icnsFamily({icnsElement("ic04", Bytes(ic04.begin(), ic04.end() - 3))}), cut));
}

TEST(PlainIcns, FiltersApplyAndTheFileTypeListDoesNot)
{
    const Bytes file =
        icnsFamily({icnsElement("is32", kIs32Runs), icnsElement("s8mk", mask16()), icnsElement("ic11", kPng32)});
    struct Case {
        int filter;
        std::vector<std::pair<int, int>> shapes;
    };
    const Case cases[] = {
        {kAllBits & ~kMacSize32x32, {{16, 32}}},
        {kAllBits & ~kMacSize16x16, {{32, 32}}},
        {kAllBits & ~kMacKeep32Bit, {}},
    };
    for (const Case& c : cases) {
        IconEntry icon;
        load(file, icon, macSettings(c.filter, "rsrc"));
        EXPECT_EQ(shapes(icon), c.shapes) << std::hex << c.filter;
    }
}

TEST(PlainIcns, LoadJobOpensIcnsFiles)
{
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("app.ICNS"), icnsFamily({icnsElement("ic11", kPng32)})));
    IconLibrary lib;
    EXPECT_TRUE(openFile(lib, dir.file("app.ICNS")));
    ASSERT_EQ(lib.size(), 1);
    EXPECT_EQ(lib.at(0).name, "app");
    EXPECT_EQ(lib.at(0).deviceCount(), 1);
}

}  // namespace
