#include "property/DeviceEdits.h"

#include <gtest/gtest.h>

#include "settings/PropertyWindowSettings.h"
#include "support/DeviceMaker.h"
#include "support/TempDir.h"

namespace sigil {
namespace {

using test::makeDevice;
using test::maskedAt;
using test::pixelAt;

struct Shape {
    int w, h, bits;
};

// Devices with pixels that tell them apart; `seed` changes every pixel.
IconDevice device(Shape s, uint32_t seed = 0)
{
    return makeDevice(s.w, s.h, s.bits, [&](int x, int row) {
        return (uint32_t(x * 5 + row * 3) + seed) % (s.bits >= 24 ? 0xFFFFFFu : (1u << s.bits));
    });
}

IconEntry icon(const std::vector<Shape>& shapes)
{
    IconEntry entry;
    for (const Shape& s : shapes)
        entry.devices.push_back(device(s));
    entry.current = entry.deviceCount() - 1;
    return entry;
}

std::string shapes(const IconEntry& e)
{
    std::string s;
    for (const IconDevice& d : e.devices)
        s += std::to_string(d.width) + "x" + std::to_string(d.height) + "/" + std::to_string(d.bitCount) + " ";
    return s;
}

TEST(DeviceEdits, LineTextGivesSizeAndColourClass)
{
    const struct {
        Shape shape;
        const char* text;
    } cases[] = {
        {{16, 16, 1}, "16 x 16 - ﾓﾉｸﾛ"},       {{32, 32, 4}, "32 x 32 - 16色"},
        {{48, 24, 8}, "48 x 24 - 256色"},      {{24, 24, 16}, "24 x 24 - HighColor"},
        {{64, 64, 24}, "64 x 64 - TrueColor"}, {{256, 256, 32}, "256 x 256 - XP"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(deviceLineText(IconDevice::shape(c.shape.w, c.shape.h, c.shape.bits)), QString::fromUtf8(c.text));
    IconDevice odd = IconDevice::shape(16, 16, 2);
    EXPECT_EQ(deviceLineText(odd), QStringLiteral("16 x 16 - 不明"));
}

TEST(DeviceEdits, DeleteSelectsTheLineThatTookThePlaceOrTheNewLast)
{
    const struct {
        int count, deleted;
        EditResult result;
        int selected;
        const char* left;
    } cases[] = {
        {3, 2, EditResult::Changed, 1, "16x16/4 32x32/4 "},  // last of three: the new last
        {3, 0, EditResult::Changed, 0, "32x32/4 48x48/4 "},  // first: the new first
        {3, 1, EditResult::Changed, 1, "16x16/4 48x48/4 "},  // middle: the one after it
        {1, 0, EditResult::Unchanged, 0, "16x16/4 "},        // an icon keeps one device
        {3, -1, EditResult::Unchanged, -1, "16x16/4 32x32/4 48x48/4 "},
        {3, 3, EditResult::Unchanged, 3, "16x16/4 32x32/4 48x48/4 "},
    };
    for (const auto& c : cases) {
        const std::vector<Shape> all = {{16, 16, 4}, {32, 32, 4}, {48, 48, 4}};
        IconEntry work = icon(std::vector<Shape>(all.begin(), all.begin() + c.count));
        const EditOutcome out = deleteDevice(work, c.deleted);
        EXPECT_EQ(out.result, c.result) << c.count << " " << c.deleted;
        EXPECT_EQ(out.selected, c.selected) << c.count << " " << c.deleted;
        EXPECT_EQ(shapes(work), c.left);
        if (out.result == EditResult::Changed) {
            EXPECT_EQ(work.current, c.selected);
        }
    }
}

TEST(DeviceEdits, AddRefusesDuplicatesAndAddsNothingWithoutColours)
{
    IconEntry work = icon({{16, 16, 4}, {32, 32, 8}});
    EditOutcome out = addBlankDevice(work, 32, 32, 8);
    EXPECT_EQ(out.result, EditResult::Duplicate);
    out = addBlankDevice(work, 32, 32, 0);
    EXPECT_EQ(out.result, EditResult::Unchanged);
    EXPECT_EQ(shapes(work), "16x16/4 32x32/8 ");

    out = addBlankDevice(work, 32, 32, 4);
    EXPECT_EQ(out.result, EditResult::Changed);
    EXPECT_EQ(out.selected, 1);  // in canonical order, before the deeper one
    EXPECT_EQ(work.current, 1);
    EXPECT_EQ(shapes(work), "16x16/4 32x32/4 32x32/8 ");
}

// Where a picture goes, in every branch: the icon holds 16x16/4, 32x32/8
// and 32x32/24, and one of them is shown.
struct PlaceCase {
    const char* name;
    int selected;
    Shape picture;
    ViewMode mode;
    EditResult result;
    int newSelection;
    const char* shapesAfter;
};

class PlacePicture : public testing::TestWithParam<PlaceCase> {};

TEST_P(PlacePicture, FollowsWidthDepthAndViewMode)
{
    const PlaceCase& c = GetParam();
    IconEntry work = icon({{16, 16, 4}, {32, 32, 8}, {32, 32, 24}});
    IconDevice picture = device(c.picture, 99);
    const EditOutcome out = placePicture(work, c.selected, picture, c.mode);
    EXPECT_EQ(out.result, c.result);
    EXPECT_EQ(out.selected, c.newSelection);
    EXPECT_EQ(shapes(work), c.shapesAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Branches, PlacePicture,
    testing::Values(
        PlaceCase{"OtherWidthAddsTheDevice",
                  1,
                  {48, 48, 8},
                  kNormalView,
                  EditResult::Changed,
                  3,
                  "16x16/4 32x32/8 32x32/24 48x48/8 "},
        PlaceCase{"OtherWidthInMaskModeAddsToo",
                  0,
                  {48, 48, 8},
                  kMaskOnlyView,
                  EditResult::Changed,
                  3,
                  "16x16/4 32x32/8 32x32/24 48x48/8 "},
        PlaceCase{
            "OtherWidthDuplicate", 0, {32, 32, 24}, kNormalView, EditResult::Duplicate, 0, "16x16/4 32x32/8 32x32/24 "},
        PlaceCase{"SameWidthAndDepthReplaces",
                  1,
                  {32, 32, 8},
                  kNormalView,
                  EditResult::Changed,
                  1,
                  "16x16/4 32x32/8 32x32/24 "},
        PlaceCase{"SameWidthOtherHeightChangesNothing",
                  1,
                  {32, 16, 8},
                  kImageOnlyView,
                  EditResult::Unchanged,
                  1,
                  "16x16/4 32x32/8 32x32/24 "},
        PlaceCase{"OtherDepthAddsTheDevice",
                  2,
                  {32, 32, 4},
                  kImageOnlyView,
                  EditResult::Changed,
                  1,
                  "16x16/4 32x32/4 32x32/8 32x32/24 "},
        PlaceCase{
            "OtherDepthDuplicate", 2, {32, 32, 8}, kNormalView, EditResult::Duplicate, 2, "16x16/4 32x32/8 32x32/24 "},
        PlaceCase{"MaskOnto24BitAddsA32BitCopy",
                  2,
                  {32, 32, 24},
                  kMaskOnlyView,
                  EditResult::Changed,
                  3,
                  "16x16/4 32x32/8 32x32/24 32x32/32 "},
        PlaceCase{"GreyMaskOntoPaletteIsRefused",
                  1,
                  {32, 32, 24},
                  kMaskOnlyView,
                  EditResult::Unchanged,
                  1,
                  "16x16/4 32x32/8 32x32/24 "},
        PlaceCase{"MonochromeMaskOntoPalette",
                  1,
                  {32, 32, 1},
                  kMaskOnlyView,
                  EditResult::Changed,
                  1,
                  "16x16/4 32x32/8 32x32/24 "},
        PlaceCase{"TooLarge", 1, {300, 300, 24}, kNormalView, EditResult::TooLarge, 1, "16x16/4 32x32/8 32x32/24 "},
        PlaceCase{
            "NoDeviceSelected", -1, {32, 32, 8}, kNormalView, EditResult::Unchanged, -1, "16x16/4 32x32/8 32x32/24 "}),
    [](const auto& info) { return info.param.name; });

TEST(DeviceEdits, ReplacingKeepsTheMaskOnlyInTheImageOnlyMode)
{
    for (const ViewMode mode : {kNormalView, kImageOnlyView}) {
        IconEntry work = icon({{32, 32, 24}});
        test::setMask(work.devices[0], [](int x, int) { return x < 4; });
        const IconDevice picture = device({32, 32, 24}, 7);  // opaque everywhere
        ASSERT_EQ(placePicture(work, 0, picture, mode).result, EditResult::Changed);
        const IconDevice& d = work.devices[0];
        EXPECT_EQ(pixelAt(d, 10, 3), pixelAt(picture, 10, 3));
        EXPECT_EQ(maskedAt(d, 0, 0), mode == kImageOnlyView);
        EXPECT_FALSE(maskedAt(d, 10, 0));
    }
}

TEST(DeviceEdits, AGreyMaskGivesTheNew32BitCopyItsAlphaAndKeepsThe24BitDevice)
{
    IconEntry work = icon({{32, 32, 24}});
    const IconDevice original = device({32, 32, 24});
    // Black (alpha 255) on the left half, white (transparent) on the right.
    const IconDevice grey = makeDevice(32, 32, 24, [](int x, int) { return x < 16 ? 0u : 0xFFFFFFu; });
    ASSERT_EQ(placePicture(work, 0, grey, kMaskOnlyView).result, EditResult::Changed);
    ASSERT_EQ(work.deviceCount(), 2);
    EXPECT_TRUE(work.devices[0].sameDevice(original));
    const IconDevice& alpha = work.devices[1];
    EXPECT_EQ(pixelAt(alpha, 3, 5) >> 24, 255u);
    EXPECT_EQ(pixelAt(alpha, 3, 5) & 0xFFFFFFu, pixelAt(original, 3, 5));
    EXPECT_EQ(pixelAt(alpha, 20, 5) >> 24, 0u);
    EXPECT_TRUE(maskedAt(alpha, 20, 5));
}

TEST(DeviceEdits, TheNewDeviceIsACopyOfThePicture)
{
    IconEntry work = icon({{16, 16, 4}});
    const IconDevice picture = device({48, 48, 32}, 3);
    ASSERT_EQ(placePicture(work, 0, picture, kNormalView).result, EditResult::Changed);
    EXPECT_TRUE(work.devices[1].sameDevice(picture));
    EXPECT_FALSE(sameDevices(work, icon({{16, 16, 4}})));
    EXPECT_TRUE(sameDevices(copyOfDevices(work), work));
}

TEST(PropertyWindowSettings, StartModeFromTheSettingsFile)
{
    const struct {
        const char* mask;
        const char* image;
        ViewMode mode;
    } cases[] = {
        {nullptr, nullptr, kNormalView}, {"1", "1", kNormalView},    {"1", "0", kMaskOnlyView},
        {"0", "1", kImageOnlyView},      {"0", "0", kImageOnlyView},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        SettingsFile file;
        file.setPath(dir.file("Tamberly.ini"));
        if (c.mask) {
            file.writeString("Sigilscope", "PrpMask", c.mask);
            file.writeString("Sigilscope", "PrpImage", c.image);
        }
        PropertyWindowSettings options;
        options.load(file);
        EXPECT_EQ((ViewMode{options.showMask, options.showImage}), c.mode) << (c.mask ? c.mask : "-");
    }
}

}  // namespace
}  // namespace sigil
