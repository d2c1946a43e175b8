#pragma once
// .icns files written: one icon family of square images, each size stored in
// every element that current macOS writes for it (PNG data in 'icp4' to
// 'ic14', the @2x elements sharing the PNG of the size they double), behind
// a table of contents, plus the classic 24-bit run-length elements with
// their 8-bit masks ('is32'/'s8mk', 'il32'/'l8mk', 'ih32'/'h8mk',
// 'it32'/'t8mk') for 16, 32, 48 and 128, so that older readers (libicns)
// see those sizes too. No classic element holds 64: such readers miss it.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imaging/RgbaImage.h"
#include "platform/Bytes.h"

namespace sigil {

// What an element holds.
enum class IcnsForm {
    Png,    // a PNG file of the element's size
    Rle24,  // red, green, blue planes, each run-length encoded
    Mask8,  // one opacity byte a pixel, rows from the top
};

struct IcnsElementKind {
    char type[5];
    int side;  // pixels
    IcnsForm form;
};

// Every element written, in the order written, for the sizes given.
std::span<const IcnsElementKind> icnsElementKinds();

// Whether an .icns file can hold an image of size x size.
bool icnsHoldsSize(int size);

// One image to store: size x size, straight alpha, and, when already at
// hand, the same pixels as PNG data (otherwise they are encoded here).
struct IcnsImage {
    RgbaView pixels;
    ByteView png;
};

// The whole file; empty when an image is not square, of a size that the
// format cannot hold, given twice, or cannot be encoded.
std::vector<uint8_t> encodeIcnsFile(std::span<const IcnsImage> images);

// The run-length encoding of the classic 24-bit elements: a control byte c
// below 128 is followed by c + 1 literal values; one of 128 or more by one
// value to repeat c - 125 times (3 to 130). `values` holds `count` values
// `step` bytes apart (one channel of RGBA pixels).
void appendIcnsRunLength(std::vector<uint8_t>& out, const uint8_t* values, size_t count, size_t step);

}  // namespace sigil
