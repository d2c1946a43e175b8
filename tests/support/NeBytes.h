#pragma once
// An icon library in an NE module, built from its parts the way the NE
// reader expects it, so each damaged case is a one-line change.

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

}  // namespace sigil::test
