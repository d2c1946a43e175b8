// Feeds arbitrary bytes to the NE library reader and checks that what it
// appends to the library is self-consistent.
#include <cstdlib>

#include "formats/NeLibraryReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sigil::IconLibrary library;
    sigil::readNeLibrary(library, sigil::ByteView(data, size), "/fuzz/input.icl", "input");
    int total = 0;
    for (int i = 0; i < library.size(); ++i) {
        const sigil::IconEntry& icon = library.at(i);
        if (icon.devices.empty() || icon.current != icon.deviceCount() - 1)
            std::abort();
        for (const sigil::IconDevice& d : icon.devices)
            if (d.allocatedBytes() != d.blockBytes())
                std::abort();
        total += icon.deviceCount();
    }
    if (total != library.deviceTotal())
        std::abort();
    return 0;
}
