#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cerrno>
#include <cstring>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/SigilCommands.h"
#include "formats/IconFile.h"
#include "formats/NeLibraryReader.h"
#include "support/BmpBytes.h"
#include "support/FileSizeLimit.h"
#include "support/IconBytes.h"
#include "support/NeBytes.h"
#include "support/PictureBytes.h"
#include "support/RiffBytes.h"
#include "support/SigilRun.h"
#include "support/TempDir.h"

using namespace sigil;
using namespace sigil::test;

namespace {

TEST(SigilList, PrintsIconsAndDevicesAndNamesFailures)
{
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("a.ico"), icoFile({iconImage(32, 32, 4), iconImage(16, 16, 32)})));
    const RunResult r = sigilRun({"list", dir.file("a.ico"), dir.file("missing.ico")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "a\t" + dir.file("a.ico") + "\n  16x16\t32bit\tXP\t1128 bytes\n  32x32\t4bit\t16色\t744 bytes\n");
    EXPECT_NE(r.err.find(dir.file("missing.ico")), std::string::npos);
    EXPECT_EQ(sigilRun({"list", dir.file("a.ico")}).code, 0);
}

TEST(SigilList, JsonHasOneObjectPerIcon)
{
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("ア.ico"), icoFile({iconImage(48, 48, 8)})));
    const RunResult r = sigilRun({"list", "--json", dir.file("ア.ico"), dir.file("ア.ico")});
    ASSERT_EQ(r.code, 0);
    std::istringstream lines(r.out);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
        EXPECT_EQ(o["name"].toString().toStdString(), "ア");
        EXPECT_EQ(o["source"].toString().toStdString(), dir.file("ア.ico"));
        const QJsonArray devices = o["devices"].toArray();
        ASSERT_EQ(devices.size(), 1);
        EXPECT_EQ(devices[0].toObject()["width"].toInt(), 48);
        EXPECT_EQ(devices[0].toObject()["height"].toInt(), 48);
        EXPECT_EQ(devices[0].toObject()["bitCount"].toInt(), 8);
        EXPECT_EQ(devices[0].toObject()["bytes"].toInt(), 3752);
        ++count;
    }
    EXPECT_EQ(count, 2);
}

TEST(SigilList, FoldersGoThroughTheLoadJob)
{
    // Files that are not icons inside a folder are skipped quietly; every
    // frame of an animated cursor in a subfolder is listed.
    TempDir dir;
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("sub"))));
    ASSERT_TRUE(writeFile(dir.file("a.ico"), icoFile({iconImage(16, 16, 4)})));
    ASSERT_TRUE(writeFile(dir.file("notes.txt"), Bytes{'h', 'i'}));
    const Bytes frame = icoFile({iconImage(32, 32, 1)});
    ASSERT_TRUE(writeFile(dir.file("sub/walk.ani"), aniFile({frame, frame})));
    const RunResult r = sigilRun({"list", dir.path()});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("a\t" + dir.file("a.ico") + "\n"), std::string::npos);
    EXPECT_NE(r.out.find("walk_0\t" + dir.file("sub/walk.ani") + ",0\n"), std::string::npos);
    EXPECT_NE(r.out.find("walk_1\t" + dir.file("sub/walk.ani") + ",1\n"), std::string::npos);
    EXPECT_EQ(r.out.find("notes"), std::string::npos);
}

TEST(SigilList, FilesAndFoldersWithoutIconsAreNamed)
{
    TempDir dir;
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("empty"))));
    ASSERT_TRUE(writeFile(dir.file("a.ico"), icoFile({iconImage(16, 16, 4)})));
    ASSERT_TRUE(writeFile(dir.file("still.ani"), riffFile({riffChunk("anih", Bytes(36, 0))})));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("mixed"))));
    ASSERT_TRUE(writeFile(dir.file("mixed/good.ico"), icoFile({iconImage(16, 16, 4)})));
    ASSERT_TRUE(writeFile(dir.file("mixed/bad.ico"), Bytes(9, 7)));
    ASSERT_TRUE(writeFile(dir.file("mixed/notes.txt"), Bytes(9, 7)));  // not an icon file: not named
    struct Case {
        std::vector<std::string> paths;
        int code;
        std::vector<std::string> named;  // in the error stream
    };
    const Case cases[] = {
        {{dir.file("still.ani")}, 1, {dir.file("still.ani") + ": the file holds no icons"}},
        {{dir.file("empty")}, 1, {dir.file("empty") + ": no icons in the folder"}},
        {{dir.file("still.ani"), dir.file("a.ico")}, 0, {dir.file("still.ani") + ": the file holds no icons"}},
        {{dir.file("mixed")}, 0, {dir.file("mixed/bad.ico") + ": not a readable icon file"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"list"};
        args.insert(args.end(), c.paths.begin(), c.paths.end());
        const RunResult r = sigilRun(args);
        EXPECT_EQ(r.code, c.code) << c.paths[0];
        for (const std::string& text : c.named)
            EXPECT_NE(r.err.find(text), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("a.ico"), std::string::npos);
        EXPECT_EQ(r.err.find("notes.txt"), std::string::npos);
    }
}

TEST(SigilUsage, WrongUsageExitsWithTwo)
{
    EXPECT_EQ(sigilRun({}).code, 2);
    EXPECT_EQ(sigilRun({"list"}).code, 2);
    EXPECT_EQ(sigilRun({"frobnicate", "x"}).code, 2);
    EXPECT_EQ(sigilRun({"extract", "x.ico"}).code, 2);
    EXPECT_EQ(sigilRun({"extract", "x.ico", "-o"}).code, 2);
    EXPECT_EQ(sigilRun({"pack", "x.ico"}).code, 2);
    EXPECT_EQ(sigilRun({"pack", "-o", "x.icl"}).code, 2);
    EXPECT_NE(sigilRun({"pack"}).err.find("sigil pack PATH... -o OUT.icl"), std::string::npos);
}

TEST(SigilExtract, NeverOverwrites)
{
    const struct {
        const char* option;
        std::string name;  // of the one image's file, without the extension
        const char* extension;
    } cases[] = {{"--ico", "same", ".ico"}, {"--png", "same-16x16-4", ".png"}};
    for (const auto& c : cases) {
        TempDir in, out;
        const auto at = [&](const std::string& suffix) { return out.file(c.name + suffix + c.extension); };
        ASSERT_TRUE(writeFile(in.file("same.ico"), icoFile({iconImage(16, 16, 4)})));
        ASSERT_TRUE(writeFile(at(""), Bytes{1, 2, 3}));
        // A dangling link and a folder take their names too.
        ASSERT_TRUE(QFile::link("/no/such/target", QString::fromStdString(at("_1"))));
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(at("_2"))));
        const RunResult r = sigilRun({"extract", c.option, in.file("same.ico"), in.file("same.ico"), "-o", out.path()});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out, at("_3") + "\n" + at("_4") + "\n");
        EXPECT_EQ(readFile(at("")), (Bytes{1, 2, 3}));
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString("/no/such/target")));
        for (const char* suffix : {"_3", "_4"}) {
            IconEntry e;
            const QImage png(QString::fromStdString(at(suffix)));
            EXPECT_TRUE(c.extension == std::string(".ico") ? readIconBytes(readFile(at(suffix)), e)
                                                           : png.size() == QSize(16, 16))
                << at(suffix);
        }
    }
}

TEST(SigilExtract, MissingOutputFolderFails)
{
    TempDir in;
    ASSERT_TRUE(writeFile(in.file("a.ico"), icoFile({iconImage(16, 16, 4)})));
    EXPECT_EQ(sigilRun({"extract", in.file("a.ico"), "-o", in.file("nope")}).code, 1);
}

TEST(SigilPack, WritesTheIconsInTheOrderGiven)
{
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("b.ico"), icoFile({iconImage(32, 32, 4), iconImage(16, 16, 8)})));
    ASSERT_TRUE(writeFile(dir.file("アイコン.ico"), icoFile({iconImage(48, 48, 32)})));
    const std::string target = dir.file("out.icl");
    const RunResult r = sigilRun({"pack", dir.file("b.ico"), dir.file("アイコン.ico"), "-o", target});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, target + "\n");
    EXPECT_EQ(r.err, "");
    IconLibrary lib;
    ASSERT_TRUE(readNeLibrary(lib, readFile(target), target, "out"));
    ASSERT_EQ(lib.size(), 2);
    EXPECT_EQ(lib.at(0).name, "b");
    EXPECT_EQ(lib.at(1).name, "アイコン");
    EXPECT_EQ(lib.deviceTotal(), 3);
}

// "-" as the output writes the one file to standard output, nothing else;
// a device is written where it is, its failure told with the system's words.
TEST(SigilOutput, DashIsStandardOutputAndDevicesAreWrittenInPlace)
{
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("a.ico"), icoFile({iconImage(32, 32, 4), iconImage(16, 16, 8)})));
    const RunResult packed = sigilRun({"pack", dir.file("a.ico"), "-o", "-"});
    ASSERT_EQ(packed.code, 0) << packed.err;
    IconLibrary lib;
    ASSERT_TRUE(readNeLibrary(lib, Bytes(packed.out.begin(), packed.out.end()), "-", "a"));
    EXPECT_EQ(lib.deviceTotal(), 2);
    EXPECT_FALSE(QFile::exists("-"));

    const RunResult drawn = sigilRun({"thumbnail", dir.file("a.ico"), "-", "24"});
    ASSERT_EQ(drawn.code, 0) << drawn.err;
    EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(drawn.out), "PNG").size(), QSize(24, 24));

    for (const auto& args : {std::vector<std::string>{"pack", dir.file("a.ico"), "-o", "/dev/full"},
                             std::vector<std::string>{"thumbnail", dir.file("a.ico"), "/dev/full", "24"}}) {
        const RunResult full = sigilRun(args);
        EXPECT_EQ(full.code, 1) << args[0];
        EXPECT_NE(full.err.find(std::strerror(ENOSPC)), std::string::npos) << full.err;
        struct stat st {};
        EXPECT_TRUE(::stat("/dev/full", &st) == 0 && S_ISCHR(st.st_mode));
    }
}

TEST(SigilPack, ShowsProgressWhenAsked)
{
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("a.ico"), icoFile({iconImage(16, 16, 4)})));
    const RunResult r = sigilRun({"pack", dir.file("a.ico"), dir.file("a.ico"), "-o", dir.file("a.icl")}, true);
    ASSERT_EQ(r.code, 0) << r.err;
    std::vector<std::string> shown;
    std::istringstream lines(r.err);
    for (std::string part; std::getline(lines, part, '\r');) {
        const size_t erase = part.find("\x1b[K");
        if (erase != std::string::npos)
            shown.push_back(part.substr(0, erase));
    }
    const std::vector<std::string> expected = {"保存する準備をしています..",
                                               "ヘッダを書き込んでいます..(0%)",
                                               "ヘッダを書き込んでいます..(0%)",
                                               "ヘッダを書き込んでいます..(50%)",
                                               "保存中です..(0%)",
                                               "保存中です..(50%)",
                                               "完了しました"};
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(r.err.back(), '\n');
}

TEST(SigilPack, ProgressTexts)
{
    EXPECT_EQ(libraryProgressText(0, 0), "保存する準備をしています..");
    EXPECT_EQ(libraryProgressText(1, 7), "ヘッダを書き込んでいます..(7%)");
    EXPECT_EQ(libraryProgressText(2, 100), "保存中です..(100%)");
    EXPECT_EQ(libraryProgressText(3, 0), "完了しました");
    EXPECT_EQ(libraryProgressText(4, 0), "");
}

TEST(SigilPack, FailuresExitWithOne)
{
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("a.ico"), icoFile({iconImage(16, 16, 4)})));

    RunResult r = sigilRun({"pack", dir.file("a.ico"), "-o", "/nonexistent-folder/a.icl"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("cannot write"), std::string::npos);

    // Nothing to pack: no file.
    r = sigilRun({"pack", dir.file("missing.ico"), "-o", dir.file("none.icl")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("no icons"), std::string::npos);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.file("none.icl"))));

    // One icon of 5454 images is one too many for the resource table.
    std::vector<Bytes> images;
    for (int i = 0; i < 5454; ++i)
        images.push_back(iconImage(1, 1, 1));
    ASSERT_TRUE(writeFile(dir.file("many.ico"), icoFile(images)));
    r = sigilRun({"pack", dir.file("many.ico"), "-o", dir.file("many.icl")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("too large"), std::string::npos);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.file("many.icl"))));

    // A missing input among readable ones: the rest is written, exit 1.
    r = sigilRun({"pack", dir.file("a.ico"), dir.file("missing.ico"), "-o", dir.file("some.icl")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(dir.file("some.icl"))));
}

}  // namespace

namespace {

TEST(SigilSettings, IniFileSetsTheImportOptions)
{
    TempDir dir;
    // An all-black bitmap: with transparency on, black is the see-through colour.
    ASSERT_TRUE(writeFile(dir.file("black.bmp"), bmpFile(plainBmp(8, 8, 24, [](int, int) { return 0u; }))));
    ASSERT_TRUE(writeFile(dir.file("on.ini"), Bytes{}));
    const std::string offIni = dir.file("off.ini");
    {
        QFile off(QString::fromStdString(offIni));
        ASSERT_TRUE(off.open(QIODevice::WriteOnly));
        off.write("[Sigilscope]\nPermate=0\n");
    }
    QDir().mkpath(QString::fromStdString(dir.file("on")));
    QDir().mkpath(QString::fromStdString(dir.file("off")));
    ASSERT_EQ(sigilRun({"extract", dir.file("black.bmp"), "-o", dir.file("on"), "--ini", dir.file("on.ini")}).code, 0);
    ASSERT_EQ(sigilRun({"extract", "--ini", offIni, dir.file("black.bmp"), "-o", dir.file("off")}).code, 0);
    const Bytes on = readFile(dir.file("on/black.ico"));
    const Bytes off = readFile(dir.file("off/black.ico"));
    ASSERT_FALSE(on.empty());
    ASSERT_EQ(on.size(), off.size());
    EXPECT_NE(on, off);  // only the mask differs
    EXPECT_EQ(sigilRun({"list", dir.file("black.bmp"), "--ini"}).code, kExitUsage);
}

TEST(SigilSettings, GifIsRefusedOnceWithTheProgramsMessage)
{
    TempDir dir;
    const Bytes gif{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, ';'};
    ASSERT_TRUE(writeFile(dir.file("a.gif"), gif));
    ASSERT_TRUE(writeFile(dir.file("b.gif"), gif));
    std::ostringstream out, err;
    EXPECT_EQ(runSigil({"list", dir.file("a.gif"), dir.file("b.gif")}, out, err, false), kExitFailed);
    const std::string message = "GIFは特許問題のため読み込めません";
    const size_t first = err.str().find(message);
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(err.str().find(message, first + 1), std::string::npos);
}

}  // namespace

TEST(SigilExtract, PngGivesEveryImageNamedBySizeAndDepthWithItsAlpha)
{
    TempDir in, out;
    ASSERT_TRUE(writeFile(in.file("pic.png"), encodedPicture(
                                                  3, 2, [](int x, int) { return x == 0 ? 0u : 0x80FF0000u; }, "PNG")));
    // The 32-bit image has alpha 12 everywhere under a wholly set AND mask.
    ASSERT_TRUE(writeFile(in.file("two.ico"),
                          icoFile({iconImage(16, 16, 4), iconImage(32, 32, 8), iconImage(48, 48, 32, 0x0C, 0xFF)})));
    const RunResult r =
        sigilRun({"extract", "--png", in.file("pic.png"), in.file("pic.png"), in.file("two.ico"), "-o", out.path()});
    ASSERT_EQ(r.code, 0) << r.err;
    for (const char* name :
         {"pic-3x2-32.png", "pic-3x2-32_1.png", "two-16x16-4.png", "two-32x32-8.png", "two-48x48-32.png"})
        EXPECT_TRUE(QFile::exists(QString::fromStdString(out.file(name)))) << name;
    const QImage back(QString::fromStdString(out.file("pic-3x2-32_1.png")));
    ASSERT_EQ(back.size(), QSize(3, 2));
    EXPECT_EQ(qAlpha(back.pixel(0, 0)), 0);
    EXPECT_EQ(back.pixel(2, 1), 0x80FF0000u);
    EXPECT_EQ(qAlpha(QImage(QString::fromStdString(out.file("two-16x16-4.png"))).pixel(5, 5)) % 255, 0);
    // Its own alpha rules over the mask.
    EXPECT_EQ(QImage(QString::fromStdString(out.file("two-48x48-32.png"))).pixel(7, 30), qRgba(12, 12, 12, 12));
}

TEST(SigilExtract, PngImagesAreCopiedAsStoredAndListedAtTheirStoredSize)
{
    // Stored without compression, so that any encoder's output differs.
    QImage picture(64, 64, QImage::Format_ARGB32);
    picture.fill(0x80FF0000u);
    QByteArray encoded;
    QBuffer buffer(&encoded);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, "PNG", 100));
    const Bytes png(encoded.begin(), encoded.end());
    TempDir in, out;
    ASSERT_TRUE(writeFile(in.file("p.ico"), icoFile({png})));
    const RunResult r = sigilRun({"extract", "--png", in.file("p.ico"), "-o", out.path()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(readFile(out.file("p-64x64-32.png")), png);

    const RunResult list = sigilRun({"list", "--json", in.file("p.ico")});
    ASSERT_EQ(list.code, 0) << list.err;
    const QJsonObject device =
        QJsonDocument::fromJson(QByteArray::fromStdString(list.out)).object()["devices"].toArray()[0].toObject();
    EXPECT_EQ(device["bytes"].toInteger(), qint64(png.size()));
    EXPECT_EQ(device["decodedBytes"].toInteger(), 40 + 64 * 64 * 4 + 64 * 8);
    EXPECT_NE(sigilRun({"list", in.file("p.ico")}).out.find("\t" + std::to_string(png.size()) + " bytes\n"),
              std::string::npos);
}

namespace sigil::test {
namespace {

// Names from a library go through the routine that save all as icons uses:
// hostile names stay inside the folder and none is hidden (no leading "."),
// --numbered numbers them, --png names each image after its icon.
TEST(SigilExtract, NamesStayInTheFolder)
{
    struct Case {
        std::vector<std::string> extra;
        std::set<std::string> expected;
    };
    const Case cases[] = {
        {{}, {"_._.._evil.ico", "a_b.ico", "__.ico", "e.ico", "c__d.ico", "_x.ico"}},
        {{"--numbered", "x", "2"}, {"x01.ico", "x02.ico", "x03.ico", "x04.ico", "x05.ico", "x06.ico"}},
        {{"--numbered", "../p", "3"},
         {"_._p001.ico", "_._p002.ico", "_._p003.ico", "_._p004.ico", "_._p005.ico", "_._p006.ico"}},
        {{"--png"},
         {"_._.._evil-16x16-4.png", "a_b-16x16-4.png", "__-16x16-4.png", "e-16x16-4.png", "c__d-16x16-4.png",
          "_x-16x16-4.png"}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        NeLibraryParts parts;
        parts.names = {"../../evil",
                       "a/b",
                       "..",
                       "e",
                       "c\x01\x7f"
                       "d",
                       ".x"};
        for (size_t i = 0; i < parts.names.size(); ++i)
            parts.icons.push_back({iconImage(16, 16, 4)});
        ASSERT_TRUE(writeFile(dir.file("set.icl"), neLibrary(parts)));
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("a/out"))));
        std::vector<std::string> args{"extract", dir.file("set.icl"), "-o", dir.file("a/out")};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const RunResult r = sigilRun(args);
        EXPECT_EQ(r.code, 0) << r.err;
        std::set<std::string> names;
        for (const QString& n : QDir(QString::fromStdString(dir.file("a/out"))).entryList(QDir::Files | QDir::Hidden))
            names.insert(n.toStdString());
        EXPECT_EQ(names, c.expected) << r.out;
        EXPECT_EQ(QDir(QString::fromStdString(dir.file("a"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList{"out"});
        EXPECT_EQ(QDir(QString::fromStdString(dir.path())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  (QStringList{"a", "set.icl"}));
    }
    EXPECT_EQ(sigilRun({"extract", "x.ico", "-o", "d", "--numbered", "x", "-1"}).code, 2);
}

TEST(SigilExtract, FilesThatCannotBeWrittenFail)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("a.ico"), icoFile({iconImage(16, 16, 4)})));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("ro"))));
    ASSERT_EQ(chmod(dir.file("ro").c_str(), 0555), 0);
    const RunResult r = sigilRun({"extract", dir.file("a.ico"), "-o", dir.file("ro")});
    chmod(dir.file("ro").c_str(), 0755);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("cannot write the file"), std::string::npos) << r.err;
}

TEST(SigilWriters, EveryCommandThatWritesTellsTheSystemsReason)
{
    struct Case {
        std::vector<std::string> args;  // after the input
        std::string failed;             // the file named in the message
    };
    TempDir dir;
    const std::string input = dir.file("a.ico");
    ASSERT_TRUE(writeFile(input, icoFile({iconImage(16, 16, 4)})));
    const std::string out = dir.file("out");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(out)));
    const std::vector<Case> cases = {
        {{"pack", input, "-o", out + "/a.icl"}, out + "/a.icl"},
        {{"extract", input, "-o", out}, out + "/a.ico"},
        {{"extract", "--png", input, "-o", out}, out + "/a-16x16-4.png"},
        {{"make", input, "-o", out + "/a.icns", "--sizes", "16"}, out + "/a.icns"},
        {{"thumbnail", input, out + "/a.png", "16"}, out + "/a.png"},
    };
    for (const Case& c : cases) {
        // A disk that fills after 64 bytes stops every one of them, root too.
        RunResult r;
        underFileSizeLimit(64, [&] { return (r = sigilRun(c.args)).code == kExitOk; });
        EXPECT_EQ(r.code, kExitFailed) << c.args[0];
        EXPECT_EQ(r.err, "sigil: " + c.failed + ": cannot write the file: " + std::strerror(EFBIG) + "\n");
        EXPECT_TRUE(QDir(QString::fromStdString(out)).isEmpty()) << c.args[0];
    }
}

}  // namespace
}  // namespace sigil::test

TEST(SigilThumbnail, DrawsTheFirstIconOfAnyReadableFileAtTheSizeAsked)
{
    TempDir dir;
    // A library of two icons: the first (16 and 32 pixels) is drawn, the
    // 32-pixel image scaled down to 24, or doubled to 64.
    NeLibraryParts parts;
    parts.names = {"FIRST", "SECOND"};
    parts.icons = {{iconImage(16, 16, 4, 0x11), iconImage(32, 32, 8, 0x02)}, {iconImage(48, 48, 8, 0x03)}};
    ASSERT_TRUE(writeFile(dir.file("set.icl"), neLibrary(parts)));
    ASSERT_TRUE(writeFile(dir.file("one.ani"), aniFile({icoFile({iconImage(32, 32, 4)}, 2)})));
    struct Case {
        std::string input;
        int size;
    };
    for (const Case& c : {Case{"set.icl", 24}, Case{"set.icl", 64}, Case{"one.ani", 128}}) {
        const std::string png = dir.file(c.input + std::to_string(c.size) + ".png");
        const RunResult r = sigilRun({"thumbnail", dir.file(c.input), png, std::to_string(c.size)});
        ASSERT_EQ(r.code, kExitOk) << r.err;
        const QImage image(QString::fromStdString(png), "PNG");
        EXPECT_EQ(image.size(), QSize(c.size, c.size)) << c.input;
        EXPECT_EQ(qAlpha(image.pixel(c.size / 2, c.size / 2)), 255) << c.input;
    }
    // Doubled, not smoothed: the two pixels of each source pixel agree.
    const QImage doubled(QString::fromStdString(dir.file("set.icl64.png")), "PNG");
    EXPECT_EQ(doubled.pixel(10, 10), doubled.pixel(11, 11));

    ASSERT_TRUE(writeFile(dir.file("empty.ico"), icoFile({})));
    const RunResult none = sigilRun({"thumbnail", dir.file("empty.ico"), dir.file("none.png"), "64"});
    EXPECT_EQ(none.code, kExitFailed);
    EXPECT_NE(none.err.find("no icon"), std::string::npos);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.file("none.png"))));
    for (const char* size : {"0", "1025", "64px", ""})
        EXPECT_EQ(sigilRun({"thumbnail", dir.file("set.icl"), dir.file("x.png"), size}).code, kExitUsage) << size;
    EXPECT_EQ(sigilRun({"thumbnail", dir.file("set.icl"), dir.file("x.png")}).code, kExitUsage);
    const RunResult unwritable = sigilRun({"thumbnail", dir.file("set.icl"), dir.file("no/such/x.png"), "32"});
    EXPECT_EQ(unwritable.code, kExitFailed);
}

// A PNG picture larger than 256 with transparent edges, opened as an icon
// and shrunk to each size: edge pixels keep the disk's colour, never the one
// hidden under the transparent pixels.
TEST(SigilThumbnail, ShrunkPictureEdgesKeepTheirColour)
{
    TempDir dir;
    for (const uint32_t hidden : {0x00000000u, 0x0000FF00u}) {
        const uint32_t inside = hidden ? 0xFFFF0000u : 0xFFFFFFFFu;
        const std::string input = dir.file("disk" + std::to_string(hidden) + ".png");
        ASSERT_TRUE(writeFile(input, encodedPicture(
                                         512, 512,
                                         [=](int x, int y) {
                                             return (x - 256) * (x - 256) + (y - 256) * (y - 256) < 200 * 200 ? inside
                                                                                                              : hidden;
                                         },
                                         "PNG")));
        for (int size : {256, 48, 32, 16}) {
            const std::string png = dir.file("out.png");
            ASSERT_EQ(sigilRun({"thumbnail", input, png, std::to_string(size)}).code, kExitOk);
            const QImage image = QImage(QString::fromStdString(png), "PNG").convertToFormat(QImage::Format_ARGB32);
            ASSERT_EQ(image.size(), QSize(size, size));
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {
                    const QRgb p = image.pixel(x, y);
                    const bool sameColour = std::abs(qRed(p) - qRed(inside)) <= 1 &&
                                            std::abs(qGreen(p) - qGreen(inside)) <= 1 &&
                                            std::abs(qBlue(p) - qBlue(inside)) <= 1;
                    ASSERT_TRUE(qAlpha(p) == 0 || sameColour)
                        << std::hex << p << " at " << std::dec << x << "," << y << " of " << size;
                }
        }
    }
}

TEST(SigilUsage, HelpAndVersionGoToStandardOutput)
{
    const RunResult help = sigilRun({"--help"});
    EXPECT_EQ(help.code, kExitOk);
    for (const char* word : {"sigil list", "sigil extract", "sigil pack", "sigil thumbnail", "--ini"})
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    const RunResult version = sigilRun({"--version"});
    EXPECT_EQ(version.code, kExitOk);
    EXPECT_EQ(version.out.rfind("sigil (Sigilscope) ", 0), 0u) << version.out;
    EXPECT_NE(sigilRun({"thumbnail"}).err.find("usage"), std::string::npos);
}
