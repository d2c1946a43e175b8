#include "imaging/PictureImport.h"

#include <QSize>
#include <algorithm>
#include <cstring>

#include "imaging/BitmapImport.h"
#include "imaging/Conversions.h"
#include "imaging/DevicePixels.h"
#include "imaging/JpegCodec.h"
#include "imaging/PngCodec.h"
#include "imaging/Resample.h"
#include "platform/FileBytes.h"

namespace sigil {

namespace {

constexpr size_t kMacBinaryHeaderBytes = 128;

// Only these two spellings mark a GIF ("Gif" is not one of them).
bool isGif(ByteView picture)
{
    return picture.size() >= 3 &&
           (std::memcmp(picture.data(), "GIF", 3) == 0 || std::memcmp(picture.data(), "gif", 3) == 0);
}

// The picture's size shrunk, proportions kept, to fit the limits (0 or
// less: none). Sides are truncated, so a thin picture can end with a side
// of 0.
QSize fittedSize(QSize size, int maxWidth, int maxHeight)
{
    const bool tooWide = maxWidth > 0 && size.width() > maxWidth;
    const bool tooHigh = maxHeight > 0 && size.height() > maxHeight;
    if (!tooWide && !tooHigh)
        return size;
    const double ratio = double(size.width()) / double(size.height());
    const bool widthBound = maxWidth > 0 && (maxHeight <= 0 || ratio > double(maxWidth) / double(maxHeight));
    if (widthBound)
        return {maxWidth, int(maxWidth / ratio)};
    return {int(ratio * maxHeight), maxHeight};
}

// Pictures of more pixels than this are not decoded at their full size.
constexpr int64_t kWholeDecodePixels = int64_t{4096} * 4096;
// Nor is anything decoded into more pixels than this (256 MB of RGBA).
constexpr int64_t kMaxDecodePixels = int64_t{64} << 20;

bool isPng(ByteView data)
{
    static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return data.size() >= sizeof kSignature && std::memcmp(data.data(), kSignature, sizeof kSignature) == 0;
}

bool isBitmapFile(ByteView data)
{
    return data.size() >= 2 && data[0] == 'B' && data[1] == 'M';
}

// PNG data and bitmap files (under a picture's name) decoded whole; empty
// for anything else.
RgbaImage decodeWhole(ByteView data)
{
    if (isPng(data)) {
        RgbaImage image;
        return decodePng(data, image) ? image : RgbaImage{};
    }
    if (isBitmapFile(data)) {
        IconDevice device;
        return loadBitmapBytes(device, data, false, DisplaySettings{}) ? devicePixels(device) : RgbaImage{};
    }
    return {};
}

// A JPEG decoded whole unless it is very large: then the decoder shrinks it
// as it decodes to about four times the fitted size, so that its whole size
// never has to fit in memory; the resampler takes it from there.
RgbaImage decodeJpegFor(ByteView data, const JpegSize& size, const QSize& fitted)
{
    const bool large = int64_t{size.width} * size.height > kWholeDecodePixels;
    return decodeJpeg(data, large ? fitted.width() * 4 : 0, large ? fitted.height() * 4 : 0, kMaxDecodePixels);
}

// The picture shrunk to `size` by the resampler (colour weighted by alpha,
// so what is hidden under transparent pixels never tints the edges) and
// drawn on white: rows of R, G, B.
std::vector<uint8_t> renderOnWhite(const RgbaImage& decoded, const QSize& size)
{
    const RgbaImage picture = (decoded.width == size.width() && decoded.height == size.height())
                                  ? RgbaImage{}
                                  : resampled(decoded.view(), size.width(), size.height());
    const RgbaImage& shown = picture.empty() ? decoded : picture;
    if (shown.width != size.width() || shown.height != size.height())
        return {};
    std::vector<uint8_t> rgb(size_t(shown.width) * size_t(shown.height) * 3);
    uint8_t* out = rgb.data();
    for (int y = 0; y < shown.height; ++y) {
        const uint8_t* in = shown.row(y);
        for (int x = 0; x < shown.width; ++x, in += 4, out += 3) {
            const int a = in[3];
            for (int c = 0; c < 3; ++c)
                out[c] = uint8_t((in[c] * a + 255 * (255 - a) + 127) / 255);
        }
    }
    return rgb;
}

// A 24-bit device of the picture's R, G, B rows (top first), bottom row
// first as devices keep them; AND mask clear.
bool deviceFromRgbRows(IconDevice& device, const std::vector<uint8_t>& rgb, const QSize& size)
{
    device.reset();
    device.width = size.width();
    device.height = size.height();
    device.bitCount = 24;
    if (!device.allocate())
        return false;
    device.writeIconHeader();
    uint8_t* bits = device.blockData() + kHeaderBytes;
    const int64_t stride = device.rowStride();
    for (int y = 0; y < device.height; ++y) {
        const uint8_t* in = rgb.data() + size_t(y) * size_t(device.width) * 3;
        uint8_t* out = bits + (device.height - 1 - y) * stride;
        for (int x = 0; x < device.width; ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    }
    return true;
}

}  // namespace

bool loadPngPictureBytes(IconDevice& device, ByteView data, int maxWidth, int maxHeight)
{
    device.reset();
    if (!isPng(data))
        return false;
    RgbaImage picture;
    if (!decodePng(data, picture))
        return false;
    const QSize size(picture.width, picture.height);
    const QSize fitted = fittedSize(size, maxWidth, maxHeight);
    if (fitted.width() <= 0 || fitted.height() <= 0 || fitted.width() > kMaxDimension ||
        fitted.height() > kMaxDimension ||
        IconDevice::shape(fitted.width(), fitted.height(), 32).blockBytes() > kMaxBlockBytes)
        return false;
    if (fitted != size)
        picture = resampled(picture.view(), fitted.width(), fitted.height());
    if (picture.width != fitted.width() || picture.height != fitted.height() || !deviceFromRgba(device, picture)) {
        device.reset();
        return false;
    }
    return true;
}

bool openPngAsIcon(IconEntry& icon, const std::string& path, const std::string& name)
{
    icon.clearEntry();
    FileBytes file;
    IconDevice device;
    if (!file.open(path) || !loadPngPictureBytes(device, file.bytes(), kPictureMaxSide, kPictureMaxSide))
        return false;
    icon.devices.push_back(std::move(device));
    icon.name = name;
    icon.source = path;
    return true;
}

bool loadPictureBytes(IconDevice& device, ByteView data, int maxWidth, int maxHeight, std::atomic<bool>& gifRefused)
{
    const ByteView picture =
        (!data.empty() && data[0] == 0)
            ? (data.size() > kMacBinaryHeaderBytes ? data.subspan(kMacBinaryHeaderBytes) : ByteView{})
            : data;
    if (isGif(picture)) {
        gifRefused = true;
        return false;
    }
    if (picture.empty())
        return false;

    // Drawn as stored, as the platform's picture loader did: no turning by
    // the picture's orientation tag.
    RgbaImage decoded = decodeWhole(picture);
    const JpegSize jpeg = decoded.empty() ? jpegSize(picture) : JpegSize{};
    const QSize size = decoded.empty() ? QSize(jpeg.width, jpeg.height) : QSize(decoded.width, decoded.height);
    if (!size.isValid() || size.isEmpty())
        return false;
    const QSize fitted = fittedSize(size, maxWidth, maxHeight);
    if (fitted.width() <= 0 || fitted.height() <= 0)
        return false;
    if (decoded.empty())
        decoded = decodeJpegFor(picture, jpeg, fitted);
    const std::vector<uint8_t> rgb = renderOnWhite(decoded, fitted);
    if (rgb.empty() || !deviceFromRgbRows(device, rgb, fitted))
        return false;
    // Nothing to expand, and pictures never get automatic transparency, so
    // the settings are not looked at.
    normalize(device, false, DisplaySettings{});
    return true;
}

bool loadPicture(IconDevice& device, const std::string& path, int maxWidth, int maxHeight,
                 std::atomic<bool>& gifRefused)
{
    FileBytes file;
    if (!file.open(path))
        return false;
    return loadPictureBytes(device, file.bytes(), maxWidth, maxHeight, gifRefused);
}

bool openPictureAsIcon(IconEntry& icon, const std::string& path, const std::string& name, std::atomic<bool>& gifRefused)
{
    icon.clearEntry();
    IconDevice device;
    if (!loadPicture(device, path, kPictureMaxSide, kPictureMaxSide, gifRefused))
        return false;
    icon.devices.push_back(std::move(device));
    icon.name = name;
    icon.source = path;
    return true;
}

}  // namespace sigil
