#pragma once
// Mac icon files built from their parts: MacBinary wrappers, resource forks
// with classic icon resources, icns families and element data, so each
// damaged case is a one-line change.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/IconBytes.h"

namespace sigil::test {

void putBe16(Bytes& b, uint16_t v);
void putBe32(Bytes& b, uint32_t v);

// A MacBinary file: 128-byte header (version 0, file type, creator, fork
// lengths), the data fork padded to 128 bytes, then the resource fork.
struct MacBinaryParts {
    Bytes resourceFork;
    std::string fileType = "icns";
    Bytes dataFork;
    std::optional<uint32_t> resourceForkLength;  // stored length; default: the fork's size
};
Bytes macBinary(const MacBinaryParts& parts);

// An icns element: type, length (8 + data unless overridden), data.
Bytes icnsElement(const std::string& type, const Bytes& data, std::optional<uint32_t> length = {});
// An icns family: "icns", total length (8 + elements unless overridden), elements.
Bytes icnsFamily(const std::vector<Bytes>& elements, std::optional<uint32_t> total = {});

// A resource fork with one resource of each type, in order: header, data
// area of length-prefixed items, and a map whose reference lists follow the
// type list in type order.
struct MacResource {
    std::string type;
    Bytes data;
};
Bytes resourceFork(const std::vector<MacResource>& resources);

// '#' element data: the picture (true: black) then the mask (true: opaque),
// rows from the top, packed to 16 bits.
using MacBitFn = std::function<bool(int x, int y)>;
Bytes blackAndWhiteData(int w, int h, const MacBitFn& black, const MacBitFn& opaque);

// One byte a pixel (8-bit indices or opacities), or two 4-bit indices a
// byte, rows from the top.
Bytes indexedData(int w, int h, int bits, const std::function<uint8_t(int x, int y)>& value);

// Run-length encoding of one plane: repeats of 3 or more become repeat
// runs, the rest literal runs.
Bytes packPlane(const Bytes& values);
// The three packed planes of a w x h picture given as 0xRRGGBB per pixel.
Bytes packedRgb(int w, int h, const std::function<uint32_t(int x, int y)>& rgb);

}  // namespace sigil::test
