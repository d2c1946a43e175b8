#include "support/PeBuilder.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace sigil::test {

namespace {

constexpr uint32_t kNewHeader = 0x80;
constexpr uint32_t kHeadersBytes = 0x200;
constexpr uint32_t kFileAlignment = 0x200;
constexpr uint32_t kSectionAlignment = 0x1000;
constexpr uint32_t kTextRva = 0x1000;
constexpr uint32_t kResourceRva = 0x3000;
constexpr uint32_t kSubdirectory = 0x80000000u;

uint32_t alignUp(uint32_t v, uint32_t a)
{
    return (v + a - 1) / a * a;
}

void set16(Bytes& b, size_t at, uint16_t v)
{
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
}

void set32(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

bool sameName(const PeName& a, const PeName& b)
{
    return a.isText == b.isText && (a.isText ? a.text == b.text : a.id == b.id);
}

// Keys in stored order: text names first, each part in the order first seen.
std::vector<PeName> storedOrder(const std::vector<PeName>& keys)
{
    std::vector<PeName> out;
    for (const bool text : {true, false})
        for (const PeName& k : keys)
            if (k.isText == text &&
                std::none_of(out.begin(), out.end(), [&](const PeName& o) { return sameName(o, k); }))
                out.push_back(k);
    return out;
}

// A directory table header with its entry counts.
void putTable(Bytes& b, uint32_t at, const std::vector<PeName>& names)
{
    const auto named = std::count_if(names.begin(), names.end(), [](const PeName& n) { return n.isText; });
    set16(b, at + 12, uint16_t(named));
    set16(b, at + 14, uint16_t(names.size() - size_t(named)));
}

// Width, height and depth of a stored image record or a PNG image.
void imageShape(const Bytes& image, int& w, int& h, int& bits)
{
    w = h = bits = 0;
    if (image.size() >= 24 && image[0] == 0x89 && image[1] == 'P') {
        auto be = [&](size_t at) {
            return int(image[at]) << 24 | int(image[at + 1]) << 16 | int(image[at + 2]) << 8 | int(image[at + 3]);
        };
        w = be(16);
        h = be(20);
        bits = 32;
    } else if (image.size() >= 16) {
        w = int(image[4] | image[5] << 8);
        h = int(image[8] | image[9] << 8) / 2;
        bits = int(image[14] | image[15] << 8);
    }
}

}  // namespace

void PeFile::setTarget(uint32_t table, int index, uint32_t value)
{
    set32(bytes, table + 16 + 8 * uint32_t(index) + 4, value);
}

void PeFile::setCounts(uint32_t table, uint16_t named, uint16_t numbered)
{
    set16(bytes, table + 12, named);
    set16(bytes, table + 14, numbered);
}

void PeFile::put32At(uint32_t offset, uint32_t value)
{
    set32(bytes, offset, value);
}

PeBuilder& PeBuilder::add(uint16_t type, const PeName& name, Bytes data, uint16_t language)
{
    resources_.push_back({type, name, language, std::move(data)});
    return *this;
}

PeBuilder& PeBuilder::addIconGroup(const PeName& name, const std::vector<Bytes>& images, uint16_t firstId,
                                   uint16_t language)
{
    std::vector<uint16_t> ids;
    for (const Bytes& image : images) {
        ids.push_back(uint16_t(firstId + ids.size()));
        add(kRtIcon, ids.back(), image, language);
    }
    return add(kRtGroupIcon, name, groupIconBytes(images, ids), language);
}

PeBuilder& PeBuilder::addStrings(const std::map<uint32_t, std::u16string>& strings, uint16_t language)
{
    std::map<uint32_t, std::array<std::u16string, 16>> blocks;
    for (const auto& [id, text] : strings)
        blocks[id / 16 + 1][id % 16] = text;
    for (const auto& [block, texts] : blocks) {
        Bytes data;
        for (const std::u16string& text : texts) {
            put16(data, uint16_t(text.size()));
            for (const char16_t c : text)
                put16(data, uint16_t(c));
        }
        add(kRtString, uint16_t(block), data, language);
    }
    return *this;
}

Bytes groupIconBytes(const std::vector<Bytes>& images, const std::vector<uint16_t>& ids)
{
    Bytes b;
    put16(b, 0);
    put16(b, 1);
    put16(b, uint16_t(images.size()));
    for (size_t i = 0; i < images.size(); ++i) {
        int w, h, bits;
        imageShape(images[i], w, h, bits);
        b.push_back(uint8_t(w));
        b.push_back(uint8_t(h));
        b.push_back(bits >= 1 && bits <= 8 ? uint8_t(1u << bits) : 0);
        b.push_back(0);
        put16(b, 1);
        put16(b, uint16_t(bits));
        put32(b, uint32_t(images[i].size()));
        put16(b, i < ids.size() ? ids[i] : 0);
    }
    return b;
}

PeFile PeBuilder::build() const
{
    // The tree: types, then names per type, then one data entry per resource.
    std::vector<PeName> typeKeys;
    for (const Resource& r : resources_)
        typeKeys.push_back(r.type);
    const std::vector<PeName> types = storedOrder(typeKeys);
    std::vector<std::vector<PeName>> namesOfType;
    std::vector<std::vector<size_t>> languagesOf;  // resource indices per (type, name)
    for (const PeName& t : types) {
        std::vector<PeName> keys;
        for (const Resource& r : resources_)
            if (r.type == t.id)
                keys.push_back(r.name);
        namesOfType.push_back(storedOrder(keys));
        for (const PeName& n : namesOfType.back()) {
            languagesOf.emplace_back();
            for (size_t i = 0; i < resources_.size(); ++i)
                if (resources_[i].type == t.id && sameName(resources_[i].name, n))
                    languagesOf.back().push_back(i);
        }
    }

    // Offsets within the section: tables, data entries, names, data.
    uint32_t at = 16 + 8 * uint32_t(types.size());
    std::vector<uint32_t> nameTables, languageTables, dataEntries(resources_.size());
    for (const auto& names : namesOfType) {
        nameTables.push_back(at);
        at += 16 + 8 * uint32_t(names.size());
    }
    for (const auto& langs : languagesOf) {
        languageTables.push_back(at);
        at += 16 + 8 * uint32_t(langs.size());
    }
    for (const auto& langs : languagesOf)
        for (const size_t r : langs) {
            dataEntries[r] = at;
            at += 16;
        }
    std::vector<uint32_t> nameStrings;
    for (const auto& names : namesOfType)
        for (const PeName& n : names) {
            nameStrings.push_back(at);
            if (n.isText)
                at += 2 + 2 * uint32_t(n.text.size());
        }
    std::vector<uint32_t> blobs;
    for (const Resource& r : resources_) {
        at = alignUp(at, 8);
        blobs.push_back(at);
        at += uint32_t(r.data.size());
    }
    const uint32_t sectionBytes = at;

    Bytes rsrc(alignUp(sectionBytes, kFileAlignment), 0);
    const auto putEntry = [&](uint32_t table, size_t index, const PeName& name, uint32_t nameAt, uint32_t target) {
        const uint32_t e = table + 16 + 8 * uint32_t(index);
        set32(rsrc, e, name.isText ? (kSubdirectory | nameAt) : name.id);
        set32(rsrc, e + 4, target);
    };
    putTable(rsrc, 0, types);
    size_t nameIndex = 0;
    for (size_t t = 0; t < types.size(); ++t) {
        putEntry(0, t, types[t], 0, kSubdirectory | nameTables[t]);
        putTable(rsrc, nameTables[t], namesOfType[t]);
        for (size_t n = 0; n < namesOfType[t].size(); ++n, ++nameIndex) {
            const PeName& name = namesOfType[t][n];
            putEntry(nameTables[t], n, name, nameStrings[nameIndex], kSubdirectory | languageTables[nameIndex]);
            if (name.isText) {
                set16(rsrc, nameStrings[nameIndex], uint16_t(name.text.size()));
                for (size_t c = 0; c < name.text.size(); ++c)
                    set16(rsrc, nameStrings[nameIndex] + 2 + 2 * c, uint16_t(name.text[c]));
            }
            const auto& langs = languagesOf[nameIndex];
            std::vector<PeName> langNames(langs.size(), PeName(uint16_t{0}));
            putTable(rsrc, languageTables[nameIndex], langNames);
            for (size_t l = 0; l < langs.size(); ++l) {
                const Resource& r = resources_[langs[l]];
                putEntry(languageTables[nameIndex], l, r.language, 0, dataEntries[langs[l]]);
                set32(rsrc, dataEntries[langs[l]], kResourceRva + blobs[langs[l]]);
                set32(rsrc, dataEntries[langs[l]] + 4, uint32_t(r.data.size()));
                std::copy(r.data.begin(), r.data.end(), rsrc.begin() + blobs[langs[l]]);
            }
        }
    }

    // Headers and the two sections.
    const uint32_t optionalBytes = pe32Plus_ ? 240 : 224;
    const uint32_t rsrcOffset = kHeadersBytes + kFileAlignment;
    PeFile out;
    out.optionalHeader = kNewHeader + 24;
    out.sectionTable = out.optionalHeader + optionalBytes;
    out.resourceRva = kResourceRva;
    out.resourceBytes = sectionBytes;
    out.root = rsrcOffset;
    Bytes& b = out.bytes;
    b.assign(rsrcOffset, 0);
    b[0] = 'M';
    b[1] = 'Z';
    set32(b, 0x3C, kNewHeader);
    std::memcpy(&b[kNewHeader], "PE\0\0", 4);
    set16(b, kNewHeader + 4, pe32Plus_ ? 0x8664 : 0x14C);
    set16(b, kNewHeader + 6, 2);
    set16(b, kNewHeader + 20, uint16_t(optionalBytes));
    set16(b, kNewHeader + 22, pe32Plus_ ? 0x2022 : 0x2102);  // executable DLL
    const uint32_t o = out.optionalHeader;
    set16(b, o, pe32Plus_ ? 0x20B : 0x10B);
    set32(b, o + 32, kSectionAlignment);
    set32(b, o + 36, kFileAlignment);
    set16(b, o + 48, 4);  // subsystem version
    set32(b, o + 56, kResourceRva + alignUp(sectionBytes, kSectionAlignment));
    set32(b, o + 60, kHeadersBytes);
    set16(b, o + 68, 2);  // Windows GUI
    const uint32_t directories = o + (pe32Plus_ ? 112 : 96);
    set32(b, directories - 4, dataDirectoryCount_);
    set32(b, directories + 2 * 8, kResourceRva);
    set32(b, directories + 2 * 8 + 4, sectionBytes);
    const auto putSection = [&](uint32_t index, const char* name, uint32_t virtualSize, uint32_t rva, uint32_t rawSize,
                                uint32_t rawOffset, uint32_t flags) {
        const uint32_t s = out.sectionTable + 40 * index;
        std::memcpy(&b[s], name, std::strlen(name));
        set32(b, s + 8, virtualSize);
        set32(b, s + 12, rva);
        set32(b, s + 16, rawSize);
        set32(b, s + 20, rawOffset);
        set32(b, s + 36, flags);
    };
    putSection(0, ".text", 1, kTextRva, kFileAlignment, kHeadersBytes, 0x60000020);
    putSection(1, ".rsrc", sectionBytes, kResourceRva, uint32_t(rsrc.size()), rsrcOffset, 0x40000040);
    std::fill(b.begin() + kHeadersBytes, b.end(), 0xC3);  // code nobody runs
    append(b, rsrc);

    for (const uint32_t t : nameTables)
        out.nameTables.push_back(rsrcOffset + t);
    for (const uint32_t t : languageTables)
        out.languageTables.push_back(rsrcOffset + t);
    for (const uint32_t e : dataEntries)
        out.dataEntries.push_back(rsrcOffset + e);
    return out;
}

}  // namespace sigil::test
