#include "formats/LibraryWriter.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "formats/IconFile.h"
#include "formats/LoadJob.h"
#include "formats/NeLayout.h"
#include "model/TransientPixels.h"
#include "platform/Cp932Text.h"
#include "platform/SafeFileWriter.h"

namespace sigil {

namespace {

constexpr uint32_t kNewHeaderOffset = 0x50;
constexpr size_t kResourceTableOffset = kNewHeaderOffset + ne::kHeaderBytes;  // 0x90
constexpr size_t kResourceEntryBytes = 12;
// Shift count, two type entries and the closing word around the entries.
constexpr size_t kResourceTableFixedBytes = 2 + 8 + 8 + 2;
// The module name "ICL" with its length byte, and the closing 0 of the names.
constexpr size_t kResidentFixedBytes = 4 + 1;
constexpr uint16_t kGroupIconType = 0x800E;
constexpr uint16_t kIconType = 0x8003;
constexpr uint16_t kResourceFlags = 0x1C30;  // moveable, pure, discardable
constexpr uint16_t kNumberedId = 0x8000;
constexpr size_t kMaxNameBytes = 255;
constexpr int64_t kMaxIcons = 65535;
constexpr int64_t kMaxTableBytes = 65535;
// Icons and devices together, each one resource entry, that the table holds
// beside its fixed words.
constexpr int64_t kMaxResources = kMaxTableBytes / kResourceEntryBytes - 7;

// Where one resource lies in the file.
struct Slot {
    uint64_t offset = 0;
    uint32_t length = 0;
};

// The resource tables, fixed before the file is opened.
struct Layout {
    int shift = 0;
    std::vector<Slot> groups;  // one per icon
    std::vector<Slot> images;  // one per device: icons in order, devices in icon order
    uint64_t dataEnd = 0;      // after the last image record
};

uint64_t alignUp(uint64_t value, uint64_t unit)
{
    return (value + unit - 1) & ~(unit - 1);
}

uint32_t groupDirectoryBytes(const IconEntry& icon)
{
    return static_cast<uint32_t>(6 + kGroupDirEntryBytes * icon.devices.size());
}

// The smallest shift at which every offset fits its 16-bit field.
std::optional<Layout> planLayout(const IconLibrary& library, uint64_t firstData)
{
    Layout layout;
    for (int s = 0; s <= ne::kMaxShift; ++s) {
        const uint64_t unit = uint64_t{1} << s;
        layout.groups.clear();
        layout.images.clear();
        uint64_t f = firstData;
        for (int i = 0; i < library.size(); ++i) {
            f = alignUp(f, unit);
            layout.groups.push_back({f, groupDirectoryBytes(library.at(i))});
            f += layout.groups.back().length;
        }
        for (int i = 0; i < library.size(); ++i) {
            for (const IconDevice& d : library.at(i).devices) {
                f = alignUp(f, unit);
                layout.images.push_back({f, static_cast<uint32_t>(d.allocatedBytes())});
                f += layout.images.back().length;
            }
        }
        if (f < (uint64_t{1} << (16 + s)) - 1) {
            layout.shift = s;
            layout.dataEnd = f;
            return layout;
        }
    }
    return std::nullopt;
}

// An empty name would be a 0 length byte, which ends the name table and
// leaves every later name to be taken for data. Such an icon gets the name
// that a reader gives an icon without a stored one.
std::vector<std::string> storedNames(const IconLibrary& library, const std::string& path)
{
    const std::string baseName = splitPath(path).baseName;
    std::vector<std::string> names;
    for (int i = 0; i < library.size(); ++i) {
        const std::string& name = library.at(i).name;
        names.push_back(encodeNeName(name.empty() ? baseName + "." + std::to_string(i) : name, kMaxNameBytes));
    }
    return names;
}

uint8_t* putResourceEntry(uint8_t* p, const Slot& slot, int shift, size_t number)
{
    putU16(p, static_cast<uint16_t>(slot.offset >> shift));
    putU16(p + 2, static_cast<uint16_t>(slot.length));
    putU16(p + 4, kResourceFlags);
    putU16(p + 6, static_cast<uint16_t>(kNumberedId + number));
    return p + kResourceEntryBytes;
}

uint8_t* putTypeEntry(uint8_t* p, uint16_t type, size_t count)
{
    putU16(p, type);
    putU16(p + 2, static_cast<uint16_t>(count));
    return p + 8;
}

// Everything before the first group directory: old header, stamp, NE
// header, resource table and resident names.
std::vector<uint8_t> buildHead(const Layout& layout, const std::vector<std::string>& names, uint64_t firstData)
{
    const size_t resources = layout.groups.size() + layout.images.size();
    std::vector<uint8_t> head(static_cast<size_t>(firstData), 0);
    uint8_t* p = head.data();
    p[0] = 'M';
    p[1] = 'Z';
    putU32(p + ne::kNewHeaderField, kNewHeaderOffset);
    std::memcpy(p + ne::kStampOffset, ne::kStamp, ne::kStampBytes);

    uint8_t* neHeader = p + kNewHeaderOffset;
    neHeader[0] = 'N';
    neHeader[1] = 'E';
    putU16(neHeader + 0x24, ne::kHeaderBytes);  // the resource table follows the header
    putU16(neHeader + ne::kResidentNamesField,
           static_cast<uint16_t>(ne::kHeaderBytes + kResourceTableFixedBytes + kResourceEntryBytes * resources));
    neHeader[0x36] = 2;  // Windows
    neHeader[0x3F] = 3;  // version 3.0

    uint8_t* r = p + kResourceTableOffset;
    putU16(r, static_cast<uint16_t>(layout.shift));
    r = putTypeEntry(r + 2, kGroupIconType, layout.groups.size());
    for (size_t i = 0; i < layout.groups.size(); ++i)
        r = putResourceEntry(r, layout.groups[i], layout.shift, i + 1);
    r = putTypeEntry(r, kIconType, layout.images.size());
    for (size_t i = 0; i < layout.images.size(); ++i)
        r = putResourceEntry(r, layout.images[i], layout.shift, i + 1);
    r += 2;  // end of the resource types

    *r++ = 3;
    std::memcpy(r, "ICL", 3);
    r += 3;
    for (const std::string& name : names) {
        *r++ = static_cast<uint8_t>(name.size());
        std::memcpy(r, name.data(), name.size());
        r += name.size();
    }
    *r++ = 0;
    return head;
}

std::vector<uint8_t> groupDirectory(const IconEntry& icon, size_t firstNumber)
{
    std::vector<uint8_t> dir(groupDirectoryBytes(icon), 0);
    putU16(dir.data() + 2, 1);
    putU16(dir.data() + 4, static_cast<uint16_t>(icon.devices.size()));
    uint8_t* e = dir.data() + 6;
    for (size_t k = 0; k < icon.devices.size(); ++k, e += kGroupDirEntryBytes) {
        putDirectoryFields(e, icon.devices[k]);
        putU16(e + 12, static_cast<uint16_t>(firstNumber + k));
    }
    return dir;
}

// Pads with zeros to the resource's offset and writes it there. False on a
// write error, or when the bytes written so far do not meet the layout.
bool writeSlot(SafeFileWriter& file, const Slot& slot, const uint8_t* data, size_t size)
{
    if (file.written() > slot.offset || size != slot.length)
        return false;
    return file.writeZeros(static_cast<size_t>(slot.offset - file.written())) && file.write(data, size) &&
           file.written() == slot.offset + slot.length;
}

bool writeLayout(IconLibrary& library, const Layout& layout, const std::vector<uint8_t>& head, SafeFileWriter& file)
{
    const int64_t icons = library.size();
    const uint64_t unit = uint64_t{1} << layout.shift;
    library.notifyProgress(1, 0);
    if (!file.open() || !file.write(head.data(), head.size()) || file.written() != head.size())
        return false;
    size_t number = 1;
    for (int i = 0; i < icons; ++i) {
        library.notifyProgress(1, static_cast<int>(i * 100 / icons));
        const IconEntry& icon = library.at(i);
        const std::vector<uint8_t> dir = groupDirectory(icon, number);
        if (!writeSlot(file, layout.groups[static_cast<size_t>(i)], dir.data(), dir.size()))
            return false;
        number += icon.devices.size();
    }
    size_t image = 0;
    for (int j = 0; j < icons; ++j) {
        library.notifyProgress(2, static_cast<int>(j * 100 / icons));
        for (const IconDevice& d : library.at(j).devices) {
            // Libraries hold bitmaps: a PNG image not decoded yet is decoded
            // into a copy, one at a time, and left compressed.
            IconDevice scratch;
            const IconDevice& pixels = transientPixels(d, scratch);
            if (!writeSlot(file, layout.images[image++], pixels.blockData(), static_cast<size_t>(d.allocatedBytes())))
                return false;
        }
    }
    if (file.written() != layout.dataEnd)
        return false;
    const uint64_t end = alignUp(layout.dataEnd, unit);
    return file.writeZeros(static_cast<size_t>(end - layout.dataEnd)) && file.write(ne::kStamp, ne::kStampBytes) &&
           file.written() == end + ne::kStampBytes && file.commit();
}

}  // namespace

int iconsThatFitInLibrary(const IconLibrary& library)
{
    // The resource table, with its header words, must fit the 16-bit
    // resident-name offset: one entry per icon and one per device.
    int64_t resources = 0;
    for (int i = 0; i < library.size() && i < kMaxIcons; ++i) {
        resources += 1 + library.at(i).deviceCount();
        if (resources > kMaxResources)
            return i;
    }
    return static_cast<int>(std::min<int64_t>(library.size(), kMaxIcons));
}

WriteResult writeLibrary(IconLibrary& library, const std::string& path)
{
    SafeFileWriter file(path);
    return writeLibrary(library, file);
}

WriteResult writeLibrary(IconLibrary& library, SafeFileWriter& file)
{
    const std::string& path = file.path();
    const int64_t icons = library.size();
    if (icons == 0)
        return WriteResult::nothingToWrite(path);
    // The kept total should match; the file must hold what is really there.
    int64_t devices = 0;
    for (int i = 0; i < icons; ++i)
        devices += library.at(i).deviceCount();
    if (iconsThatFitInLibrary(library) < icons)
        return WriteResult::cannotStore(
            path, "too large for an icon library (" + std::to_string(icons) + " icons and " + std::to_string(devices) +
                      " images; it holds at most " + std::to_string(kMaxResources) + " together)");
    library.notifyProgress(0, 0);

    const std::vector<std::string> names = storedNames(library, path);
    uint64_t firstData = kResourceTableOffset + kResourceTableFixedBytes + kResidentFixedBytes +
                         kResourceEntryBytes * static_cast<uint64_t>(icons + devices);
    for (const std::string& name : names)
        firstData += 1 + name.size();
    const auto layout = planLayout(library, firstData);
    if (!layout)
        return WriteResult::cannotStore(path, "too large for an icon library (its data would reach 2 GiB)");
    const std::vector<uint8_t> head = buildHead(*layout, names, firstData);

    if (writeLayout(library, *layout, head, file))
        library.notifyProgress(3, 0);
    return file.result();
}

}  // namespace sigil
