#pragma once
// An icon library in an NE module, built from its parts the way the NE
// reader expects it (with our stamp), so each damaged case is a one-line
// change.

#include <optional>
#include <string>
#include <vector>

#include "support/IconBytes.h"

namespace sigil::test {

struct NeLibraryParts {
    std::vector<std::string> names;         // stored name bytes, in order
    std::vector<std::vector<Bytes>> icons;  // the image records of each group icon
    uint16_t shift = 0;                     // alignment of directories and images
    std::optional<uint16_t> groupCount;     // stored count; default: icons.size()
};

Bytes neLibrary(const NeLibraryParts& parts);

// A module in the usual linker layout: the resource table lists the icon
// resources (RT_ICON) before the group icons (RT_GROUP_ICON), after a named
// resource type that readers must pass over; offsets and lengths count
// 2^shift bytes; names of named resources follow the types.
struct NeResourcePart {
    std::string name;  // empty: numbered by `id`
    uint16_t id = 0;
    Bytes data;
};

struct NeModuleParts {
    std::vector<NeResourcePart> icons;                            // image records, numbered
    std::vector<NeResourcePart> groups;                           // group directories (see neGroup)
    std::vector<std::pair<std::string, uint16_t>> residentNames;  // after the module name: text, ordinal
    uint16_t shift = 4;
    bool groupsFirst = false;  // RT_GROUP_ICON as the first type, as some tools write it
};

Bytes neModule(const NeModuleParts& parts);

// A group directory listing icon resources `ids`, each `byteCount` bytes.
Bytes neGroup(const std::vector<uint16_t>& ids, uint32_t byteCount = 0);

}  // namespace sigil::test
