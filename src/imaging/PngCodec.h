#pragma once
// PNG decoding and encoding. Every PNG the engine reads (images inside
// icons, PNG pictures, Mac icon elements, pasted PNG) is decoded here,
// within limits the caller gives, and the decoder never writes to stderr.
// The 8-bit RGB and RGBA images nearly every icon holds take a fast path of
// our own (PngFastDecode); everything else, and every file that path is
// unsure of, goes through libspng, with the same answers.

#include <cstdint>
#include <vector>

#include "imaging/RgbaImage.h"
#include "model/IconDevice.h"
#include "platform/Bytes.h"

namespace sigil {

// What one decode may take: the longest side, and the bytes of the
// decoded image at four bytes a pixel. Refused from the header, before
// any pixel memory is taken.
struct PngLimits {
    uint32_t maxSide = uint32_t(kMaxDimension);
    int64_t maxBytes = kMaxBlockBytes;
};

// Decodes any colour type and bit depth, interlaced or not, the tRNS key
// or palette alpha applied, 16-bit channels cut to their high byte. Only
// the default image of an animated PNG is read. Critical chunks with a
// wrong checksum are refused; ancillary ones are passed over. False, `out`
// empty, when refused.
bool decodePng(ByteView png, RgbaImage& out, const PngLimits& limits = {});

// decodePng without its fast path: every file through libspng. For
// comparisons in tests, fuzzing and benchmarks.
bool decodePngThroughSpng(ByteView png, RgbaImage& out, const PngLimits& limits = {});

// Lowers the decoded bytes every later decode of the process may take
// (for fuzzing, where a few bytes must not ask for large images).
void setPngDecodeBudget(int64_t maxBytes);

// Encodes straight-alpha RGBA rows (`stride` bytes apart) as an 8-bit RGBA
// PNG; empty when it cannot.
std::vector<uint8_t> encodePng(const uint8_t* rgba, uint32_t width, uint32_t height, size_t stride);

// A 32-bit device of the pixels, bottom row first, the AND-mask bit set
// where alpha is 0. False, device empty, when it cannot be made.
bool deviceFromRgba(IconDevice& device, const RgbaImage& pixels);
inline std::vector<uint8_t> encodePng(const RgbaImage& image)
{
    return encodePng(image.bytes.data(), uint32_t(image.width), uint32_t(image.height), size_t(image.stride));
}

}  // namespace sigil
