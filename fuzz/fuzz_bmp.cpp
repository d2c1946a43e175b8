// Feeds arbitrary bytes to the bitmap-file importer.
#include "ImportCheck.h"
#include "imaging/BitmapImport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sigil::IconDevice device;
    if (sigil::loadBitmapBytes(device,
                               sigil::ByteView(data, sigil::fuzz::cappedInput(size, sigil::fuzz::kMaxBitmapBytes)),
                               true, sigil::fuzz::cornerTransparency()))
        sigil::fuzz::checkImported(device);
    else if (device.hasBlock())
        std::abort();  // a refused file leaves the device empty
    return 0;
}
