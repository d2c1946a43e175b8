#include "imaging/PngCodec.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "imaging/PngFastDecode.h"
#include "imaging/SpngReader.h"

namespace sigil {

namespace {

std::atomic<int64_t> decodeBudget{std::numeric_limits<int64_t>::max()};

// One ancillary chunk, and all of them kept together (text, ICC profiles,
// decompressed where they are compressed): none is used, so a small bound
// only spares memory.
constexpr size_t kMaxChunkBytes = size_t{4} << 20;
constexpr size_t kMaxChunkCacheBytes = size_t{16} << 20;

// libspng's own limits are for sides up to 2^31 - 1.
uint32_t sideLimit(const PngLimits& limits)
{
    return std::min(limits.maxSide, uint32_t{0x7FFFFFFF});
}

int64_t byteLimit(const PngLimits& limits)
{
    return std::min(limits.maxBytes, decodeBudget.load());
}

}  // namespace

SpngContext openSpngReader(ByteView png, uint32_t maxSide)
{
    SpngContext ctx(spng_ctx_new(0));
    if (!ctx || spng_set_image_limits(ctx.get(), maxSide, maxSide) != 0 ||
        spng_set_chunk_limits(ctx.get(), kMaxChunkBytes, kMaxChunkCacheBytes) != 0 ||
        spng_set_png_buffer(ctx.get(), png.data(), png.size()) != 0)
        return nullptr;
    return ctx;
}

void setPngDecodeBudget(int64_t maxBytes)
{
    decodeBudget = maxBytes;
}

bool decodePng(ByteView png, RgbaImage& out, const PngLimits& limits)
{
    out = {};
    if (png.empty() || limits.maxSide == 0)
        return false;
    return decodePngFast(png, out, sideLimit(limits), byteLimit(limits)) || decodePngThroughSpng(png, out, limits);
}

bool decodePngThroughSpng(ByteView png, RgbaImage& out, const PngLimits& limits)
{
    out = {};
    if (png.empty() || limits.maxSide == 0)
        return false;
    SpngContext ctx = openSpngReader(png, sideLimit(limits));
    spng_ihdr ihdr{};
    if (!ctx || spng_get_ihdr(ctx.get(), &ihdr) != 0)
        return false;
    const int64_t maxBytes = byteLimit(limits);
    const uint64_t bytes = uint64_t(ihdr.width) * uint64_t(ihdr.height) * 4;
    size_t decodedBytes = 0;
    if (maxBytes <= 0 || bytes > uint64_t(maxBytes) ||
        spng_decoded_image_size(ctx.get(), SPNG_FMT_RGBA8, &decodedBytes) != 0 || decodedBytes != bytes)
        return false;
    std::vector<uint8_t> rgba(decodedBytes);
    // The image ends before the checksum of its last data chunk; the chunks
    // up to IEND are read too, so a damaged one refuses the image. Data
    // that ends after the pixels without IEND is kept, as the icon readers
    // keep it.
    if (spng_decode_image(ctx.get(), rgba.data(), rgba.size(), SPNG_FMT_RGBA8, SPNG_DECODE_TRNS) != 0)
        return false;
    if (const int end = spng_decode_chunks(ctx.get()); end != 0 && end != SPNG_IO_EOF)
        return false;
    out.width = int(ihdr.width);  // within the limits, below 2^31
    out.height = int(ihdr.height);
    out.stride = int64_t{out.width} * 4;
    out.bytes = std::move(rgba);
    return true;
}

std::vector<uint8_t> encodePng(const uint8_t* rgba, uint32_t width, uint32_t height, size_t stride)
{
    const size_t rowBytes = size_t(width) * 4;
    if (!rgba || width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF || stride < rowBytes)
        return {};
    // The encoder takes packed rows.
    std::vector<uint8_t> packed;
    const uint8_t* image = rgba;
    if (stride != rowBytes) {
        packed.resize(rowBytes * height);
        for (uint32_t y = 0; y < height; ++y)
            std::memcpy(packed.data() + y * rowBytes, rgba + y * stride, rowBytes);
        image = packed.data();
    }
    SpngContext ctx(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!ctx)
        return {};
    spng_ihdr ihdr{};
    ihdr.width = width;
    ihdr.height = height;
    ihdr.bit_depth = 8;
    ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
    if (spng_set_option(ctx.get(), SPNG_ENCODE_TO_BUFFER, 1) != 0 || spng_set_ihdr(ctx.get(), &ihdr) != 0 ||
        spng_encode_image(ctx.get(), image, rowBytes * height, SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) != 0)
        return {};
    size_t length = 0;
    int error = 0;
    void* buffer = spng_get_png_buffer(ctx.get(), &length, &error);
    if (!buffer || error != 0) {
        std::free(buffer);
        return {};
    }
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    std::vector<uint8_t> file(bytes, bytes + length);
    std::free(buffer);
    return file;
}

bool deviceFromRgba(IconDevice& device, const RgbaImage& pixels)
{
    device.reset();
    if (pixels.empty() || pixels.width > kMaxDimension || pixels.height > kMaxDimension ||
        pixels.stride < int64_t{pixels.width} * 4 ||
        pixels.bytes.size() < size_t(pixels.stride) * size_t(pixels.height) ||
        !device.makeBlank(pixels.width, pixels.height, 32)) {
        device.reset();
        return false;
    }
    uint8_t* bits = device.blockData() + kHeaderBytes;
    uint8_t* mask = bits + device.colorBitsBytes();
    std::memset(mask, 0, static_cast<size_t>(device.maskBytes()));
    for (int y = 0; y < pixels.height; ++y) {
        const uint8_t* in = pixels.row(y);
        const int64_t stored = int64_t(pixels.height - 1 - y);  // bottom row first
        uint8_t* row = bits + stored * device.rowStride();
        uint8_t* maskRow = mask + stored * device.maskStride();
        for (int x = 0; x < pixels.width; ++x, in += 4) {
            row[4 * x] = in[2];
            row[4 * x + 1] = in[1];
            row[4 * x + 2] = in[0];
            row[4 * x + 3] = in[3];
            if (in[3] == 0)
                maskRow[x >> 3] |= uint8_t(0x80 >> (x & 7));
        }
    }
    return true;
}

}  // namespace sigil
