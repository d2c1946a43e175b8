#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "formats/IconFile.h"
#include "formats/LibraryWriter.h"
#include "formats/NeLibraryReader.h"
#include "support/FileSizeLimit.h"
#include "support/IconBytes.h"
#include "support/TempDir.h"

using namespace sigil;
using namespace sigil::test;

namespace {

using Notice = std::pair<int, int>;

class ProgressRecorder : public ProgressObserver {
public:
    std::vector<Notice> notices;
    void progressMessage(int phase, int percent) override { notices.emplace_back(phase, percent); }
};

bool exists(const std::string& path)
{
    return QFile::exists(QString::fromStdString(path));
}

size_t filesIn(const TempDir& dir)
{
    return size_t(QDir(QString::fromStdString(dir.path())).entryList(QDir::Files | QDir::Hidden).size());
}

void addIcon(IconLibrary& library, const std::string& name, std::initializer_list<std::array<int, 3>> devices)
{
    auto entry = std::make_unique<IconEntry>();
    entry->name = name;
    for (const auto& d : devices)
        EXPECT_GE(entry->addDevice(d[0], d[1], d[2]), 0);
    library.appendIcon(std::move(entry));
}

// The bytes of the library's file as written; empty when writing failed.
Bytes written(IconLibrary& lib, const std::string& name = "lib.icl")
{
    TempDir dir;
    const std::string path = dir.file(name);
    return writeLibrary(lib, path).ok() ? readFile(path) : Bytes{};
}

// The offset of the first byte where two files differ, or -1.
long firstDifference(const Bytes& a, const Bytes& b)
{
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            return long(i);
    return a.size() == b.size() ? -1 : long(std::min(a.size(), b.size()));
}

void poke(Bytes& b, size_t at, std::initializer_list<uint8_t> bytes)
{
    std::copy(bytes.begin(), bytes.end(), b.begin() + long(at));
}

TEST(WriteLibrary, OneIconIsLaidOutByteForByte)
{
    IconLibrary lib;
    addIcon(lib, "A", {{32, 32, 4}});
    const Bytes file = written(lib);
    ASSERT_FALSE(file.empty());

    Bytes expected(975, 0);
    poke(expected, 0, {'M', 'Z'});
    poke(expected, 0x3C, {0x50, 0, 0, 0});
    std::memcpy(&expected[0x40], "Sigilscope(^-^)v", 16);
    poke(expected, 0x50, {'N', 'E'});
    poke(expected, 0x50 + 0x24, {0x40, 0});
    poke(expected, 0x50 + 0x26, {0x6C, 0});  // resident names at 0xBC
    poke(expected, 0x50 + 0x36, {2});
    poke(expected, 0x50 + 0x3F, {3});
    poke(expected, 0x90, {0, 0});                          // shift 0
    poke(expected, 0x92, {0x0E, 0x80, 1, 0, 0, 0, 0, 0});  // group icons: 1
    poke(expected, 0x9A, {195, 0, 20, 0, 0x30, 0x1C, 0x01, 0x80, 0, 0, 0, 0});
    poke(expected, 0xA6, {0x03, 0x80, 1, 0, 0, 0, 0, 0});  // icons: 1
    poke(expected, 0xAE, {215, 0, 0xE8, 0x02, 0x30, 0x1C, 0x01, 0x80, 0, 0, 0, 0});
    poke(expected, 0xBA, {0, 0});
    poke(expected, 0xBC, {3, 'I', 'C', 'L', 1, 'A', 0});
    poke(expected, 195, {0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x20, 0x20, 0x10, 0x00,
                         0x01, 0x00, 0x04, 0x00, 0xE8, 0x02, 0x00, 0x00, 0x01, 0x00});
    const IconDevice& d = lib.at(0).devices[0];
    ASSERT_EQ(d.allocatedBytes(), 744);
    std::memcpy(&expected[215], d.blockData(), 744);
    std::memcpy(&expected[959], "Sigilscope(^-^)v", 16);

    EXPECT_EQ(file.size(), 975u);
    EXPECT_EQ(firstDifference(file, expected), -1);
}

TEST(WriteLibrary, LargeDeviceRaisesTheShift)
{
    IconLibrary lib;
    addIcon(lib, "A", {{256, 256, 32}});
    const Bytes file = written(lib);
    ASSERT_GE(file.size(), 0xBAu);
    EXPECT_EQ(getU16(&file[0x90]), 3);
    // f0 = 195 rises to 200 for the group directory (20 bytes), and 220 to
    // 224 for the image.
    EXPECT_EQ(getU16(&file[0x9A]), 200 >> 3);
    EXPECT_EQ(getU16(&file[0xAE]), 224 >> 3);
    EXPECT_EQ(getU16(&file[0xAE + 2]), 8232);  // 270376, low 16 bits
    EXPECT_EQ(getU32(&file[200 + 6 + 8]), 270376u);
    // The gaps are zero, the block sits at its offset, the end is aligned.
    EXPECT_EQ(Bytes(file.begin() + 195, file.begin() + 200), Bytes(5, 0));
    EXPECT_EQ(Bytes(file.begin() + 220, file.begin() + 224), Bytes(4, 0));
    const IconDevice& d = lib.at(0).devices[0];
    EXPECT_EQ(std::memcmp(&file[224], d.blockData(), 270376), 0);
    ASSERT_EQ(file.size(), 224u + 270376 + 16);
    EXPECT_EQ(std::memcmp(&file[224 + 270376], "Sigilscope(^-^)v", 16), 0);
}

TEST(WriteLibrary, EveryOffsetFitsItsFieldAtTheChosenShift)
{
    // Four 256 x 256 devices need shift 4; each shifted offset leads to its
    // record, and the stamp follows the zero fill to a multiple of 16.
    IconLibrary lib;
    addIcon(lib, "x", {{256, 256, 24}, {256, 256, 32}});
    addIcon(lib, "yy", {{16, 16, 1}, {256, 256, 8}, {256, 256, 4}});
    const Bytes file = written(lib);
    ASSERT_FALSE(file.empty());
    ASSERT_GT(file.size(), 0x90u);
    const int shift = getU16(&file[0x90]);
    EXPECT_EQ(shift, 4);
    const uint8_t* icons = &file[0x9A + 12 * 2 + 8];
    int k = 0;
    for (int i = 0; i < lib.size(); ++i) {
        for (const IconDevice& d : lib.at(i).devices) {
            const size_t at = size_t(getU16(icons + 12 * k)) << shift;
            ASSERT_LE(at + size_t(d.allocatedBytes()), file.size());
            EXPECT_EQ(std::memcmp(&file[at], d.blockData(), size_t(d.allocatedBytes())), 0) << k;
            EXPECT_EQ(getU16(icons + 12 * k + 6), 0x8001 + k);
            ++k;
        }
    }
    EXPECT_EQ((file.size() - 16) % 16, 0u);
}

// A library of `icons` icons that hold `devices` tiny devices in all, dealt
// out in turn.
void fillLibrary(IconLibrary& lib, int icons, int devices)
{
    for (int i = 0; i < icons; ++i) {
        auto entry = std::make_unique<IconEntry>();
        entry->name = "i";
        lib.appendIcon(std::move(entry));
    }
    for (int k = 0; k < devices; ++k)
        ASSERT_GE(lib.addDevice(k % icons, 1 + k % 80, 1 + k / 80, 1), 0);
}

struct LimitCase {
    const char* label;
    int icons;
    int devices;
    bool fits;
};

class SizeLimit : public testing::TestWithParam<LimitCase> {};

TEST_P(SizeLimit, IconsAndDevicesTogetherAtMost5454)
{
    const LimitCase& c = GetParam();
    IconLibrary lib;
    fillLibrary(lib, c.icons, c.devices);
    ProgressRecorder progress;
    lib.setProgressObserver(&progress);
    TempDir dir;
    const std::string path = dir.file("limit.icl");
    const WriteResult result = writeLibrary(lib, path);
    EXPECT_EQ(result.status, c.fits ? WriteStatus::Written : WriteStatus::CannotStore);
    EXPECT_EQ(result.reason.empty(), c.fits) << result.reason;
    EXPECT_EQ(exists(path), c.fits);
    if (c.fits) {
        const Bytes file = readFile(path);
        EXPECT_EQ(getU16(&file[0x50 + 0x26]), 84 + 12 * (c.icons + c.devices));
        // Near the limit the name table lies past 64 KB; it reads back whole.
        IconLibrary back;
        ASSERT_TRUE(readNeLibrary(back, file, path, "limit"));
        EXPECT_EQ(back.size(), std::min(c.icons, c.devices));
        EXPECT_EQ(back.deviceTotal(), c.devices);
    } else {
        EXPECT_TRUE(progress.notices.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SizeLimit,
    testing::Values(LimitCase{"oneIcon5453Devices", 1, 5453, true}, LimitCase{"oneIcon5454Devices", 1, 5454, false},
                    LimitCase{"icons5454", 5454, 0, true}, LimitCase{"icons5455", 5455, 0, false},
                    LimitCase{"split5447", 2000, 3447, true}, LimitCase{"split5448", 2000, 3448, true},
                    LimitCase{"split5454", 2000, 3454, true}, LimitCase{"split5455", 2000, 3455, false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(WriteLibrary, CountsTheDevicesThatAreReallyThere)
{
    // A device added behind the library's back is written all the same.
    IconLibrary lib;
    addIcon(lib, "a", {{16, 16, 4}});
    IconDevice extra;
    ASSERT_TRUE(extra.makeBlank(32, 32, 4));
    lib.at(0).devices.push_back(std::move(extra));
    ASSERT_EQ(lib.deviceTotal(), 1);
    const Bytes file = written(lib);
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(getU16(&file[0x9A + 12 + 2]), 2);  // icon resources
    IconLibrary back;
    readNeLibrary(back, file, "a.icl", "a");
    ASSERT_EQ(back.size(), 1);
    EXPECT_EQ(back.at(0).deviceCount(), 2);
}

TEST(WriteLibrary, EmptyLibraryTouchesNothing)
{
    IconLibrary lib;
    ProgressRecorder progress;
    lib.setProgressObserver(&progress);
    TempDir dir;
    EXPECT_EQ(writeLibrary(lib, dir.file("none.icl")).status, WriteStatus::NothingToWrite);
    EXPECT_FALSE(exists(dir.file("none.icl")));
    EXPECT_EQ(writeLibrary(lib, "/nonexistent-folder/none.icl").status, WriteStatus::NothingToWrite);
    EXPECT_TRUE(progress.notices.empty());
}

TEST(WriteLibrary, ProgressNotices)
{
    IconLibrary lib;
    addIcon(lib, "a", {{16, 16, 4}});
    addIcon(lib, "b", {});
    addIcon(lib, "c", {{16, 16, 4}, {32, 32, 8}});
    ProgressRecorder progress;
    lib.setProgressObserver(&progress);
    TempDir dir;
    ASSERT_TRUE(writeLibrary(lib, dir.file("p.icl")).ok());
    const std::vector<Notice> expected = {{0, 0}, {1, 0}, {1, 0}, {1, 33}, {1, 66}, {2, 0}, {2, 33}, {2, 66}, {3, 0}};
    EXPECT_EQ(progress.notices, expected);
}

TEST(WriteLibrary, FileErrorsAnswerFalseWithoutTheLastNotice)
{
    IconLibrary lib;
    addIcon(lib, "a", {{16, 16, 4}});
    ProgressRecorder progress;
    lib.setProgressObserver(&progress);
    const WriteResult result = writeLibrary(lib, "/nonexistent-folder/x.icl");
    EXPECT_EQ(result.status, WriteStatus::FileFailed);
    EXPECT_EQ(result.error, ENOENT);
    ASSERT_FALSE(progress.notices.empty());
    for (const Notice& n : progress.notices)
        EXPECT_NE(n.first, 3);
}

TEST(WriteLibrary, FailedWriteLeavesTheOldFileIntact)
{
    TempDir dir;
    const std::string path = dir.file("keep.icl");
    const Bytes old = {'o', 'l', 'd'};
    ASSERT_TRUE(writeFile(path, old));
    IconLibrary lib;
    addIcon(lib, "big", {{256, 256, 32}});
    ProgressRecorder progress;
    lib.setProgressObserver(&progress);

    const bool ok = underFileSizeLimit(4096, [&] { return writeLibrary(lib, path).ok(); });

    EXPECT_FALSE(ok);
    EXPECT_EQ(readFile(path), old);
    EXPECT_EQ(filesIn(dir), 1u);
    ASSERT_FALSE(progress.notices.empty());
    EXPECT_EQ(progress.notices.back(), Notice(2, 0));
}

// Writing and reading back gives the same icons, in the same order, with the
// same names and devices; icons without devices are dropped on reading.
TEST(WriteLibrary, ReadsBackTheSameLibrary)
{
    const std::vector<std::string> names = {"plain", "アイコン", "Ünïcødé ✓", "Ελληνικά", "ﾓﾉｸﾛ", "¥〜", "nothing"};
    IconLibrary lib;
    addIcon(lib, names[0], {{16, 16, 1}, {32, 32, 4}});
    addIcon(lib, names[1], {{16, 16, 8}, {32, 32, 24}, {48, 48, 32}});
    addIcon(lib, names[2], {{256, 256, 32}});
    addIcon(lib, names[3], {{20, 10, 4}, {24, 24, 16}});
    addIcon(lib, names[4], {{32, 32, 1}});
    addIcon(lib, names[5], {{48, 48, 8}});
    addIcon(lib, names[6], {});
    // Pixels that are not all blank, so a misplaced block would show.
    for (int i = 0; i < lib.size(); ++i)
        for (IconDevice& d : lib.at(i).devices)
            for (int64_t b = 40; b < d.allocatedBytes(); b += 7)
                d.blockData()[b] = uint8_t(b * 31 + i);

    TempDir dir;
    const std::string path = dir.file("round.icl");
    ASSERT_TRUE(writeLibrary(lib, path).ok());
    IconLibrary back;
    ASSERT_TRUE(readNeLibrary(back, readFile(path), path, "round"));
    ASSERT_EQ(back.size(), lib.size() - 1);
    EXPECT_EQ(back.deviceTotal(), lib.deviceTotal());
    for (int i = 0; i < back.size(); ++i) {
        EXPECT_EQ(back.at(i).name, names[size_t(i)]);
        EXPECT_EQ(back.at(i).source, path + "," + std::to_string(i));
        lib.at(i).sortDevices();
        EXPECT_TRUE(back.at(i).sameIcon(lib.at(i))) << names[size_t(i)];
    }
}

TEST(WriteLibrary, LongAndEmptyNames)
{
    IconLibrary lib;
    std::string longName;
    for (int i = 0; i < 100; ++i)
        longName += "✓";  // 300 bytes, no code in the code page
    addIcon(lib, longName, {{16, 16, 4}});
    addIcon(lib, "", {{16, 16, 4}});
    addIcon(lib, "after", {{16, 16, 4}});
    const Bytes file = written(lib, "names.icl");
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(file[getU16(&file[0x50 + 0x26]) + 0x50 + 4], 255);
    IconLibrary back;
    readNeLibrary(back, file, "names.icl", "names");
    ASSERT_EQ(back.size(), 3);
    EXPECT_EQ(back.at(0).name, longName.substr(0, 255));
    // An empty name would end the name table; it is stored as the name the
    // reader gives an icon without one.
    EXPECT_EQ(back.at(1).name, "names.1");
    EXPECT_EQ(back.at(2).name, "after");
}

// icoutils' wrestool reads NE resource tables on its own: every group icon
// it rebuilds from our file must be the .ico file of that icon. (Only at
// shift 0: wrestool takes the length fields in alignment units, while ours
// hold plain byte counts.)
TEST(WriteLibrary, WrestoolFindsEveryGroupIcon)
{
    const QString wrestool = QStandardPaths::findExecutable("wrestool");
    if (wrestool.isEmpty())
        GTEST_SKIP() << "wrestool (icoutils) not installed";
    IconLibrary lib;
    addIcon(lib, "a", {{16, 16, 8}, {48, 48, 32}, {64, 64, 32}});
    addIcon(lib, "b", {{16, 16, 4}});
    addIcon(lib, "c", {{32, 32, 1}, {32, 32, 8}, {48, 48, 24}});
    TempDir dir;
    const std::string path = dir.file("w.icl");
    ASSERT_TRUE(writeLibrary(lib, path).ok());
    ASSERT_EQ(getU16(&readFile(path)[0x90]), 0);
    for (int i = 0; i < lib.size(); ++i) {
        QProcess tool;
        tool.start(wrestool, {"-x", "-t14", "-n" + QString::number(i + 1), QString::fromStdString(path)});
        ASSERT_TRUE(tool.waitForFinished(30000));
        const QByteArray out = tool.readAllStandardOutput();
        const auto ico = encodeIconFile(lib.at(i));
        ASSERT_TRUE(ico);
        // wrestool pads its output with as many zero bytes as the group
        // resource is long (it does so for PE modules too).
        const Bytes theirs(out.begin(), out.end());
        ASSERT_EQ(theirs.size(), ico->size() + 6 + 14 * lib.at(i).devices.size()) << "group " << i + 1;
        EXPECT_EQ(Bytes(theirs.begin(), theirs.begin() + long(ico->size())), *ico) << "group " << i + 1;
        EXPECT_EQ(std::count(theirs.begin() + long(ico->size()), theirs.end(), 0), long(theirs.size() - ico->size()));
    }
}

}  // namespace
