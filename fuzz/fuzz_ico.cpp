// Feeds arbitrary bytes to the icon-file reader and checks what it gives
// back is self-consistent.
#include <cstdlib>

#include "FuzzLimits.h"
#include "formats/IconFile.h"
#include "imaging/DevicePixels.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sigil::fuzz::limitDecoding();
    sigil::IconEntry entry;
    sigil::readIconBytes(sigil::ByteView(data, size), entry);
    bool drawn = false;
    for (const sigil::IconDevice& d : entry.devices) {
        if (d.allocatedBytes() != d.blockBytes())
            std::abort();
        // The display path on one small device the reader kept.
        if (!drawn && d.width <= sigil::fuzz::kMaxDrawnSide && d.height <= sigil::fuzz::kMaxDrawnSide) {
            sigil::displayPixels(d, sigil::DisplayMode::Normal, 0, true);
            sigil::displayPixels(d, sigil::DisplayMode::Mask, 0, false);
            drawn = true;
        }
    }
    if (!entry.devices.empty() && !sigil::encodeIconFile(entry))
        std::abort();
    return 0;
}
