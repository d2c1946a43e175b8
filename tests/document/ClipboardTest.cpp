#include <gtest/gtest.h>

#include <QBuffer>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include "document/Clipboard.h"
#include "imaging/Dib.h"
#include "support/BmpBytes.h"

using namespace sigil;
using namespace sigil::test;

namespace {

// One application for the whole run, on the offscreen platform, whose
// clipboard works within the process.
class ClipboardTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (QGuiApplication::instance())
            return;
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "imaging_tests";
        static char* argv[] = {name, nullptr};
        static QGuiApplication app(argc, argv);
    }

    DisplaySettings none_ = [] {
        DisplaySettings s;
        s.transparency = 0;
        return s;
    }();
};

QByteArray arrayOf(const Bytes& b)
{
    return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
}

TEST_F(ClipboardTest, PngFormKeepsTheTransparency)
{
    // A 32-bit image's own alpha rules over its mask; a palette image's
    // mask becomes alpha 0.
    IconDevice alpha = makeDevice(2, 1, 32, [](int, int) { return 0x0C959595u; });
    setMask(alpha, [](int, int) { return true; });
    IconDevice palette = makeDevice(2, 1, 8, [](int, int) { return 0u; });
    setMask(palette, [](int x, int) { return x == 0; });
    struct Case {
        const IconDevice& device;
        QRgb p0, p1;
    } cases[] = {{alpha, qRgba(149, 149, 149, 12), qRgba(149, 149, 149, 12)},
                 {palette, qRgba(255, 255, 255, 0), qRgba(255, 255, 255, 255)}};
    for (const Case& c : cases) {
        const auto data = deviceMimeData(c.device, false);
        ASSERT_NE(data, nullptr);
        const QImage png = QImage::fromData(data->data(kPngMimeType), "PNG").convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(png.size(), QSize(2, 1));
        EXPECT_EQ(png.pixel(0, 0), c.p0);
        EXPECT_EQ(png.pixel(1, 0), c.p1);
    }
}

TEST_F(ClipboardTest, CopyThenPasteKeepsDepthPaletteAndPixels)
{
    IconDevice source = makeDevice(7, 3, 8, [](int x, int y) { return uint32_t(10 * x + y); });
    setTableEntry(source, 21, 0x123456);
    setMask(source, [](int x, int) { return x == 0; });
    ASSERT_TRUE(copyToClipboard(source, false));

    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(kBmpMimeType));
    ASSERT_TRUE(data->hasImage());  // for programs that take only images
    const QImage image = qvariant_cast<QImage>(data->imageData());
    EXPECT_EQ(image.size(), QSize(7, 3));
    EXPECT_EQ(image.pixel(2, 1) & 0xFFFFFF, 0x123456u);  // index 21 is column 2 of the middle row
    const QImage png = QImage::fromData(data->data(kPngMimeType), "PNG");
    EXPECT_EQ(png.size(), QSize(7, 3));
    EXPECT_EQ(png.pixel(2, 1) & 0xFFFFFF, 0x123456u);

    IconDevice pasted;
    ASSERT_TRUE(pasteFromClipboard(pasted, true, none_));
    EXPECT_EQ(pasted.bitCount, 8);
    EXPECT_EQ(getU32(pasted.blockData() + 40 + 4 * 21), 0x123456u);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(pixelAt(pasted, x, y), uint32_t(10 * x + y));
    EXPECT_EQ(maskedCount(pasted), 0);  // the image goes without its mask
}

TEST_F(ClipboardTest, PasteAppliesTransparencyWhenAsked)
{
    const IconDevice source = makeDevice(4, 2, 24, [](int x, int) { return x == 3 ? 0xFFFFFFu : 0x101010u; });
    ASSERT_TRUE(copyToClipboard(source, false));
    DisplaySettings s;
    s.transparencyType = 2;  // top-right: white
    IconDevice pasted;
    ASSERT_TRUE(pasteFromClipboard(pasted, true, s));
    EXPECT_EQ(maskedCount(pasted), 2);
    ASSERT_TRUE(pasteFromClipboard(pasted, false, s));
    EXPECT_EQ(maskedCount(pasted), 0);
}

TEST_F(ClipboardTest, ZeroAlphaPicturePastesTransparentBlack)
{
    QMimeData data;
    data.setData(kBmpMimeType, arrayOf(bmpFile(plainBmp(3, 3, 32, [](int, int) { return 0x00C0FFEEu; }))));
    IconDevice pasted;
    ASSERT_TRUE(deviceFromMimeData(&data, pasted, true, none_));
    EXPECT_EQ(pasted.bitCount, 32);
    EXPECT_EQ(maskedCount(pasted), 9);
    EXPECT_EQ(pixelAt(pasted, 1, 1), 0u);
}

TEST_F(ClipboardTest, WindowsDibPreferredOverImage)
{
    QMimeData data;
    data.setData(kWindowsDibMimeType, arrayOf(dibBytes(plainBmp(2, 2, 4, [](int x, int) { return uint32_t(x); }))));
    QImage image(5, 5, QImage::Format_RGB32);
    image.fill(Qt::red);
    data.setImageData(image);
    IconDevice pasted;
    ASSERT_TRUE(deviceFromMimeData(&data, pasted, false, none_));
    EXPECT_EQ(pasted.bitCount, 4);
    EXPECT_EQ(pasted.width, 2);
    EXPECT_EQ(pixelAt(pasted, 1, 0), 1u);
}

TEST_F(ClipboardTest, ImageFallbackByAlpha)
{
    struct Case {
        QImage::Format format;
        int bits;
    };
    for (const Case& c : {Case{QImage::Format_ARGB32, 32}, Case{QImage::Format_RGB888, 24}}) {
        QImage image(4, 3, c.format);
        image.fill(QColor(200, 100, 50, 255));
        image.setPixelColor(3, 0, QColor(1, 2, 3, c.bits == 32 ? 128 : 255));
        QMimeData data;
        // A bitmap form this reader refuses (a newer header) falls back too.
        Bmp v5 = plainBmp(4, 3, 24, [](int, int) { return 0u; });
        v5.header.size = 124;
        data.setData(kBmpMimeType, arrayOf(bmpFile(v5)));
        data.setImageData(image);
        IconDevice pasted;
        ASSERT_TRUE(deviceFromMimeData(&data, pasted, false, none_)) << c.bits;
        EXPECT_EQ(pasted.bitCount, c.bits);
        EXPECT_EQ(pasted.width, 4);
        const uint32_t alpha = c.bits == 32 ? 0xFF000000u : 0;
        EXPECT_EQ(pixelAt(pasted, 0, 0), alpha | 0xC86432u);
        EXPECT_EQ(pixelAt(pasted, 3, 2), (c.bits == 32 ? 0x80000000u : 0) | 0x010203u);  // top-right
    }
}

TEST_F(ClipboardTest, PngAloneKeepsItsAlpha)
{
    QImage image(5, 2, QImage::Format_ARGB32);
    image.fill(QColor(10, 20, 30, 255));
    image.setPixelColor(4, 0, QColor(0, 0, 0, 0));
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG"));
    QMimeData data;
    data.setData(kPngMimeType, png);
    ASSERT_TRUE(offersBitmap(&data));
    IconDevice pasted;
    ASSERT_TRUE(deviceFromMimeData(&data, pasted, false, none_));
    EXPECT_EQ(pasted.bitCount, 32);
    EXPECT_EQ(pixelAt(pasted, 0, 1), 0xFF0A141Eu);  // stored rows run bottom-up
    EXPECT_EQ(maskedCount(pasted), 1);
    EXPECT_TRUE(maskedAt(pasted, 4, 1));
}

TEST_F(ClipboardTest, NothingReadableLeavesDeviceEmpty)
{
    QMimeData text;
    text.setText("not a picture");
    QMimeData broken;
    broken.setData(kWindowsDibMimeType, QByteArray("\x28\0\0\0", 4));
    for (const QMimeData* data : {static_cast<const QMimeData*>(nullptr), static_cast<const QMimeData*>(&text),
                                  static_cast<const QMimeData*>(&broken)}) {
        IconDevice pasted = makeDevice(2, 2, 8, [](int, int) { return 0u; });
        EXPECT_FALSE(deviceFromMimeData(data, pasted, true, none_));
        EXPECT_FALSE(pasted.hasBlock());
    }
    QGuiApplication::clipboard()->clear();
    IconDevice pasted;
    EXPECT_FALSE(pasteFromClipboard(pasted, true, none_));
    EXPECT_FALSE(copyToClipboard(IconDevice{}, false));
}

TEST_F(ClipboardTest, OffersBitmapForEveryFormPasteReads)
{
    QMimeData text;
    text.setText("not a picture");
    EXPECT_FALSE(offersBitmap(nullptr));
    EXPECT_FALSE(offersBitmap(&text));
    QMimeData dib;
    dib.setData(kWindowsDibMimeType, QByteArray("x"));
    EXPECT_TRUE(offersBitmap(&dib));
    QMimeData file;
    file.setData(kBmpMimeType, QByteArray("x"));
    EXPECT_TRUE(offersBitmap(&file));
    QMimeData image;
    image.setImageData(QImage(2, 2, QImage::Format_RGB32));
    EXPECT_TRUE(offersBitmap(&image));
}

TEST_F(ClipboardTest, MaskCopyOfTrueColorIsWhiteWhereTransparent)
{
    const IconDevice source = makeDevice(3, 1, 32, [](int x, int) { return x == 1 ? 0x00000000u : 0xFF445566u; });
    ASSERT_TRUE(copyToClipboard(source, true));
    IconDevice pasted;
    ASSERT_TRUE(pasteFromClipboard(pasted, false, none_));
    EXPECT_EQ(pasted.bitCount, 8);
    EXPECT_EQ(pixelAt(pasted, 0, 0), 0u);
    EXPECT_EQ(pixelAt(pasted, 1, 0), 255u);
    EXPECT_EQ(getU32(pasted.blockData() + 40 + 4 * 255), 0xFFFFFFu);
}

}  // namespace
