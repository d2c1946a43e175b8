#include <gtest/gtest.h>

#include "support/DeviceMaker.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <sys/stat.h>
#include <vector>

#include "formats/LibraryWriter.h"
#include "formats/LoadJob.h"
#include "support/IconBytes.h"
#include "support/LoadRecorder.h"
#include "support/PeBuilder.h"
#include "support/RiffBytes.h"
#include "support/TempDir.h"

using namespace sigil;
using namespace sigil::test;

namespace {

// Runs one job on its own thread over `paths` and waits for its real end.
void runJob(IconLibrary& lib, LoadThread& job, const std::vector<std::string>& paths, LoadControl& control)
{
    control.pendingPaths = paths;
    ASSERT_TRUE(job.start(lib, control));
    job.wait();
    EXPECT_FALSE(job.running());
}

void runJob(IconLibrary& lib, LoadThread& job, const std::vector<std::string>& paths)
{
    LoadControl control;
    runJob(lib, job, paths, control);
}

std::vector<std::string> sortedNames(const IconLibrary& lib)
{
    std::vector<std::string> names;
    for (int i = 0; i < lib.size(); ++i)
        names.push_back(lib.at(i).name);
    std::sort(names.begin(), names.end());
    return names;
}

const Bytes& threeFrames()
{
    static const Bytes bytes = aniFile({iconFrame(16), iconFrame(24), iconFrame(32)});
    return bytes;
}

TEST(SplitPath, FolderBaseNameAndExtension)
{
    const PathParts p = splitPath("/a/b.c/name.tar.ICO");
    EXPECT_EQ(p.folder, "/a/b.c/");
    EXPECT_EQ(p.baseName, "name.tar");
    EXPECT_EQ(p.extension, ".ICO");
    EXPECT_EQ(splitPath("/a/b.c/noext").extension, "");
    EXPECT_EQ(splitPath("/a/b.c/noext").baseName, "noext");
    EXPECT_EQ(splitPath(".hidden").baseName, "");
    EXPECT_EQ(splitPath(".hidden").extension, ".hidden");
    EXPECT_EQ(lowerExtension(".IcL"), ".icl");
    EXPECT_EQ(lowerExtension(".アイコン"), ".アイコン");
}

TEST(OpenFile, UpperCaseIconExtensionIsAnIconFile)
{
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("LOUD.ICO"), icoFile({iconImage(16, 16, 4)})));
    IconLibrary lib;
    LoadRecorder rec;
    lib.setLoadObserver(&rec);
    ASSERT_TRUE(openFile(lib, dir.file("LOUD.ICO")));
    ASSERT_EQ(lib.size(), 1);
    EXPECT_EQ(lib.at(0).name, "LOUD");
    EXPECT_EQ(lib.at(0).current, 0);
    EXPECT_TRUE(test::drawable(lib.at(0)));
    EXPECT_EQ(rec.added, std::vector<int>{0});
    EXPECT_EQ(lib.deviceTotal(), 1);
}

// An SVG document opens as one icon of the sizes an .ico holds; text that
// is no SVG is refused whatever it is called.
TEST(OpenFile, SvgIsDrawnAtTheIcoSizes)
{
    TempDir dir;
    const std::string svg = R"(<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48">)"
                            R"(<circle cx="24" cy="24" r="20" fill="#c03"/></svg>)";
    ASSERT_TRUE(writeFile(dir.file("mark.svg"), Bytes(svg.begin(), svg.end())));
    ASSERT_TRUE(writeFile(dir.file("not.svg"), Bytes{'h', 'i'}));
    IconLibrary lib;
    ASSERT_TRUE(openFile(lib, dir.file("mark.svg")));
    EXPECT_FALSE(openFile(lib, dir.file("not.svg")));
    ASSERT_EQ(lib.size(), 1);
    EXPECT_EQ(lib.at(0).name, "mark");
    std::vector<int> sides;
    for (const IconDevice& d : lib.at(0).devices)
        sides.push_back(d.width);
    EXPECT_EQ(sides, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 96, 128, 256}));
    EXPECT_TRUE(test::drawable(lib.at(0), 48));
}

TEST(OpenFile, EmptyPathAndUnreadableFilesAreRefused)
{
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("text.ico"), Bytes{'h', 'i'}));
    IconLibrary lib;
    EXPECT_FALSE(openFile(lib, ""));
    EXPECT_FALSE(openFile(lib, dir.file("text.ico")));
    EXPECT_TRUE(lib.empty());
}

TEST(LoadJob, OnlyPathMissingEndsAtOnceWithFinished)
{
    IconLibrary lib;
    LoadRecorder rec;
    lib.setLoadObserver(&rec);
    LoadThread job;
    runJob(lib, job, {"/no/such/path.ani"});
    EXPECT_EQ(rec.finished, 1);
    EXPECT_TRUE(lib.empty());
}

TEST(LoadJob, RunsWithoutAnObserver)
{
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("a.ico"), icoFile({iconImage(16, 16, 4)})));
    IconLibrary lib;
    LoadControl control;
    control.pendingPaths = {dir.file("a.ico"), dir.file("a.ico")};
    EXPECT_EQ(runLoadJob(lib, control), 0);
    EXPECT_EQ(lib.size(), 2);
}

TEST(ScanFolder, OpensEveryFileBelowAndFollowsNoLinkLoops)
{
    TempDir dir;
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("sub/deeper"))));
    ASSERT_TRUE(writeFile(dir.file("top.ico"), icoFile({iconImage(16, 16, 4)})));
    ASSERT_TRUE(writeFile(dir.file(".hidden.ico"), icoFile({iconImage(16, 16, 8)})));
    ASSERT_TRUE(writeFile(dir.file("sub/deeper/low.ico"), icoFile({iconImage(32, 32, 4)})));
    ASSERT_TRUE(writeFile(dir.file("notes.txt"), Bytes{'x'}));
    // A link back to the top folder must not loop.
    ASSERT_TRUE(QFile::link(QString::fromStdString(dir.path()), QString::fromStdString(dir.file("sub/loop"))));
    IconLibrary lib;
    EXPECT_FALSE(scanFolder(lib, dir.path()));  // the text file is not an icon
    EXPECT_EQ(sortedNames(lib), (std::vector<std::string>{".hidden", "low", "top"}));
}

TEST(ScanFolder, EntriesLoadInNameOrderWithFoldersAmongFiles)
{
    // Made in a scrambled order, so the file system's own order is not
    // the name order by chance.
    TempDir dir;
    std::vector<std::string> expected;
    for (int i = 1; i <= 60; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "%05d", i);
        expected.push_back(name);
    }
    expected.insert(expected.begin() + 30, "00030x");  // inside folder 00030a
    // An animated cursor, read on the scanning thread, between icon files
    // read ahead on workers.
    ASSERT_TRUE(writeFile(dir.file("00045a.ani"), threeFrames()));
    for (size_t k = 0; k < 61; ++k) {
        const std::string& name = expected[(k * 37) % 61];
        if (name == "00030x") {
            ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("00030a"))));
            ASSERT_TRUE(writeFile(dir.file("00030a/00030x.ico"), icoFile({iconImage(16, 16, 4)})));
        } else {
            ASSERT_TRUE(writeFile(dir.file(name + ".ico"), icoFile({iconImage(16, 16, 4)})));
        }
    }
    expected.insert(std::find(expected.begin(), expected.end(), "00046"), {"00045a_0", "00045a_1", "00045a_2"});
    IconLibrary lib;
    EXPECT_TRUE(scanFolder(lib, dir.path()));
    std::vector<std::string> names;
    for (int i = 0; i < lib.size(); ++i)
        names.push_back(lib.at(i).name);
    EXPECT_EQ(names, expected);
}

TEST(ScanFolder, PipesAndDevicesAreNeverOpened)
{
    // Opening a named pipe would wait for a writer forever.
    TempDir dir;
    ASSERT_EQ(mkfifo(dir.file("pipe.ico").c_str(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", QString::fromStdString(dir.file("zero.ico"))));
    ASSERT_TRUE(writeFile(dir.file("real.ico"), icoFile({iconImage(16, 16, 4)})));
    IconLibrary lib;
    EXPECT_FALSE(scanFolder(lib, dir.path()));
    ASSERT_EQ(lib.size(), 1);
    EXPECT_EQ(lib.at(0).name, "real");
    EXPECT_FALSE(openFile(lib, dir.file("pipe.ico")));
    EXPECT_FALSE(openFile(lib, dir.file("zero.ico")));
}

TEST(ScanFolder, EmptyFolderAnswersTrue)
{
    TempDir dir;
    IconLibrary lib;
    EXPECT_TRUE(scanFolder(lib, dir.path()));
}

TEST(LoadJob, FolderWithIconTextAndAnimatedCursorBelow)
{
    TempDir dir;
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("sub"))));
    ASSERT_TRUE(writeFile(dir.file("icon.ico"), icoFile({iconImage(16, 16, 4)})));
    ASSERT_TRUE(writeFile(dir.file("readme.txt"), Bytes{'n', 'o', 't', 'e'}));
    ASSERT_TRUE(writeFile(dir.file("sub/spin.ani"), threeFrames()));
    IconLibrary lib;
    LoadRecorder rec;
    lib.setLoadObserver(&rec);
    LoadThread job;
    runJob(lib, job, {dir.path()});
    EXPECT_EQ(sortedNames(lib), (std::vector<std::string>{"icon", "spin_0", "spin_1", "spin_2"}));
    EXPECT_EQ(rec.added, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(rec.finished, 1);
    EXPECT_EQ(lib.deviceTotal(), 4);
}

TEST(OpenFile, AnimatedCursorExtensionInAnyCase)
{
    TempDir dir;
    for (const std::string name : {"LOUD.ANI", "Mixed.aNi", "quiet.ani"}) {
        ASSERT_TRUE(writeFile(dir.file(name), threeFrames()));
        IconLibrary lib;
        ASSERT_TRUE(openFile(lib, dir.file(name))) << name;
        ASSERT_EQ(lib.size(), 3) << name;
        EXPECT_EQ(lib.at(2).name, splitPath(name).baseName + "_2");
    }
    // An animated cursor that is not RIFF is refused like any unreadable file.
    ASSERT_TRUE(writeFile(dir.file("fake.ani"), icoFile({iconImage(16, 16, 4)})));
    IconLibrary lib;
    EXPECT_FALSE(openFile(lib, dir.file("fake.ani")));
    EXPECT_TRUE(lib.empty());
}

TEST(LoadJob, CancelDuringFolderScanStopsBeforeTheNextEntry)
{
    TempDir dir;
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("many"))));
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(writeFile(dir.file("many/" + std::to_string(i) + ".ico"), icoFile({iconImage(16, 16, 4)})));
    ASSERT_TRUE(writeFile(dir.file("later.ico"), icoFile({iconImage(32, 32, 4)})));
    IconLibrary lib;
    LoadControl control;
    LoadRecorder rec;
    rec.onAdded = [&](int index) {
        if (index == 0)
            control.requestCancel();
    };
    lib.setLoadObserver(&rec);
    LoadThread job;
    runJob(lib, job, {dir.file("many"), dir.file("later.ico")}, control);
    EXPECT_EQ(lib.size(), 1);  // the icon added before the request stays
    EXPECT_EQ(rec.finished, 1);
    EXPECT_TRUE(control.cancelRequested);
    EXPECT_FALSE(control.stopRequested);
}

struct StopCase {
    const char* what;
    std::vector<int> requestsAfterFrame;  // cancel requests made as frame i arrives
    int icons;
};

class LoadJobStop : public testing::TestWithParam<StopCase> {};

TEST_P(LoadJobStop, AnimatedCursorFinishesUnlessStopped)
{
    // An animated cursor finishes its file after a cancel; the path after it
    // is not opened. A second request stops it between frames.
    const StopCase c = GetParam();
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("spin.ani"), aniFile({iconFrame(16), iconFrame(24), iconFrame(32), iconFrame(48)})));
    ASSERT_TRUE(writeFile(dir.file("next.ico"), icoFile({iconImage(16, 16, 4)})));
    IconLibrary lib;
    LoadControl control;
    LoadRecorder rec;
    rec.onAdded = [&](int index) {
        for (int i = 0; index < int(c.requestsAfterFrame.size()) && i < c.requestsAfterFrame[size_t(index)]; ++i)
            control.requestCancel();
    };
    lib.setLoadObserver(&rec);
    LoadThread job;
    runJob(lib, job, {dir.file("spin.ani"), dir.file("next.ico")}, control);
    ASSERT_EQ(lib.size(), c.icons);
    for (int i = 0; i < lib.size(); ++i) {
        EXPECT_EQ(lib.at(i).name, "spin_" + std::to_string(i));
        EXPECT_EQ(lib.at(i).deviceCount(), 1);
    }
    EXPECT_EQ(lib.deviceTotal(), c.icons);
    EXPECT_EQ(rec.finished, 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, LoadJobStop,
                         testing::Values(StopCase{"cancel", {1}, 4}, StopCase{"cancelThenStop", {1, 1}, 2},
                                         StopCase{"stopAtOnce", {2}, 1}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST(LoadJob, JobsInARowReuseTheLibrary)
{
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("spin.ani"), threeFrames()));
    ASSERT_TRUE(writeFile(dir.file("one.ico"), icoFile({iconImage(16, 16, 4)})));
    IconLibrary lib;
    LoadControl control;
    LoadRecorder rec;
    // The first job is stopped after its first icon; the next job starts
    // with the flags cleared and runs to its end.
    rec.onAdded = [&](int index) {
        if (index == 0) {
            control.requestCancel();
            control.requestCancel();
        }
    };
    lib.setLoadObserver(&rec);
    LoadThread job;
    runJob(lib, job, {dir.file("spin.ani")}, control);
    ASSERT_EQ(lib.size(), 1);
    EXPECT_TRUE(control.stopRequested);

    runJob(lib, job, {dir.file("one.ico"), dir.file("spin.ani")}, control);
    EXPECT_EQ(sortedNames(lib), (std::vector<std::string>{"one", "spin_0", "spin_0", "spin_1", "spin_2"}));
    EXPECT_EQ(rec.added, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(rec.finished, 2);
    EXPECT_FALSE(control.cancelRequested);
    EXPECT_EQ(lib.deviceTotal(), 5);
}

// Modules reach the module reader whatever the case of their extension; the
// signature, not the extension, picks the NE or PE road.
TEST(OpenFile, ModulesGoToTheModuleReaderByExtension)
{
    TempDir dir;
    IconLibrary source;
    ASSERT_TRUE(source.addBlankIcon(32, 32, 4));
    source.at(0).name = "blank";
    ASSERT_TRUE(writeLibrary(source, dir.file("lib.IcL")).ok());
    const Bytes pe = PeBuilder(true).addIconGroup(7, {iconImage(16, 16, 8)}, 1).build().bytes;
    ASSERT_TRUE(writeFile(dir.file("prog.EXE"), pe));
    ASSERT_TRUE(writeFile(dir.file("named-like-a-library.dll"), readFile(dir.file("lib.IcL"))));

    IconLibrary lib;
    ASSERT_TRUE(openFile(lib, dir.file("lib.IcL")));
    ASSERT_TRUE(openFile(lib, dir.file("prog.EXE")));
    ASSERT_TRUE(openFile(lib, dir.file("named-like-a-library.dll")));
    ASSERT_EQ(lib.size(), 3);
    EXPECT_EQ(lib.at(0).name, "blank");
    EXPECT_EQ(lib.at(0).source, dir.file("lib.IcL") + ",0");
    EXPECT_EQ(lib.at(1).name, "7");
    EXPECT_EQ(lib.at(1).source, dir.file("prog.EXE") + ",0");
    EXPECT_EQ(lib.at(2).name, "blank");
    EXPECT_EQ(lib.deviceTotal(), 3);
}

TEST(OpenFile, ControlPanelScreenSaverActiveXAndMuiFilesAreModules)
{
    TempDir dir;
    const Bytes pe = PeBuilder(true).addIconGroup(7, {iconImage(16, 16, 8)}, 1).build().bytes;
    IconLibrary lib;
    for (const char* name : {"a.mun", "b.CPL", "c.scr", "d.Ocx"}) {
        ASSERT_TRUE(writeFile(dir.file(name), pe));
        ASSERT_TRUE(openFile(lib, dir.file(name))) << name;
        EXPECT_EQ(lib.at(lib.size() - 1).source, dir.file(name) + ",0") << name;
    }
    EXPECT_EQ(lib.size(), 4);
}

TEST(OpenFile, ModulesOfOtherKindsAreRefused)
{
    TempDir dir;
    Bytes le(0x100, 0);
    le[0] = 'M';
    le[1] = 'Z';
    le[0x3C] = 0x80;
    le[0x80] = 'L';
    le[0x81] = 'E';
    ASSERT_TRUE(writeFile(dir.file("vxd.exe"), le));
    Bytes lying = le;
    lying[0x3C] = 0xFF;  // new header past the end
    lying[0x3D] = 0xFF;
    ASSERT_TRUE(writeFile(dir.file("lying.dll"), lying));
    ASSERT_TRUE(writeFile(dir.file("short.icl"), Bytes{'M', 'Z'}));
    IconLibrary lib;
    EXPECT_FALSE(openFile(lib, dir.file("vxd.exe")));
    EXPECT_FALSE(openFile(lib, dir.file("lying.dll")));
    EXPECT_FALSE(openFile(lib, dir.file("short.icl")));
    EXPECT_FALSE(openFile(lib, dir.file("absent.icl")));
    EXPECT_TRUE(lib.empty());
}

TEST(OpenFile, GifIsRefusedAndRemembered)
{
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("a.GIF"), Bytes{'G', 'I', 'F', '8', '9', 'a'}));
    IconLibrary lib;
    LoadControl control;
    EXPECT_FALSE(openFile(lib, dir.file("a.GIF"), &control));
    EXPECT_TRUE(control.gifRefused.load());
    EXPECT_TRUE(lib.empty());
}

}  // namespace
