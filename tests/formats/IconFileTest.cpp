#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>

#include "imaging/DevicePixels.h"
#include "support/QtPixels.h"

#include "formats/IconFile.h"
#include "formats/PngImage.h"
#include "support/FileSizeLimit.h"
#include "support/IconBytes.h"
#include "support/TempDir.h"

using namespace sigil;
using namespace sigil::test;

namespace {

IconEntry readBytes(const Bytes& bytes)
{
    IconEntry e;
    readIconBytes(bytes, e);
    return e;
}

TEST(ReadIconFile, SortsDevicesAndNamesTheEntry)
{
    TempDir dir;
    const std::string path = dir.file("two.ico");
    ASSERT_TRUE(writeFile(path, icoFile({iconImage(32, 32, 4), iconImage(16, 16, 4)})));
    IconEntry e;
    ASSERT_TRUE(readIconFile(e, path, "two"));
    ASSERT_EQ(e.deviceCount(), 2);
    EXPECT_EQ(e.devices[0].width, 16);
    EXPECT_EQ(e.devices[1].width, 32);
    EXPECT_EQ(e.name, "two");
    EXPECT_EQ(e.source, path);
    EXPECT_EQ(e.devices[1].allocatedBytes(), 744);
}

TEST(ReadIconFile, MissingFileAndEmptyFileAreRefused)
{
    TempDir dir;
    IconEntry e;
    EXPECT_FALSE(readIconFile(e, dir.file("nothing.ico"), "nothing"));
    ASSERT_TRUE(writeFile(dir.file("empty.ico"), {}));
    EXPECT_FALSE(readIconFile(e, dir.file("empty.ico"), "empty"));
}

TEST(ReadIcon, UnsupportedHeaderDropsOnlyThatImage)
{
    Bytes second = iconImage(16, 16, 4);
    putU32(second.data(), 108);
    const IconEntry e = readBytes(icoFile({iconImage(32, 32, 4), second}));
    ASSERT_EQ(e.deviceCount(), 1);
    EXPECT_EQ(e.devices[0].width, 32);
}

TEST(ReadIcon, RefusedImageIsSkippedByItsByteCount)
{
    // An RLE4 image in the middle: its bytes are skipped and the next image
    // is still found.
    Bytes rle4 = iconImage(16, 16, 4);
    putU32(rle4.data() + 16, 2);
    const IconEntry e = readBytes(icoFile({iconImage(16, 16, 8), rle4, iconImage(32, 32, 1)}));
    ASSERT_EQ(e.deviceCount(), 2);
    EXPECT_EQ(e.devices[0].bitCount, 8);
    EXPECT_EQ(e.devices[1].bitCount, 1);
}

TEST(ReadIcon, ImagesAreReadWhereTheirOffsetsPoint)
{
    // The directory lists a 16 x 16 image first but its offset points after
    // the 32 x 32 image: each entry's image is read at its offset.
    const Bytes big = iconImage(32, 32, 4, 0x22);
    const Bytes small = iconImage(16, 16, 4, 0x33);
    Bytes file;
    put16(file, 0);
    put16(file, 1);
    put16(file, 2);
    for (auto [bytes, offset] : {std::pair{small.size(), 38 + big.size()}, std::pair{big.size(), size_t(38)}}) {
        file.insert(file.end(), {16, 16, 16, 0});
        put16(file, 1);
        put16(file, 4);
        put32(file, uint32_t(bytes));
        put32(file, uint32_t(offset));
    }
    append(file, big);
    append(file, small);
    const IconEntry e = readBytes(file);
    ASSERT_EQ(e.deviceCount(), 2);
    EXPECT_EQ(e.devices[0].width, 16);
    EXPECT_EQ(e.devices[1].width, 32);
    EXPECT_EQ(e.devices[1].blockData()[40 + 64], 0x22);
    EXPECT_EQ(e.devices[0].blockData()[40 + 64], 0x33);
}

// Three images (16, 32 and 48 pixels at 32, 8 and 32 bits) laid out in a
// file as writers do: each image read must equal its record from the colour
// table on, a missing AND mask reading as opaque.
TEST(ReadIcon, ImagesAreFoundWhereverTheFileKeepsThem)
{
    enum Offsets { Real, Zero, PastTheEnd, AllTheFirst };
    struct Case {
        const char* name;
        bool maskless;  // records end before their AND masks; the sizes agree
        bool reversed;  // the last entry's image stored first
        size_t gap;     // bytes of 0xEE before each image
        Offsets offsets;
    };
    const Case cases[] = {
        {"back to back", false, false, 0, Real},
        {"without masks", true, false, 0, Real},
        {"gaps between", false, false, 100, Real},
        {"reverse order", false, true, 0, Real},
        {"reverse order without masks", true, true, 0, Real},
        {"offsets 0", false, false, 0, Zero},
        {"offsets past the end", false, false, 0, PastTheEnd},
        {"every offset the first image's", false, false, 0, AllTheFirst},
    };
    const int widths[] = {16, 32, 48}, depths[] = {32, 8, 32};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Bytes> images, stored;
        for (int i = 0; i < 3; ++i) {
            images.push_back(iconImage(widths[i], widths[i], depths[i], uint8_t(0x31 + i), 0x0F));
            const size_t mask = size_t((widths[i] + 31) / 32 * 4 * widths[i]);
            stored.push_back(c.maskless ? Bytes(images[i].begin(), images[i].end() - long(mask)) : images[i]);
            if (c.maskless)
                std::fill(images[i].end() - long(mask), images[i].end(), 0);
        }
        Bytes body;
        uint32_t at[3] = {};
        for (int k = 0; k < 3; ++k) {
            const int i = c.reversed ? 2 - k : k;
            body.insert(body.end(), c.gap, 0xEE);
            at[i] = uint32_t(6 + 16 * 3 + body.size());
            append(body, stored[i]);
        }
        Bytes file;
        put16(file, 0);
        put16(file, 1);
        put16(file, 3);
        for (int i = 0; i < 3; ++i) {
            file.insert(file.end(), {uint8_t(widths[i]), uint8_t(widths[i]), 0, 0});
            put16(file, 1);
            put16(file, uint16_t(depths[i]));
            put32(file, uint32_t(stored[i].size()));
            const uint32_t offsets[] = {at[i], 0, 0xFFFFFF00u, at[0]};
            put32(file, offsets[c.offsets]);
        }
        append(file, body);
        const IconEntry e = readBytes(file);
        EXPECT_EQ(e.deviceCount(), 3);
        for (int i = 0; i < e.deviceCount(); ++i) {
            const IconDevice& d = e.devices[size_t(i)];
            ASSERT_EQ(d.width, widths[i]);
            ASSERT_EQ(size_t(d.allocatedBytes()), images[i].size());
            EXPECT_TRUE(std::equal(images[i].begin() + 40, images[i].end(), d.blockData() + 40)) << widths[i];
        }
    }
}

TEST(ReadIcon, OffsetsCannotMultiplyMemory)
{
    // Entries that all name one image, and headers 40 bytes apart that each
    // claim a 256 x 256 image: one device each time, as a sequential reader
    // gives (only the header that runs to the end of the file keeps its zeros).
    Header h;
    h.width = 256;
    h.height = 512;
    h.bitCount = 32;
    const Bytes header = headerBytes(h);
    for (const bool repeated : {true, false}) {
        const int count = 50;
        Bytes file;
        put16(file, 0);
        put16(file, 1);
        put16(file, count);
        for (int i = 0; i < count; ++i) {
            file.insert(file.end(), {0, 0, 0, 0});
            put16(file, 1);
            put16(file, 32);
            put32(file, 40);
            put32(file, uint32_t(6 + 16 * count + (repeated ? 0 : 40 * i)));
        }
        for (int i = 0; i < (repeated ? 1 : count); ++i)
            append(file, header);
        EXPECT_EQ(readBytes(file).deviceCount(), 1) << repeated;
    }
}

TEST(ReadIcon, TruncatedImageKeepsItsDeviceWithZeros)
{
    Bytes file = icoFile({iconImage(32, 32, 4, 0x77)});
    file.resize(file.size() - 200);
    const IconEntry e = readBytes(file);
    ASSERT_EQ(e.deviceCount(), 1);
    const IconDevice& d = e.devices[0];
    ASSERT_EQ(d.allocatedBytes(), 744);
    EXPECT_EQ(d.blockData()[40 + 64], 0x77);
    EXPECT_EQ(d.blockData()[743], 0);
}

TEST(ReadIcon, HeaderWithoutItsDataCannotDemandMemory)
{
    // An image cut short by the end of the file is kept, zero-filled, when
    // its block is modest (up to 1 MiB) or mostly arrived; a header claiming
    // more with little behind it is refused.
    struct Case {
        int width;
        size_t kept;  // bytes of the image record left in the file
        int devices;
    };
    const Case cases[] = {
        {256, 40, 1},                              // 262 KB, only the header
        {256, 40 + 1000, 1}, {512, 40 + 1000, 0},  // 1.06 MB
        {512, 600000, 1},                          // more than half arrived
        {7000, 40, 0},                             // about 200 MB
    };
    for (const Case& c : cases) {
        Header h;
        h.width = c.width;
        h.height = 2 * c.width;
        h.bitCount = 32;
        Bytes image = headerBytes(h);
        image.resize(c.kept, 0x5A);
        EXPECT_EQ(readBytes(icoFile({image})).deviceCount(), c.devices) << c.width << " " << c.kept;
    }
}

TEST(ReadIcon, LyingDirectoriesGiveWhatIsThere)
{
    // An entry claiming 4 GiB keeps its image; the skip stops at the end.
    Bytes file = icoFile({iconImage(16, 16, 4)}, 1, {0xFFFFFFFFu});
    EXPECT_EQ(readBytes(file).deviceCount(), 1);
    // A count of 65535: the entries read swallow the image, but the first
    // entry's offset still finds it; the missing rest costs nothing.
    putU16(file.data() + 4, 0xFFFF);
    EXPECT_EQ(readBytes(file).deviceCount(), 1);
    // Header only.
    EXPECT_EQ(readBytes(Bytes{0, 0, 1, 0, 5, 0}).deviceCount(), 0);
    // Shorter than a header.
    EXPECT_EQ(readBytes(Bytes{0, 0, 1}).deviceCount(), 0);
}

TEST(ReadIcon, PngImagesBecome32BitDevices)
{
    const Bytes png = pngImage(256, 256, 0x80FF0000);
    Bytes transparent = pngImage(20, 10, 0x00000000);
    const IconEntry e = readBytes(icoFile({iconImage(16, 16, 8), png, transparent}));
    ASSERT_EQ(e.deviceCount(), 3);
    const IconDevice& big = e.devices[2];
    EXPECT_EQ(big.width, 256);
    EXPECT_EQ(big.height, 256);
    EXPECT_EQ(big.bitCount, 32);
    EXPECT_EQ(big.allocatedBytes(), 270376);
    const uint8_t* px = big.blockData() + 40;
    EXPECT_EQ(px[0], 0x00);                     // blue
    EXPECT_EQ(px[2], 0xFF);                     // red
    EXPECT_EQ(px[3], 0x80);                     // alpha kept
    EXPECT_EQ(px[big.colorBitsBytes()], 0x00);  // opaque in the AND mask
    const IconDevice& clear = e.devices[1];
    EXPECT_EQ(clear.width, 20);
    const uint8_t* mask = clear.blockData() + 40 + clear.colorBitsBytes();
    EXPECT_EQ(mask[0], 0xFF);
    EXPECT_EQ(mask[2], 0xF0);  // 20 pixels: the rest of the row is padding
}

TEST(ReadIcon, BrokenPngDropsThatImageOnly)
{
    Bytes png = pngImage(32, 32, 0xFF00FF00);
    png.resize(40);
    const IconEntry e = readBytes(icoFile({png, iconImage(16, 16, 4)}));
    ASSERT_EQ(e.deviceCount(), 1);
    EXPECT_EQ(e.devices[0].width, 16);
}

TEST(WriteIcon, EntriesFollowTheTable)
{
    IconEntry e;
    e.addDevice(48, 48, 8);
    e.addDevice(256, 256, 32);
    const auto bytes = encodeIconFile(e);
    ASSERT_TRUE(bytes);
    const uint8_t* p = bytes->data();
    EXPECT_EQ(getU16(p + 2), 1);
    EXPECT_EQ(getU16(p + 4), 2);
    EXPECT_EQ(p[6], 48);
    EXPECT_EQ(p[7], 48);
    EXPECT_EQ(p[8], 0);
    EXPECT_EQ(getU32(p + 6 + 12), 38u);
    EXPECT_EQ(p[22], 0);
    EXPECT_EQ(p[23], 0);
    EXPECT_EQ(p[24], 0);
    EXPECT_EQ(getU16(p + 22 + 6), 32);
    EXPECT_EQ(getU32(p + 22 + 8), 270376u);
    EXPECT_EQ(getU32(p + 22 + 12), 38u + 3752);
    EXPECT_EQ(bytes->size(), 38u + 3752 + 270376);
}

TEST(WriteIcon, OneBitDevice)
{
    IconEntry e;
    e.addDevice(32, 32, 1);
    const auto bytes = encodeIconFile(e);
    ASSERT_TRUE(bytes);
    const uint8_t* entry = bytes->data() + 6;
    EXPECT_EQ(entry[2], 2);
    EXPECT_EQ(getU16(entry + 4), 1);
    EXPECT_EQ(getU16(entry + 6), 1);
    EXPECT_EQ(getU32(entry + 8), 304u);
}

TEST(WriteIcon, RoundTripIsByteForByte)
{
    // A file in canonical order and written layout, with non-zero header
    // fields that must survive.
    Bytes a = iconImage(16, 16, 4, 0x5A, 0x0F);
    putU32(a.data() + 24, 2835);
    Bytes b = iconImage(32, 32, 24, 0xC3, 0xF0);
    Bytes c = iconImage(32, 32, 32, 0x7E, 0x00);
    // Fields the reader rewrites to describe the device: colours used and
    // the image size.
    putU32(a.data() + 32, 16);
    putU32(a.data() + 20, 128 + 64);
    putU32(b.data() + 20, 3072 + 128);
    putU32(c.data() + 20, 4096 + 128);
    Bytes original = icoFile({a, b, c});
    // The writer's entry bytes: width, height, colour count, planes, bits.
    const std::array<std::array<uint8_t, 8>, 3> fields = {
        {{16, 16, 16, 0, 1, 0, 4, 0}, {32, 32, 0, 0, 1, 0, 24, 0}, {32, 32, 0, 0, 1, 0, 32, 0}}};
    for (size_t i = 0; i < 3; ++i)
        std::copy(fields[i].begin(), fields[i].end(), original.begin() + 6 + 16 * i);
    const IconEntry e = readBytes(original);
    const auto written = encodeIconFile(e);
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, original);
}

TEST(WriteIcon, CursorBecomesAnIcon)
{
    Bytes cur = icoFile({iconImage(32, 32, 1)}, 2);
    putU16(cur.data() + 6 + 4, 5);  // hotspot x
    putU16(cur.data() + 6 + 6, 9);  // hotspot y
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("arrow.cur"), cur));
    IconEntry e;
    ASSERT_TRUE(readIconFile(e, dir.file("arrow.cur"), "arrow"));
    ASSERT_TRUE(writeIconFile(e, dir.file("arrow.ico")).ok());
    const Bytes out = readFile(dir.file("arrow.ico"));
    ASSERT_EQ(out.size(), 6u + 16 + 304);
    EXPECT_EQ(getU16(out.data() + 2), 1);
    EXPECT_EQ(getU16(out.data() + 6 + 4), 1);
    EXPECT_EQ(getU16(out.data() + 6 + 6), 1);
}

TEST(WriteIcon, EmptyEntryWritesNoFile)
{
    TempDir dir;
    IconEntry e;
    EXPECT_EQ(writeIconFile(e, dir.file("none.ico")).status, WriteStatus::CannotStore);
    EXPECT_TRUE(readFile(dir.file("none.ico")).empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(dir.file("none.ico"))));
}

TEST(WriteIcon, FailedWriteLeavesTheOldFileIntact)
{
    TempDir dir;
    const std::string path = dir.file("keep.ico");
    const Bytes old = icoFile({iconImage(16, 16, 4)});
    ASSERT_TRUE(writeFile(path, old));
    IconEntry big;
    big.addDevice(256, 256, 32);

    const bool ok = underFileSizeLimit(4096, [&] { return writeIconFile(big, path).ok(); });

    EXPECT_FALSE(ok);
    EXPECT_EQ(readFile(path), old);
    EXPECT_EQ(QDir(QString::fromStdString(dir.path())).entryList(QDir::Files).size(), 1);
}

TEST(WriteIcon, UnwritableFolderFails)
{
    IconEntry e;
    e.addDevice(16, 16, 4);
    EXPECT_EQ(writeIconFile(e, "/nonexistent-folder/x.ico").status, WriteStatus::FileFailed);
}

// Real files from other projects: what Qt's own ICO reader shows must match
// the image we build from our devices.
class CorpusIcons : public testing::TestWithParam<const char*> {};

TEST_P(CorpusIcons, LargestDeviceMatchesQtsReader)
{
    const std::string path = corpusFile(GetParam());
    if (path.empty())
        GTEST_SKIP() << "corpus not present";
    IconEntry e;
    ASSERT_TRUE(readIconFile(e, path, "x"));
    QImageReader reader(QString::fromStdString(path), "ico");
    if (!reader.canRead())
        GTEST_SKIP() << "Qt's ico plugin not installed";
    // Find Qt's image of the same size as our last (widest, deepest) device.
    const IconDevice& d = e.devices.back();
    QImage theirs;
    for (int i = 0; i < reader.imageCount(); ++i) {
        reader.jumpToImage(i);
        QImage img = reader.read();
        if (img.width() == d.width && img.height() == d.height && (theirs.isNull() || img.depth() >= theirs.depth()))
            theirs = img;
    }
    if (theirs.isNull())
        GTEST_SKIP() << "Qt's reader gave no image of that size";
    // Both premultiplied, so semi-transparent pixels compare exactly.
    const QImage ours = test::qimageOf(displayPixels(d, DisplayMode::Normal, 0, false))
                            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    theirs = theirs.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    ASSERT_EQ(ours.size(), theirs.size());
    int differing = 0;
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x) {
            const QRgb a = ours.pixel(x, y), b = theirs.pixel(x, y);
            if (a != b)
                ++differing;
        }
    EXPECT_EQ(differing, 0);
}

INSTANTIATE_TEST_SUITE_P(Files, CorpusIcons,
                         testing::Values("pillow/hopper.ico", "pillow/python.ico", "pillow/pillow.ico",
                                         "pillow/black_and_white.ico", "gdk-pixbuf/squares.ico",
                                         "pillow/hopper_256x256.ico"),
                         [](const auto& info) {
                             std::string n = info.param;
                             for (char& c : n)
                                 if (!isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return n;
                         });

TEST(CorpusIcons, FileCutShortKeepsItsLastImage)
{
    // python.ico holds 16, 32 and 48 pixel images; at 7000 bytes the 48
    // pixel one has 1514 of its 9640 bytes.
    const std::string path = corpusFile("pillow/python.ico");
    if (path.empty())
        GTEST_SKIP() << "corpus not present";
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray all = f.readAll();
    const Bytes file(all.begin(), all.begin() + 7000);
    const IconEntry e = readBytes(file);
    ASSERT_EQ(e.deviceCount(), 3);
    const IconDevice& last = e.devices[2];
    ASSERT_EQ(last.width, 48);
    EXPECT_TRUE(std::equal(file.begin() + 5446 + 40, file.end(), last.blockData() + 40));
    EXPECT_EQ(last.blockData()[last.allocatedBytes() - 1], 0);
}

TEST(CorpusIcons, EveryFileReadsWithoutFault)
{
    for (const char* name :
         {"pillow/hopper_unexpected.ico", "pillow/no_cursors.cur", "pillow/deerstalker.cur", "pillow/mask_1.cur",
          "pillow/mask_L.cur", "pillow/hopper_mask.ico", "pillow/hopper_draw.ico", "gdk-pixbuf/bug785447.ico"}) {
        const std::string path = corpusFile(name);
        if (path.empty())
            GTEST_SKIP() << "corpus not present";
        IconEntry e;
        readIconFile(e, path, "x");
        for (const IconDevice& d : e.devices)
            EXPECT_EQ(d.allocatedBytes(), d.blockBytes()) << name;
    }
}

// The PNG images of the corpus icons stay compressed: they decode to exactly
// the pixels of a decode at reading time, and are written back unchanged.
TEST(CorpusIcons, PngImagesDecodeAlikeAndWriteBackByteForByte)
{
    if (corpusFile("pillow/hopper_256x256.ico").empty())
        GTEST_SKIP() << "corpus not present";
    const std::string root = SIGIL_CORPUS_DIR;
    int pngImages = 0;
    QDirIterator it(QString::fromStdString(root), {"*.ico", "*.cur"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const std::string path = it.next().toStdString();
        const Bytes original = readFile(path);
        IconEntry e;
        if (!readIconBytes(original, e))
            continue;
        const auto written = encodeIconFile(e);
        ASSERT_TRUE(written) << path;
        for (size_t i = 0; i < e.devices.size(); ++i) {
            const IconDevice& d = e.devices[i];
            if (!d.keepsPng())
                continue;
            ++pngImages;
            EXPECT_FALSE(d.pixelsDecoded()) << path;
            const ByteView png = d.pngData();
            EXPECT_NE(std::search(original.begin(), original.end(), png.begin(), png.end()), original.end()) << path;
            const uint8_t* entry = written->data() + 6 + 16 * i;
            ASSERT_EQ(getU32(entry + 8), png.size()) << path;
            EXPECT_TRUE(std::equal(png.begin(), png.end(), written->data() + getU32(entry + 12))) << path;
            IconDevice eager;
            ASSERT_TRUE(deviceFromPng(png, eager)) << path;
            ASSERT_EQ(eager.allocatedBytes(), d.allocatedBytes()) << path;
            EXPECT_TRUE(std::equal(eager.blockView().begin(), eager.blockView().end(), d.blockData())) << path;
        }
    }
    EXPECT_GT(pngImages, 0);
}

TEST(WriteIcon, EditedPngImageIsWrittenAsABitmap)
{
    const Bytes png = pngImage(32, 32, 0x80FF0000);
    IconEntry e = readBytes(icoFile({png}));
    ASSERT_EQ(e.deviceCount(), 1);
    IconDevice& d = e.devices[0];
    ASSERT_TRUE(d.keepsPng());
    // An unchanged image keeps its size on disk.
    EXPECT_EQ(encodeIconFile(e)->size(), 6 + 16 + png.size());
    d.blockData()[kHeaderBytes] = 0x12;
    const auto written = encodeIconFile(e);
    ASSERT_TRUE(written);
    EXPECT_EQ(getU32(written->data() + 6 + 8), 40u + 4096 + 128);
    EXPECT_EQ(getU32(written->data() + 22), 40u);  // a bitmap header
    const IconEntry back = readBytes(*written);
    ASSERT_EQ(back.deviceCount(), 1);
    EXPECT_TRUE(back.devices[0].sameDevice(d));
    EXPECT_EQ(back.devices[0].blockData()[kHeaderBytes], 0x12);
}

TEST(ReadIcon, PngWithABadChunkChecksumIsDropped)
{
    Bytes png = pngImage(32, 32, 0xFF00FF00);
    png[29] ^= 1;  // inside IHDR's checksum
    const IconEntry e = readBytes(icoFile({png, iconImage(16, 16, 4)}));
    ASSERT_EQ(e.deviceCount(), 1);
    EXPECT_EQ(e.devices[0].width, 16);
}

}  // namespace
