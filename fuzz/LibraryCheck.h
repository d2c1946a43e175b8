#pragma once
// The checks every fuzz target makes on what a reader appended: each icon
// has devices, `current` on its last one, every block sized by the rules,
// and the device total matching. Any failure aborts, which libFuzzer
// reports as a find.
#include <cstdlib>

#include "model/IconLibrary.h"

namespace sigil::fuzz {

inline void checkLibrary(const IconLibrary& library)
{
    int devices = 0;
    for (int i = 0; i < library.size(); ++i) {
        const IconEntry& entry = library.at(i);
        if (entry.devices.empty() || entry.current != entry.deviceCount() - 1)
            std::abort();
        for (const IconDevice& d : entry.devices)
            if (d.allocatedBytes() != d.blockBytes())
                std::abort();
        devices += entry.deviceCount();
    }
    if (devices != library.deviceTotal())
        std::abort();
}

}  // namespace sigil::fuzz
