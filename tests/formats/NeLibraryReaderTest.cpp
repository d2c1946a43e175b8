#include <gtest/gtest.h>

#include "support/DeviceMaker.h"

#include "formats/NeLibraryReader.h"
#include "support/IconBytes.h"
#include "support/NeBytes.h"

using namespace sigil;
using namespace sigil::test;

namespace {

constexpr const char* kPath = "/lib/set.icl";

struct Read {
    bool answer = false;
    std::vector<std::string> names;
    std::vector<std::string> sources;
    std::vector<int> deviceCounts;
    int deviceTotal = 0;
};

Read readNe(const Bytes& bytes, IconLibrary* library = nullptr, LoadControl* control = nullptr)
{
    IconLibrary own;
    IconLibrary& lib = library ? *library : own;
    Read r;
    r.answer = readNeLibrary(lib, bytes, kPath, "set", control);
    for (int i = 0; i < lib.size(); ++i) {
        r.names.push_back(lib.at(i).name);
        r.sources.push_back(lib.at(i).source);
        r.deviceCounts.push_back(lib.at(i).deviceCount());
        EXPECT_EQ(lib.at(i).current, lib.at(i).deviceCount() - 1);
        for (const IconDevice& d : lib.at(i).devices)
            EXPECT_EQ(d.allocatedBytes(), d.blockBytes());
    }
    r.deviceTotal = lib.deviceTotal();
    return r;
}

std::vector<Bytes> images(int count)
{
    std::vector<Bytes> v;
    for (int i = 0; i < count; ++i)
        v.push_back(iconImage(16 << (i % 3), 16 << (i % 3), i < 3 ? 4 : 8, uint8_t(0x10 + i)));
    return v;
}

std::vector<std::string> sources(int n)
{
    std::vector<std::string> v;
    for (int i = 0; i < n; ++i)
        v.push_back(std::string(kPath) + "," + std::to_string(i));
    return v;
}

TEST(ReadNeLibrary, IconsBeyondTheNamesAreNamedByNumber)
{
    NeLibraryParts parts;
    parts.names = {"one", "two"};
    parts.icons = {images(1), images(2), images(1), images(3), images(4)};
    const Read r = readNe(neLibrary(parts));
    EXPECT_TRUE(r.answer);
    EXPECT_EQ(r.names, (std::vector<std::string>{"one", "two", "set.2", "set.3", "set.4"}));
    EXPECT_EQ(r.sources, sources(5));
    EXPECT_EQ(r.deviceCounts, (std::vector<int>{1, 2, 1, 3, 4}));
    EXPECT_EQ(r.deviceTotal, 11);
}

TEST(ReadNeLibrary, ExtraNamesAreIgnoredButStillSkipped)
{
    NeLibraryParts parts;
    parts.names = {"a", "b", "c", "d"};
    parts.icons = {images(2), images(1)};
    const Read r = readNe(neLibrary(parts));
    EXPECT_EQ(r.names, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(r.deviceCounts, (std::vector<int>{2, 1}));
}

TEST(ReadNeLibrary, GroupsWithoutImagesAreDropped)
{
    // Three icons in a row with 4 devices each give 12; the empty group is
    // dropped and the numbering of sources keeps its place.
    NeLibraryParts parts;
    parts.names = {"a", "empty", "b", "c"};
    parts.icons = {images(4), {}, images(4), images(4)};
    const Read r = readNe(neLibrary(parts));
    EXPECT_EQ(r.names, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(r.sources, (std::vector<std::string>{sources(4)[0], sources(4)[2], sources(4)[3]}));
    EXPECT_EQ(r.deviceTotal, 12);
}

TEST(ReadNeLibrary, DevicesAreSortedAndKeepTheirPixels)
{
    NeLibraryParts parts;
    parts.names = {"a"};
    parts.icons = {{iconImage(32, 32, 8, 0x55), iconImage(16, 16, 4, 0x66), iconImage(32, 32, 4, 0x77)}};
    IconLibrary lib;
    readNe(neLibrary(parts), &lib);
    ASSERT_EQ(lib.size(), 1);
    const IconEntry& e = lib.at(0);
    ASSERT_EQ(e.deviceCount(), 3);
    EXPECT_EQ(e.devices[0].width, 16);
    EXPECT_EQ(e.devices[1].bitCount, 4);
    EXPECT_EQ(e.devices[2].bitCount, 8);
    EXPECT_EQ(e.devices[0].blockData()[40 + 64], 0x66);
    EXPECT_EQ(e.devices[1].blockData()[40 + 64], 0x77);
    EXPECT_EQ(e.devices[2].blockData()[40 + 1024], 0x55);
    EXPECT_TRUE(test::drawable(e));
}

class Alignment : public testing::TestWithParam<uint16_t> {};

TEST_P(Alignment, RecordsAreFoundAtEveryShift)
{
    NeLibraryParts parts;
    parts.names = {"a", "b"};
    parts.icons = {images(3), images(2)};
    parts.shift = GetParam();
    const Read r = readNe(neLibrary(parts));
    EXPECT_EQ(r.names, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(r.deviceCounts, (std::vector<int>{3, 2}));
}

INSTANTIATE_TEST_SUITE_P(Shifts, Alignment, testing::Values(0, 1, 3, 4, 9, 15));

TEST(ReadNeLibrary, ShiftAbove15IsRefused)
{
    NeLibraryParts parts;
    parts.names = {"a"};
    parts.icons = {images(1)};
    Bytes file = neLibrary(parts);
    putU16(&file[0x90], 16);
    const Read r = readNe(file);
    EXPECT_TRUE(r.answer);
    EXPECT_TRUE(r.names.empty());
    putU16(&file[0x90], 0xFFFF);
    EXPECT_TRUE(readNe(file).names.empty());
}

TEST(ReadNeLibrary, OtherSignaturesAreRefused)
{
    NeLibraryParts parts;
    parts.icons = {images(1)};
    Bytes file = neLibrary(parts);
    file[0x50] = 'L';
    EXPECT_FALSE(readNe(file).answer);
    putU32(&file[0x3C], 0xFFFFFFF0u);  // past the end
    EXPECT_FALSE(readNe(file).answer);
    EXPECT_FALSE(readNe(Bytes{'M', 'Z'}).answer);
    EXPECT_FALSE(readNe(Bytes{}).answer);
}

TEST(ReadNeLibrary, NamesInCodePage932AndUtf8)
{
    NeLibraryParts parts;
    parts.names = {"\x83\x41\x83\x43\x83\x52\x83\x93", "Ünïcødé ✓", "bad\x80"};
    parts.icons = {images(1), images(1), images(1)};
    EXPECT_EQ(readNe(neLibrary(parts)).names, (std::vector<std::string>{"アイコン", "Ünïcødé ✓", "bad\uFFFD"}));
}

TEST(ReadNeLibrary, LyingCountsAndOffsetsCostNothing)
{
    NeLibraryParts parts;
    parts.names = {"a", "b"};
    parts.icons = {images(2), images(1)};
    parts.groupCount = 0xFFFF;
    // The reading is sequential: the third "directory" is the first image,
    // and directories go on until the data ends, so no image is left.
    Read r = readNe(neLibrary(parts));
    EXPECT_TRUE(r.answer);
    EXPECT_TRUE(r.names.empty());

    // Name table past the end: no names, no directories.
    parts.groupCount.reset();
    Bytes file = neLibrary(parts);
    putU16(&file[0x50 + 0x26], 0x7FFF);
    r = readNe(file);
    EXPECT_TRUE(r.answer);
    EXPECT_TRUE(r.names.empty());

    // A name whose length runs past the end ends the table and the data.
    file = neLibrary(parts);
    file.resize(0x50 + 0x4C + 4 + 1);
    file.push_back(200);
    file.insert(file.end(), {'x', 'y'});
    r = readNe(file);
    EXPECT_TRUE(r.answer);
    EXPECT_TRUE(r.names.empty());
}

TEST(ReadNeLibrary, GroupEntriesClaimingHugeImagesGiveWhatIsThere)
{
    // The directory step takes the byte counts as they are; a huge one only
    // makes the next skip stop at the end.
    NeLibraryParts parts;
    parts.names = {"a", "b"};
    parts.icons = {images(1), images(1)};
    Bytes file = neLibrary(parts);
    const size_t firstEntry = 0x50 + 0x4C + 4 + 2 + 2 + 1 + 6;
    ASSERT_EQ(getU32(&file[firstEntry + 8]), images(1)[0].size());
    putU32(&file[firstEntry + 8], 0xFFFFFFFFu);
    const Read r = readNe(file);
    EXPECT_EQ(r.names, std::vector<std::string>{"a"});
}

TEST(ReadNeLibrary, TinyFileWithAHugeDeviceGivesNoIcon)
{
    // Found by fuzzing (there 54135 x 12352): a 1-bit image header with no
    // data behind it. Its 40 MB of zeros would be nearly all missing bytes,
    // so the image is refused and its icon, left without images, dropped.
    Header h;
    h.width = 40000;
    h.height = 2 * 4000;
    h.bitCount = 1;
    NeLibraryParts parts;
    parts.names = {"a", "b"};
    parts.icons = {{headerBytes(h)}, images(1)};
    IconLibrary lib;
    readNe(neLibrary(parts), &lib);
    ASSERT_EQ(lib.size(), 1);
    EXPECT_EQ(lib.at(0).name, "b");
}

TEST(ReadNeLibrary, EveryTruncationGivesALeadingPartOfTheIcons)
{
    NeLibraryParts parts;
    parts.names = {"a", "b", "c"};
    parts.icons = {images(2), images(1), images(3)};
    parts.shift = 2;
    const Bytes file = neLibrary(parts);
    const std::vector<std::string> all = {"a", "b", "c"};
    for (size_t size = 0; size <= file.size(); ++size) {
        const Read r = readNe(Bytes(file.begin(), file.begin() + long(size)));
        ASSERT_LE(r.names.size(), all.size());
        EXPECT_TRUE(std::equal(r.names.begin(), r.names.end(), all.begin())) << size;
        int total = 0;
        for (int n : r.deviceCounts)
            total += n;
        EXPECT_EQ(r.deviceTotal, total);
    }
    EXPECT_EQ(readNe(file).names, all);
}

// Stops the job from inside the notice of the first icon.
class Interrupter : public LoadObserver {
public:
    Interrupter(LoadControl& control, bool stop) : control_(control), stop_(stop) {}
    std::vector<int> added;
    int addedMessage(int index) override
    {
        added.push_back(index);
        if (stop_)
            control_.stopRequested = true;
        else
            control_.cancelRequested = true;
        return 0;
    }
    void finishedMessage() override {}

private:
    LoadControl& control_;
    bool stop_;
};

TEST(ReadNeLibrary, CancelAndStopEndAfterTheIconInHand)
{
    NeLibraryParts parts;
    parts.names = {"a", "b", "c"};
    parts.icons = {images(2), images(3), images(1)};
    const Bytes file = neLibrary(parts);
    for (bool stop : {false, true}) {
        IconLibrary lib;
        LoadControl control;
        Interrupter interrupter(control, stop);
        lib.setLoadObserver(&interrupter);
        const Read r = readNe(file, &lib, &control);
        EXPECT_TRUE(r.answer);
        EXPECT_EQ(r.names, std::vector<std::string>{"a"}) << stop;
        EXPECT_EQ(r.deviceTotal, 2);
        EXPECT_EQ(interrupter.added, std::vector<int>{0});
    }
    LoadControl cancelled;
    cancelled.cancelRequested = true;
    EXPECT_TRUE(readNe(file, nullptr, &cancelled).names.empty());
}

TEST(ReadNeLibrary, NoticesFollowTheLibrarysOwnIcons)
{
    NeLibraryParts parts;
    parts.names = {"x", "y"};
    parts.icons = {images(1), images(1)};
    IconLibrary lib;
    lib.addBlankIcon(16, 16, 4);
    class Recorder : public LoadObserver {
    public:
        std::vector<int> added;
        int addedMessage(int index) override
        {
            added.push_back(index);
            return 0;
        }
        void finishedMessage() override {}
    } recorder;
    lib.setLoadObserver(&recorder);
    readNe(neLibrary(parts), &lib);
    EXPECT_EQ(recorder.added, (std::vector<int>{1, 2}));
}

}  // namespace

// Modules in the usual linker layout, read through their resource table.

static NeModuleParts standardModule(uint16_t shift)
{
    NeModuleParts parts;
    parts.shift = shift;
    parts.icons = {
        {"", 1, iconImage(32, 32, 4, 0x21)}, {"", 2, iconImage(16, 16, 4, 0x22)}, {"", 5, iconImage(16, 16, 8, 0x25)}};
    parts.groups = {{"FOLDER", 0, neGroup({1, 2})}, {"", 7, neGroup({5})}, {"", 9, neGroup({2, 5, 1})}};
    parts.residentNames = {{"NINE", 9}};
    return parts;
}

class StandardModule : public testing::TestWithParam<uint16_t> {};

TEST_P(StandardModule, GroupsResolveTheirIconsByIdentifier)
{
    IconLibrary library;
    const Read r = readNe(neModule(standardModule(GetParam())), &library);
    EXPECT_TRUE(r.answer);
    EXPECT_EQ(r.names, (std::vector<std::string>{"FOLDER", "set.1", "NINE"}));
    EXPECT_EQ(r.sources, sources(3));
    EXPECT_EQ(r.deviceCounts, (std::vector<int>{2, 1, 3}));
    ASSERT_EQ(library.size(), 3);
    // Sorted devices carry the bytes of the icons that the group names.
    const IconEntry& last = library.at(2);
    const std::vector<std::pair<int, int>> want{{16, 4}, {16, 8}, {32, 4}};
    const std::vector<uint8_t> fills{0x22, 0x25, 0x21};
    for (size_t i = 0; i < want.size(); ++i) {
        const IconDevice& d = last.devices[i];
        EXPECT_EQ(std::make_pair(int(d.width), int(d.bitCount)), want[i]);
        EXPECT_EQ(d.blockData()[d.allocatedBytes() - d.maskBytes() - 1], fills[i]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Shifts, StandardModule, testing::Values(0, 4, 9));

TEST(ReadNeModule, GroupsListedFirstByAnotherToolGoThroughTheTable)
{
    NeModuleParts parts = standardModule(4);
    parts.groupsFirst = true;
    const Read r = readNe(neModule(parts));
    EXPECT_EQ(r.names, (std::vector<std::string>{"FOLDER", "set.1", "NINE"}));
    EXPECT_EQ(r.deviceCounts, (std::vector<int>{2, 1, 3}));
}

TEST(ReadNeModule, DamagedTablesGiveWhatIsUsable)
{
    constexpr size_t kTable = 0x80;
    constexpr size_t kIconType = kTable + 2 + 8 + 12;  // after the named type and its one entry
    struct Case {
        const char* what;
        Bytes file;
        std::vector<int> deviceCounts;
    };
    const std::vector<Case> cases{
        {"group naming a missing icon keeps the others",
         [] {
             NeModuleParts p = standardModule(4);
             p.groups = {{"", 3, neGroup({1, 99})}, {"", 4, neGroup({99})}};
             return neModule(p);
         }(),
         {1}},
        {"icon type count past the table",
         [] {
             Bytes b = neModule(standardModule(4));
             b[kIconType + 2] = 0xFF;
             b[kIconType + 3] = 0xFF;
             return b;
         }(),
         {}},
        {"icon offset past the file",
         [] {
             Bytes b = neModule(standardModule(4));
             b[kIconType + 8] = 0xFF;
             b[kIconType + 9] = 0xFF;  // icon 1
             return b;
         }(),
         {1, 1, 2}},
        {"shift above 15",
         [] {
             Bytes b = neModule(standardModule(4));
             b[kTable] = 16;
             return b;
         }(),
         {}},
        {"table cut off inside its types",
         [] {
             Bytes b = neModule(standardModule(4));
             b.resize(kIconType + 20);
             return b;
         }(),
         {}},
        {"group count claims more entries than its data",
         [] {
             NeModuleParts p = standardModule(4);
             p.groups[0].data[4] = 200;
             return neModule(p);
         }(),
         {2, 1, 3}},
        {"thousands of empty types before the icons",
         [] {
             Bytes b = neModule(standardModule(4));
             Bytes filler;
             for (int i = 0; i < 5000; ++i) {
                 put16(filler, 0x8001);
                 put16(filler, 0);
                 put32(filler, 0);
             }
             b.insert(b.begin() + kTable + 2, filler.begin(), filler.end());
             return b;
         }(),
         {}},
    };
    for (const Case& c : cases) {
        const Read r = readNe(c.file);
        EXPECT_TRUE(r.answer) << c.what;
        EXPECT_EQ(r.deviceCounts, c.deviceCounts) << c.what;
    }
}

TEST(ReadNeModule, CancelAndStopEndAfterTheIconInHand)
{
    const Bytes file = neModule(standardModule(4));
    for (bool stop : {false, true}) {
        IconLibrary lib;
        LoadControl control;
        Interrupter interrupter(control, stop);
        lib.setLoadObserver(&interrupter);
        const Read r = readNe(file, &lib, &control);
        EXPECT_TRUE(r.answer);
        EXPECT_EQ(r.names, std::vector<std::string>{"FOLDER"}) << stop;
        EXPECT_EQ(interrupter.added, std::vector<int>{0});
    }
}
