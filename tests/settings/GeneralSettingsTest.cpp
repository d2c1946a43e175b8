#include <gtest/gtest.h>

#include <sstream>

#include "settings/GeneralSettings.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"

using namespace sigil;
using sigil::test::readTextFile;
using sigil::test::writeTextFile;

namespace {

class GeneralSettingsTest : public testing::Test {
protected:
    void SetUp() override { file.setPath(path); }
    GeneralSettings loaded(const std::string& text)
    {
        writeTextFile(path, text);
        GeneralSettings g;
        g.load(file);
        return g;
    }
    GeneralSettings loadedAgain()
    {
        GeneralSettings g;
        g.load(file);
        return g;
    }

    test::TempDir dir;
    std::string path = dir.file("Tamberly.ini");
    SettingsFile file;
};

// Every field but the lists, in the record's order, as key=value text.
std::string describe(const GeneralSettings& g)
{
    std::ostringstream s;
    s << "Grid=" << g.grid << " Horiz=" << g.horizontal << " GridColor=" << std::hex << g.gridColor << std::dec
      << " CopyColumn=" << g.snapColumns << " CopySeparate=" << g.snapSpacing << " SaveType=" << g.saveNaming
      << " SaveText=" << g.savePrefix << " SaveKeta=" << g.saveDigits << " OpenPath=" << g.openPath
      << " OpenPath2=" << g.bitmapOpenPath << " Property=" << g.propertyShown << " Editor=" << g.useEditor
      << " EditorPath=" << g.editorPath << " DefaultWidth=" << g.defaultWidth << " DefaultHeight=" << g.defaultHeight
      << " DefaultBitStore=" << g.defaultBitCount << " Size=" << g.toolbarSize;
    return s.str();
}

TEST_F(GeneralSettingsTest, NoFileGivesTheDefaults)
{
    GeneralSettings g;
    g.grid = 9;
    g.toolbarItems = {5};
    g.recentPaths = {"/x"};
    g.load(file);
    EXPECT_EQ(describe(g), "Grid=0 Horiz=0 GridColor=808080 CopyColumn=0 CopySeparate=3 SaveType=0 SaveText=icon "
                           "SaveKeta=0 OpenPath= OpenPath2= Property=0 Editor=0 EditorPath= DefaultWidth=32 "
                           "DefaultHeight=32 DefaultBitStore=8 Size=0");
    EXPECT_EQ(g.toolbarItems, defaultToolbarItems());
    EXPECT_TRUE(g.recentPaths.empty());
    EXPECT_EQ(readTextFile(path), "<missing>");  // loading writes nothing
}

TEST_F(GeneralSettingsTest, DefaultToolbarHasFourteenItems)
{
    EXPECT_EQ(defaultToolbarItems(), (std::vector<int32_t>{57665, 32980, 1, 32771, 32772, 32976, 32982, 1, 32995, 32996,
                                                           32997, 32998, 32999, 33000}));
}

TEST_F(GeneralSettingsTest, PresentButEmptyKeysReadAsZero)
{
    const GeneralSettings g = loaded("[Sigilscope]\nGrid=\nCopySeparate=\nDefaultWidth=\n");
    EXPECT_EQ(g.grid, 0);
    EXPECT_EQ(g.snapSpacing, 0);
    EXPECT_EQ(g.defaultWidth, 0);
    EXPECT_EQ(g.defaultHeight, 32);
}

struct ToolbarCase {
    const char* label;
    std::string section;
    std::vector<int32_t> expected;  // empty: the default toolbar
};

class ToolbarLoads : public GeneralSettingsTest, public testing::WithParamInterface<ToolbarCase> {};

TEST_P(ToolbarLoads, StopAtTheFirstZero)
{
    const GeneralSettings g = loaded("[SigilscopeToolBar]\n" + GetParam().section);
    const auto& expected = GetParam().expected.empty() ? defaultToolbarItems() : GetParam().expected;
    EXPECT_EQ(g.toolbarItems, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToolbarLoads,
    testing::Values(ToolbarCase{"ExitOnly", "item0=57665\nitem1=0\nitem2=32980\n", {57665}},
                    ToolbarCase{"ThreeThenGap", "item0=1\nitem1=32771\nitem2=1\nitem4=5\n", {1, 32771, 1}},
                    ToolbarCase{"FirstIsZero", "item0=0\nitem1=32980\n", {}},
                    ToolbarCase{"EmptyFirst", "item0=\nitem1=32980\n", {}}, ToolbarCase{"NoItems", "Size=2\n", {}}),
    [](const auto& info) { return info.param.label; });

TEST_F(GeneralSettingsTest, SaveAndLoadKeepEveryField)
{
    GeneralSettings g;
    g.load(file);
    g.grid = 1;
    g.horizontal = 2;
    g.gridColor = 0x0A141E;
    g.snapColumns = 5;
    g.snapSpacing = 9;
    g.saveNaming = 1;
    g.savePrefix = "ico_";
    g.saveDigits = 3;
    g.openPath = "/home/u/icons/";
    g.bitmapOpenPath = "/home/u/pic.bmp";
    g.propertyShown = 1;
    g.useEditor = 1;
    g.editorPath = "/usr/bin/gimp";
    g.defaultWidth = 48;
    g.defaultHeight = 24;
    g.defaultBitCount = 32;
    g.toolbarItems = {32771, 1, 32772};
    g.toolbarSize = 2;
    g.makeSizes = {16, 48};
    g.save();

    const GeneralSettings r = loadedAgain();
    EXPECT_EQ(r.makeSizes, (std::vector<int32_t>{16, 48}));
    EXPECT_EQ(describe(r), "Grid=1 Horiz=2 GridColor=a141e CopyColumn=5 CopySeparate=9 SaveType=1 SaveText=ico_ "
                           "SaveKeta=3 OpenPath=/home/u/icons/ OpenPath2=/home/u/pic.bmp Property=1 Editor=1 "
                           "EditorPath=/usr/bin/gimp DefaultWidth=48 DefaultHeight=24 DefaultBitStore=32 Size=2");
    EXPECT_EQ(r.toolbarItems, (std::vector<int32_t>{32771, 1, 32772}));
    EXPECT_NE(readTextFile(path).find("GridColor=30,20,10\n"), std::string::npos);
    EXPECT_NE(readTextFile(path).find("item3=0\n"), std::string::npos);
}

// The make-sizes choice as the file keeps it: what is no size from 1 to 256
// is dropped, and nothing ticked stays nothing.
TEST(MakeSizesText, KeepsOnlySizesAnIcoHolds)
{
    EXPECT_EQ(sizesFromText("16,32"), (std::vector<int32_t>{16, 32}));
    EXPECT_EQ(sizesFromText("16,x,300,,0,48"), (std::vector<int32_t>{16, 48}));
    EXPECT_TRUE(sizesFromText("").empty());
    EXPECT_EQ(sizesText({16, 256}), "16,256");
}

TEST_F(GeneralSettingsTest, AnEmptyToolbarStaysEmptyUntilButtonsAreAddedAgain)
{
    GeneralSettings g = loaded("[SigilscopeToolBar]\nitem0=32771\nitem1=0\n");
    g.toolbarItems.clear();
    g.save();
    EXPECT_TRUE(loadedAgain().toolbarItems.empty());

    g.toolbarItems = {32772};
    g.save();
    EXPECT_EQ(loadedAgain().toolbarItems, (std::vector<int32_t>{32772}));
    // A file whose list is empty without that choice still gets the default.
    EXPECT_EQ(loaded("[SigilscopeToolBar]\nEmpty=0\nitem0=0\n").toolbarItems, defaultToolbarItems());
}

TEST_F(GeneralSettingsTest, SaveBeforeLoadWritesNothing)
{
    GeneralSettings g;
    g.save();
    g.addRecent("/a/b.ico", true, false);
    EXPECT_EQ(readTextFile(path), "<missing>");
    EXPECT_EQ(g.recentPaths, (std::vector<std::string>{"/a/b.ico"}));
}

TEST_F(GeneralSettingsTest, SaveDoesNotWriteTheRecentList)
{
    GeneralSettings g = loaded("[SigilscopeRecent]\npath0=/x\n");
    g.recentPaths = {"/y", "/z"};
    g.save();
    EXPECT_EQ(loadedAgain().recentPaths, (std::vector<std::string>{"/x"}));
}

TEST_F(GeneralSettingsTest, RecentListReadingStopsAtTheFirstEmptyValue)
{
    const GeneralSettings g = loaded("[SigilscopeRecent]\npath0=/a\npath1=/b\npath2=\npath3=/d\n");
    EXPECT_EQ(g.recentPaths, (std::vector<std::string>{"/a", "/b"}));
}

struct RecentCase {
    const char* label;
    std::vector<std::string> before;
    std::string added;
    std::vector<std::string> after;
};

class AddRecent : public GeneralSettingsTest, public testing::WithParamInterface<RecentCase> {};

TEST_P(AddRecent, MakesThePathTheNewestEntry)
{
    GeneralSettings g;
    g.load(file);
    g.recentPaths = GetParam().before;
    g.addRecent(GetParam().added, true, false);
    EXPECT_EQ(g.recentPaths, GetParam().after);
    EXPECT_EQ(loadedAgain().recentPaths, GetParam().after);
}

std::vector<std::string> numbered(int from, int to)
{
    std::vector<std::string> v;
    for (int i = from; i <= to; ++i)
        v.push_back("/p" + std::to_string(i));
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddRecent,
    testing::Values(RecentCase{"First", {}, "/a", {"/a"}}, RecentCase{"Appended", {"/a"}, "/b", {"/a", "/b"}},
                    RecentCase{"SameAgainBecomesNewest", {"/a", "/b", "/c"}, "/a", {"/b", "/c", "/a"}},
                    RecentCase{"CaseMatters", {"/A.ico"}, "/a.ico", {"/A.ico", "/a.ico"}},
                    RecentCase{"EleventhDropsOldest", numbered(0, 9), "/p10", numbered(1, 10)},
                    RecentCase{"TenAndRepeatKeepsAll",
                               numbered(0, 9),
                               "/p3",
                               {"/p0", "/p1", "/p2", "/p4", "/p5", "/p6", "/p7", "/p8", "/p9", "/p3"}},
                    RecentCase{"OverlongListCut",
                               numbered(0, 13),
                               "/new",
                               {"/p5", "/p6", "/p7", "/p8", "/p9", "/p10", "/p11", "/p12", "/p13", "/new"}}),
    [](const auto& info) { return info.param.label; });

TEST_F(GeneralSettingsTest, AddRecentWritesOpenPathAndTheEndMark)
{
    GeneralSettings g = loaded("[SigilscopeRecent]\npath0=/1\npath1=/2\npath2=/3\n");
    int notices = 0;
    g.recentChanged = [&] { ++notices; };
    g.addRecent("/3", true, false);
    g.addRecent("/icons/x.icl", true, false);
    EXPECT_EQ(notices, 2);
    EXPECT_EQ(g.openPath, "/icons/");
    EXPECT_EQ(readTextFile(path), "[SigilscopeRecent]\npath0=/1\npath1=/2\npath2=/3\npath3=/icons/x.icl\npath4=\n"
                                  "[Sigilscope]\nOpenPath=/icons/\n");
}

TEST_F(GeneralSettingsTest, AddRecentOfAFolderKeepsThePathAsOpenPath)
{
    GeneralSettings g;
    g.load(file);
    int notices = 0;
    g.recentChanged = [&] { ++notices; };
    g.addRecent("/data/icons", false, true);
    EXPECT_EQ(g.openPath, "/data/icons");
    EXPECT_TRUE(g.recentPaths.empty());
    EXPECT_EQ(notices, 0);
    EXPECT_EQ(loadedAgain().openPath, "/data/icons");
    g.addRecent("relative.ico", false, false);
    EXPECT_EQ(g.openPath, "");
}

TEST_F(GeneralSettingsTest, LongJapanesePathsSurviveALoadAndSave)
{
    std::string longPath = "/";
    for (int i = 0; i < 90; ++i)
        longPath += "絵";
    GeneralSettings g = loaded("[Sigilscope]\nOpenPath=" + longPath +
                               "\n[SigilscopeRecent]\npath0=/1\npath1=" + longPath + "\npath2=/3\n");
    EXPECT_EQ(g.openPath, longPath);
    EXPECT_EQ(g.recentPaths, (std::vector<std::string>{"/1", longPath, "/3"}));
    g.save();
    g.addRecent("/4", true, false);
    g.addRecent(longPath + "/x.ico", true, false);
    const GeneralSettings again = loadedAgain();
    EXPECT_EQ(again.recentPaths, (std::vector<std::string>{"/1", longPath, "/3", "/4", longPath + "/x.ico"}));
    EXPECT_EQ(again.openPath, longPath + "/");
}

}  // namespace
