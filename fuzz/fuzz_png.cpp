// Feeds arbitrary bytes to the PNG picture importer.
#include "ImportCheck.h"
#include "imaging/PictureImport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sigil::IconDevice device;
    const sigil::ByteView bytes(data, sigil::fuzz::cappedInput(size, sigil::fuzz::kMaxBitmapBytes));
    if (sigil::loadPngPictureBytes(device, bytes, sigil::kPictureMaxSide, sigil::kPictureMaxSide))
        sigil::fuzz::checkImported(device);
    else if (device.hasBlock())
        std::abort();  // a refused picture leaves the device empty
    return 0;
}
