#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <vector>

#include "formats/LoadJob.h"
#include "support/IconBytes.h"
#include "support/TempDir.h"

using namespace sigil;
using namespace sigil::test;

namespace {

class Recorder : public LoadObserver {
public:
    std::vector<int> added;
    int finished = 0;
    int addedMessage(int index) override
    {
        added.push_back(index);
        return 0;
    }
    void finishedMessage() override { ++finished; }
};

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
    Recorder rec;
    lib.setLoadObserver(&rec);
    ASSERT_TRUE(openFile(lib, dir.file("LOUD.ICO")));
    ASSERT_EQ(lib.size(), 1);
    EXPECT_EQ(lib.at(0).name, "LOUD");
    EXPECT_EQ(lib.at(0).current, 0);
    EXPECT_FALSE(lib.at(0).normalIcon.isNull());
    EXPECT_EQ(rec.added, std::vector<int>{0});
    EXPECT_EQ(lib.deviceTotal(), 1);
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
    Recorder rec;
    lib.setLoadObserver(&rec);
    lib.pendingPaths = {"/no/such/path.ico"};
    LoadThread job;
    ASSERT_TRUE(job.start(lib));
    job.wait();
    EXPECT_EQ(rec.finished, 1);
    EXPECT_TRUE(lib.empty());
}

TEST(LoadJob, RunsWithoutAnObserver)
{
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("a.ico"), icoFile({iconImage(16, 16, 4)})));
    IconLibrary lib;
    lib.pendingPaths = {dir.file("a.ico"), dir.file("a.ico")};
    EXPECT_EQ(runLoadJob(lib), 0);
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
    std::vector<std::string> names;
    for (int i = 0; i < lib.size(); ++i)
        names.push_back(lib.at(i).name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{".hidden", "low", "top"}));
}

TEST(ScanFolder, EmptyFolderAnswersTrue)
{
    TempDir dir;
    IconLibrary lib;
    EXPECT_TRUE(scanFolder(lib, dir.path()));
}

}  // namespace
