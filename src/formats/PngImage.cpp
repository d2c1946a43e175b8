#include "formats/PngImage.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <cstring>

#include "imaging/Conversions.h"
#include "model/IconDevice.h"

namespace sigil {

namespace {
constexpr uint8_t kPngSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

uint32_t getU32BE(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}
}  // namespace

bool hasPngSignature(ByteView data)
{
    return data.size() >= sizeof kPngSignature && std::memcmp(data.data(), kPngSignature, sizeof kPngSignature) == 0;
}

bool deviceFromPng(ByteView data, IconDevice& device)
{
    device.reset();
    // Signature, then the IHDR chunk: length, "IHDR", width, height.
    if (!hasPngSignature(data) || data.size() < 24 || std::memcmp(data.data() + 12, "IHDR", 4) != 0)
        return false;
    const uint32_t w = getU32BE(data.data() + 16);
    const uint32_t h = getU32BE(data.data() + 20);
    if (w == 0 || h == 0 || w > uint32_t(kMaxDimension) || h > uint32_t(kMaxDimension))
        return false;
    const IconDevice shape = IconDevice::shape(static_cast<int32_t>(w), static_cast<int32_t>(h), 32);
    // Checked before decoding, so the decoder never allocates beyond it.
    if (shape.blockBytes() > kMaxBlockBytes)
        return false;

    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    QImage image;
    if (!reader.read(&image) || image.width() != shape.width || image.height() != shape.height)
        return false;
    return deviceFromArgbImage(device, image);
}

}  // namespace sigil
