#include "support/NeBytes.h"

#include <algorithm>

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
    const std::string stamp = "Sigilscope(^-^)v";
    std::copy(stamp.begin(), stamp.end(), b.begin() + 0x40);
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

Bytes neGroup(const std::vector<uint16_t>& ids, uint32_t byteCount)
{
    Bytes b;
    put16(b, 0);
    put16(b, 1);
    put16(b, uint16_t(ids.size()));
    for (uint16_t id : ids) {
        b.insert(b.end(), 8, 0);  // size, colours, planes, bits: not read
        put32(b, byteCount);
        put16(b, id);
    }
    return b;
}

Bytes neModule(const NeModuleParts& parts)
{
    constexpr size_t kNe = 0x40;
    constexpr size_t kTable = kNe + 0x40;
    Bytes b(kNe, 0);
    b[0] = 'M';
    b[1] = 'Z';
    b[0x3C] = kNe;
    Bytes ne(0x40, 0);
    ne[0] = 'N';
    ne[1] = 'E';
    ne[0x24] = 0x40;
    append(b, ne);

    // Resource table: entries first, names after the closing word; the
    // offsets are filled in once the data is placed.
    put16(b, parts.shift);
    std::vector<std::pair<size_t, const NeResourcePart*>> entries;
    std::vector<std::pair<size_t, std::string>> nameFields;
    const auto type = [&](uint16_t typeId, const std::vector<NeResourcePart>& list) {
        put16(b, typeId);
        put16(b, uint16_t(list.size()));
        put32(b, 0);
        for (const NeResourcePart& r : list) {
            entries.emplace_back(b.size(), &r);
            put32(b, 0);       // offset, length
            put16(b, 0x1C30);  // flags
            if (r.name.empty())
                put16(b, uint16_t(0x8000 | r.id));
            else {
                nameFields.emplace_back(b.size(), r.name);
                put16(b, 0);
            }
            put32(b, 0);
        }
    };
    const std::vector<NeResourcePart> other{{"", 1, Bytes(5, 0xEE)}};
    if (parts.groupsFirst)
        type(0x800E, parts.groups);
    const size_t otherType = b.size();
    type(0, other);  // named type, its name offset patched below
    type(0x8003, parts.icons);
    if (!parts.groupsFirst)
        type(0x800E, parts.groups);
    put16(b, 0);
    const uint16_t typeName = uint16_t(b.size() - kTable);
    b[otherType] = uint8_t(typeName);
    b[otherType + 1] = uint8_t(typeName >> 8);
    b.push_back(4);
    b.insert(b.end(), {'D', 'A', 'T', 'A'});
    for (const auto& [field, name] : nameFields) {
        const uint16_t at = uint16_t(b.size() - kTable);
        b[field] = uint8_t(at);
        b[field + 1] = uint8_t(at >> 8);
        b.push_back(uint8_t(name.size()));
        b.insert(b.end(), name.begin(), name.end());
    }
    b.push_back(0);

    const uint16_t resident = uint16_t(b.size() - kNe);
    b[kNe + 0x26] = uint8_t(resident);
    b[kNe + 0x27] = uint8_t(resident >> 8);
    b.push_back(3);
    b.insert(b.end(), {'M', 'O', 'D'});
    put16(b, 0);
    for (const auto& [name, ordinal] : parts.residentNames) {
        b.push_back(uint8_t(name.size()));
        b.insert(b.end(), name.begin(), name.end());
        put16(b, ordinal);
    }
    b.push_back(0);

    // Data, each resource aligned and its length rounded up to whole units.
    const size_t unit = size_t{1} << parts.shift;
    for (const auto& [field, resource] : entries) {
        alignTo(b, unit);
        const size_t units = b.size() >> parts.shift;
        append(b, resource->data);
        const size_t lengthUnits = (resource->data.size() + unit - 1) >> parts.shift;
        b[field] = uint8_t(units);
        b[field + 1] = uint8_t(units >> 8);
        b[field + 2] = uint8_t(lengthUnits);
        b[field + 3] = uint8_t(lengthUnits >> 8);
    }
    alignTo(b, unit);
    return b;
}

}  // namespace sigil::test
