// Feeds arbitrary bytes to the icon-file reader and checks what it gives
// back is self-consistent.
#include <cstdlib>

#include "formats/IconFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sigil::IconEntry entry;
    sigil::readIconBytes(sigil::ByteView(data, size), entry);
    for (const sigil::IconDevice& d : entry.devices) {
        if (d.allocatedBytes() != d.blockBytes())
            std::abort();
        // Exercise the display path on every device the reader kept.
        d.makeDisplayIcon(sigil::DisplayMode::Normal, 0, sigil::DisplaySettings{}, 16, 16);
        d.makeDisplayIcon(sigil::DisplayMode::Mask, 0, sigil::DisplaySettings{});
    }
    if (!entry.devices.empty() && !sigil::encodeIconFile(entry))
        std::abort();
    return 0;
}
