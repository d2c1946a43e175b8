#include <gtest/gtest.h>

#include "support/DeviceMaker.h"

#include <QFileInfo>
#include <algorithm>
#include <functional>
#include <optional>

#include "formats/PeModuleReader.h"
#include "formats/PeResources.h"
#include "platform/FileBytes.h"
#include "support/PeBuilder.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"

using namespace sigil;
using namespace sigil::test;

namespace {

const std::string kPath = "/icons/tools.dll";

class Recorder : public LoadObserver {
public:
    std::vector<int> added;
    LoadControl* stopAfterFirst = nullptr;
    int addedMessage(int index) override
    {
        added.push_back(index);
        if (stopAfterFirst)
            stopAfterFirst->stopRequested = true;
        return 0;
    }
    void finishedMessage() override {}
};

std::vector<std::string> namesOf(const IconLibrary& lib)
{
    std::vector<std::string> out;
    for (int i = 0; i < lib.size(); ++i)
        out.push_back(lib.at(i).name);
    return out;
}

// "WxHxB" of every device of an icon, in stored order.
std::vector<std::string> shapesOf(const IconEntry& entry)
{
    std::vector<std::string> out;
    for (const IconDevice& d : entry.devices)
        out.push_back(std::to_string(d.width) + "x" + std::to_string(d.height) + "x" + std::to_string(d.bitCount));
    return out;
}

class PeModule : public ::testing::TestWithParam<bool> {};

TEST_P(PeModule, EveryGroupBecomesAnIconInDirectoryOrder)
{
    PeBuilder builder(GetParam());
    builder.addIconGroup(u"APP", {iconImage(32, 32, 4), iconImage(16, 16, 4)}, 1)
        .addIconGroup(101, {iconImage(32, 32, 8)}, 10)
        .addIconGroup(102, {iconImage(16, 16, 1), iconImage(16, 16, 24)}, 20)
        .addStrings({{101, u"Folder\nClosed"}, {103, u"unrelated"}});
    IconLibrary lib;
    Recorder rec;
    lib.setLoadObserver(&rec);
    ASSERT_TRUE(readPeModule(lib, builder.build().bytes, kPath));

    EXPECT_EQ(namesOf(lib), (std::vector<std::string>{"APP", "Folder", "102"}));
    ASSERT_EQ(lib.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(lib.at(i).source, kPath + "," + std::to_string(i));
        EXPECT_EQ(lib.at(i).current, lib.at(i).deviceCount() - 1);
        EXPECT_TRUE(test::drawable(lib.at(i)));
    }
    EXPECT_EQ(shapesOf(lib.at(0)), (std::vector<std::string>{"32x32x4", "16x16x4"}));
    EXPECT_EQ(shapesOf(lib.at(2)), (std::vector<std::string>{"16x16x1", "16x16x24"}));
    EXPECT_EQ(lib.deviceTotal(), 5);
    EXPECT_EQ(rec.added, (std::vector<int>{0, 1, 2}));
}

TEST_P(PeModule, GroupOrderIsKeptNotSorted)
{
    PeBuilder builder(GetParam());
    builder.addIconGroup(1, {iconImage(48, 48, 8), iconImage(32, 32, 8), iconImage(16, 16, 8)}, 1);
    IconLibrary lib;
    ASSERT_TRUE(readPeModule(lib, builder.build().bytes, kPath));
    ASSERT_EQ(lib.size(), 1);
    EXPECT_EQ(shapesOf(lib.at(0)), (std::vector<std::string>{"48x48x8", "32x32x8", "16x16x8"}));
    EXPECT_EQ(lib.at(0).current, 2);
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, PeModule, ::testing::Bool());

TEST(PeModuleNames, NumberedGroupsTakeTheFirstLineOfTheirString)
{
    const std::string a300(300, 'a');
    std::u16string hiragana(100, u'あ');
    std::string hiragana84;
    for (int i = 0; i < 84; ++i)
        hiragana84 += "あ";
    std::u16string emoji;
    std::string emoji63;
    for (int i = 0; i < 70; ++i)
        emoji += u"\U0001F600";
    for (int i = 0; i < 63; ++i)
        emoji63 += "\U0001F600";
    const struct {
        std::optional<std::u16string> text;
        std::string name;
    } cases[] = {
        {u"Folder\nClosed", "Folder"},
        {u"Drive\r\nC:", "Drive"},
        {u"フォルダ", "フォルダ"},
        {u"", "101"},
        {u"\nsecond", "101"},
        {u"\r\nsecond", "101"},
        {std::nullopt, "101"},
        {std::u16string(a300.begin(), a300.end()), std::string(254, 'a')},
        {hiragana, hiragana84},                 // 252 bytes: the next one would need 255
        {u"ab" + hiragana, "ab" + hiragana84},  // exactly 254 bytes
        {u"a" + hiragana, "a" + hiragana84},    // 253 bytes
        {emoji, emoji63},
        {u"x\xD800y", "x\xEF\xBF\xBDy"},  // a lone surrogate shows as U+FFFD
    };
    for (const auto& c : cases) {
        PeBuilder builder;
        builder.addIconGroup(101, {iconImage(16, 16, 4)}, 1);
        if (c.text)
            builder.addStrings({{101, *c.text}, {100, u"neighbour"}});
        IconLibrary lib;
        ASSERT_TRUE(readPeModule(lib, builder.build().bytes, kPath));
        ASSERT_EQ(lib.size(), 1);
        EXPECT_EQ(lib.at(0).name, c.name) << c.name.size();
    }
}

// Groups of a module whose icon resources are listed as given; `present`
// says which of them the module really holds.
Bytes moduleWithGroup(const std::vector<Bytes>& images, const std::vector<bool>& present)
{
    PeBuilder builder;
    std::vector<uint16_t> ids;
    for (size_t i = 0; i < images.size(); ++i) {
        ids.push_back(uint16_t(40 + i));
        if (present[i])
            builder.add(kRtIcon, ids.back(), images[i]);
    }
    builder.add(kRtGroupIcon, 1, groupIconBytes(images, ids));
    return builder.build().bytes;
}

TEST(PeModuleImages, MissingAndRefusedImagesArePassedOver)
{
    Bytes rleImage = headerBytes({.width = 16, .height = 32, .bitCount = 4, .compression = 1});
    rleImage.resize(rleImage.size() + 64 + 128 + 64);
    Bytes badHeader = iconImage(16, 16, 8);
    badHeader[0] = 108;

    const struct {
        const char* what;
        std::vector<Bytes> images;
        std::vector<bool> present;
        std::vector<std::string> shapes;
    } cases[] = {
        {"missing icon resource",
         {iconImage(32, 32, 4), iconImage(48, 48, 4), iconImage(16, 16, 4)},
         {true, false, true},
         {"32x32x4", "16x16x4"}},
        {"header size 108", {badHeader, iconImage(16, 16, 4)}, {true, true}, {"16x16x4"}},
        {"RLE compression at 4 bits", {rleImage, iconImage(32, 32, 4)}, {true, true}, {"32x32x4"}},
        {"too short for a header", {Bytes(39, 0), iconImage(32, 32, 1)}, {true, true}, {"32x32x1"}},
        {"PNG image", {pngImage(64, 64, 0x80FF0000), iconImage(16, 16, 4)}, {true, true}, {"64x64x32", "16x16x4"}},
    };
    for (const auto& c : cases) {
        IconLibrary lib;
        ASSERT_TRUE(readPeModule(lib, moduleWithGroup(c.images, c.present), kPath)) << c.what;
        ASSERT_EQ(lib.size(), 1) << c.what;
        EXPECT_EQ(shapesOf(lib.at(0)), c.shapes) << c.what;
    }
}

TEST(PeModuleImages, BitFieldImagesAreExpanded)
{
    Bytes image = headerBytes({.width = 2, .height = 4, .bitCount = 16, .compression = 3});
    for (const uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu})
        put32(image, mask);
    for (int i = 0; i < 2; ++i)
        append(image, {0x00, 0xF8, 0x1F, 0x00});  // pure red, pure blue
    image.resize(image.size() + 8);               // AND mask
    IconLibrary lib;
    ASSERT_TRUE(readPeModule(lib, moduleWithGroup({image}, {true}), kPath));
    ASSERT_EQ(lib.size(), 1);
    const IconDevice& d = lib.at(0).devices[0];
    EXPECT_EQ(d.bitCount, 24);
    EXPECT_EQ(d.compression, 0);
    EXPECT_EQ(d.blockData()[kHeaderBytes + 2], 248);  // red of the first pixel
}

TEST(PeModuleImages, ShortResourceLeavesZerosBeyondItsEnd)
{
    Bytes image = iconImage(32, 32, 8, 0x5A, 0xFF);
    const size_t kept = 40 + 1024 + 500;  // header, palette, part of the colour bits
    image.resize(kept);
    IconLibrary lib;
    ASSERT_TRUE(readPeModule(lib, moduleWithGroup({image}, {true}), kPath));
    ASSERT_EQ(lib.size(), 1);
    const IconDevice& d = lib.at(0).devices[0];
    ASSERT_EQ(d.allocatedBytes(), 40 + 1024 + 1024 + 128);
    const uint8_t* block = d.blockData();
    EXPECT_TRUE(std::equal(image.begin() + 40, image.end(), block + 40));
    EXPECT_TRUE(std::all_of(block + kept, block + d.allocatedBytes(), [](uint8_t b) { return b == 0; }));
}

TEST(PeModuleEnumeration, FirstUnusableGroupEndsIt)
{
    const Bytes refused = [] {
        Bytes b = iconImage(16, 16, 4);
        b[0] = 12;
        return b;
    }();
    const struct {
        const char* what;
        std::function<void(PeBuilder&)> third;
    } cases[] = {
        {"empty group", [](PeBuilder& b) { b.add(kRtGroupIcon, 3, groupIconBytes({}, {})); }},
        {"group shorter than its header",
         [](PeBuilder& b) {
             b.add(kRtGroupIcon, 3, {0, 0, 1, 0});
         }},
        {"group whose icons are all missing",
         [](PeBuilder& b) { b.add(kRtGroupIcon, 3, groupIconBytes({iconImage(16, 16, 4)}, {77})); }},
        {"group whose only image is refused", [&](PeBuilder& b) { b.addIconGroup(3, {refused}, 30); }},
        {"group with a count beyond its entries",
         [](PeBuilder& b) {
             b.add(kRtGroupIcon, 3, {0, 0, 1, 0, 200, 0});
         }},
    };
    for (const auto& c : cases) {
        PeBuilder builder;
        builder.addIconGroup(1, {iconImage(16, 16, 4)}, 10).addIconGroup(2, {iconImage(32, 32, 4)}, 20);
        c.third(builder);
        builder.addIconGroup(4, {iconImage(48, 48, 4)}, 40);
        IconLibrary lib;
        ASSERT_TRUE(readPeModule(lib, builder.build().bytes, kPath)) << c.what;
        EXPECT_EQ(namesOf(lib), (std::vector<std::string>{"1", "2"})) << c.what;
        EXPECT_EQ(lib.deviceTotal(), 2) << c.what;
    }
}

TEST(PeModuleEnumeration, StopEndsAfterTheIconInHandCancelDoesNot)
{
    PeBuilder builder;
    for (uint16_t g = 1; g <= 3; ++g)
        builder.addIconGroup(g, {iconImage(16, 16, 4), iconImage(32, 32, 4)}, uint16_t(10 * g));
    const Bytes module = builder.build().bytes;

    IconLibrary stopped;
    LoadControl control;
    Recorder rec;
    rec.stopAfterFirst = &control;
    stopped.setLoadObserver(&rec);
    EXPECT_TRUE(readPeModule(stopped, module, kPath, &control));
    EXPECT_EQ(stopped.size(), 1);
    EXPECT_EQ(stopped.deviceTotal(), 2);

    IconLibrary cancelled;
    LoadControl cancel;
    cancel.cancelRequested = true;
    EXPECT_TRUE(readPeModule(cancelled, module, kPath, &cancel));
    EXPECT_EQ(cancelled.size(), 3);
}

TEST(PeGroupIcon, OneGroupByNumberOrNothing)
{
    PeBuilder builder;
    builder.addIconGroup(u"NAMED", {iconImage(16, 16, 4)}, 1)
        .addIconGroup(218, {iconImage(32, 32, 8), iconImage(16, 16, 4)}, 10)
        .addIconGroup(219, {iconImage(48, 48, 4)}, 20)
        .add(kRtGroupIcon, 220, groupIconBytes({}, {}))
        .add(kRtGroupIcon, 221, groupIconBytes({iconImage(16, 16, 4)}, {77}))
        .add(kRtGroupIcon, 222, {0, 0, 1, 0})
        .addStrings({{219, u"Gear\nhot"}});
    const Bytes module = builder.build().bytes;
    PeResources resources;
    ASSERT_TRUE(resources.load(module));

    const struct {
        uint16_t id;
        std::vector<std::string> shapes;  // empty: no icon
        std::string name;
    } cases[] = {
        {218, {"32x32x8", "16x16x4"}, "218"},
        {219, {"48x48x4"}, "Gear"},
        {217, {}, ""},  // no such group
        {1, {}, ""},    // an icon resource, not a group
        {220, {}, ""},  // empty group
        {221, {}, ""},  // its only icon is missing
        {222, {}, ""},  // shorter than its header
    };
    for (const auto& c : cases) {
        const auto entry = readGroupIcon(resources, c.id);
        ASSERT_EQ(entry != nullptr, !c.shapes.empty()) << c.id;
        if (!entry)
            continue;
        EXPECT_EQ(shapesOf(*entry), c.shapes) << c.id;
        EXPECT_EQ(entry->name, c.name) << c.id;
    }
}

TEST(PeModuleFile, NotAModuleIsRefusedAModuleWithoutIconsIsNot)
{
    IconLibrary lib;
    EXPECT_FALSE(readPeModule(lib, Bytes{}, kPath));
    EXPECT_FALSE(readPeModule(lib, icoFile({iconImage(16, 16, 4)}), kPath));
    PeBuilder strings;
    strings.addStrings({{1, u"only strings"}});
    EXPECT_TRUE(readPeModule(lib, strings.build().bytes, kPath));
    EXPECT_TRUE(readPeModule(lib, PeBuilder(true).build().bytes, kPath));
    EXPECT_TRUE(lib.empty());
}

// Two icons, the first of two images, and the second's name in a string.
PeFile twoIconModule()
{
    PeBuilder builder;
    builder.addIconGroup(u"FIRST", {iconImage(16, 16, 4), iconImage(32, 32, 1)}, 1)
        .addIconGroup(7, {iconImage(16, 16, 8)}, 5)
        .addStrings({{7, u"seven"}});
    return builder.build();
}

TEST(PeModuleFile, TruncatedModulesGiveWholeIconsOrNone)
{
    const PeFile pe = twoIconModule();
    const size_t headersEnd = pe.sectionTable + 2 * 40;
    for (size_t cut = 0; cut <= pe.bytes.size(); ++cut) {
        IconLibrary lib;
        EXPECT_EQ(readPeModule(lib, ByteView(pe.bytes.data(), cut), kPath), cut >= headersEnd) << cut;
        // Every resource lies inside the directory's declared extent, so a
        // module is read whole or not at all.
        ASSERT_EQ(lib.size(), cut >= pe.root + pe.resourceBytes ? 2 : 0) << cut;
        for (int i = 0; i < lib.size(); ++i) {
            EXPECT_EQ(lib.at(i).source, kPath + "," + std::to_string(i)) << cut;
            EXPECT_EQ(lib.at(i).current, lib.at(i).deviceCount() - 1) << cut;
        }
    }
}

// Read from its headers on, a module gives what its whole file gives:
// reading only the resource section when that holds everything, and the rest
// too when the headers lie further on or an icon lies in another section.
TEST(PeModuleFile, ReadInPartsGivesWhatTheWholeFileGives)
{
    const PeFile plain = twoIconModule();
    PeFile outside = plain;  // the first icon's image moved into ".text"
    const uint32_t textRva = getU32(&plain.bytes[plain.sectionTable + 12]);
    const uint32_t textOffset = getU32(&plain.bytes[plain.sectionTable + 20]);
    const uint32_t dataAt = plain.root + getU32(&plain.bytes[plain.dataEntries[0]]) - plain.resourceRva;
    const uint32_t dataSize = getU32(&plain.bytes[plain.dataEntries[0] + 4]);
    std::copy_n(plain.bytes.begin() + dataAt, dataSize, outside.bytes.begin() + textOffset);
    outside.put32At(plain.dataEntries[0], textRva);

    const size_t headersEnd = plain.sectionTable + 2 * 40;
    const struct {
        const char* what;
        const PeFile& pe;
        size_t head;
        bool readWhole;
    } cases[] = {{"resources in their section", plain, headersEnd, false},
                 {"headers past the first bytes", plain, 64, true},
                 {"an icon in another section", outside, headersEnd, true}};
    test::TempDir dir;
    for (const auto& c : cases) {
        const std::string path = dir.file("module.dll");
        test::writeTextFile(path, std::string(c.pe.bytes.begin(), c.pe.bytes.end()));
        IconLibrary whole, parts;
        ASSERT_TRUE(readPeModule(whole, c.pe.bytes, path)) << c.what;
        FileBytes file;
        ASSERT_TRUE(file.openHead(path, c.head)) << c.what;
        ASSERT_TRUE(readPeModule(parts, file, path)) << c.what;
        EXPECT_EQ(file.complete(), c.readWhole) << c.what;
        ASSERT_EQ(whole.size(), 2) << c.what;
        EXPECT_EQ(shapesOf(whole.at(0)), (std::vector<std::string>{"16x16x4", "32x32x1"})) << c.what;
        ASSERT_EQ(namesOf(parts), namesOf(whole)) << c.what;
        for (int i = 0; i < whole.size(); ++i) {
            ASSERT_EQ(shapesOf(parts.at(i)), shapesOf(whole.at(i))) << c.what;
            for (int d = 0; d < whole.at(i).deviceCount(); ++d) {
                const ByteView a = whole.at(i).devices[d].blockView(), b = parts.at(i).devices[d].blockView();
                EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end())) << c.what << " " << i << "/" << d;
            }
        }
    }
}

TEST(PeModuleFile, WineShell32)
{
    const std::string path = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll";
    if (!QFileInfo::exists(QString::fromStdString(path)))
        GTEST_SKIP() << "Wine's shell32.dll is not installed";
    FileBytes file;
    ASSERT_TRUE(file.open(path));
    IconLibrary lib;
    ASSERT_TRUE(readPeModule(lib, file.bytes(), path));
    EXPECT_GE(lib.size(), 100);
    for (int i = 0; i < lib.size(); ++i) {
        EXPECT_EQ(lib.at(i).source, path + "," + std::to_string(i));
        EXPECT_FALSE(lib.at(i).name.empty());
        EXPECT_GT(lib.at(i).deviceCount(), 0);
    }
}

}  // namespace
