// Feeds arbitrary bytes to the Mac icon import as a plain icns file or a
// MacBinary file of any file type, and checks what it gives back is self-consistent.
#include <cstdlib>
#include <memory>

#include "FuzzLimits.h"
#include "LibraryCheck.h"
#include "imaging/DevicePixels.h"
#include "imaging/MacIconImport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sigil::DisplaySettings settings;
    settings.macFileTypes.clear();  // every file type, so the fuzzer reaches the forks
    auto icon = std::make_unique<sigil::IconEntry>();
    const bool read = sigil::loadMacIconBytes(*icon, sigil::ByteView(data, size), "fuzz/Icon_", "Icon_", settings);
    if (!read && !icon->devices.empty())
        std::abort();
    bool drawn = false;
    for (const sigil::IconDevice& d : icon->devices) {
        // Opacity elements never survive; everything left has a known depth.
        if ((d.bitCount == 8 && d.macFlag) ||
            (d.bitCount != 1 && d.bitCount != 4 && d.bitCount != 8 && d.bitCount != 24 && d.bitCount != 32))
            std::abort();
        if (!drawn && d.width <= sigil::fuzz::kMaxDrawnSide) {
            sigil::displayPixels(d, sigil::DisplayMode::Normal, 0, settings.xpDisplay != 0);
            drawn = true;
        }
    }
    // The filter may leave a read family without devices; the library check
    // is for icons with some.
    if (!icon->devices.empty()) {
        sigil::IconLibrary library;
        sigil::fuzz::limitDecoding();
        library.addReadIcon(std::move(icon));
        sigil::fuzz::checkLibrary(library);
    }
    return 0;
}
