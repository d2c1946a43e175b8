#include "formats/PeModuleReader.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

#include "formats/IconFile.h"
#include "formats/PeResources.h"
#include "formats/PngImage.h"
#include "platform/Cp932Text.h"
#include "platform/FileBytes.h"

namespace sigil {

namespace {

constexpr size_t kGroupHeaderBytes = 6;  // reserved, type, count
constexpr size_t kGroupIdField = 12;     // the icon resource's identifier in a 14-byte entry
// Names of numbered icons come from a 255-byte buffer with its terminator.
constexpr size_t kMaxStringNameBytes = 254;
// Groups may all name the same icon resources, so a small module could ask
// for its largest image thousands of times over. What one module may decode
// in all is bounded: generous for real modules (Wine's shell32 decodes to
// about 60 MB), small beside the machine.
constexpr int64_t kModuleBudgetBase = int64_t{512} << 20;
constexpr int64_t kModuleBudgetPerByte = 32;

}  // namespace

std::unique_ptr<IconEntry> iconOfGroup(ByteView group, const IconResourceLookup& iconById, const LoadControl* control,
                                       int64_t& budget)
{
    auto entry = std::make_unique<IconEntry>();
    if (group.size() < kGroupHeaderBytes)
        return entry;
    const uint64_t count =
        std::min<uint64_t>(getU16(group.data() + 4), (group.size() - kGroupHeaderBytes) / kGroupDirEntryBytes);
    for (uint64_t i = 0; i < count; ++i) {
        if (stopping(control))
            return nullptr;
        const auto resource =
            iconById(getU16(group.data() + kGroupHeaderBytes + i * kGroupDirEntryBytes + kGroupIdField));
        if (!resource)
            continue;
        IconDevice device;
        if (!deviceFromIconResource(*resource, device))
            continue;
        budget -= device.allocatedBytes();
        if (budget < 0)
            break;
        entry->devices.push_back(std::move(device));
    }
    return entry;
}

bool deviceFromIconResource(ByteView resource, IconDevice& device)
{
    if (hasPngSignature(resource))
        return lazyDeviceFromPng(resource, device);
    if (device.setFromHeader(resource, true,
                             truncatedBlockLimit(resource.size() >= kHeaderBytes ? resource.size() - kHeaderBytes : 0),
                             false) < 0)
        return false;
    // The data bytes follow the header; a resource shorter than its header
    // claims leaves zeros in the rest of the block.
    const auto wanted = static_cast<size_t>(device.allocatedBytes() - kHeaderBytes);
    const size_t copied = static_cast<size_t>(std::min<uint64_t>(wanted, resource.size() - kHeaderBytes));
    uint8_t* into = device.blockData() + kHeaderBytes;
    std::memcpy(into, resource.data() + kHeaderBytes, copied);
    std::memset(into + copied, 0, wanted - copied);
    return device.expandPixels();
}

namespace {

IconResourceLookup iconsOf(const PeResources& resources)
{
    return [&resources](uint16_t id) { return resources.find(kResourceIcon, id); };
}

// A text name as it is; a number m by the module's string m, first line only.
std::string iconName(const PeResources& resources, const ResourceName& name)
{
    if (!name.isId)
        return name.text;
    if (const auto text = resources.loadString(name.id)) {
        std::u16string_view line(*text);
        line = line.substr(0, line.find(u'\n'));
        if (!line.empty() && line.back() == u'\r')
            line.remove_suffix(1);
        std::string utf8 = cutUtf8(utf8FromUtf16(line), kMaxStringNameBytes);
        if (!utf8.empty())
            return utf8;
    }
    return std::to_string(name.id);
}

// A group icon directory with at least one entry.
std::optional<ByteView> findGroup(const PeResources& resources, const ResourceName& name)
{
    const auto group = resources.find(kResourceGroupIcon, name);
    if (!group || group->size() < kGroupHeaderBytes || getU16(group->data() + 4) == 0)
        return std::nullopt;
    return group;
}

}  // namespace

std::unique_ptr<IconEntry> readGroupIcon(const PeResources& resources, uint16_t id)
{
    const ResourceName name = ResourceName::fromId(id);
    const auto group = findGroup(resources, name);
    if (!group)
        return nullptr;
    // One group alone decodes within the base budget of a whole module.
    int64_t budget = kModuleBudgetBase;
    auto entry = iconOfGroup(*group, iconsOf(resources), nullptr, budget);
    if (entry->devices.empty())
        return nullptr;
    entry->name = iconName(resources, name);
    return entry;
}

namespace {

// The icons of a module whose resources are loaded, in directory order.
void readIcons(IconLibrary& library, const PeResources& resources, size_t fileSize, const std::string& path,
               LoadControl* control)
{
    int k = 0;
    int64_t budget = kModuleBudgetBase + kModuleBudgetPerByte * static_cast<int64_t>(fileSize);
    for (const ResourceName& name : resources.names(kResourceGroupIcon)) {
        if (stopping(control) || budget < 0)
            return;
        const auto group = findGroup(resources, name);
        if (!group)
            break;
        auto entry = iconOfGroup(*group, iconsOf(resources), control, budget);
        if (!entry)  // stopped while building: nothing half-added
            return;
        if (entry->devices.empty())
            break;
        entry->source = path + "," + std::to_string(k);
        entry->name = iconName(resources, name);
        library.addReadIcon(std::move(entry));
        ++k;
    }
}

// Reads the section that holds the resources and loads them from the parts
// read. False when that is not enough: the headers lie further on, or some
// table, icon or string lies outside that section.
bool loadFromResourceSection(PeResources& resources, FileBytes& file)
{
    if (!resources.load(file.bytes(), file.readRanges()))
        return false;
    const auto section = resources.resourceSection();
    if (!section)  // no resource directory in any section: no icons
        return !resources.reachedUnread();
    return file.readRange(*section) && resources.load(file.bytes(), file.readRanges()) &&
           resources.indexTypes({kResourceGroupIcon, kResourceIcon, kResourceString});
}

}  // namespace

bool readPeModule(IconLibrary& library, ByteView file, const std::string& path, LoadControl* control)
{
    PeResources resources;
    if (!resources.load(file))
        return false;
    readIcons(library, resources, file.size(), path, control);
    return true;
}

bool readPeModule(IconLibrary& library, FileBytes& file, const std::string& path, LoadControl* control)
{
    PeResources resources;
    if (!file.complete() && !loadFromResourceSection(resources, file) && !file.readAll())
        return false;
    if (file.complete() && !resources.load(file.bytes()))
        return false;
    readIcons(library, resources, file.size(), path, control);
    return true;
}

}  // namespace sigil
