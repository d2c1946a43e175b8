// Feeds arbitrary bytes to the clipboard's bitmap reader.
#include "ImportCheck.h"
#include "imaging/Dib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sigil::IconDevice device;
    if (sigil::pasteDib(sigil::ByteView(data, sigil::fuzz::cappedInput(size, sigil::fuzz::kMaxBitmapBytes)), device,
                        true, sigil::fuzz::cornerTransparency()))
        sigil::fuzz::checkImported(device);
    else if (device.hasBlock())
        std::abort();
    return 0;
}
