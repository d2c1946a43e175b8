#pragma once
// The one resampler for pictures that the engine shrinks (or, rarely,
// enlarges): separable Lanczos-3 on premultiplied alpha, so the colour under
// fully transparent pixels never bleeds into the edge of what is visible.

#include "imaging/RgbaImage.h"

namespace sigil {

// `in` resampled to width x height. Colour is weighted by alpha while it is
// filtered, and a pixel that comes out fully transparent is (0, 0, 0, 0).
// The same size gives an exact copy. Empty when either side asked for is 0
// or less, or the input is empty.
RgbaImage resampled(const RgbaView& in, int width, int height);

}  // namespace sigil
