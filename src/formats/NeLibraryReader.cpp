#include "formats/NeLibraryReader.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "formats/IconFile.h"
#include "formats/NeLayout.h"
#include "formats/PeModuleReader.h"
#include "platform/Cp932Text.h"

namespace sigil {

namespace {

struct NeLayout {
    uint64_t namesOffset = 0;
    uint16_t shift = 0;
    int groupCount = 0;
};

NeLayout readLayout(ByteStream& stream, uint64_t neHeader)
{
    NeLayout layout;
    stream.seek(neHeader + ne::kResidentNamesField);
    // The offset is relative to the NE header. Our own libraries put the
    // header at 0x50 and the table up to 64 KB after it, so the sum can pass
    // 0xFFFF and must not be cut to 16 bits. Only when the sum lies past the
    // end of the file is the 16-bit remainder tried, as older readers took it.
    const uint64_t sum = neHeader + stream.readU16();
    layout.namesOffset = sum < stream.size() ? sum : (sum & 0xFFFF);
    stream.seek(neHeader + ne::kShiftField);
    layout.shift = stream.readU16();
    stream.seek(neHeader + ne::kFirstTypeCountField);
    layout.groupCount = stream.readU16();
    return layout;
}

// Skips the module name and reads the icon names up to the closing 0 byte
// or the end of the data, keeping at most `wanted`. Leaves the stream after
// the names.
std::vector<std::string> readNames(ByteStream& stream, size_t wanted)
{
    stream.skip(stream.readU8());
    std::vector<std::string> names;
    while (!stream.atEnd()) {
        const uint8_t length = stream.readU8();
        if (length == 0)
            break;
        const ByteView bytes = stream.take(length);
        if (names.size() < wanted)
            names.push_back(decodeNeName(bytes));
    }
    return names;
}

// Directory pass: the group directories that list at least one image, each
// named by its position among all group directories.
std::vector<std::unique_ptr<IconEntry>> readDirectories(ByteStream& stream, const NeLayout& layout,
                                                        const std::vector<std::string>& names, const std::string& path,
                                                        const std::string& baseName)
{
    const uint32_t alignment = uint32_t{1} << layout.shift;
    std::vector<std::unique_ptr<IconEntry>> icons;
    // Directories that start at the end of the data list nothing and would
    // be dropped; stopping there keeps a lying count from costing anything.
    for (int i = 0; i < layout.groupCount && !stream.atEnd(); ++i) {
        auto entry = std::make_unique<IconEntry>();
        readIconDirectory(stream, *entry, kGroupDirEntryBytes, alignment);
        if (entry->devices.empty())
            continue;
        const size_t index = static_cast<size_t>(i);
        entry->name = index < names.size() ? names[index] : baseName + "." + std::to_string(i);
        entry->source = path + "," + std::to_string(i);
        icons.push_back(std::move(entry));
    }
    return icons;
}

// ---- Modules in the standard layout, read through the resource table ----

constexpr uint64_t kResourceTableField = 0x24;    // in the NE header, relative to it
constexpr uint64_t kNonResidentSizeField = 0x20;  // bytes of the non-resident name table
constexpr uint64_t kNonResidentField = 0x2C;      // file offset of the non-resident name table
constexpr uint16_t kIntegerBit = 0x8000;          // type or identifier is a number, not a name offset
constexpr uint16_t kTypeIcon = 3;
constexpr uint16_t kTypeGroupIcon = 14;
constexpr uint64_t kTypeInfoBytes = 8;   // type, count, reserved
constexpr uint64_t kNameInfoBytes = 12;  // offset, length, flags, id, handle, usage
// A real module has a few dozen resource types; a table that goes on past
// this is damaged (or loops through the same bytes in a crafted file).
constexpr int kMaxTypes = 1024;
// Groups may all name the same large icon resource; the bytes that one
// module may decode in all are bounded, as for PE modules.
constexpr int64_t kModuleBudgetBase = int64_t{512} << 20;
constexpr int64_t kModuleBudgetPerByte = 32;

struct NeResource {
    ByteView data;  // empty when it lies outside the file
    bool numbered = false;
    uint16_t id = 0;   // without the integer bit
    std::string name;  // for a named resource
};

struct NeResources {
    std::vector<NeResource> groups;          // in table order
    std::map<uint16_t, ByteView> iconsById;  // the numbered icon resources
};

// A length-prefixed name at `offset` of `data`; nothing when it does not fit.
std::optional<std::string> pascalName(ByteView data, uint64_t offset)
{
    if (offset >= data.size())
        return std::nullopt;
    const uint64_t length = data[offset];
    if (length > data.size() - offset - 1)
        return std::nullopt;
    return decodeNeName(data.subspan(offset + 1, length));
}

// Offsets and lengths count units of 2^shift bytes. A resource reaching
// past the end of the file keeps what is there (the last one is often not
// padded out); one starting past it is empty.
ByteView resourceBytes(ByteView file, uint64_t units, uint64_t lengthUnits, uint16_t shift)
{
    const uint64_t offset = units << shift;
    if (offset >= file.size())
        return {};
    const uint64_t length = std::min<uint64_t>(lengthUnits << shift, file.size() - offset);
    return file.subspan(offset, length);
}

// The icon and group icon resources of the resource table at `tableOffset`.
// Nothing when the table does not fit the file or its shift is out of range.
std::optional<NeResources> readResourceTable(ByteView file, uint64_t tableOffset)
{
    if (tableOffset >= file.size())
        return std::nullopt;
    const ByteView table = file.subspan(tableOffset);
    ByteStream in(table);
    const uint16_t shift = in.readU16();
    if (in.atEnd() || shift > ne::kMaxShift)
        return std::nullopt;
    NeResources found;
    for (int t = 0; t < kMaxTypes; ++t) {
        if (in.remaining() < 2)
            return std::nullopt;
        const uint16_t type = in.readU16();
        if (type == 0)
            return found;
        if (in.remaining() < kTypeInfoBytes - 2)
            return std::nullopt;
        const uint16_t count = in.readU16();
        in.skip(4);
        // A count larger than the bytes left cannot be honest; stopping here
        // keeps what the earlier types gave.
        if (count > (in.remaining()) / kNameInfoBytes)
            return found;
        const bool icons = type == (kIntegerBit | kTypeIcon);
        const bool groups = type == (kIntegerBit | kTypeGroupIcon);
        for (uint16_t i = 0; i < count; ++i) {
            const uint16_t offset = in.readU16();
            const uint16_t length = in.readU16();
            in.skip(2);  // flags
            const uint16_t id = in.readU16();
            in.skip(4);  // handle, usage: run-time fields
            if (!icons && !groups)
                continue;
            NeResource resource;
            resource.data = resourceBytes(file, offset, length, shift);
            resource.numbered = (id & kIntegerBit) != 0;
            resource.id = uint16_t(id & ~kIntegerBit);
            if (!resource.numbered)
                resource.name = pascalName(table, id).value_or(std::string());
            if (icons && resource.numbered)
                found.iconsById.emplace(resource.id, resource.data);  // the first of equal ids wins
            else if (groups)
                found.groups.push_back(std::move(resource));
        }
    }
    return found;
}

// Entries of a resident or non-resident name table (length, text, ordinal),
// the first (the module's name or description) left out, by ordinal.
void readOrdinalNames(ByteView file, uint64_t offset, uint64_t limit, std::map<uint16_t, std::string>& names)
{
    if (offset >= file.size())
        return;
    ByteStream in(file.subspan(offset, std::min<uint64_t>(limit, file.size() - offset)));
    for (bool first = true; !in.atEnd(); first = false) {
        const uint8_t length = in.readU8();
        if (length == 0 || in.remaining() < uint64_t{length} + 2)
            break;
        const std::string name = decodeNeName(in.take(length));
        const uint16_t ordinal = in.readU16();
        if (!first)
            names.emplace(ordinal, name);
    }
}

// Group icons through the resource table, in its order: a named group is
// called by its name; a numbered one by the exported name whose ordinal is
// its number, when the resident or non-resident table has one; otherwise by
// the base name and its position, as in our own libraries.
void readTableModule(IconLibrary& library, ByteView file, uint64_t neHeader, const NeResources& resources,
                     const std::string& path, const std::string& baseName, LoadControl* control)
{
    ByteStream header(file);
    header.seek(neHeader + ne::kResidentNamesField);
    const uint64_t resident = neHeader + header.readU16();
    header.seek(neHeader + kNonResidentSizeField);
    const uint64_t nonResidentSize = header.readU16();
    header.seek(neHeader + kNonResidentField);
    const uint64_t nonResident = header.readU32();
    std::map<uint16_t, std::string> exported;
    readOrdinalNames(file, resident, file.size(), exported);
    if (nonResident != 0)
        readOrdinalNames(file, nonResident, nonResidentSize, exported);

    int64_t budget = kModuleBudgetBase + kModuleBudgetPerByte * static_cast<int64_t>(file.size());
    for (size_t i = 0; i < resources.groups.size() && budget >= 0; ++i) {
        if (cancelled(control))
            break;
        const NeResource& group = resources.groups[i];
        auto entry = iconOfGroup(
            group.data,
            [&resources](uint16_t id) -> std::optional<ByteView> {
                const auto icon = resources.iconsById.find(id);
                return icon == resources.iconsById.end() ? std::nullopt : std::optional(icon->second);
            },
            control, budget);
        if (!entry)
            break;
        if (entry->devices.empty())
            continue;
        const auto name = group.numbered ? exported.find(group.id) : exported.end();
        if (!group.numbered && !group.name.empty())
            entry->name = group.name;
        else if (name != exported.end())
            entry->name = name->second;
        else
            entry->name = baseName + "." + std::to_string(i);
        entry->source = path + "," + std::to_string(i);
        entry->sortDevices();
        library.addReadIcon(std::move(entry));
    }
}

// A library written by our writer, which stamps the place after the old
// header; other modules listing their group icons first keep a table that
// describes them.
bool stampedLibrary(ByteView file)
{
    return file.size() >= ne::kStampOffset + ne::kStampBytes &&
           std::memcmp(file.data() + ne::kStampOffset, ne::kStamp, ne::kStampBytes) == 0;
}

}  // namespace

bool readNeLibrary(IconLibrary& library, ByteView file, const std::string& path, const std::string& baseName,
                   LoadControl* control)
{
    ByteStream stream(file);
    stream.seek(ne::kNewHeaderField);
    const uint64_t neHeader = stream.readU32();
    stream.seek(neHeader);
    if (stream.readU8() != 'N' || stream.readU8() != 'E')
        return false;

    // Our own libraries put the group icons first and are read front to
    // back: their length fields keep only the low 16 bits of a byte count,
    // so the table cannot describe their large images. Modules from
    // elsewhere (icons first, names, other shifts, or groups first without
    // our stamp) go through the table.
    stream.seek(neHeader + ne::kHeaderBytes + 2);
    const bool groupsFirst = stream.readU16() == (kIntegerBit | kTypeGroupIcon);
    if (!groupsFirst || !stampedLibrary(file)) {
        stream.seek(neHeader + kResourceTableField);
        const uint64_t tableOffset = neHeader + stream.readU16();
        if (const auto resources = readResourceTable(file, tableOffset))
            readTableModule(library, file, neHeader, *resources, path, baseName, control);
        return true;
    }

    const NeLayout layout = readLayout(stream, neHeader);
    // No 16-bit loader takes a larger shift; it would put every record past
    // the end of any real file.
    if (layout.shift > ne::kMaxShift)
        return true;
    stream.seek(layout.namesOffset);
    const std::vector<std::string> names = readNames(stream, static_cast<size_t>(layout.groupCount));
    auto icons = readDirectories(stream, layout, names, path, baseName);

    // Image pass. A cancel ends the job after the icon in hand; a stop also
    // drops an icon whose images are half read.
    const uint32_t alignment = uint32_t{1} << layout.shift;
    for (auto& entry : icons) {
        if (cancelled(control))
            break;
        if (!readIconImages(stream, *entry, alignment, stopFlag(control)))
            break;
        if (!entry->devices.empty()) {
            entry->sortDevices();
            library.addReadIcon(std::move(entry));
        }
    }
    return true;
}

}  // namespace sigil
