#pragma once
// A fast decoder for the PNGs nearly every icon holds: 8-bit RGB or RGBA,
// not interlaced, every chunk well formed. It gives exactly the pixels of
// the general decoder (decodePng's libspng path) and leaves every other
// file, and every doubt, to it. Internal to the PNG decoders.

#include <cstdint>

#include "imaging/RgbaImage.h"
#include "platform/Bytes.h"

namespace sigil {

// Decodes `png` into straight RGBA rows, the tRNS colour key of an RGB
// image as alpha 0. The sides may be up to `maxSide`, the pixels take at
// most `maxBytes` at four bytes each. False, `out` untouched, when the file
// is of another kind, damaged or beyond the limits: the general decoder
// then gives the answer, refusal included.
bool decodePngFast(ByteView png, RgbaImage& out, uint32_t maxSide, int64_t maxBytes);

}  // namespace sigil
