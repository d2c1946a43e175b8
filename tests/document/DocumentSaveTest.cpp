// Save library, save as icon, save all as icons, snap and snap all.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <cerrno>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "document/Clipboard.h"
#include "document/LibraryDocument.h"
#include "document/SnapPicture.h"
#include "imaging/DevicePixels.h"
#include "imaging/MacIconImport.h"
#include "platform/StringTable.h"
#include "support/DeviceMaker.h"
#include "support/DocumentFixture.h"
#include "support/FileSizeLimit.h"
#include "support/IconBytes.h"
#include "support/ScriptedHost.h"

namespace sigil {
namespace {

using test::ScriptedHost;

class DocumentSaveTest : public testing::Test {
protected:
    DocumentSaveTest() { doc.setHost(&host); }

    // An icon of w x h opaque pixels of one colour (0xRRGGBB).
    void addIcon(const std::string& name, int w = 16, int h = 16, uint32_t rgb = 0x102030)
    {
        auto entry = std::make_unique<IconEntry>();
        entry->devices.push_back(test::makeDevice(w, h, 24, [rgb](int, int) { return rgb; }));
        entry->name = name;
        library.appendIcon(std::move(entry));
    }

    std::set<std::string> filesIn(const std::string& folder) const
    {
        std::set<std::string> names;
        for (const QString& n : QDir(QString::fromStdString(folder))
                                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
            names.insert(n.toStdString());
        return names;
    }

    test::SettingsFixture settings;
    IconLibrary library;
    ScriptedHost host;
    LibraryDocument doc{library, settings.general, settings.display};
};

// ---- Save all as icons: names ------------------------------------------------

struct NamingCase {
    const char* label;
    std::vector<std::string> icons;
    SaveAllChoice choice;
    std::vector<std::string> existing;  // files in the folder beforehand
    std::set<std::string> expected;     // every name in the folder afterwards
};

class SaveAllNamingTest : public DocumentSaveTest, public testing::WithParamInterface<NamingCase> {};

TEST_P(SaveAllNamingTest, WritesTheseFilesAndNothingElse)
{
    const NamingCase& c = GetParam();
    for (const std::string& name : c.icons)
        addIcon(name);
    // The chosen folder sits inside a scratch folder, so anything written
    // beside it shows up there.
    const std::string outer = settings.dir.file("outer");
    host.folder = outer + "/out";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(host.folder)));
    for (const std::string& name : c.existing)
        ASSERT_TRUE(test::writeFile(host.folder + "/" + name, test::Bytes{1, 2, 3}));
    host.saveAllOptions = c.choice;
    doc.saveAllAsIcons();
    EXPECT_EQ(filesIn(host.folder), c.expected);
    EXPECT_EQ(filesIn(outer), std::set<std::string>{"out"});
    for (const std::string& name : c.existing)
        EXPECT_EQ(test::readFile(host.folder + "/" + name), (test::Bytes{1, 2, 3})) << name;
    for (const std::string& name : c.expected)
        EXPECT_LE(name.size(), 255u);
    EXPECT_TRUE(host.warnings.empty());
    EXPECT_FALSE(doc.modified());
}

const std::string kLongName(300, 'x');
const std::string kLongKana = [] {
    std::string s;
    for (int i = 0; i < 100; ++i)
        s += "ア";  // 3 bytes each: the cut must not split one
    return s;
}();

INSTANTIATE_TEST_SUITE_P(
    Cases, SaveAllNamingTest,
    testing::Values(NamingCase{"NumberedWithPaddingStepsAroundAnExistingFile",
                               {"a", "b"},
                               {1, "icon", 3},
                               {"icon001.ico"},
                               {"icon001.ico", "icon001_1.ico", "icon002.ico"}},
                    NamingCase{
                        "SameNamesGetSuffixes", {"A", "A", "A"}, {0, "icon", 0}, {}, {"A.ico", "A_1.ico", "A_2.ico"}},
                    NamingCase{"NoPaddingWithZeroDigits",
                               std::vector<std::string>(10, "n"),
                               {1, "icon", 0},
                               {},
                               {"icon1.ico", "icon2.ico", "icon3.ico", "icon4.ico", "icon5.ico", "icon6.ico",
                                "icon7.ico", "icon8.ico", "icon9.ico", "icon10.ico"}},
                    NamingCase{"AnEmptyNameIsNumbered",
                               {"", "b", ""},
                               {0, "icon", 2},
                               {"icon01.ico"},
                               {"icon01.ico", "icon01_1.ico", "b.ico", "icon03.ico"}},
                    NamingCase{"HostileNamesStayInTheFolder",
                               {"../up", "a/b", "..", ".", "c\\d", "e\x01\nf"},
                               {0, "", 0},
                               {},
                               {"_._up.ico", "a_b.ico", "__.ico", "_.ico", "c_d.ico", "e__f.ico"}},
                    NamingCase{"AHostilePrefixStaysInTheFolder", {"a"}, {1, "../../p", 0}, {}, {"_._.._p1.ico"}},
                    NamingCase{"LongNamesAreCutToTheFileNameLimit",
                               {kLongName, kLongName, kLongKana},
                               {0, "icon", 0},
                               {},
                               {kLongName.substr(0, 239) + ".ico", kLongName.substr(0, 239) + "_1.ico",
                                kLongKana.substr(0, 237) + ".ico"}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(DocumentSaveTest, SaveAllRemembersItsChoicesAndCancelsCleanly)
{
    addIcon("a");
    settings.general.saveNaming = 1;
    settings.general.savePrefix = "p";
    settings.general.saveDigits = 4;
    host.folder = settings.dir.file("out");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(host.folder)));
    doc.saveAllAsIcons();  // dialog 106 cancelled
    ASSERT_EQ(host.saveAllShown.size(), 1u);
    EXPECT_EQ(host.saveAllShown[0].prefix, "p");
    EXPECT_EQ(host.saveAllShown[0].digits, 4);
    EXPECT_TRUE(filesIn(host.folder).empty());

    host.saveAllOptions = SaveAllChoice{0, "q", 2};
    doc.saveAllAsIcons();
    EXPECT_EQ(settings.general.saveNaming, 0);
    EXPECT_EQ(settings.general.savePrefix, "q");
    EXPECT_EQ(settings.general.saveDigits, 2);
    EXPECT_EQ(settings.general.openPath, host.folder);
    EXPECT_EQ(filesIn(host.folder), std::set<std::string>{"a.ico"});
    EXPECT_EQ(host.waits, 0);
}

TEST_F(DocumentSaveTest, IconFilesThatCannotBeWrittenAreReported)
{
    addIcon("good");
    library.appendIcon(std::make_unique<IconEntry>());  // no image: no file
    library.at(1).name = "empty";
    addIcon("other");
    host.folder = settings.dir.file("out");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(host.folder)));
    host.saveAllOptions = SaveAllChoice{0, "icon", 0};
    doc.saveAllAsIcons();
    EXPECT_EQ(filesIn(host.folder), (std::set<std::string>{"good.ico", "other.ico"}));
    ASSERT_EQ(host.warnings.size(), 1u);
    EXPECT_TRUE(host.warnings[0].startsWith(QStringLiteral("1個のアイコンを保存できませんでした")))
        << host.warnings[0].toStdString();
    EXPECT_TRUE(host.warnings[0].contains(QStringLiteral("empty.ico")));
    EXPECT_TRUE(host.warnings[0].endsWith(loadString(str::IconHasNoImage)));

    // Save as icon says so too.
    doc.setSelection(1);
    host.savePath = settings.dir.file("single.ico");
    doc.saveAsIcon();
    ASSERT_EQ(host.warnings.size(), 2u);
    EXPECT_TRUE(host.warnings[1].endsWith(loadString(str::IconHasNoImage)));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(host.savePath)));
}

// Save as icon writes a Mac icon file when the name asks for one: its square
// images of the sizes the format holds, read back as they were; an icon
// with none gets a message and no file.
TEST_F(DocumentSaveTest, SaveAsIconWritesIcnsByTheName)
{
    addIcon("mac", 32, 32, 0xC03020);
    library.at(0).devices.push_back(test::makeDevice(20, 20, 24, [](int, int) { return 0u; }));
    addIcon("odd", 20, 20);
    host.savePath = settings.dir.file("mac.icns");
    doc.setSelection(0);
    doc.saveAsIcon();
    EXPECT_TRUE(host.warnings.empty());
    IconEntry back;
    ASSERT_TRUE(loadMacIcons(back, host.savePath, "mac", DisplaySettings{}));
    ASSERT_FALSE(back.devices.empty());
    for (const IconDevice& d : back.devices)
        EXPECT_EQ(d.width, 32);
    const RgbaImage pixels = devicePixels(back.devices.back());
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(pixels.row(5)[0], 0xC0);

    doc.setSelection(1);
    host.savePath = settings.dir.file("odd.icns");
    doc.saveAsIcon();
    ASSERT_EQ(host.warnings.size(), 1u);
    EXPECT_TRUE(host.warnings[0].endsWith(loadString(str::IconHasNoIcnsSize)));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(host.savePath)));
}

// A file that cannot be made is reported with the system's reason, in
// whichever format it was asked for.
TEST_F(DocumentSaveTest, IconFilesTheSystemRefusesSayWhy)
{
    addIcon("a", 32, 32);
    doc.setSelection(0);
    const std::string plain = settings.dir.file("plain");  // a file taken for a folder
    ASSERT_TRUE(test::writeFile(plain, {'o', 'l', 'd'}));
    const QString reason = systemReasonText(ENOTDIR);
    for (const char* name : {"/x.ico", "/x.icns"}) {
        host.warnings.clear();
        host.savePath = plain + name;
        doc.saveAsIcon();
        EXPECT_EQ(host.warnings, std::vector<QString>{
                                     loadString(str::IconNotSaved).arg(QString::fromStdString(host.savePath), reason)});
    }
    host.warnings.clear();
    host.folder = plain;
    host.saveAllOptions = SaveAllChoice{0, "icon", 0};
    doc.saveAllAsIcons();
    EXPECT_EQ(
        host.warnings,
        std::vector<QString>{
            loadString(str::IconsNotSaved).arg(1).arg(QString::fromStdString(plain + "/a.ico") + "\r\n" + reason)});
    EXPECT_EQ(test::readFile(plain), (test::Bytes{'o', 'l', 'd'}));
}

// ---- Save library: failures keep the old file ----------------------------------

enum class Failure { FullDisk, ReadOnlyFile, ReadOnlyFolder, NameIsAFolder, TooLarge };

// The system's reason each failure is told with.
int reasonOf(Failure failure)
{
    switch (failure) {
    case Failure::FullDisk:
        return EFBIG;
    case Failure::NameIsAFolder:
        return EISDIR;
    default:
        return EACCES;
    }
}

class SaveFailureTest : public DocumentSaveTest, public testing::WithParamInterface<Failure> {};

TEST_P(SaveFailureTest, LeavesTheOldFileAndTheMark)
{
    const Failure failure = GetParam();
    if ((failure == Failure::ReadOnlyFile || failure == Failure::ReadOnlyFolder) && geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    for (int i = 0; i < 3; ++i)
        addIcon("i" + std::to_string(i), 32, 32, 0x400000u * (i + 1));
    const std::string folder = settings.dir.file("lib");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
    host.savePath = folder + "/old.icl";
    ASSERT_TRUE(doc.saveLibrary(true));
    const test::Bytes old = test::readFile(host.savePath);
    addIcon("more");
    doc.markModified();

    bool saved = true;
    switch (failure) {
    case Failure::FullDisk:
        saved = test::underFileSizeLimit(200, [&] { return doc.saveLibrary(false); });
        break;
    case Failure::ReadOnlyFile:
        ASSERT_EQ(chmod(host.savePath.c_str(), 0444), 0);
        saved = doc.saveLibrary(false);
        break;
    case Failure::ReadOnlyFolder:
        ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
        host.savePath = folder + "/new.icl";
        saved = doc.saveLibrary(true);
        chmod(folder.c_str(), 0755);
        EXPECT_FALSE(QFile::exists(QString::fromStdString(host.savePath)));
        host.savePath = folder + "/old.icl";
        break;
    case Failure::NameIsAFolder:
        host.savePath = settings.dir.path();
        saved = doc.saveLibrary(true);
        host.savePath = folder + "/old.icl";
        break;
    case Failure::TooLarge:
        // The format holds at most 5454 icons and images together.
        for (int i = 0; i < 5454; ++i)
            library.appendIcon(std::make_unique<IconEntry>());
        saved = doc.saveLibrary(false);
        break;
    }
    EXPECT_FALSE(saved);
    // Too many icons says so, with how many fit (the first four have one
    // image each, the rest none).
    const QString expected =
        failure == Failure::TooLarge
            ? QStringLiteral("アイコンが多すぎるため1つのアイコンライブラリに保存できません\r\n"
                             "5458個のアイコンのうち、保存できるのは先頭から5450個までです")
            : loadString(str::SaveFailed) + QStringLiteral("\r\n") + systemReasonText(reasonOf(failure));
    EXPECT_EQ(host.warnings, std::vector<QString>{expected});
    EXPECT_EQ(test::readFile(folder + "/old.icl"), old);
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(doc.libraryPath(), folder + "/old.icl");
    EXPECT_EQ(host.waits, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, SaveFailureTest,
                         testing::Values(Failure::FullDisk, Failure::ReadOnlyFile, Failure::ReadOnlyFolder,
                                         Failure::NameIsAFolder, Failure::TooLarge));

TEST_F(DocumentSaveTest, ALibraryNamedWithoutAFolderAsksWhereToSave)
{
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(settings.dir.path())));
    const std::string tool = settings.dir.file("tool.exe");
    ASSERT_TRUE(test::writeFile(tool, test::Bytes(64, 0)));
    ASSERT_TRUE(test::writeFile(settings.dir.file("tool.icl"), test::Bytes{9}));
    ASSERT_TRUE(doc.queueFile(tool));  // names the library "tool.icl"
    addIcon("a");
    const bool saved = doc.saveLibrary(false);  // the dialog is cancelled
    QDir::setCurrent(previous);
    EXPECT_FALSE(saved);
    EXPECT_EQ(test::readFile(settings.dir.file("tool.icl")), test::Bytes{9});
    EXPECT_EQ(doc.libraryPath(), "tool.icl");
}

// ---- Snap ---------------------------------------------------------------------

constexpr QRgb kBack = 0xFFFFFFFF;
constexpr QRgb kRed = 0xFFFF0000;

struct SheetCase {
    const char* label;
    bool horizontal;
    int per, spacing;
    QSize size;
    std::vector<QPoint> icons;  // top-left corners of drawn squares
    std::vector<QPoint> empty;  // squares that must be background
};

class SnapSheetTest : public DocumentSaveTest, public testing::WithParamInterface<SheetCase> {};

TEST_P(SnapSheetTest, PlacesTheSquares)
{
    const SheetCase& c = GetParam();
    for (int i = 0; i < 10; ++i)
        addIcon("i", 32, 32, 0xFF0000);
    const QImage sheet = renderSnapSheet(library, settings.display, c.horizontal, c.per, c.spacing);
    ASSERT_EQ(sheet.size(), c.size);
    for (const QPoint& p : c.icons) {
        EXPECT_EQ(sheet.pixel(p), kRed) << p.x() << "," << p.y();
        EXPECT_EQ(sheet.pixel(p + QPoint(31, 31)), kRed) << p.x() << "," << p.y();
        if (c.spacing > 0) {
            EXPECT_EQ(sheet.pixel(p - QPoint(1, 0)), kBack) << p.x() << "," << p.y();
            EXPECT_EQ(sheet.pixel(p - QPoint(0, 1)), kBack) << p.x() << "," << p.y();
        }
    }
    for (const QPoint& p : c.empty)
        EXPECT_EQ(sheet.pixel(p + QPoint(16, 16)), kBack) << p.x() << "," << p.y();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SnapSheetTest,
    testing::Values(
        // Icon 5 of 10 at row 1, column 1; the last row holds two icons.
        SheetCase{"Horizontal", true, 4, 3, {143, 108}, {{3, 3}, {38, 38}, {38, 73}}, {{73, 73}, {108, 73}}},
        // Three columns of four rows, filled top to bottom: icon 5 at (38, 38).
        SheetCase{"Vertical", false, 4, 3, {108, 143}, {{3, 3}, {38, 38}, {73, 38}}, {{73, 73}, {73, 108}}},
        SheetCase{"NoSpacing", true, 5, 0, {160, 64}, {{0, 0}, {128, 32}}, {}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(DocumentSaveTest, SnapCentresANarrowIcon)
{
    addIcon("narrow", 16, 32, 0xFF0000);
    const QImage square = renderSnapIcon(library.at(0), settings.display);
    ASSERT_EQ(square.size(), QSize(32, 32));
    EXPECT_EQ(square.pixel(7, 16), kBack);
    EXPECT_EQ(square.pixel(8, 16), kRed);
    EXPECT_EQ(square.pixel(23, 16), kRed);
    EXPECT_EQ(square.pixel(24, 16), kBack);
}

TEST_F(DocumentSaveTest, SnapAllPutsTheSheetOnTheClipboardOrNothing)
{
    for (int i = 0; i < 10; ++i)
        addIcon("i", 32, 32, 0xFF0000);
    QClipboard* clipboard = QGuiApplication::clipboard();
    host.snapAllOptions = SnapAllChoice{0, 3};  // 0: the view's cells per line
    doc.snapAll(4);
    EXPECT_EQ(settings.general.snapColumns, 0);
    const QMimeData* data = clipboard->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasFormat(kBmpMimeType));
    EXPECT_EQ(QImage::fromData(data->data(kPngMimeType), "PNG").size(), QSize(108, 143));
    const QImage bmp = QImage::fromData(data->data(kBmpMimeType), "BMP");
    EXPECT_EQ(bmp.size(), QSize(108, 143));
    EXPECT_EQ(bmp.pixel(38, 38), kRed);

    // A spacing that leaves no picture leaves the clipboard as it was.
    clipboard->setText(QStringLiteral("kept"));
    host.snapAllOptions = SnapAllChoice{4, -40};
    doc.snapAll(4);
    EXPECT_EQ(settings.general.snapSpacing, -40);
    EXPECT_EQ(clipboard->text(), QStringLiteral("kept"));

    doc.setSelection(2);
    doc.snap();
    EXPECT_EQ(QImage::fromData(clipboard->mimeData()->data(kPngMimeType), "PNG").size(), QSize(32, 32));
}

}  // namespace
}  // namespace sigil
