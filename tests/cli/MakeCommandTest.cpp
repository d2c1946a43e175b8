// `sigil make`: a hand-drawn size kept beside a large picture, SVG input,
// and every failure ending with a message and no file.
#include <gtest/gtest.h>

#include <QDir>
#include <sstream>

#include "cli/SigilCommands.h"
#include "formats/IconFile.h"
#include "imaging/DevicePixels.h"
#include "imaging/MacIconImport.h"
#include "imaging/PngCodec.h"
#include "imaging/SvgImage.h"
#include "platform/FileBytes.h"
#include "support/IconBytes.h"
#include "support/SigilRun.h"
#include "support/TempDir.h"

using namespace sigil;
using namespace sigil::test;

namespace {

RgbaImage pattern(int side, int salt)
{
    RgbaImage image{side, side, int64_t{side} * 4, std::vector<uint8_t>(size_t(side) * size_t(side) * 4)};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            uint8_t* p = &image.bytes[(size_t(y) * size_t(side) + size_t(x)) * 4];
            p[0] = uint8_t((x * 37 + salt) & 0xFF);
            p[1] = uint8_t((y * 53) & 0xFF);
            p[2] = uint8_t(((x ^ y) * 11) & 0xFF);
            p[3] = (x + y) % 5 == 0 ? 0 : 255;
            if (p[3] == 0)
                p[0] = p[1] = p[2] = 0;
        }
    return image;
}

Bytes pngOf(const RgbaImage& image)
{
    return encodePng(image.bytes.data(), uint32_t(image.width), uint32_t(image.height), size_t(image.stride));
}

Bytes fileBytes(const std::string& path)
{
    FileBytes file;
    if (!file.open(path))
        return {};
    return Bytes(file.bytes().begin(), file.bytes().end());
}

// A 32-bit bitmap device's pixels as straight RGBA, rows from the top.
Bytes rgbaOf(const IconDevice& d)
{
    Bytes out;
    const uint8_t* bits = d.blockData() + kHeaderBytes;
    for (int y = 0; y < d.height; ++y) {
        const uint8_t* row = bits + (d.height - 1 - y) * d.rowStride();
        for (int x = 0; x < d.width; ++x)
            out.insert(out.end(), {row[4 * x + 2], row[4 * x + 1], row[4 * x], row[4 * x + 3]});
    }
    return out;
}

TEST(SigilMake, HandDrawnSizeIsKeptPixelForPixelBesideALargePicture)
{
    TempDir dir;
    const RgbaImage hand = pattern(16, 1);
    const Bytes big = pngOf(pattern(256, 2));
    ASSERT_TRUE(writeFile(dir.file("hand16.png"), pngOf(hand)));
    ASSERT_TRUE(writeFile(dir.file("big.png"), big));
    const RunResult r = sigilRun(
        {"make", dir.file("big.png"), dir.file("hand16.png"), "-o", dir.file("a.ico"), "--sizes", "16,32,256"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, dir.file("a.ico") + "\n");
    IconEntry icon;
    ASSERT_TRUE(readIconBytes(fileBytes(dir.file("a.ico")), icon));
    ASSERT_EQ(icon.devices.size(), 3u);
    EXPECT_EQ(icon.devices[0].width, 16);
    EXPECT_EQ(rgbaOf(icon.devices[0]), hand.bytes);
    EXPECT_EQ(icon.devices[1].width, 32);
    EXPECT_FALSE(icon.devices[1].keepsPng());
    // The picture of exactly 256 is stored as its own PNG data.
    ASSERT_TRUE(icon.devices[2].keepsPng());
    EXPECT_TRUE(std::ranges::equal(icon.devices[2].pngData(), big));
}

TEST(SigilMake, IconFileGivesItsLargestImage)
{
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("in.ico"), icoFile({iconImage(16, 16, 4), iconImage(48, 48, 32)})));
    ASSERT_EQ(sigilRun({"make", dir.file("in.ico"), "-o", dir.file("out.ico"), "--sizes", "48"}).code, 0);
    IconEntry in, out;
    ASSERT_TRUE(readIconBytes(fileBytes(dir.file("in.ico")), in));
    ASSERT_TRUE(readIconBytes(fileBytes(dir.file("out.ico")), out));
    ASSERT_EQ(out.devices.size(), 1u);
    EXPECT_EQ(rgbaOf(out.devices[0]), devicePixels(in.devices[1]).bytes);
}

TEST(SigilMake, SvgGivesEverySizeOfAnIcns)
{
    if (!svgRendererAvailable())
        GTEST_SKIP() << "librsvg is not installed";
    TempDir dir;
    const std::string svg = "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 10 10'><circle cx='5' cy='5' r='4' "
                            "fill='#3366cc'/></svg>";
    ASSERT_TRUE(writeFile(dir.file("app.svg"), Bytes(svg.begin(), svg.end())));
    const RunResult r = sigilRun({"make", dir.file("app.svg"), "-o", dir.file("app.icns")});
    ASSERT_EQ(r.code, 0) << r.err;
    IconEntry icon;
    ASSERT_TRUE(
        loadMacIconBytes(icon, fileBytes(dir.file("app.icns")), dir.file("app.icns"), "app", DisplaySettings{}));
    std::set<int> sizes;
    for (const IconDevice& d : icon.devices)
        sizes.insert(d.width);
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 64, 128, 256, 512, 1024}));
}

struct FailureCase {
    const char* name;
    std::vector<std::string> args;  // "DIR/" is the test's folder
    int code;
    const char* message;
};

class SigilMakeFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(SigilMakeFailure, SaysWhyAndLeavesTheOutputAlone)
{
    const FailureCase& c = GetParam();
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("big.png"), pngOf(pattern(64, 0))));
    ASSERT_TRUE(writeFile(dir.file("notes.txt"), Bytes{'h', 'i'}));
    ASSERT_TRUE(writeFile(dir.file("out.ico"), Bytes{'o', 'l', 'd'}));
    std::vector<std::string> args{"make"};
    for (std::string a : c.args) {
        if (a.starts_with("DIR/"))
            a = dir.file(a.substr(4));
        args.push_back(a);
    }
    const RunResult r = sigilRun(args);
    EXPECT_EQ(r.code, c.code);
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());
    // What stood there is as it was, and nothing else was left.
    EXPECT_EQ(fileBytes(dir.file("out.ico")), (Bytes{'o', 'l', 'd'}));
    EXPECT_EQ(QDir(QString::fromStdString(dir.path())).entryList(QDir::Files).size(), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SigilMakeFailure,
    testing::Values(
        FailureCase{"MissingInput", {"DIR/none.png", "-o", "DIR/out.ico"}, 1, "none.png: No such file"},
        FailureCase{
            "UnreadableInput", {"DIR/notes.txt", "-o", "DIR/out.ico"}, 1, "notes.txt: not an SVG document, a picture"},
        FailureCase{
            "IcoCannotHold300", {"DIR/big.png", "-o", "DIR/out.ico", "--sizes", "16,300"}, 1, "cannot hold 300"},
        FailureCase{"IcnsCannotHold20", {"DIR/big.png", "-o", "DIR/out.icns", "--sizes", "20"}, 1, "cannot hold 20"},
        FailureCase{"NoInputLargeEnough",
                    {"DIR/big.png", "-o", "DIR/out.ico", "--sizes", "16,128"},
                    1,
                    "no input is 128 x 128"},
        FailureCase{"OutputFolderMissing",
                    {"DIR/big.png", "-o", "DIR/no/out.ico", "--sizes", "16"},
                    1,
                    "cannot write the file"},
        FailureCase{"OtherExtension", {"DIR/big.png", "-o", "DIR/out.png"}, 2, "must be named .ico or .icns"},
        FailureCase{"NoOutput", {"DIR/big.png"}, 2, "usage: sigil make"},
        FailureCase{
            "SizeNotANumber", {"DIR/big.png", "-o", "DIR/out.ico", "--sizes", "16,x"}, 2, "\"x\" is not a size"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
