// Feeds arbitrary bytes to the PNG decoder, then to the PNG picture
// importer built on it. The decoder's fast path for 8-bit RGB and RGBA must
// give exactly the answer of libspng alone: the same refusal, or the same
// pixels.
#include "ImportCheck.h"
#include "imaging/PictureImport.h"
#include "imaging/PngCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sigil::fuzz::limitDecoding();
    const sigil::ByteView bytes(data, sigil::fuzz::cappedInput(size, sigil::fuzz::kMaxBitmapBytes));
    sigil::RgbaImage pixels;
    const sigil::PngLimits limits{512, int64_t{1} << 20};
    if (sigil::decodePng(bytes, pixels, limits)) {
        if (pixels.empty() || uint32_t(pixels.width) > limits.maxSide || uint32_t(pixels.height) > limits.maxSide ||
            pixels.stride != int64_t{pixels.width} * 4 ||
            pixels.bytes.size() != size_t(pixels.stride) * size_t(pixels.height))
            std::abort();
    } else if (!pixels.bytes.empty() || pixels.width != 0) {
        std::abort();  // a refused image leaves nothing behind
    }
    sigil::RgbaImage general;
    if (sigil::decodePngThroughSpng(bytes, general, limits) != !pixels.empty() || general.width != pixels.width ||
        general.height != pixels.height || general.bytes != pixels.bytes)
        std::abort();
    sigil::IconDevice device;
    if (sigil::loadPngPictureBytes(device, bytes, sigil::kPictureMaxSide, sigil::kPictureMaxSide))
        sigil::fuzz::checkImported(device);
    else if (device.hasBlock())
        std::abort();  // a refused picture leaves the device empty
    return 0;
}
