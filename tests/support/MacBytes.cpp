#include "support/MacBytes.h"

#include <algorithm>

namespace sigil::test {

namespace {

void putType(Bytes& b, const std::string& type)
{
    for (size_t i = 0; i < 4; ++i)
        b.push_back(i < type.size() ? uint8_t(type[i]) : uint8_t(' '));
}

void putAt(Bytes& b, size_t offset, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[offset + size_t(i)] = uint8_t(v >> (24 - 8 * i));
}

}  // namespace

void putBe16(Bytes& b, uint16_t v)
{
    b.push_back(uint8_t(v >> 8));
    b.push_back(uint8_t(v));
}

void putBe32(Bytes& b, uint32_t v)
{
    putBe16(b, uint16_t(v >> 16));
    putBe16(b, uint16_t(v));
}

Bytes macBinary(const MacBinaryParts& parts)
{
    Bytes b(128, 0);
    const std::string name = "Icon";
    b[1] = uint8_t(name.size());
    std::copy(name.begin(), name.end(), b.begin() + 2);
    for (size_t i = 0; i < 4; ++i) {
        b[65 + i] = i < parts.fileType.size() ? uint8_t(parts.fileType[i]) : uint8_t(' ');
        b[69 + i] = uint8_t("MACS"[i]);
    }
    putAt(b, 83, uint32_t(parts.dataFork.size()));
    putAt(b, 87, parts.resourceForkLength.value_or(uint32_t(parts.resourceFork.size())));
    append(b, parts.dataFork);
    b.resize(b.size() + (128 - parts.dataFork.size() % 128) % 128, 0);
    append(b, parts.resourceFork);
    return b;
}

Bytes icnsElement(const std::string& type, const Bytes& data, std::optional<uint32_t> length)
{
    Bytes b;
    putType(b, type);
    putBe32(b, length.value_or(uint32_t(8 + data.size())));
    append(b, data);
    return b;
}

Bytes icnsFamily(const std::vector<Bytes>& elements, std::optional<uint32_t> total)
{
    Bytes body;
    for (const Bytes& e : elements)
        append(body, e);
    Bytes b;
    putType(b, "icns");
    putBe32(b, total.value_or(uint32_t(8 + body.size())));
    append(b, body);
    return b;
}

Bytes resourceFork(const std::vector<MacResource>& resources)
{
    constexpr uint32_t kDataOffset = 256;
    Bytes area;
    std::vector<uint32_t> offsets;
    for (const MacResource& r : resources) {
        offsets.push_back(uint32_t(area.size()));
        putBe32(area, uint32_t(r.data.size()));
        append(area, r.data);
    }
    const size_t n = resources.size();
    Bytes typeList;
    putBe16(typeList, uint16_t(n - 1));
    for (size_t i = 0; i < n; ++i) {
        putType(typeList, resources[i].type);
        putBe16(typeList, 0);                             // one resource of this type
        putBe16(typeList, uint16_t(2 + 8 * n + 12 * i));  // its reference list
    }
    Bytes references;
    for (size_t i = 0; i < n; ++i) {
        putBe16(references, uint16_t(128 + i));  // resource number
        putBe16(references, 0xFFFF);             // no name
        references.push_back(0);                 // attributes
        references.push_back(uint8_t(offsets[i] >> 16));
        putBe16(references, uint16_t(offsets[i]));
        putBe32(references, 0);  // handle
    }
    Bytes map(24, 0);  // copy of the header, handle, file reference, attributes
    putBe16(map, 28);  // type list offset
    putBe16(map, uint16_t(28 + typeList.size() + references.size()));  // name list offset
    append(map, typeList);
    append(map, references);

    Bytes fork;
    putBe32(fork, kDataOffset);
    putBe32(fork, kDataOffset + uint32_t(area.size()));
    putBe32(fork, uint32_t(area.size()));
    putBe32(fork, uint32_t(map.size()));
    fork.resize(kDataOffset, 0);
    append(fork, area);
    append(fork, map);
    return fork;
}

Bytes blackAndWhiteData(int w, int h, const MacBitFn& black, const MacBitFn& opaque)
{
    const int rowBytes = ((w - 1) / 16 + 1) * 2;
    Bytes b;
    for (const MacBitFn* bit : {&black, &opaque})
        for (int y = 0; y < h; ++y)
            for (int i = 0; i < rowBytes; ++i) {
                uint8_t v = 0;
                for (int k = 0; k < 8; ++k)
                    if (8 * i + k < w && (*bit)(8 * i + k, y))
                        v = uint8_t(v | (0x80 >> k));
                b.push_back(v);
            }
    return b;
}

Bytes indexedData(int w, int h, int bits, const std::function<uint8_t(int x, int y)>& value)
{
    Bytes b;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; x += 8 / bits)
            b.push_back(bits == 8 ? value(x, y) : uint8_t((value(x, y) << 4) | (value(x + 1, y) & 0x0F)));
    return b;
}

Bytes packPlane(const Bytes& values)
{
    Bytes b;
    size_t i = 0;
    while (i < values.size()) {
        size_t same = 1;
        while (i + same < values.size() && same < 130 && values[i + same] == values[i])
            ++same;
        if (same >= 3) {
            b.push_back(uint8_t(same + 125));
            b.push_back(values[i]);
            i += same;
            continue;
        }
        // A literal run up to the next repeat of three, at most 128 values.
        size_t end = i;
        while (end < values.size() && end - i < 128 &&
               !(end + 2 < values.size() && values[end] == values[end + 1] && values[end] == values[end + 2]))
            ++end;
        end = std::max(end, i + 1);
        b.push_back(uint8_t(end - i - 1));
        b.insert(b.end(), values.begin() + long(i), values.begin() + long(end));
        i = end;
    }
    return b;
}

Bytes packedRgb(int w, int h, const std::function<uint32_t(int x, int y)>& rgb)
{
    Bytes b;
    for (int shift : {16, 8, 0}) {
        Bytes plane;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                plane.push_back(uint8_t(rgb(x, y) >> shift));
        append(b, packPlane(plane));
    }
    return b;
}

}  // namespace sigil::test
