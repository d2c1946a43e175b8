// Drawing a device's packed block into RGBA pixels: the icon maker of a
// platform, written out.

#include "imaging/DevicePixels.h"

#include <cstring>
#include <vector>

#include "model/TransientPixels.h"

namespace sigil {

namespace {

// A device may be up to 65535 pixels each way while its block stays small
// (1 bit per pixel); drawn at full size its ARGB image would take gigabytes.
// Such a device is drawn from every step-th pixel, so that the image before
// scaling holds no more than this many pixels. Real icons are far below it.
constexpr int64_t kMaxRenderPixels = int64_t{1024} * 1024;
// A picture handed to other programs is drawn pixel for pixel, up to an
// image as large as the largest block.
constexpr int64_t kMaxRgbaPixels = kMaxBlockBytes / 4;

int renderStep(int width, int height, int64_t maxPixels)
{
    int step = 1;
    while (int64_t((width + step - 1) / step) * ((height + step - 1) / step) > maxPixels)
        ++step;
    return step;
}

// Draws a packed image (compression 0) at its own size, or from every
// renderStep-th pixel when that is more than `maxPixels`. Transparency comes from the
// AND mask, except for 32-bit images with any non-zero alpha byte when alpha
// is honoured: then the alpha channel rules, as on a platform that draws
// alpha icons.
RgbaImage renderBlock(ByteView block, int width, int height, int bits, bool honourAlpha,
                      int64_t maxPixels = kMaxRenderPixels)
{
    const IconDevice shape = IconDevice::shape(width, height, bits);
    const int64_t table = IconDevice::colorTableBytes(bits);
    const int64_t stride = shape.rowStride();
    const int64_t maskStride = shape.maskStride();
    if (stride <= 0 || static_cast<int64_t>(block.size()) < shape.blockBytes())
        return {};
    const uint8_t* palette = block.data() + kHeaderBytes;
    const uint8_t* pixels = palette + table;
    const uint8_t* mask = pixels + shape.colorBitsBytes();

    bool useAlpha = false;
    if (bits == 32 && honourAlpha) {
        for (int64_t y = 0; y < height && !useAlpha; ++y) {
            const uint8_t* row = pixels + y * stride;
            for (int x = 0; x < width; ++x) {
                if (row[4 * x + 3] != 0) {
                    useAlpha = true;
                    break;
                }
            }
        }
    }

    const int step = renderStep(width, height, maxPixels);
    RgbaImage image = RgbaImage::blank((width + step - 1) / step, (height + step - 1) / step);
    if (image.empty())
        return {};
    for (int oy = 0; oy < image.height; ++oy) {
        // Stored rows run bottom-up.
        const int y = oy * step;
        const uint8_t* row = pixels + int64_t(height - 1 - y) * stride;
        const uint8_t* maskRow = mask + int64_t(height - 1 - y) * maskStride;
        uint8_t* out = image.row(oy);
        for (int ox = 0; ox < image.width; ++ox) {
            const int x = ox * step;
            uint8_t b = 0, g = 0, r = 0, a = 255;
            auto fromPalette = [&](unsigned index) {
                const uint8_t* e = palette + 4 * index;
                b = e[0];
                g = e[1];
                r = e[2];
            };
            switch (bits) {
            case 1:
                fromPalette((row[x >> 3] >> (7 - (x & 7))) & 1);
                break;
            case 4:
                fromPalette((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F);
                break;
            case 8:
                fromPalette(row[x]);
                break;
            case 16: {
                // Plain 16-bit pixels are 5-5-5.
                const unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
                b = uint8_t(((v & 0x1F) * 255 + 15) / 31);
                g = uint8_t((((v >> 5) & 0x1F) * 255 + 15) / 31);
                r = uint8_t((((v >> 10) & 0x1F) * 255 + 15) / 31);
                break;
            }
            case 24:
                b = row[3 * x];
                g = row[3 * x + 1];
                r = row[3 * x + 2];
                break;
            case 32:
                b = row[4 * x];
                g = row[4 * x + 1];
                r = row[4 * x + 2];
                if (useAlpha)
                    a = row[4 * x + 3];
                break;
            default:
                return {};
            }
            if (!useAlpha && ((maskRow[x >> 3] >> (7 - (x & 7))) & 1))
                a = 0;
            out[4 * ox] = r;
            out[4 * ox + 1] = g;
            out[4 * ox + 2] = b;
            out[4 * ox + 3] = a;
        }
    }
    return image;
}

bool drawable(const IconDevice& d)
{
    return d.hasBlock() && d.compression == 0 && d.allocatedBytes() >= d.blockBytes();
}

// A copy of the block whose 32-bit pixels are blended onto the background
// (fully transparent ones made black), to be drawn with its AND mask.
std::vector<uint8_t> blendedOnto(const IconDevice& d, Color background)
{
    std::vector<uint8_t> copy(d.blockData(), d.blockData() + d.allocatedBytes());
    const int bg[3] = {blueOf(background), greenOf(background), redOf(background)};
    const int64_t bitsBytes = d.colorBitsBytes();
    uint8_t* p = copy.data() + kHeaderBytes;
    for (int64_t i = 0; i + 3 < bitsBytes; i += 4, p += 4) {
        const int a = p[3];
        if (a == 0) {
            p[0] = p[1] = p[2] = 0;
        } else if (a != 255) {
            for (int c = 0; c < 3; ++c)
                p[c] = uint8_t(bg[c] - a * (bg[c] - p[c]) / 255);
        }
    }
    return copy;
}

// A copy of the block with opaque colour bits and a clear AND mask.
std::vector<uint8_t> colourOnly(const IconDevice& d)
{
    std::vector<uint8_t> copy(d.blockData(), d.blockData() + d.allocatedBytes());
    const size_t pixelsAt = static_cast<size_t>(kHeaderBytes + IconDevice::colorTableBytes(d.bitCount));
    const int64_t bitsBytes = d.colorBitsBytes();
    if (d.bitCount == 32) {
        for (int64_t i = 3; i < bitsBytes; i += 4)
            copy[pixelsAt + i] = 255;
    }
    std::memset(copy.data() + pixelsAt + bitsBytes, 0, static_cast<size_t>(d.maskBytes()));
    return copy;
}

// The mask as a grey block: 8-bit grey (255 - alpha) for 32-bit devices,
// the AND mask as a black and white 1-bit image for the others.
RgbaImage maskPixels(const IconDevice& d)
{
    const int64_t bitsBytes = d.colorBitsBytes();
    const uint8_t* pixels = d.blockData() + kHeaderBytes + IconDevice::colorTableBytes(d.bitCount);
    const uint8_t* andMask = pixels + bitsBytes;
    const IconDevice shape = IconDevice::shape(d.width, d.height, d.bitCount == 32 ? 8 : 1);
    const int64_t outTable = IconDevice::colorTableBytes(shape.bitCount);
    const int64_t outBits = shape.colorBitsBytes();
    std::vector<uint8_t> out(static_cast<size_t>(shape.blockBytes()), 0);
    std::memcpy(out.data(), d.blockData(), kHeaderBytes);
    putU16(out.data() + hdr::kBitCount, static_cast<uint16_t>(shape.bitCount));
    putU32(out.data() + hdr::kColorsUsed, uint32_t{1} << shape.bitCount);
    putU32(out.data() + hdr::kImageSize, static_cast<uint32_t>(outBits + shape.maskBytes()));
    uint8_t* t = out.data() + kHeaderBytes;
    uint8_t* o = t + outTable;
    if (d.bitCount == 32) {
        for (int k = 0; k < 256; ++k)
            t[4 * k] = t[4 * k + 1] = t[4 * k + 2] = uint8_t(k);
        const int64_t srcStride = d.rowStride();
        const int64_t dstStride = shape.rowStride();
        for (int64_t y = 0; y < d.height; ++y)
            for (int64_t x = 0; x < d.width; ++x)
                o[y * dstStride + x] = uint8_t(255 - pixels[y * srcStride + 4 * x + 3]);
    } else {
        t[4] = t[5] = t[6] = 255;  // black, then white
        std::memcpy(o, andMask, static_cast<size_t>(d.maskBytes()));
    }
    return renderBlock(out, d.width, d.height, shape.bitCount, true);
}

}  // namespace

RgbaImage devicePixels(const IconDevice& device)
{
    if (device.keepsPng() && !device.pixelsDecoded()) {
        IconDevice scratch;
        return devicePixels(transientPixels(device, scratch));
    }
    if (!drawable(device) || int64_t{device.width} * device.height > kMaxRgbaPixels)
        return {};
    return renderBlock(device.blockView(), device.width, device.height, device.bitCount, true, kMaxRgbaPixels);
}

RgbaImage displayPixels(const IconDevice& device, DisplayMode mode, Color background, bool xpDisplay)
{
    if (device.keepsPng() && !device.pixelsDecoded()) {
        // Display images are cached by whoever shows them; decoding into a
        // copy keeps this device compressed.
        IconDevice scratch;
        return displayPixels(transientPixels(device, scratch), mode, background, xpDisplay);
    }
    if (!drawable(device) || device.width <= 0 || device.height <= 0)
        return {};
    const int w = device.width;
    const int h = device.height;
    switch (mode) {
    case DisplayMode::Normal:
        if (xpDisplay && device.bitCount == 32)
            return renderBlock(blendedOnto(device, background), w, h, 32, false);
        return renderBlock(device.blockView(), w, h, device.bitCount, true);
    case DisplayMode::Image:
        return renderBlock(colourOnly(device), w, h, device.bitCount, true);
    case DisplayMode::Mask:
        return maskPixels(device);
    }
    return {};
}

}  // namespace sigil
