#include "formats/PngImage.h"

#include <cstring>
#include <zlib.h>

#include "imaging/PngCodec.h"
#include "model/IconDevice.h"

namespace sigil {

namespace {
constexpr uint8_t kPngSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
}  // namespace

bool hasPngSignature(ByteView data)
{
    return data.size() >= sizeof kPngSignature && std::memcmp(data.data(), kPngSignature, sizeof kPngSignature) == 0;
}

namespace {

// Width and height from the IHDR chunk that must follow the signature, when
// they are within the engine's limits.
bool pngSize(ByteView data, uint32_t& w, uint32_t& h)
{
    // Signature, then the IHDR chunk: length, "IHDR", width, height.
    if (!hasPngSignature(data) || data.size() < 24 || std::memcmp(data.data() + 12, "IHDR", 4) != 0)
        return false;
    w = getU32Be(data.data() + 16);
    h = getU32Be(data.data() + 20);
    if (w == 0 || h == 0 || w > uint32_t(kMaxDimension) || h > uint32_t(kMaxDimension))
        return false;
    // Checked before decoding, so the decoder never allocates beyond it.
    return IconDevice::shape(static_cast<int32_t>(w), static_cast<int32_t>(h), 32).blockBytes() <= kMaxBlockBytes;
}

// Every chunk from IHDR to IEND (or the end of the data) whole, with its
// checksum right, and image data among them: what the decoder needs to
// find before it can fail on the compressed stream alone.
bool pngChunksSound(ByteView data)
{
    size_t at = 8;
    bool imageData = false;
    while (at + 12 <= data.size()) {
        const uint32_t length = getU32Be(data.data() + at);
        if (length > data.size() - at - 12)
            return false;
        const uint8_t* type = data.data() + at + 4;
        // Like the decoder, only critical chunks (upper-case first letter)
        // must have their checksum right; others would be passed over.
        const bool critical = (type[0] & 0x20) == 0;
        if (critical && crc32(crc32(0L, Z_NULL, 0), type, static_cast<uInt>(length + 4)) != getU32Be(type + 4 + length))
            return false;
        if (std::memcmp(type, "IDAT", 4) == 0)
            imageData = true;
        if (std::memcmp(type, "IEND", 4) == 0)
            return imageData;
        at += 12 + length;
    }
    return imageData && at == data.size();
}

}  // namespace

bool deviceFromPng(ByteView data, IconDevice& device)
{
    device.reset();
    uint32_t w = 0, h = 0;
    if (!pngSize(data, w, h))
        return false;
    RgbaImage pixels;
    return decodePng(data, pixels) && uint32_t(pixels.width) == w && uint32_t(pixels.height) == h &&
           deviceFromRgba(device, pixels);
}

bool lazyDeviceFromPng(ByteView data, IconDevice& device)
{
    device.reset();
    uint32_t w = 0, h = 0;
    if (!pngSize(data, w, h) || !pngChunksSound(data))
        return false;
    return device.keepPng(data, static_cast<int32_t>(w), static_cast<int32_t>(h), &deviceFromPng);
}

}  // namespace sigil
