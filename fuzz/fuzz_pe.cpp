// Feeds arbitrary bytes to the module reader as a whole PE file and checks
// that every icon it appends is complete and counted.
#include <cstdlib>

#include "formats/PeModuleReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sigil::IconLibrary library;
    sigil::readPeModule(library, sigil::ByteView(data, size), "fuzz.dll");
    int devices = 0;
    for (int i = 0; i < library.size(); ++i) {
        const sigil::IconEntry& entry = library.at(i);
        if (entry.devices.empty() || entry.current != entry.deviceCount() - 1)
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
