#include "imaging/Conversions.h"

#include <algorithm>
#include <cstring>

#include "imaging/DevicePixels.h"
#include "imaging/PixelAccess.h"
#include "imaging/PngCodec.h"

namespace sigil {

namespace {

constexpr Color kRgbBits = 0x00FFFFFF;

// The first colour-table entry that is black; 0 when there is none.
int blackIndex(const PixelView<uint8_t>& px)
{
    const int entries = 1 << px.bitCount;
    for (int i = 0; i < entries; ++i) {
        const uint8_t* e = px.table() + 4 * i;
        if (e[0] == 0 && e[1] == 0 && e[2] == 0)
            return i;
    }
    return 0;
}

Color keyColor(const PixelView<uint8_t>& px, Color given, int type)
{
    const int64_t right = px.width - 1;
    const int64_t top = px.height - 1;  // stored row 0 is the bottom row
    switch (type) {
    case kTopLeft:
        return px.color(0, top);
    case kTopRight:
        return px.color(right, top);
    case kBottomLeft:
        return px.color(0, 0);
    case kBottomRight:
        return px.color(right, 0);
    default:
        return given & kRgbBits;
    }
}

// How transparent a target pixel becomes, 0 (opaque) to 255: the inverse of
// a Mac alpha element's value, else the grey level of the source pixel.
// Pixels the source does not have stay opaque.
int transparencyAt(const PixelView<const uint8_t>& src, bool macAlpha, int64_t x, int64_t y)
{
    if (x >= src.width || y >= src.height)
        return 0;
    if (macAlpha)
        return 255 - src.row(y)[x];
    const Color c = src.color(x, y);
    return (redOf(c) + greenOf(c) + blueOf(c)) / 3;
}

bool isMacAlpha(const IconDevice& source)
{
    return source.macFlag != 0 && source.bitCount == 8;
}

bool maskFromMonochrome(IconDevice& target, const PixelView<const uint8_t>& src)
{
    if (target.macFlag != 0)
        return false;
    const auto dst = writePixels(target);
    if (!dst)
        return false;
    // Row by row, so masks of other widths or heights line up by their
    // bottom-left corner; target pixels the source does not cover stay opaque.
    const int64_t stride = dst->maskStride();
    const int64_t common = std::min(stride, src.maskStride());
    for (int64_t y = 0; y < dst->height; ++y) {
        uint8_t* row = dst->maskRow(y);
        std::memset(row, 0, static_cast<size_t>(stride));
        if (y < src.height)
            std::memcpy(row, src.maskRow(y), static_cast<size_t>(common));
    }
    // Transparent pixels take black of the standard palettes (or zero bytes).
    const int transparentIndex = target.bitCount == 4 ? 15 : (target.bitCount == 8 ? 255 : 0);
    for (int64_t y = 0; y < dst->height; ++y)
        for (int64_t x = 0; x < dst->width; ++x) {
            if (!dst->masked(x, y))
                continue;
            if (target.bitCount <= 8)
                dst->setIndex(x, y, transparentIndex);
            else
                dst->zeroColor(x, y);
        }
    return true;
}

// The same picture as a 32-bit device: header copied with the depth
// rewritten, colours copied, alpha 0 and mask clear for the alpha step.
bool widenTo32(IconDevice& target, IconDevice& out)
{
    const auto old = writePixels(target);
    if (!old || target.bitCount != 24)
        return false;
    out = IconDevice::shape(target.width, target.height, 32);
    if (out.blockBytes() > kMaxBlockBytes || !out.allocate())
        return false;
    uint8_t* header = out.blockData();
    std::memcpy(header, target.blockData(), kHeaderBytes);
    putU16(header + hdr::kBitCount, 32);
    putU32(header + hdr::kCompression, 0);
    putU32(header + hdr::kColorsUsed, 0);
    putU32(header + hdr::kImageSize, static_cast<uint32_t>(out.colorBitsBytes() + out.maskBytes()));
    const auto dst = writePixels(out);
    if (!dst)
        return false;
    for (int64_t y = 0; y < dst->height; ++y) {
        const uint8_t* in = old->row(y);
        uint8_t* px = dst->row(y);
        for (int64_t x = 0; x < dst->width; ++x, in += 3, px += 4)
            std::memcpy(px, in, 3);
    }
    out.macFlag = target.macFlag;
    out.bytesLeft = target.bytesLeft;
    return true;
}

// Alpha of a 32-bit device from the source; fully transparent pixels
// become black with their mask bit set, every other mask bit is cleared.
bool alphaInPlace(IconDevice& target, const IconDevice& source, const PixelView<const uint8_t>& src)
{
    const bool macAlpha = isMacAlpha(source);
    const auto dst = writePixels(target);
    if (!dst || target.bitCount != 32)
        return false;
    std::memset(dst->maskStart(), 0, static_cast<size_t>(dst->maskBytes()));
    for (int64_t y = 0; y < dst->height; ++y) {
        uint8_t* px = dst->row(y);
        for (int64_t x = 0; x < dst->width; ++x, px += 4) {
            const int c = transparencyAt(src, macAlpha, x, y);
            if (c == 255) {
                px[0] = px[1] = px[2] = 0;
                dst->setMasked(x, y);
            }
            px[3] = uint8_t(255 - c);
        }
    }
    return true;
}

}  // namespace

bool normalize(IconDevice& device, bool applyTransparency, const DisplaySettings& settings)
{
    if (!device.expandPixels())
        return false;
    if (applyTransparency && settings.transparency != 0 && device.bitCount != 32 && device.macFlag == 0)
        makeTransparent(device, settings.transparencyColor, settings.transparencyType);
    return true;
}

void makeTransparent(IconDevice& device, Color color, int type)
{
    if (device.bitCount == 16)
        return;
    const auto px = writePixels(device);
    if (!px)
        return;
    const bool palette = device.bitCount <= 8;
    const int black = palette ? blackIndex(*px) : 0;
    const Color key = keyColor(*px, color, type);
    for (int64_t y = 0; y < px->height; ++y)
        for (int64_t x = 0; x < px->width; ++x) {
            if (px->color(x, y) != key)
                continue;
            px->setMasked(x, y);
            if (palette)
                px->setIndex(x, y, black);
            else
                px->zeroColor(x, y);
        }
}

bool applyMask(IconDevice& target, const IconDevice& source)
{
    if (&target == &source)
        return false;
    const auto src = readPixels(source);
    if (!src)
        return false;
    if (source.bitCount == 1)
        return maskFromMonochrome(target, *src);
    if (target.bitCount == 24) {
        IconDevice wide;
        if (!widenTo32(target, wide) || !alphaInPlace(wide, source, *src))
            return false;
        target = std::move(wide);
        return true;
    }
    if (target.bitCount == 32)
        return alphaInPlace(target, source, *src);
    return false;
}

bool replaceFrom(IconDevice& target, const IconDevice& source, bool withMask)
{
    if (&target == &source)
        return true;
    if (target.width != source.width || target.height != source.height || target.bitCount != source.bitCount)
        return false;
    if (!source.hasBlock() || source.allocatedBytes() < source.blockBytes())
        return false;
    if (withMask) {
        // Built aside, so a failed allocation leaves the target as it was.
        IconDevice copy;
        copy.copyFrom(source);
        if (!copy.hasBlock())
            return false;
        target = std::move(copy);
        return true;
    }
    // Everything before the AND mask: header, bit-field masks, colour table
    // and colour bits. Both must lay out that part alike.
    const int64_t prefix = source.blockBytes() - source.maskBytes();
    if (!target.hasBlock() || target.allocatedBytes() < target.blockBytes() ||
        target.blockBytes() - target.maskBytes() != prefix)
        return false;
    std::memcpy(target.blockData(), source.blockData(), static_cast<size_t>(prefix));
    target.compression = source.compression;
    target.imageSize = source.imageSize;
    return true;
}

RgbaImage decodePngOfSize(ByteView png, uint32_t width, uint32_t height)
{
    // The header's size is the limit, so nothing larger is ever decoded.
    RgbaImage image;
    if (!decodePng(png, image, PngLimits{std::max(width, height), int64_t(width) * int64_t(height) * 4}) ||
        uint32_t(image.width) != width || uint32_t(image.height) != height)
        return {};
    return image;
}

std::vector<uint8_t> devicePng(const IconDevice& device)
{
    if (device.keepsPng()) {
        const ByteView png = device.pngData();
        return {png.begin(), png.end()};
    }
    return encodePng(devicePixels(device));
}

}  // namespace sigil
