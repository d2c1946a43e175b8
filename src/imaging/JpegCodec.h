#pragma once
// JPEG decoding through libjpeg-turbo. The decoder can shrink by eighths as
// it decodes, so a large photo never has to fit in memory at its full size.

#include "imaging/RgbaImage.h"
#include "platform/Bytes.h"

namespace sigil {

struct JpegSize {
    int width = 0;
    int height = 0;
};

// The picture's size from its header; {0, 0} when it is not a JPEG the
// decoder accepts.
JpegSize jpegSize(ByteView jpeg);

// Decodes the picture, opaque, shrunk by the decoder by the largest of its
// factors that keeps both sides at least minWidth x minHeight (0: full
// size). Refused (empty) when the decoded image would exceed `maxPixels`
// or the data is not a JPEG; a damaged picture gives what could be read,
// as viewers show it. CMYK pictures are taken as Adobe writes them
// (inverted).
RgbaImage decodeJpeg(ByteView jpeg, int minWidth, int minHeight, int64_t maxPixels);

// Lowers the pixels every later decode of the process may make (for
// fuzzing, where a few bytes must not ask for large images).
void setJpegDecodeBudget(int64_t maxPixels);

}  // namespace sigil
