#pragma once
// Bitmap files and clipboard bitmaps built field by field, so each
// malformed case is a one-line change to a well-formed one.

#include <cstdint>
#include <optional>
#include <vector>

#include "support/DeviceMaker.h"
#include "support/IconBytes.h"

namespace sigil::test {

struct Bmp {
    Header header;                          // size 40; width, height (negative: top-down), bits, compression ...
    std::vector<uint32_t> masks;            // bit-field masks written after the header (red, green, blue)
    std::vector<uint32_t> palette;          // 0xRRGGBB entries written as the colour table
    uint32_t gap = 0;                       // bytes of 0xEE between the table and the pixels
    Bytes pixels;                           // the colour bits as stored
    std::optional<uint32_t> pixelOffset;    // file header's pixel offset; default: where the pixels are
    std::optional<uint32_t> fileSizeField;  // file header's size field; default: the file's size
};

// A bitmap of w x h at `bits`: plain, bottom-up, a full grey-ramp palette
// for 1 to 8 bits, pixels from `pixel` (values as DeviceMaker's, `row`
// counted in stored order: the first row in the data is row 0).
Bmp plainBmp(int w, int h, int bits, const PixelFn& pixel);
// The same with bit fields (compression 3) and the given masks.
Bmp fieldsBmp(int w, int h, int bits, const std::vector<uint32_t>& masks, const PixelFn& pixel);
// Rows of w x h at `bits` packed and padded as a bitmap stores them.
Bytes packRows(int w, int h, int bits, const PixelFn& pixel);

// Header, masks, table, gap and pixels: the clipboard's form.
Bytes dibBytes(const Bmp& bmp);
// The 14-byte file header in front of dibBytes.
Bytes bmpFile(const Bmp& bmp);

}  // namespace sigil::test
