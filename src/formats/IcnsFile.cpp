#include "formats/IcnsFile.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "imaging/PngCodec.h"

namespace sigil {

namespace {

// The order macOS's iconutil keeps is by size; within a size, the classic
// elements come first so that a reader which stops at the first element of
// a size (libicns) takes the one every reader knows.
constexpr IcnsElementKind kKinds[] = {
    {"is32", 16, IcnsForm::Rle24},  {"s8mk", 16, IcnsForm::Mask8},  {"icp4", 16, IcnsForm::Png},
    {"il32", 32, IcnsForm::Rle24},  {"l8mk", 32, IcnsForm::Mask8},  {"icp5", 32, IcnsForm::Png},
    {"ic11", 32, IcnsForm::Png},  // 16 @2x
    {"ih32", 48, IcnsForm::Rle24},  {"h8mk", 48, IcnsForm::Mask8},  {"icp6", 64, IcnsForm::Png},
    {"ic12", 64, IcnsForm::Png},  // 32 @2x
    {"it32", 128, IcnsForm::Rle24}, {"t8mk", 128, IcnsForm::Mask8}, {"ic07", 128, IcnsForm::Png},
    {"ic08", 256, IcnsForm::Png},   {"ic13", 256, IcnsForm::Png},  // 128 @2x
    {"ic09", 512, IcnsForm::Png},   {"ic14", 512, IcnsForm::Png},  // 256 @2x
    {"ic10", 1024, IcnsForm::Png},                                 // 512 @2x
};

constexpr size_t kIcnsHeaderBytes = 8;  // type and length, of the file and of each element

void appendBe32(std::vector<uint8_t>& out, uint32_t v)
{
    for (const int shift : {24, 16, 8, 0})
        out.push_back(uint8_t(v >> shift));
}

void appendType(std::vector<uint8_t>& out, const char* type)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(type[i]));
}

// The element data of one classic kind.
std::vector<uint8_t> classicData(const IcnsElementKind& kind, const RgbaView& pixels)
{
    std::vector<uint8_t> data;
    const size_t side = size_t(kind.side);
    if (kind.form == IcnsForm::Mask8) {
        data.reserve(side * side);
        for (size_t y = 0; y < side; ++y) {
            const uint8_t* row = pixels.data + int64_t(y) * pixels.stride;
            for (size_t x = 0; x < side; ++x)
                data.push_back(row[4 * x + 3]);
        }
        return data;
    }
    // 'it32' data begin with four bytes that are not pixels, zero in the
    // files Apple's tools write.
    if (kind.side == 128)
        data.assign(4, 0);
    // The planes run over the whole picture, not row by row. Rows are
    // packed here so one plane is one run of values.
    std::vector<uint8_t> packed(side * side * 4);
    for (size_t y = 0; y < side; ++y)
        std::memcpy(packed.data() + y * side * 4, pixels.data + int64_t(y) * pixels.stride, side * 4);
    for (size_t channel = 0; channel < 3; ++channel)
        appendIcnsRunLength(data, packed.data() + channel, side * side, 4);
    return data;
}

}  // namespace

std::span<const IcnsElementKind> icnsElementKinds()
{
    return kKinds;
}

bool icnsHoldsSize(int size)
{
    return std::ranges::any_of(kKinds, [size](const IcnsElementKind& k) { return k.side == size; });
}

void appendIcnsRunLength(std::vector<uint8_t>& out, const uint8_t* values, size_t count, size_t step)
{
    const auto at = [values, step](size_t i) { return values[i * step]; };
    size_t i = 0;
    while (i < count) {
        // A repeat of 3 or more is one run; shorter repeats go into literals.
        size_t repeat = 1;
        while (i + repeat < count && repeat < 130 && at(i + repeat) == at(i))
            ++repeat;
        if (repeat >= 3) {
            out.push_back(uint8_t(repeat + 125));
            out.push_back(at(i));
            i += repeat;
            continue;
        }
        // Literals up to the next repeat of 3, at most 128 of them.
        size_t end = i;
        while (end < count && end - i < 128) {
            if (end + 2 < count && at(end) == at(end + 1) && at(end) == at(end + 2))
                break;
            ++end;
        }
        out.push_back(uint8_t(end - i - 1));
        for (size_t k = i; k < end; ++k)
            out.push_back(at(k));
        i = end;
    }
}

std::vector<uint8_t> encodeIcnsFile(std::span<const IcnsImage> images)
{
    // Each size's image and PNG data, found and checked first.
    struct Stored {
        const IcnsImage* image = nullptr;
        std::vector<uint8_t> encoded;  // when the caller had no PNG data
        ByteView png() const { return encoded.empty() ? image->png : ByteView(encoded); }
    };
    std::vector<Stored> stored(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const IcnsImage& image = images[i];
        const RgbaView& p = image.pixels;
        if (!p.data || p.width != p.height || !icnsHoldsSize(p.width) || p.stride < int64_t{p.width} * 4)
            return {};
        for (size_t j = 0; j < i; ++j)
            if (images[j].pixels.width == p.width)
                return {};
        stored[i].image = &image;
    }
    const auto imageOfSize = [&stored](int side) -> Stored* {
        for (Stored& s : stored)
            if (s.image->pixels.width == side)
                return &s;
        return nullptr;
    };

    // The elements' data, in file order.
    struct Element {
        const char* type;
        ByteView data;
        std::vector<uint8_t> own;  // classic data
    };
    std::vector<Element> elements;
    for (const IcnsElementKind& kind : kKinds) {
        Stored* s = imageOfSize(kind.side);
        if (!s)
            continue;
        Element element{kind.type, {}, {}};
        if (kind.form == IcnsForm::Png) {
            if (s->png().empty()) {
                const RgbaView& p = s->image->pixels;
                s->encoded = encodePng(p.data, uint32_t(p.width), uint32_t(p.height), size_t(p.stride));
                if (s->encoded.empty())
                    return {};
            }
            element.data = s->png();
        } else {
            element.own = classicData(kind, s->image->pixels);
        }
        elements.push_back(std::move(element));
    }
    if (elements.empty())
        return {};
    for (Element& e : elements)
        if (!e.own.empty())
            e.data = e.own;

    // Lengths count the 8-byte headers; all are 32-bit fields.
    const uint64_t tocBytes = kIcnsHeaderBytes + kIcnsHeaderBytes * elements.size();
    uint64_t total = kIcnsHeaderBytes + tocBytes;
    for (const Element& e : elements)
        total += kIcnsHeaderBytes + e.data.size();
    if (total > std::numeric_limits<uint32_t>::max())
        return {};

    std::vector<uint8_t> out;
    out.reserve(size_t(total));
    appendType(out, "icns");
    appendBe32(out, uint32_t(total));
    // The table of contents: each element's type and length, in file order.
    appendType(out, "TOC ");
    appendBe32(out, uint32_t(tocBytes));
    for (const Element& e : elements) {
        appendType(out, e.type);
        appendBe32(out, uint32_t(kIcnsHeaderBytes + e.data.size()));
    }
    for (const Element& e : elements) {
        appendType(out, e.type);
        appendBe32(out, uint32_t(kIcnsHeaderBytes + e.data.size()));
        out.insert(out.end(), e.data.begin(), e.data.end());
    }
    return out;
}

}  // namespace sigil
