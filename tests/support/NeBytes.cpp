#include "support/NeBytes.h"

namespace sigil::test {

namespace {

constexpr size_t kNeHeader = 0x50;
// Resource table: shift word, one type entry without resource entries (the
// reader does not use them), closing word.
constexpr size_t kNamesAt = kNeHeader + 0x40 + 2 + 8 + 2;

void alignTo(Bytes& b, size_t unit)
{
    while (b.size() % unit != 0)
        b.push_back(0);
}

}  // namespace

Bytes neLibrary(const NeLibraryParts& parts)
{
    Bytes b(kNeHeader, 0);
    b[0] = 'M';
    b[1] = 'Z';
    b[0x3C] = kNeHeader;
    Bytes ne(0x40, 0);
    ne[0] = 'N';
    ne[1] = 'E';
    ne[0x24] = 0x40;
    ne[0x26] = kNamesAt - kNeHeader;
    append(b, ne);
    put16(b, parts.shift);
    put16(b, 0x800E);
    put16(b, parts.groupCount.value_or(uint16_t(parts.icons.size())));
    put32(b, 0);
    put16(b, 0);

    b.push_back(3);
    b.insert(b.end(), {'I', 'C', 'L'});
    for (const std::string& name : parts.names) {
        b.push_back(uint8_t(name.size()));
        b.insert(b.end(), name.begin(), name.end());
    }
    b.push_back(0);

    const size_t unit = size_t{1} << parts.shift;
    uint16_t id = 1;
    for (const auto& images : parts.icons) {
        alignTo(b, unit);
        put16(b, 0);
        put16(b, 1);
        put16(b, uint16_t(images.size()));
        for (const Bytes& image : images) {
            b.insert(b.end(), 8, 0);  // size, colours, planes, bits: not read
            put32(b, uint32_t(image.size()));
            put16(b, id++);
        }
    }
    for (const auto& images : parts.icons) {
        for (const Bytes& image : images) {
            alignTo(b, unit);
            append(b, image);
        }
    }
    return b;
}

}  // namespace sigil::test
