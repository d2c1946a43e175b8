// Feeds arbitrary bytes to the picture importer (JPEG, and PNG or bitmap
// data under a picture's name), drawn on white and fitted to 256 x 256.
#include <atomic>

#include "ImportCheck.h"
#include "imaging/PictureImport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sigil::fuzz::limitDecoding();
    const sigil::ByteView bytes(data, sigil::fuzz::cappedInput(size, sigil::fuzz::kMaxBitmapBytes));
    sigil::IconDevice device;
    std::atomic<bool> gif{false};
    if (sigil::loadPictureBytes(device, bytes, sigil::kPictureMaxSide, sigil::kPictureMaxSide, gif)) {
        if (device.bitCount != 24 || device.width > sigil::kPictureMaxSide || device.height > sigil::kPictureMaxSide)
            std::abort();
        sigil::fuzz::checkImported(device);
    } else if (device.hasBlock()) {
        std::abort();  // a refused picture leaves the device empty
    }
    return 0;
}
