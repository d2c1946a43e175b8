#include "document/Clipboard.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include "imaging/BitmapImport.h"
#include "imaging/Conversions.h"
#include "imaging/Dib.h"
#include "imaging/PngCodec.h"
#include "ui/DisplayImages.h"

namespace sigil {

const char* const kBmpMimeType = "image/bmp";
const char* const kPngMimeType = "image/png";
const char* const kWindowsDibMimeType = "application/x-qt-windows-mime;value=\"DeviceIndependentBitmap\"";

namespace {

ByteView viewOf(const QByteArray& bytes)
{
    return {reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())};
}

QByteArray arrayOf(const std::vector<uint8_t>& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

// Any image as a PNG with its alpha straight; empty when it cannot be.
QByteArray pngOf(const QImage& image)
{
    return arrayOf(encodePng(toRgbaImage(image)));
}

}  // namespace

std::unique_ptr<QMimeData> deviceMimeData(const IconDevice& device, bool asMask)
{
    const auto dib = dibFromDevice(device, asMask);
    if (!dib)
        return nullptr;
    const QByteArray file = arrayOf(bitmapFileFromDib(*dib));
    auto data = std::make_unique<QMimeData>();
    data->setData(kBmpMimeType, file);
    const QImage image = QImage::fromData(file, "BMP");
    if (!image.isNull()) {
        data->setImageData(image);
        // PNG too, by name: what most programs of this desktop paste. The
        // image keeps its transparency there, as in a PNG file written from it.
        const QByteArray png = asMask ? pngOf(image) : arrayOf(devicePng(device));
        if (!png.isEmpty())
            data->setData(kPngMimeType, png);
    }
    return data;
}

std::unique_ptr<QMimeData> imageMimeData(const QImage& image)
{
    if (image.isNull())
        return nullptr;
    // Qt's BMP writer gives a plain 24-bit bitmap with the 40-byte header
    // that every program pastes; the alpha goes with the PNG.
    QByteArray bmp;
    QBuffer bmpBuffer(&bmp);
    if (!bmpBuffer.open(QIODevice::WriteOnly) || !image.convertToFormat(QImage::Format_RGB32).save(&bmpBuffer, "BMP"))
        return nullptr;
    const QByteArray png = pngOf(image);
    if (png.isEmpty())
        return nullptr;
    auto data = std::make_unique<QMimeData>();
    data->setData(kBmpMimeType, bmp);
    data->setData(kPngMimeType, png);
    data->setImageData(image);
    return data;
}

bool offersBitmap(const QMimeData* data)
{
    return data && (data->hasFormat(kWindowsDibMimeType) || data->hasFormat(kBmpMimeType) ||
                    data->hasFormat(kPngMimeType) || data->hasImage());
}

bool deviceFromMimeData(const QMimeData* data, IconDevice& device, bool applyTransparency,
                        const DisplaySettings& settings)
{
    device.reset();
    if (!data)
        return false;
    // The bitmap forms keep depth and palette; an image is the fallback, also
    // for bitmaps this reader refuses (newer headers, say).
    if (data->hasFormat(kWindowsDibMimeType) &&
        pasteDib(viewOf(data->data(kWindowsDibMimeType)), device, applyTransparency, settings))
        return true;
    if (data->hasFormat(kBmpMimeType) &&
        loadBitmapBytes(device, viewOf(data->data(kBmpMimeType)), applyTransparency, settings))
        return true;
    // A PNG keeps its alpha as the icon's transparency (32 bits).
    RgbaImage pixels;
    bool withAlpha = true;
    if (data->hasFormat(kPngMimeType))
        decodePng(viewOf(data->data(kPngMimeType)), pixels);  // empty when refused
    if (pixels.empty() && data->hasImage()) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        withAlpha = image.hasAlphaChannel();
        pixels = toRgbaImage(image);
    }
    if (pixels.empty())
        return false;
    const auto dib = dibFromRgba(pixels.view(), withAlpha);
    return dib && pasteDib(*dib, device, applyTransparency, settings);
}

bool copyToClipboard(const IconDevice& device, bool asMask)
{
    auto data = deviceMimeData(device, asMask);
    if (!data)
        return false;
    QGuiApplication::clipboard()->setMimeData(data.release());
    return true;
}

bool copyImageToClipboard(const QImage& image)
{
    auto data = imageMimeData(image);
    if (!data)
        return false;
    QGuiApplication::clipboard()->setMimeData(data.release());
    return true;
}

bool pasteFromClipboard(IconDevice& device, bool applyTransparency, const DisplaySettings& settings)
{
    return deviceFromMimeData(QGuiApplication::clipboard()->mimeData(), device, applyTransparency, settings);
}

}  // namespace sigil
