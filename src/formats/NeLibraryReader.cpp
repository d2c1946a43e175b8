#include "formats/NeLibraryReader.h"

#include <memory>
#include <vector>

#include "formats/IconFile.h"
#include "formats/NeLayout.h"
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
