// Feeds arbitrary bytes to librsvg through the engine's SVG layer, as
// `sigil make` does with an SVG input: parse, then draw at two icon sizes.
#include <cstdlib>

#include "FuzzLimits.h"
#include "imaging/SvgImage.h"

// Fontconfig, which librsvg's text drawing starts once, keeps its font
// tables for the life of the process; LeakSanitizer would count them.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Real icons are a few kilobytes; larger inputs only slow the search.
    const sigil::ByteView bytes(data, sigil::fuzz::cappedInput(size, size_t{64} << 10));
    std::string reason;
    const auto svg = sigil::SvgImage::parse(bytes, reason);
    if (!svg) {
        if (reason.empty())
            std::abort();  // every refusal says why
        return 0;
    }
    for (const int side : {16, 24}) {
        const sigil::RgbaImage image = svg->render(side, side);
        if (image.empty())
            continue;
        if (image.width != side || image.height != side || image.stride != int64_t{side} * 4 ||
            image.bytes.size() != size_t(side) * size_t(side) * 4)
            std::abort();
        // Straight alpha: a transparent pixel has no colour left.
        for (size_t i = 0; i < image.bytes.size(); i += 4)
            if (image.bytes[i + 3] == 0 && (image.bytes[i] | image.bytes[i + 1] | image.bytes[i + 2]) != 0)
                std::abort();
    }
    return 0;
}
