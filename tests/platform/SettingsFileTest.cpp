#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

#include "platform/SettingsFile.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"

using namespace sigil;
using sigil::test::readTextFile;
using sigil::test::ScopedEnv;
using sigil::test::writeTextFile;

namespace {

constexpr SettingsColor rgb(uint32_t r, uint32_t g, uint32_t b)
{
    return r | (g << 8) | (b << 16);
}

class SettingsFileTest : public testing::Test {
protected:
    void SetUp() override { file.setPath(path); }
    void given(const std::string& text) { writeTextFile(path, text); }
    std::string contents() const { return readTextFile(path); }

    test::TempDir dir;
    std::string path = dir.file("Tamberly.ini");
    SettingsFile file;
};

// --- strings and integers ---------------------------------------------------

// 85 characters of three bytes each: "/ホーム/アイコン/..." as a UTF-8 path.
const std::string kLongJapanese = [] {
    std::string s;
    for (int i = 0; i < 85; ++i)
        s += "ア";
    return s;
}();

struct StringCase {
    const char* label;
    std::string fileText;
    std::string expected;  // readString("Sigilscope", "SaveText", "dflt")
};

class StringReads : public SettingsFileTest, public testing::WithParamInterface<StringCase> {};

TEST_P(StringReads, GiveTheStoredTextOrTheDefault)
{
    given(GetParam().fileText);
    EXPECT_EQ(file.readString("Sigilscope", "SaveText", "dflt"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StringReads,
    testing::Values(StringCase{"NoFile", "", "dflt"}, StringCase{"Plain", "[Sigilscope]\nSaveText=abc\n", "abc"},
                    StringCase{"PresentButEmpty", "[Sigilscope]\nSaveText=\n", ""},
                    StringCase{"MissingKey", "[Sigilscope]\nOther=abc\n", "dflt"},
                    StringCase{"OtherSection", "[Elsewhere]\nSaveText=abc\n", "dflt"},
                    StringCase{"KeyBeforeAnySection", "SaveText=abc\n[Sigilscope]\n", "dflt"},
                    StringCase{"CaseOfKeyAndSection", "[SIGILSCOPE]\nsavetext=abc\n", "abc"},
                    StringCase{"BlanksAroundValue", "[Sigilscope]\n  SaveText =  a b  \n", "a b"},
                    StringCase{"CommentedOut", "[Sigilscope]\n;SaveText=abc\n", "dflt"},
                    StringCase{"FirstOfTwo", "[Sigilscope]\nSaveText=one\nSaveText=two\n", "one"},
                    StringCase{"RepeatedSectionIgnored", "[Sigilscope]\n[X]\n[sigilscope]\nSaveText=abc\n", "dflt"},
                    StringCase{"Crlf", "[Sigilscope]\r\nSaveText=abc\r\n", "abc"},
                    StringCase{"ByteOrderMark", "\xEF\xBB\xBF[Sigilscope]\nSaveText=abc\n", "abc"},
                    StringCase{"Utf8", "[Sigilscope]\nSaveText=アイコン\n", "アイコン"},
                    StringCase{"JapanesePathOf255Bytes", "[Sigilscope]\nSaveText=" + kLongJapanese + "\n",
                               kLongJapanese},
                    StringCase{"Bytes32KiBKept", "[Sigilscope]\nSaveText=" + std::string(32768, 'x') + "\n",
                               std::string(32768, 'x')},
                    StringCase{"LongerEmpty", "[Sigilscope]\nSaveText=" + std::string(32769, 'x') + "\n", ""}),
    [](const auto& info) { return info.param.label; });

struct IntCase {
    const char* label;
    const char* value;  // nullptr: key missing
    int32_t expected;   // readInt with default 7
};

class IntReads : public SettingsFileTest, public testing::WithParamInterface<IntCase> {};

TEST_P(IntReads, GiveTheLeadingNumber)
{
    const IntCase& c = GetParam();
    given(c.value ? std::string("[Sigilscope]\nGrid=") + c.value + "\n" : "[Sigilscope]\n");
    EXPECT_EQ(file.readInt("Sigilscope", "Grid", 7), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, IntReads,
                         testing::Values(IntCase{"Missing", nullptr, 7}, IntCase{"Empty", "", 0},
                                         IntCase{"Plain", "42", 42}, IntCase{"Negative", "-12", -12},
                                         IntCase{"Plus", "+5", 5}, IntCase{"DigitsThenLetters", "12abc", 12},
                                         IntCase{"NoDigits", "abc", 0}, IntCase{"SignOnly", "-", 0},
                                         IntCase{"Max", "2147483647", 2147483647},
                                         IntCase{"Min", "-2147483648", -2147483647 - 1},
                                         IntCase{"TooLarge", "99999999999999999999", 2147483647}),
                         [](const auto& info) { return info.param.label; });

TEST_F(SettingsFileTest, LeadingBlanksOfAnIntegerAreSkipped)
{
    EXPECT_EQ(SettingsFile::parseInt(" \t-3x"), -3);
    EXPECT_EQ(SettingsFile::parseInt("- 3"), 0);
}

// --- colours, points, rectangles --------------------------------------------

struct ColorCase {
    const char* label;
    const char* value;
    SettingsColor expected;  // default 128,128,128
};

class ColorReads : public SettingsFileTest, public testing::WithParamInterface<ColorCase> {};

TEST_P(ColorReads, ParseOrFallBackToTheWholeDefault)
{
    given(std::string("[Sigilscope]\nGridColor=") + GetParam().value + "\n");
    EXPECT_EQ(file.readColor("Sigilscope", "GridColor", rgb(128, 128, 128)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ColorReads,
                         testing::Values(ColorCase{"Plain", "10,20,30", rgb(10, 20, 30)},
                                         ColorCase{"Blanks", " 10 , 20 , 30 ", rgb(10, 20, 30)},
                                         ColorCase{"Tabs", "\t1,\t2,\t3", rgb(1, 2, 3)},
                                         ColorCase{"OneComma", "10,20", rgb(128, 128, 128)},
                                         ColorCase{"LeadingComma", ",10,20", rgb(128, 128, 128)},
                                         ColorCase{"EmptyGreen", "10,,30", rgb(128, 128, 128)},
                                         ColorCase{"Empty", "", rgb(128, 128, 128)},
                                         ColorCase{"NoBlue", "10,20,", rgb(10, 20, 0)},
                                         ColorCase{"LowByteOnly", "300,256,-1", rgb(44, 0, 255)},
                                         ColorCase{"Letters", "a,b,c", rgb(0, 0, 0)}),
                         [](const auto& info) { return info.param.label; });

TEST_F(SettingsFileTest, MissingColourPointAndRectangleGiveTheirDefaults)
{
    given("[Sigilscope]\n");
    EXPECT_EQ(file.readColor("Sigilscope", "GridColor", rgb(1, 2, 3)), rgb(1, 2, 3));
    EXPECT_EQ(file.readPoint("Sigilscope", "PtShortcut", {-1, -1}), (SettingsPoint{-1, -1}));
    EXPECT_EQ(file.readRect("Sigilscope", "FolderRect", {5, 6, 105, 56}), (SettingsRect{5, 6, 105, 56}));
}

struct ShapeCase {
    const char* label;
    const char* value;
    SettingsPoint point;  // default 9,9
    SettingsRect rect;    // default 1,2,3,4
};

class ShapeReads : public SettingsFileTest, public testing::WithParamInterface<ShapeCase> {};

TEST_P(ShapeReads, ParseOrFallBackToTheWholeDefault)
{
    given(std::string("[Sigilscope]\nP=") + GetParam().value + "\nR=" + GetParam().value + "\n");
    EXPECT_EQ(file.readPoint("Sigilscope", "P", {9, 9}), GetParam().point);
    EXPECT_EQ(file.readRect("Sigilscope", "R", {1, 2, 3, 4}), GetParam().rect);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShapeReads,
    testing::Values(ShapeCase{"Two", "5,-7", {5, -7}, {1, 2, 3, 4}},
                    ShapeCase{"Four", "10,20,100,50", {10, 20}, {10, 20, 110, 70}},
                    ShapeCase{"FourWithBlanks", " -10, 20 , 100,50 ", {-10, 20}, {-10, 20, 90, 70}},
                    ShapeCase{"One", "5", {9, 9}, {1, 2, 3, 4}}, ShapeCase{"Leading", ",5", {9, 9}, {1, 2, 3, 4}},
                    ShapeCase{"Three", "1,2,3", {1, 2}, {1, 2, 3, 4}},
                    ShapeCase{"EmptyThird", "1,2,,4", {1, 2}, {1, 2, 3, 4}}),
    [](const auto& info) { return info.param.label; });

TEST_F(SettingsFileTest, ShapesAndColoursSurviveAWrite)
{
    file.writeColor("Sigilscope", "C", rgb(250, 1, 77));
    file.writePoint("Sigilscope", "P", {-30, 40});
    file.writeRect("Sigilscope", "R", {-5, 10, 95, 210});
    EXPECT_EQ(contents(), "[Sigilscope]\nC=250,1,77\nP=-30,40\nR=-5,10,100,200\n");
    EXPECT_EQ(file.readColor("Sigilscope", "C", 0), rgb(250, 1, 77));
    EXPECT_EQ(file.readPoint("Sigilscope", "P", {}), (SettingsPoint{-30, 40}));
    EXPECT_EQ(file.readRect("Sigilscope", "R", {}), (SettingsRect{-5, 10, 95, 210}));
}

// --- writing ------------------------------------------------------------------

struct WriteCase {
    const char* label;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

class Writes : public SettingsFileTest, public testing::WithParamInterface<WriteCase> {};

TEST_P(Writes, ChangeOnlyTheKeyLine)
{
    const WriteCase& c = GetParam();
    if (!c.before.empty())
        given(c.before);
    EXPECT_TRUE(file.writeString(c.section, c.key, c.value));
    EXPECT_EQ(contents(), c.after);
}

const std::string kMixed = "; Sigilscope options\n"
                           "[Sigilscope]\n"
                           "Grid=1\n"
                           "  ; keep me  \n"
                           "Horiz = 0\n"
                           "\n"
                           "[Other]\n"
                           "Grid=5\n"
                           "junk line\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, Writes,
    testing::Values(
        WriteCase{"NewFile", "", "Sigilscope", "Grid", "1", "[Sigilscope]\nGrid=1\n"},
        WriteCase{
            "ReplaceInPlace", kMixed, "Sigilscope", "Grid", "0",
            "; Sigilscope options\n[Sigilscope]\nGrid=0\n  ; keep me  \nHoriz = 0\n\n[Other]\nGrid=5\njunk line\n"},
        WriteCase{"KeepsTheFilesSpelling", kMixed, "SIGILSCOPE", "HORIZ", "1",
                  "; Sigilscope options\n[Sigilscope]\nGrid=1\n  ; keep me  \nHoriz=1\n\n[Other]\nGrid=5\njunk line\n"},
        WriteCase{"MissingKeyAfterLastKey", kMixed, "Sigilscope", "Size", "48",
                  "; Sigilscope options\n[Sigilscope]\nGrid=1\n  ; keep me  \nHoriz = 0\nSize=48\n\n[Other]\nGrid=5\n"
                  "junk line\n"},
        WriteCase{"MissingSection", kMixed, "PlaceBar", "path0", "/tmp", kMixed + "[PlaceBar]\npath0=/tmp\n"},
        WriteCase{"EmptySection", "[A]\n[B]\nx=1\n", "A", "k", "v", "[A]\nk=v\n[B]\nx=1\n"},
        WriteCase{"Crlf", "[Sigilscope]\r\nGrid=1\r\n\r\n[Other]\r\nx=1\r\n", "Sigilscope", "Size", "16",
                  "[Sigilscope]\r\nGrid=1\r\nSize=16\r\n\r\n[Other]\r\nx=1\r\n"},
        WriteCase{"CrlfNewSection", "[A]\r\nx=1\r\n", "B", "y", "2", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n"},
        WriteCase{"NoFinalLineEnd", "[A]\nx=1", "A", "y", "2", "[A]\nx=1\ny=2\n"},
        WriteCase{"NoFinalLineEndReplace", "[A]\nx=1", "A", "x", "2", "[A]\nx=2"},
        WriteCase{"EmptyValue", "[A]\nx=1\n", "A", "x", "", "[A]\nx=\n"},
        WriteCase{"CarriageReturnEndsTheLastLine", "[A]\nx=1\r", "A", "y", "2", "[A]\nx=1\r\r\ny=2\n"},
        WriteCase{"IntoFirstOfRepeatedSection", "[A]\nx=1\n[B]\n[A]\ny=2\n", "A", "y", "3",
                  "[A]\nx=1\ny=3\n[B]\n[A]\ny=2\n"}),
    [](const auto& info) { return info.param.label; });

struct StoreCase {
    const char* label;
    std::string value;
    bool stored;  // false: the write is refused and the old value stays
};

class Stores : public SettingsFileTest, public testing::WithParamInterface<StoreCase> {};

TEST_P(Stores, WriteOnlyWhatReadsBack)
{
    const StoreCase& c = GetParam();
    given("[A]\nx=old\n");
    EXPECT_EQ(file.writeString("A", "x", c.value), c.stored);
    EXPECT_EQ(file.readString("A", "x", "dflt"), c.stored ? c.value : "old");
    if (!c.stored) {
        EXPECT_EQ(contents(), "[A]\nx=old\n");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Stores,
                         testing::Values(StoreCase{"JapanesePathOf255Bytes", kLongJapanese, true},
                                         StoreCase{"Bytes32KiB", std::string(32768, 'x'), true},
                                         StoreCase{"Longer", std::string(32769, 'x'), false},
                                         StoreCase{"InnerBlanksAndMarks", "a = b ; [c]", true},
                                         StoreCase{"Empty", "", true}, StoreCase{"LineBreak", "a\nb", false},
                                         StoreCase{"CarriageReturn", "a\rb", false},
                                         StoreCase{"NotUtf8", "\xFF", false}, StoreCase{"LeadingBlank", " a", false},
                                         StoreCase{"TrailingTab", "a\t", false}),
                         [](const auto& info) { return info.param.label; });

TEST_F(SettingsFileTest, KeysAndSectionsThatWouldNotReadBackAreRefused)
{
    EXPECT_FALSE(file.writeString("A", "k=v", "1"));
    EXPECT_FALSE(file.writeString("A", ";k", "1"));
    EXPECT_FALSE(file.writeString("A]", "k", "1"));
    EXPECT_EQ(contents(), "<missing>");
}

TEST_F(SettingsFileTest, EmptyValueWrittenStaysDistinctFromMissing)
{
    file.writeString("Sigilscope", "CopySeparate", "");
    EXPECT_EQ(file.readInt("Sigilscope", "CopySeparate", 3), 0);
    EXPECT_EQ(file.readInt("Sigilscope", "Missing", 3), 3);
}

TEST_F(SettingsFileTest, IntegersAreWrittenAsDecimal)
{
    file.writeInt("A", "n", -2147483647 - 1);
    file.writeInt("A", "m", 7951);
    EXPECT_EQ(contents(), "[A]\nn=-2147483648\nm=7951\n");
}

TEST_F(SettingsFileTest, FirstWriteCreatesTheFolder)
{
    file.setPath(dir.file("a/b/Tamberly.ini"));
    EXPECT_EQ(file.directory(), dir.path() + "/a/b/");
    EXPECT_TRUE(file.writeInt("A", "n", 1));
    EXPECT_EQ(readTextFile(dir.file("a/b/Tamberly.ini")), "[A]\nn=1\n");
}

TEST_F(SettingsFileTest, FailedWriteLeavesTheOldFileWhole)
{
    // The temporary file beside a name this long cannot be created, so the
    // write fails after the old file was read (even for root).
    const std::string longPath = dir.file(std::string(250, 'n') + ".ini");
    writeTextFile(longPath, "[A]\nx=1\n");
    ASSERT_EQ(readTextFile(longPath), "[A]\nx=1\n");
    file.setPath(longPath);
    EXPECT_FALSE(file.writeInt("A", "x", 2));
    EXPECT_EQ(readTextFile(longPath), "[A]\nx=1\n");
    EXPECT_EQ(file.readInt("A", "x", 0), 1);
}

TEST_F(SettingsFileTest, WriteIntoReadOnlyFolderRewritesAWritableFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    given("[A]\nx=1\n");
    QFile::setPermissions(QString::fromStdString(dir.path()), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_TRUE(file.writeInt("A", "x", 2));
    QFile::setPermissions(QString::fromStdString(dir.path()), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(contents(), "[A]\nx=2\n");
}

// --- code page 932 files ---

// "[Sigilscope]", then OpenPath=C:\アイコン\表示 in code page 932, where the
// second byte of 表 is a backslash, and a comment whose bytes ED 40 read as
// the same character as FA 5C.
const std::string kCp932Key = "[Sigilscope]\r\nOpenPath=C:\\\x83\x41\x83\x43\x83\x52\x83\x93\\\x95\x5C\x8E\xA6\r\n";
const std::string kCp932Comment = "; \xED\x40\r\n";
const std::string kCp932File = kCp932Key + kCp932Comment;

TEST_F(SettingsFileTest, Cp932FileIsReadAndWrittenInItsEncoding)
{
    given(kCp932File);
    EXPECT_EQ(file.readString("Sigilscope", "OpenPath", ""), "C:\\アイコン\\表示");
    EXPECT_TRUE(file.writeString("Sigilscope", "SaveText", "ソフト"));
    EXPECT_EQ(contents(), kCp932Key + "SaveText=\x83\x5C\x83\x74\x83\x67\r\n" + kCp932Comment);
    EXPECT_EQ(file.readString("Sigilscope", "SaveText", ""), "ソフト");
}

TEST_F(SettingsFileTest, ValueWithoutACp932FormIsNotWrittenIntoACp932File)
{
    given(kCp932File);
    EXPECT_FALSE(file.writeString("Sigilscope", "OpenPath", "/한국어"));
    EXPECT_FALSE(file.writeString("Sigilscope", "OpenPath", "/¥"));  // would be stored as a backslash
    EXPECT_FALSE(file.writeStringList("R", "path", {"/한국어"}));
    EXPECT_EQ(contents(), kCp932File + "[R]\r\npath0=\r\n");
    // A UTF-8 file, or a new one, takes any character.
    given("[Sigilscope]\n");
    EXPECT_TRUE(file.writeString("Sigilscope", "OpenPath", "/한국어¥"));
    EXPECT_EQ(contents(), "[Sigilscope]\nOpenPath=/한국어¥\n");
}

TEST_F(SettingsFileTest, Cp932FileLeftLookingLikeUtf8IsWrittenAsUtf8)
{
    // Once x no longer holds the only bytes that are not UTF-8, y's code page
    // 932 bytes would read as UTF-8, as another text.
    given("[A]\nx=\x83\x41\ny=\xC3\xA9\n");
    EXPECT_EQ(file.readString("A", "y", ""), "ﾃｩ");
    EXPECT_TRUE(file.writeString("A", "x", "b"));
    EXPECT_EQ(contents(), "[A]\nx=b\ny=ﾃｩ\n");
    EXPECT_EQ(file.readString("A", "y", ""), "ﾃｩ");
}

// --- lists ------------------------------------------------------------------

TEST_F(SettingsFileTest, IntegerListEndsAtTheFirstZero)
{
    given("[T]\nitem0=57665\nitem1=0\nitem2=32980\n");
    EXPECT_EQ(file.readIntList("T", "item"), (std::vector<int32_t>{57665}));
    given("[T]\nitem0=1\nitem1=2\nitem3=4\n");
    EXPECT_EQ(file.readIntList("T", "item"), (std::vector<int32_t>{1, 2}));
    given("[T]\nitem0=abc\nitem1=2\n");
    EXPECT_TRUE(file.readIntList("T", "item").empty());
}

TEST_F(SettingsFileTest, StringListEndsAtTheFirstEmptyValue)
{
    given("[R]\npath0=/a\npath1=/b\npath2=\npath3=/d\n");
    EXPECT_EQ(file.readStringList("R", "path"), (std::vector<std::string>{"/a", "/b"}));
    given("[R]\npath0=/a\npath1=" + kLongJapanese + "\npath2=/c\n");
    EXPECT_EQ(file.readStringList("R", "path"), (std::vector<std::string>{"/a", kLongJapanese, "/c"}));
}

TEST_F(SettingsFileTest, StringsThatCannotBeWrittenAreLeftOutOfAList)
{
    given("[R]\npath0=/x\npath1=/y\npath2=/z\npath3=/w\n");
    EXPECT_FALSE(file.writeStringList("R", "path", {"/a", "bad\n", "", kLongJapanese}));
    EXPECT_EQ(file.readStringList("R", "path"), (std::vector<std::string>{"/a", kLongJapanese}));
}

TEST_F(SettingsFileTest, ListWritesEndWithTheEndMarkAndKeepStaleKeys)
{
    given("[T]\nitem0=5\nitem1=6\nitem2=7\nitem3=8\n[R]\npath0=/x\npath1=/y\npath2=/z\n");
    EXPECT_TRUE(file.writeIntList("T", "item", {9, 10}));
    EXPECT_TRUE(file.writeStringList("R", "path", {"/q"}));
    EXPECT_EQ(contents(), "[T]\nitem0=9\nitem1=10\nitem2=0\nitem3=8\n[R]\npath0=/q\npath1=\npath2=/z\n");
    EXPECT_EQ(file.readIntList("T", "item"), (std::vector<int32_t>{9, 10}));
    EXPECT_EQ(file.readStringList("R", "path"), (std::vector<std::string>{"/q"}));
}

TEST_F(SettingsFileTest, NewListItemsFollowEachOtherBeforeTheSectionsEnd)
{
    given("[T]\nitem0=5\n; end of T\n\n[R]\npath0=/x\n");
    EXPECT_TRUE(file.writeIntList("T", "item", {9, 10, 11}));
    EXPECT_TRUE(file.writeStringList("N", "path", {"/a", "/b"}));
    EXPECT_EQ(contents(), "[T]\nitem0=9\nitem1=10\nitem2=11\nitem3=0\n; end of T\n\n[R]\npath0=/x\n"
                          "[N]\npath0=/a\npath1=/b\npath2=\n");
}

// --- location ---------------------------------------------------------------

TEST_F(SettingsFileTest, SetFileJoinsTheExecutablesFolderAndTheName)
{
    file.setFile("Tamberly.ini");
    EXPECT_EQ(file.directory(), SettingsFile::executableDirectory());
    EXPECT_EQ(file.path(), SettingsFile::executableDirectory() + "Tamberly.ini");
    EXPECT_TRUE(QDir(QString::fromStdString(file.directory())).exists());
}

class Location : public testing::Test {
protected:
    test::TempDir dir;
    ScopedEnv noOverride{"SIGILSCOPE_INI", nullptr};
    ScopedEnv config{"XDG_CONFIG_HOME", (dir.path() + "/config").c_str()};
};

TEST_F(Location, WritableFolderOfTheExecutable)
{
    EXPECT_EQ(SettingsFile::locate(dir.path() + "/"), dir.path() + "/Tamberly.ini");
}

TEST_F(Location, EnvironmentVariableWins)
{
    ScopedEnv env("SIGILSCOPE_INI", "/some/where.ini");
    EXPECT_EQ(SettingsFile::locate(dir.path() + "/"), "/some/where.ini");
    ScopedEnv empty("SIGILSCOPE_INI", "");
    EXPECT_EQ(SettingsFile::locate(dir.path() + "/"), dir.path() + "/Tamberly.ini");
}

TEST_F(Location, UnwritableFolderFallsBackToTheUsersConfiguration)
{
    const std::string missing = dir.path() + "/no/such/folder/";
    EXPECT_EQ(SettingsFile::locate(missing), dir.path() + "/config/sigilscope/Tamberly.ini");
    ScopedEnv home("HOME", (dir.path() + "/home").c_str());
    ScopedEnv unset("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(SettingsFile::locate(missing), dir.path() + "/home/.config/sigilscope/Tamberly.ini");
    ScopedEnv relative("XDG_CONFIG_HOME", "relative/dir");
    EXPECT_EQ(SettingsFile::locate(missing), dir.path() + "/home/.config/sigilscope/Tamberly.ini");
}

TEST_F(Location, InstalledProgramKeepsItsSettingsPerUserEvenWhereItCouldWriteBesideItself)
{
    // The layout of cmake --install and of the Debian package, writable here
    // as /usr/bin is for root: nothing may be written among its files.
    const std::string bin = dir.path() + "/usr/bin/";
    const std::string user = dir.path() + "/config/sigilscope/Tamberly.ini";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(bin)));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.path() + "/usr/share/sigilscope")));
    EXPECT_EQ(SettingsFile::locate(bin), user);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(bin + "Tamberly.ini")));
    // A file beside it, writable or not, is only where the user's starts from.
    writeTextFile(bin + "Tamberly.ini", "[A]\nx=1\n");
    QFile::remove(QString::fromStdString(user));
    EXPECT_EQ(SettingsFile::locate(bin), user);
    EXPECT_EQ(readTextFile(user), "[A]\nx=1\n");
}

struct ReadOnlyCase {
    const char* label;
    bool folderWritable;
    const char* fileText;  // nullptr: no file beside the executable
    bool fileWritable;
    bool beside;  // else the user's file, which starts as a copy
};

class ReadOnlyLocation : public Location, public testing::WithParamInterface<ReadOnlyCase> {};

TEST_P(ReadOnlyLocation, UsesTheFileBesideTheExecutableOnlyWhenItCanBeWritten)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root can write read-only files and folders";
    const ReadOnlyCase& c = GetParam();
    const QString folder = QString::fromStdString(dir.path() + "/ro");
    const std::string beside = dir.path() + "/ro/Tamberly.ini";
    const std::string user = dir.path() + "/config/sigilscope/Tamberly.ini";
    QDir().mkpath(folder);
    if (c.fileText) {
        writeTextFile(beside, c.fileText);
        QFile::setPermissions(QString::fromStdString(beside),
                              c.fileWritable ? QFile::ReadOwner | QFile::WriteOwner : QFile::ReadOwner);
    }
    QFile::setPermissions(folder, c.folderWritable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                   : QFile::ReadOwner | QFile::ExeOwner);
    const std::string located = SettingsFile::locate(dir.path() + "/ro/");
    EXPECT_EQ(located, c.beside ? beside : user);
    if (!c.beside) {
        EXPECT_EQ(readTextFile(user), c.fileText ? c.fileText : "<missing>");
        SettingsFile file;
        file.setPath(located);
        EXPECT_TRUE(file.writeInt("A", "y", 2));
        // Once there, the user's file is not replaced by the one beside.
        EXPECT_EQ(SettingsFile::locate(dir.path() + "/ro/"), user);
        EXPECT_EQ(file.readInt("A", "y", 0), 2);
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadOnlyLocation,
                         testing::Values(ReadOnlyCase{"NoFile", false, nullptr, false, false},
                                         ReadOnlyCase{"WritableFile", false, "[A]\nx=1\n", true, true},
                                         ReadOnlyCase{"ReadOnlyFile", false, "[A]\nx=1\n", false, false},
                                         ReadOnlyCase{"ReadOnlyFileInWritableFolder", true, "[A]\nx=1\n", false,
                                                      false}),
                         [](const auto& info) { return info.param.label; });

}  // namespace
