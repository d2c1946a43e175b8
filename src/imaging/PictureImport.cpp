#include "imaging/PictureImport.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <cstring>

#include "imaging/Conversions.h"
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

// The picture decoded (whole, unless it is very large), shrunk to `size` by the resampler (colour
// weighted by alpha, so what is hidden under transparent pixels never
// tints the edges) and drawn on white.
QImage renderOnWhite(QImageReader& reader, QSize size)
{
    // A large photo is first shrunk by its decoder (a JPEG decoder does so
    // as it decodes) to four times the size asked for, so that its whole
    // size never has to fit in memory; the resampler takes it from there.
    const QSize source = reader.size();
    if (int64_t{source.width()} * source.height() > kWholeDecodePixels)
        reader.setScaledSize(
            QSize(std::min(source.width(), size.width() * 4), std::min(source.height(), size.height() * 4)));
    QImage picture = reader.read();
    if (!picture.isNull() && picture.size() != size)
        picture = resampledImage(picture, size);
    if (picture.isNull())
        return {};
    QImage surface(size, QImage::Format_BGR888);
    if (surface.isNull())
        return {};
    surface.fill(Qt::white);
    QPainter painter(&surface);
    painter.drawImage(QRect(QPoint(0, 0), size), picture);
    painter.end();
    return surface;
}

// A 24-bit device of the surface's pixels, bottom row first; AND mask clear.
bool deviceFromSurface(IconDevice& device, const QImage& surface)
{
    device.reset();
    device.width = surface.width();
    device.height = surface.height();
    device.bitCount = 24;
    if (!device.allocate())
        return false;
    device.writeIconHeader();
    uint8_t* bits = device.lock() + kHeaderBytes;
    const int64_t stride = device.rowStride();
    const size_t rowBytes = size_t(device.width) * 3;
    for (int y = 0; y < device.height; ++y)
        std::memcpy(bits + (device.height - 1 - y) * stride, surface.constScanLine(y), rowBytes);
    device.unlock();
    return true;
}

bool isPng(ByteView data)
{
    static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    return data.size() >= sizeof kSignature && std::memcmp(data.data(), kSignature, sizeof kSignature) == 0;
}

// A 32-bit device of the ARGB32 (straight alpha) image, bottom row first,
// the AND-mask bit set where alpha is 0; colour under it is kept.

}  // namespace

bool loadPngPictureBytes(IconDevice& device, ByteView data, int maxWidth, int maxHeight)
{
    device.reset();
    if (!isPng(data))
        return false;
    QImage picture = decodePngImage(data);
    const QSize size = picture.size();
    if (picture.isNull() || size.isEmpty())
        return false;
    const QSize fitted = fittedSize(size, maxWidth, maxHeight);
    if (fitted.width() <= 0 || fitted.height() <= 0 || fitted.width() > kMaxDimension ||
        fitted.height() > kMaxDimension ||
        IconDevice::shape(fitted.width(), fitted.height(), 32).blockBytes() > kMaxBlockBytes)
        return false;
    if (fitted != size)
        picture = resampledImage(picture, fitted);
    if (picture.isNull() || picture.size() != fitted)
        return false;
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    if (argb.isNull() || !deviceFromArgbImage(device, argb)) {
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

    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(picture.data()), static_cast<qsizetype>(picture.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Drawn as stored, as the platform's picture loader did: no turning by
    // the picture's orientation tag.
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return false;
    const QSize fitted = fittedSize(size, maxWidth, maxHeight);
    if (fitted.width() <= 0 || fitted.height() <= 0)
        return false;
    const QImage surface = renderOnWhite(reader, fitted);
    if (surface.isNull() || !deviceFromSurface(device, surface))
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
