// Feeds arbitrary bytes to the animated-cursor reader and checks that what
// it appends to the library is self-consistent.
#include <cstdlib>
#include <string>

#include "formats/AnimatedCursor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sigil::IconLibrary library;
    sigil::readAnimatedCursorBytes(library, sigil::ByteView(data, size), "fuzz.ani", "fuzz");
    int devices = 0;
    for (int i = 0; i < library.size(); ++i) {
        const sigil::IconEntry& entry = library.at(i);
        // Only frames with a usable image are kept, numbered without gaps.
        if (entry.devices.empty() || entry.current != entry.deviceCount() - 1 ||
            entry.name != "fuzz_" + std::to_string(i))
            std::abort();
        for (const sigil::IconDevice& d : entry.devices)
            if (d.allocatedBytes() != d.blockBytes())
                std::abort();
        devices += entry.deviceCount();
    }
    if (devices != library.deviceTotal())
        std::abort();
    return 0;
}
