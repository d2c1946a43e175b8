// Feeds arbitrary bytes to the animated-cursor reader.
#include <string>

#include "FuzzLimits.h"
#include "LibraryCheck.h"
#include "formats/AnimatedCursor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sigil::IconLibrary library;
    sigil::fuzz::limitDecoding();
    sigil::readAnimatedCursorBytes(
        library, sigil::ByteView(data, sigil::fuzz::cappedInput(size, sigil::fuzz::kMaxAnimationBytes)), "fuzz.ani",
        "fuzz");
    sigil::fuzz::checkLibrary(library);
    // Only frames with a usable image are kept, numbered without gaps.
    for (int i = 0; i < library.size(); ++i)
        if (library.at(i).name != "fuzz_" + std::to_string(i))
            std::abort();
    return 0;
}
