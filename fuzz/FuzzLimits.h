#pragma once
// Bounds on the work one input may cause, so that every target runs some
// hundreds of inputs a second under the sanitizers: picture decoders refuse
// large images.
#include <cstddef>

#include "imaging/JpegCodec.h"
#include "imaging/PngCodec.h"
#include "model/IconLibrary.h"

namespace sigil::fuzz {

// Decoded pictures above 1 MB (PNG images inside icons: 512 x 512 pixels;
// JPEG pictures: 256 K pixels) are refused by the decoders: a few compressed bytes could otherwise ask for
// hundreds of megabytes of pixels.
inline void limitDecoding()
{
    static const bool once = (setJpegDecodeBudget(int64_t{1} << 18), setPngDecodeBudget(int64_t{1} << 20), true);
    (void)once;
}

// Only the first bytes of a large input are read: a real-size animation or
// bitmap costs milliseconds an input under the sanitizers, and its first
// frames or rows exercise the same code.
inline size_t cappedInput(size_t size, size_t cap)
{
    return size < cap ? size : cap;
}
constexpr size_t kMaxAnimationBytes = size_t{48} << 10;
constexpr size_t kMaxBitmapBytes = size_t{4} << 10;

// The display path is tried on small devices only.
constexpr int kMaxDrawnSide = 64;

}  // namespace sigil::fuzz
