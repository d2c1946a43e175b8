// Feeds arbitrary bytes to the PNG decoder, then to the PNG picture
// importer built on it.
#include "ImportCheck.h"
#include "imaging/PictureImport.h"
#include "imaging/PngCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sigil::fuzz::limitDecoding();
    const sigil::ByteView bytes(data, sigil::fuzz::cappedInput(size, sigil::fuzz::kMaxBitmapBytes));
    sigil::RgbaPixels pixels;
    const sigil::PngLimits limits{512, int64_t{1} << 20};
    if (sigil::decodePng(bytes, pixels, limits)) {
        if (pixels.width == 0 || pixels.height == 0 || pixels.width > limits.maxSide ||
            pixels.height > limits.maxSide || pixels.rgba.size() != size_t(pixels.width) * pixels.height * 4)
            std::abort();
    } else if (!pixels.rgba.empty() || pixels.width != 0) {
        std::abort();  // a refused image leaves nothing behind
    }
    sigil::IconDevice device;
    if (sigil::loadPngPictureBytes(device, bytes, sigil::kPictureMaxSide, sigil::kPictureMaxSide))
        sigil::fuzz::checkImported(device);
    else if (device.hasBlock())
        std::abort();  // a refused picture leaves the device empty
    return 0;
}
