#include "imaging/PngFastDecode.h"

#include <libdeflate.h>

#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "imaging/PngDefilter.h"
#include "imaging/SpngReader.h"

namespace sigil {

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFF;

// One chunk in the file: its type and data, the data within the view.
struct Chunk {
    size_t at = 0;  // offset of the length field
    uint32_t length = 0;
    const uint8_t* type = nullptr;
    const uint8_t* data = nullptr;

    size_t end() const { return at + 12 + length; }
    bool is(const char* name) const { return std::memcmp(type, name, 4) == 0; }
    bool critical() const { return (type[0] & 0x20) == 0; }
};

// The chunk at `at`, when its header, data and checksum all lie within
// the view.
std::optional<Chunk> chunkAt(ByteView png, size_t at)
{
    if (at > png.size() || png.size() - at < 12)
        return std::nullopt;
    Chunk c;
    c.at = at;
    c.length = getU32Be(png.data() + at);
    c.type = png.data() + at + 4;
    c.data = c.type + 4;
    if (c.length > kMaxChunkLength || png.size() - at - 12 < c.length)
        return std::nullopt;
    return c;
}

bool crcMatches(const Chunk& c)
{
    return libdeflate_crc32(0, c.type, size_t(c.length) + 4) == getU32Be(c.data + c.length);
}

// Ancillary chunks the general decoder keeps in memory, within limits of
// count and size, and checks in ways that may refuse the file: when one
// comes before the image data the general decoder reads those chunks; after
// it, the whole file is left to the general decoder.
bool isStoredAncillary(const Chunk& c)
{
    for (const char* name : {"tEXt", "zTXt", "iTXt", "iCCP", "sPLT", "eXIf"})
        if (c.is(name))
            return true;
    return false;
}

struct Layout {
    uint32_t width = 0;
    uint32_t height = 0;
    int bpp = 0;  // 3 for RGB, 4 for RGBA
    std::optional<std::array<uint8_t, 3>> key;
    bool headerForSpng = false;  // chunks before the data the general decoder must read
    std::vector<ByteView> data;  // the IDAT chunks' data, in order
};

bool readHeader(ByteView png, Layout& layout)
{
    if (png.size() < 8 || std::memcmp(png.data(), kSignature, 8) != 0)
        return false;
    const auto ihdr = chunkAt(png, 8);
    if (!ihdr || !ihdr->is("IHDR") || ihdr->length != 13 || !crcMatches(*ihdr))
        return false;
    const uint8_t* f = ihdr->data;
    layout.width = getU32Be(f);
    layout.height = getU32Be(f + 4);
    const uint8_t depth = f[8], colorType = f[9];
    if (layout.width == 0 || layout.height == 0 || layout.width > kMaxChunkLength || layout.height > kMaxChunkLength ||
        depth != 8 || (colorType != 2 && colorType != 6) || f[10] != 0 || f[11] != 0 || f[12] != 0)
        return false;
    layout.bpp = colorType == 6 ? 4 : 3;
    return true;
}

// Walks the chunks after IHDR. The chunks taken are those whose every
// outcome in the general decoder is known: ancillary chunks it only checks
// (a damaged one is passed over), the IDAT run, and IEND or the end of the
// data right after a chunk (the pixels are then complete, and kept).
bool walkChunks(ByteView png, Layout& layout)
{
    size_t at = 33;
    int keys = 0;
    std::optional<Chunk> c;
    while ((c = chunkAt(png, at)) && !c->is("IDAT")) {
        if (c->critical())
            return false;  // PLTE, IEND or an unknown critical chunk
        if (c->is("tRNS") && layout.bpp == 3) {
            // A second key is refused as a duplicate only once one was
            // taken, and a damaged one taken then dropped still counts.
            if (++keys > 1 || (c->length == 6 && !crcMatches(*c)))
                return false;
            if (c->length == 6)  // libspng keeps each sample's low byte
                layout.key = std::array<uint8_t, 3>{c->data[1], c->data[3], c->data[5]};
        }
        layout.headerForSpng = layout.headerForSpng || isStoredAncillary(*c);
        at = c->end();
    }
    if (!c)
        return false;
    for (; c && c->is("IDAT"); c = chunkAt(png, at)) {
        if (!crcMatches(*c))
            return false;
        layout.data.emplace_back(c->data, c->length);
        at = c->end();
    }
    for (; c; c = chunkAt(png, at)) {
        if (c->is("IEND"))
            return c->length == 0 && crcMatches(*c);
        if (c->critical() || isStoredAncillary(*c))
            return false;
        at = c->end();
    }
    return at == png.size();
}

// The colour key as libspng reads the chunks before the image data, when
// they hold chunks only it reads; false when it refuses them.
bool keyFromSpng(ByteView png, uint32_t maxSide, Layout& layout)
{
    SpngContext ctx = openSpngReader(png, maxSide);
    spng_ihdr ihdr{};
    if (!ctx || spng_get_ihdr(ctx.get(), &ihdr) != 0)
        return false;
    layout.key.reset();
    spng_trns trns{};
    if (layout.bpp == 3 && spng_get_trns(ctx.get(), &trns) == 0)
        layout.key = std::array<uint8_t, 3>{uint8_t(trns.red), uint8_t(trns.green), uint8_t(trns.blue)};
    return true;
}

struct DecompressorFree {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// Inflates the zlib stream to exactly `size` bytes, its checksum checked.
// A stream that ends early or holds more is left to the general decoder,
// which refuses the first and may keep the image of the second.
bool inflateExactly(const std::vector<ByteView>& parts, uint8_t* out, size_t size)
{
    thread_local std::unique_ptr<libdeflate_decompressor, DecompressorFree> inflater(libdeflate_alloc_decompressor());
    if (!inflater)
        return false;
    std::vector<uint8_t> joined;
    ByteView stream = parts.empty() ? ByteView{} : parts.front();
    if (parts.size() > 1) {
        size_t total = 0;
        for (const ByteView part : parts)
            total += part.size();
        joined.reserve(total);
        for (const ByteView part : parts)
            joined.insert(joined.end(), part.begin(), part.end());
        stream = joined;
    }
    size_t inflated = 0;
    return libdeflate_zlib_decompress_ex(inflater.get(), stream.data(), stream.size(), out, size, nullptr, &inflated) ==
               LIBDEFLATE_SUCCESS &&
           inflated == size;
}

// Rebuilds the filtered rows into RGBA rows. RGB rows are rebuilt in place
// (the next row predicts from them) and then spread to four bytes.
bool unfilter(const Layout& layout, uint8_t* filtered, size_t rowBytes, RgbaImage& image)
{
    const std::vector<uint8_t> zeros(rowBytes, 0);
    const uint8_t* prev = zeros.data();
    for (uint32_t y = 0; y < layout.height; ++y) {
        uint8_t* line = filtered + size_t(y) * (rowBytes + 1);
        const uint8_t filter = line[0];
        if (filter > 4)
            return false;
        uint8_t* out = image.bytes.data() + size_t(y) * size_t(image.stride);
        if (layout.bpp == 4) {
            defilterRow(filter, 4, line + 1, prev, out, rowBytes);
            prev = out;
            continue;
        }
        defilterRow(filter, 3, line + 1, prev, line + 1, rowBytes);
        prev = line + 1;
        for (uint32_t x = 0; x < layout.width; ++x, out += 4) {
            const uint8_t* rgb = line + 1 + size_t(x) * 3;
            out[0] = rgb[0];
            out[1] = rgb[1];
            out[2] = rgb[2];
            out[3] = layout.key && std::memcmp(rgb, layout.key->data(), 3) == 0 ? 0 : 255;
        }
    }
    return true;
}

}  // namespace

bool decodePngFast(ByteView png, RgbaImage& out, uint32_t maxSide, int64_t maxBytes)
{
    Layout layout;
    if (!readHeader(png, layout) || layout.width > maxSide || layout.height > maxSide || maxBytes <= 0 ||
        uint64_t(layout.width) * layout.height * 4 > uint64_t(maxBytes) || !walkChunks(png, layout) ||
        (layout.headerForSpng && !keyFromSpng(png, maxSide, layout)))
        return false;
    const size_t rowBytes = size_t(layout.width) * size_t(layout.bpp);
    const size_t filteredBytes = (rowBytes + 1) * layout.height;
    std::unique_ptr<uint8_t[]> filtered(new (std::nothrow) uint8_t[filteredBytes]);
    if (!filtered || !inflateExactly(layout.data, filtered.get(), filteredBytes))
        return false;
    RgbaImage image;
    image.width = int(layout.width);  // within the limits, below 2^31
    image.height = int(layout.height);
    image.stride = int64_t{image.width} * 4;
    image.bytes.resize(size_t(image.stride) * layout.height);
    if (!unfilter(layout, filtered.get(), rowBytes, image))
        return false;
    out = std::move(image);
    return true;
}

}  // namespace sigil
