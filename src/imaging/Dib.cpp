#include "imaging/Dib.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "imaging/Conversions.h"
#include "imaging/PixelAccess.h"

namespace sigil {

namespace {

constexpr int kMaskFieldBytes = 12;

// Header sizes: BITMAPINFOHEADER; the V2 and V3 headers that Photoshop
// writes (red, green and blue masks, then alpha too); BITMAPV4HEADER and
// BITMAPV5HEADER. All but the first carry the bit-field masks inside the
// header, at the offsets below; colour space and profile are not used. The
// OS/2 2.x header begins as the first and has its own compressions.
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kV2HeaderBytes = 52;
constexpr uint32_t kV3HeaderBytes = 56;
constexpr uint32_t kOs2HeaderBytes = 64;
constexpr uint32_t kV4HeaderBytes = 108;
constexpr uint32_t kV5HeaderBytes = 124;

// How many masks a header of `bytes` carries; -1 for a header not read.
int headerMaskCount(uint32_t bytes)
{
    switch (bytes) {
    case kInfoHeaderBytes:
    case kOs2HeaderBytes:
        return 0;
    case kV2HeaderBytes:
        return 3;
    case kV3HeaderBytes:
    case kV4HeaderBytes:
    case kV5HeaderBytes:
        return 4;
    default:
        return -1;
    }
}
constexpr int kV4RedMask = 40, kV4GreenMask = 44, kV4BlueMask = 48, kV4AlphaMask = 52;

// biCompression values.
constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiBitFields = 3, kBiJpeg = 4, kBiPng = 5;

bool supportedKind(int bits, uint32_t compression)
{
    switch (compression) {
    case kBiRgb:
        return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kBiRle8:
        return bits == 8;
    case kBiBitFields:
        return bits == 16 || bits == 32;
    case kBiJpeg:
    case kBiPng:
        // A whole JPEG or PNG file in place of the rows (meant for printers);
        // refused rather than handed to a picture decoder.
        return false;
    default:
        return false;
    }
}

// Bit-field masks of a header that carries them, checked: each inside the depth and
// one run of set bits, none overlapping another, and some colour present.
struct FieldMasks {
    uint32_t mask[4] = {};  // red, green, blue, alpha (0: no alpha)
};

bool contiguous(uint32_t mask)
{
    if (mask == 0)
        return true;
    const uint32_t run = mask >> std::countr_zero(mask);
    return (run & (run + 1)) == 0;
}

std::optional<FieldMasks> readFieldMasks(const uint8_t* header, int count, int bits)
{
    FieldMasks m;
    const int offsets[4] = {kV4RedMask, kV4GreenMask, kV4BlueMask, kV4AlphaMask};
    const uint64_t limit = uint64_t{1} << bits;
    uint32_t seen = 0;
    for (int i = 0; i < count; ++i) {
        m.mask[i] = getU32(header + offsets[i]);
        if (m.mask[i] >= limit || !contiguous(m.mask[i]) || (seen & m.mask[i]) != 0)
            return std::nullopt;
        seen |= m.mask[i];
    }
    if ((m.mask[0] | m.mask[1] | m.mask[2]) == 0)
        return std::nullopt;
    return m;
}

// A field's value widened (or narrowed) to 8 bits; narrow fields are spread
// over 0..255 so that a full field is white.
uint8_t fieldValue(uint32_t pixel, uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const int width = std::popcount(mask);
    const uint32_t value = (pixel & mask) >> shift;
    if (width >= 8)
        return uint8_t(value >> (width - 8));
    const uint32_t top = (uint32_t{1} << width) - 1;
    return uint8_t(value * 255 / top);
}

// What a header says, checked against the bytes that are there.
struct DibPlan {
    int32_t width = 0;
    int32_t height = 0;  // positive
    bool topDown = false;
    int bits = 0;
    uint32_t compression = 0;
    int64_t headerEnd = 0;     // header plus bit-field masks
    int64_t tableEntries = 0;  // entries read into the device's table
    int64_t pixelStart = 0;
    int64_t pixelBytes = 0;                 // colour bits to read: rows, or the RLE8 codes
    std::optional<FieldMasks> headerMasks;  // bit fields carried in the header
    // The headers that carry masks (52, 56, 108 and 124 bytes) came with
    // alpha; writers that had none to give leave the byte 0, so 32-bit
    // pixels all of alpha 0 mean an opaque picture there. Under the plain
    // and OS/2 headers they stay transparent.
    bool zeroAlphaOpaque = false;
};

std::optional<DibPlan> planDib(ByteView dib, int64_t pixelOffset)
{
    const int64_t size = static_cast<int64_t>(dib.size());
    if (size < kHeaderBytes)
        return std::nullopt;
    const uint32_t headerBytes = getU32(dib.data() + hdr::kSize);
    const int maskCount = headerMaskCount(headerBytes);
    if (maskCount < 0 || size < int64_t{headerBytes})
        return std::nullopt;
    const uint8_t* h = dib.data();
    DibPlan p;
    p.width = getI32(h + hdr::kWidth);
    const int32_t storedHeight = getI32(h + hdr::kHeight);
    p.bits = getU16(h + hdr::kBitCount);
    p.compression = getU32(h + hdr::kCompression);
    const uint32_t imageSize = getU32(h + hdr::kImageSize);
    const uint32_t colorsUsed = getU32(h + hdr::kColorsUsed);

    if (!supportedKind(p.bits, p.compression) || p.width <= 0 || p.width > kMaxDimension || storedHeight == 0 ||
        storedHeight == std::numeric_limits<int32_t>::min())
        return std::nullopt;
    p.topDown = storedHeight < 0;
    p.zeroAlphaOpaque = maskCount > 0;
    p.height = p.topDown ? -storedHeight : storedHeight;
    // Run-length data is bottom-up by definition.
    if (p.height > kMaxDimension || (p.topDown && p.compression == 1))
        return std::nullopt;

    if (headerBytes == kInfoHeaderBytes) {
        p.headerEnd = kHeaderBytes + (p.compression == kBiBitFields ? kMaskFieldBytes : 0);
    } else if (headerBytes == kOs2HeaderBytes) {
        // There compression 3 is Huffman coding, not bit fields.
        if (p.compression == kBiBitFields)
            return std::nullopt;
        p.headerEnd = headerBytes;
    } else {
        p.headerEnd = headerBytes;
        if (p.compression == kBiBitFields && !(p.headerMasks = readFieldMasks(h, maskCount, p.bits)))
            return std::nullopt;
    }
    // The declared table (a 0 count means a full one for palettes; deeper
    // pictures may carry an optional one) must be there; entries beyond the
    // depth's 2^bits are skipped.
    const int64_t fullTable = p.bits <= 8 ? int64_t{1} << p.bits : 0;
    const int64_t declared = (p.bits <= 8 && colorsUsed == 0) ? fullTable : int64_t{colorsUsed};
    if (p.headerEnd > size || declared > (size - p.headerEnd) / 4)
        return std::nullopt;
    p.tableEntries = std::min(declared, fullTable);

    p.pixelStart = pixelOffset >= p.headerEnd ? pixelOffset : p.headerEnd + 4 * declared;
    if (p.pixelStart > size)
        return std::nullopt;
    const int64_t available = size - p.pixelStart;
    if (p.compression == 1) {
        // Writers that leave the size 0 mean "to the end of the data".
        p.pixelBytes = imageSize == 0 ? available : int64_t{imageSize};
    } else {
        p.pixelBytes = IconDevice::shape(p.width, p.height, p.bits).rowStride() * p.height;
    }
    if (p.pixelBytes <= 0 || p.pixelBytes > available)
        return std::nullopt;
    return p;
}

// Every pixel with alpha 0 becomes black with its mask bit set; with
// `allZeroOpaque`, pixels that are all of alpha 0 become opaque instead.
void maskZeroAlpha(IconDevice& device, bool allZeroOpaque)
{
    const auto px = writePixels(device);
    if (!px)
        return;
    bool anyAlpha = false;
    for (int64_t y = 0; y < px->height && allZeroOpaque && !anyAlpha; ++y) {
        const uint8_t* p = px->row(y);
        for (int64_t x = 0; x < px->width && !anyAlpha; ++x, p += 4)
            anyAlpha = p[3] != 0;
    }
    if (allZeroOpaque && !anyAlpha) {
        for (int64_t y = 0; y < px->height; ++y) {
            uint8_t* p = px->row(y);
            for (int64_t x = 0; x < px->width; ++x, p += 4)
                p[3] = 0xFF;
        }
        return;
    }
    for (int64_t y = 0; y < px->height; ++y) {
        uint8_t* p = px->row(y);
        for (int64_t x = 0; x < px->width; ++x, p += 4)
            if (p[3] == 0) {
                p[0] = p[1] = p[2] = 0;
                px->setMasked(x, y);
            }
    }
}

// A header for a bitmap of the device's size at another depth.
void writeDibHeader(uint8_t* out, const IconDevice& device, int bits, uint32_t colors, int64_t imageBytes)
{
    std::memcpy(out, device.blockData(), kHeaderBytes);
    putI32(out + hdr::kHeight, device.height);
    putU16(out + hdr::kBitCount, static_cast<uint16_t>(bits));
    putU32(out + hdr::kCompression, 0);
    putU32(out + hdr::kImageSize, static_cast<uint32_t>(imageBytes));
    putU32(out + hdr::kColorsUsed, colors);
}

std::vector<uint8_t> imageDib(const IconDevice& device)
{
    // Header, bit-field masks, colour table and colour bits: the block
    // without its AND mask.
    const int64_t bytes = device.blockBytes() - device.maskBytes();
    std::vector<uint8_t> out(device.blockData(), device.blockData() + bytes);
    putI32(out.data() + hdr::kHeight, device.height);
    putU32(out.data() + hdr::kImageSize, static_cast<uint32_t>(device.colorBitsBytes()));
    return out;
}

std::optional<std::vector<uint8_t>> alphaMaskDib(const IconDevice& device)
{
    const auto px = readPixels(device);
    if (!px)
        return std::nullopt;
    const IconDevice grey = IconDevice::shape(device.width, device.height, 8);
    const int64_t stride = grey.rowStride();
    std::vector<uint8_t> out(static_cast<size_t>(kHeaderBytes + 1024 + grey.colorBitsBytes()));
    writeDibHeader(out.data(), device, 8, 256, grey.colorBitsBytes());
    for (int i = 0; i < 256; ++i)
        std::memset(out.data() + kHeaderBytes + 4 * i, i, 3);
    uint8_t* rows = out.data() + kHeaderBytes + 1024;
    for (int64_t y = 0; y < px->height; ++y) {
        const uint8_t* in = px->row(y);
        for (int64_t x = 0; x < px->width; ++x)
            rows[y * stride + x] = uint8_t(255 - in[4 * x + 3]);
    }
    return out;
}

std::vector<uint8_t> andMaskDib(const IconDevice& device)
{
    // A 1-bit row has the AND mask's stride, so the mask is copied whole.
    const int64_t maskBytes = device.maskBytes();
    std::vector<uint8_t> out(static_cast<size_t>(kHeaderBytes + 8 + maskBytes));
    writeDibHeader(out.data(), device, 1, 2, maskBytes);
    std::memset(out.data() + kHeaderBytes + 4, 0xFF, 3);  // entry 1 white
    const uint8_t* mask = device.blockData() + device.blockBytes() - maskBytes;
    std::memcpy(out.data() + kHeaderBytes + 8, mask, static_cast<size_t>(maskBytes));
    return out;
}

// The rows of a bit-field bitmap whose masks are in its header, as plain
// pixels: 32 bits when the header has an alpha mask, 24 otherwise.
bool readHeaderFields(ByteView dib, const DibPlan& plan, IconDevice& device)
{
    const FieldMasks& m = *plan.headerMasks;
    const int outBits = m.mask[3] != 0 ? 32 : 24;
    uint8_t header[kHeaderBytes];
    std::memcpy(header, dib.data(), kHeaderBytes);
    putU32(header + hdr::kSize, kInfoHeaderBytes);
    putI32(header + hdr::kHeight, plan.height);
    putU16(header + hdr::kBitCount, static_cast<uint16_t>(outBits));
    putU32(header + hdr::kCompression, kBiRgb);
    putU32(header + hdr::kImageSize, 0);
    putU32(header + hdr::kColorsUsed, 0);
    if (device.setFromHeader(ByteView(header, kHeaderBytes), false) != kHeaderBytes)
        return false;
    const int64_t inStride = IconDevice::shape(plan.width, plan.height, plan.bits).rowStride();
    const int64_t outStride = device.rowStride();
    const int inBytes = plan.bits / 8;
    const int outBytes = outBits / 8;
    uint8_t* rows = device.blockData() + kHeaderBytes;
    for (int64_t y = 0; y < plan.height; ++y) {
        const uint8_t* in = dib.data() + plan.pixelStart + y * inStride;
        uint8_t* out = rows + (plan.topDown ? plan.height - 1 - y : y) * outStride;
        for (int64_t x = 0; x < plan.width; ++x, in += inBytes, out += outBytes) {
            const uint32_t pixel = inBytes == 4 ? getU32(in) : uint32_t{getU16(in)};
            out[0] = fieldValue(pixel, m.mask[2]);
            out[1] = fieldValue(pixel, m.mask[1]);
            out[2] = fieldValue(pixel, m.mask[0]);
            if (outBytes == 4)
                out[3] = fieldValue(pixel, m.mask[3]);
        }
    }
    if (outBits == 32)
        maskZeroAlpha(device, plan.zeroAlphaOpaque);
    return true;
}

}  // namespace

bool readDib(ByteView dib, IconDevice& device, int64_t pixelOffset)
{
    device.reset();
    const auto plan = planDib(dib, pixelOffset);
    if (!plan)
        return false;
    if (plan->headerMasks) {
        if (!readHeaderFields(dib, *plan, device)) {
            device.reset();
            return false;
        }
        return true;
    }
    uint8_t header[kHeaderBytes];
    std::memcpy(header, dib.data(), kHeaderBytes);
    // The device keeps only the first 40 bytes of a longer header.
    putU32(header + hdr::kSize, kInfoHeaderBytes);
    putI32(header + hdr::kHeight, plan->height);
    // The device keeps no optional table of a true-colour picture; a count
    // left in its header would make icon readers look for one.
    if (plan->bits > 8)
        putU32(header + hdr::kColorsUsed, 0);
    if (plan->compression == 1)
        putU32(header + hdr::kImageSize, static_cast<uint32_t>(plan->pixelBytes));
    if (device.setFromHeader(ByteView(header, kHeaderBytes), false) != kHeaderBytes)
        return false;

    // The block is zero-filled: missing table entries are black and the
    // AND mask is clear (opaque).
    uint8_t* block = device.blockData();
    uint8_t* at = block + kHeaderBytes;
    if (plan->compression == 3) {
        std::memcpy(at, dib.data() + kHeaderBytes, kMaskFieldBytes);
        at += kMaskFieldBytes;
    }
    std::memcpy(at, dib.data() + plan->headerEnd, static_cast<size_t>(4 * plan->tableEntries));
    at += IconDevice::colorTableBytes(plan->bits);
    const uint8_t* pixels = dib.data() + plan->pixelStart;
    if (plan->topDown) {
        const int64_t stride = device.rowStride();
        for (int64_t y = 0; y < plan->height; ++y)
            std::memcpy(at + (plan->height - 1 - y) * stride, pixels + y * stride, static_cast<size_t>(stride));
    } else {
        std::memcpy(at, pixels, static_cast<size_t>(plan->pixelBytes));
    }

    if (plan->bits == 32) {
        // 32-bit bit fields are plain pixels once the masks are dropped.
        if (!device.expandPixels()) {
            device.reset();
            return false;
        }
        maskZeroAlpha(device, plan->zeroAlphaOpaque);
    }
    return true;
}

std::optional<std::vector<uint8_t>> dibFromDevice(const IconDevice& device, bool asMask)
{
    if (!device.hasBlock() || device.width <= 0 || device.height <= 0 || device.allocatedBytes() < device.blockBytes())
        return std::nullopt;
    if (!asMask)
        return imageDib(device);
    if (device.bitCount == 32)
        return alphaMaskDib(device);
    return andMaskDib(device);
}

std::vector<uint8_t> bitmapFileFromDib(ByteView dib)
{
    int64_t offset = kFileHeaderBytes + static_cast<int64_t>(std::min<size_t>(dib.size(), kHeaderBytes));
    if (dib.size() >= size_t{kHeaderBytes}) {
        const int bits = getU16(dib.data() + hdr::kBitCount);
        const uint32_t colors = getU32(dib.data() + hdr::kColorsUsed);
        offset += getU32(dib.data() + hdr::kCompression) == 3 ? kMaskFieldBytes : 0;
        offset += 4 * int64_t{(bits <= 8 && colors == 0) ? (uint32_t{1} << bits) : colors};
    }
    offset = std::min<int64_t>(offset, kFileHeaderBytes + static_cast<int64_t>(dib.size()));
    std::vector<uint8_t> file(kFileHeaderBytes + dib.size());
    if (!dib.empty())
        std::memcpy(file.data() + kFileHeaderBytes, dib.data(), dib.size());
    file[0] = 'B';
    file[1] = 'M';
    putU32(file.data() + 2, static_cast<uint32_t>(kFileHeaderBytes + dib.size()));
    putU32(file.data() + 10, static_cast<uint32_t>(offset));
    return file;
}

std::optional<std::vector<uint8_t>> dibFromRgba(const RgbaView& image, bool withAlpha)
{
    if (image.width <= 0 || image.height <= 0 || image.width > kMaxDimension || image.height > kMaxDimension)
        return std::nullopt;
    const int bits = withAlpha ? 32 : 24;
    const IconDevice shape = IconDevice::shape(image.width, image.height, bits);
    if (shape.blockBytes() > kMaxBlockBytes)
        return std::nullopt;

    const int64_t stride = shape.rowStride();
    std::vector<uint8_t> out(static_cast<size_t>(kHeaderBytes + shape.colorBitsBytes()));
    putU32(out.data() + hdr::kSize, kHeaderBytes);
    putI32(out.data() + hdr::kWidth, shape.width);
    putI32(out.data() + hdr::kHeight, shape.height);
    putU16(out.data() + hdr::kPlanes, 1);
    putU16(out.data() + hdr::kBitCount, static_cast<uint16_t>(bits));
    putU32(out.data() + hdr::kImageSize, static_cast<uint32_t>(shape.colorBitsBytes()));
    uint8_t* rows = out.data() + kHeaderBytes;
    const int bytes = bits / 8;
    for (int y = 0; y < shape.height; ++y) {
        const uint8_t* in = image.row(y);
        uint8_t* p = rows + int64_t(shape.height - 1 - y) * stride;  // bottom row first
        for (int x = 0; x < shape.width; ++x, p += bytes, in += 4) {
            p[0] = in[2];
            p[1] = in[1];
            p[2] = in[0];
            if (withAlpha)
                p[3] = in[3];
        }
    }
    return out;
}

bool pasteDib(ByteView dib, IconDevice& device, bool applyTransparency, const DisplaySettings& settings)
{
    if (!readDib(dib, device))
        return false;
    if (!normalize(device, applyTransparency, settings)) {
        device.reset();
        return false;
    }
    return true;
}

}  // namespace sigil
