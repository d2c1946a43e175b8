#pragma once
// Undoing a PNG row's filter (None, Sub, Up, Average, Paeth) for pixels of
// three or four bytes. Internal to the PNG decoders.

#include <cstddef>
#include <cstdint>

namespace sigil {

// Rebuilds one row of `bytes` bytes: `out[i] = in[i] + predictor`, the
// predictor taken from `out` to the left and from `prev`, the row above
// already rebuilt (all zero for the first row). `in` and `out` may be the
// same row; `prev` must not overlap `out`. `filter` is 0 to 4, `bpp` 3 or 4,
// `bytes` a multiple of `bpp`.
void defilterRow(uint8_t filter, int bpp, const uint8_t* in, const uint8_t* prev, uint8_t* out, size_t bytes);

// The same, a byte at a time: the reference for the vector version, and
// what processors without SSE2 run.
void defilterRowPortable(uint8_t filter, int bpp, const uint8_t* in, const uint8_t* prev, uint8_t* out, size_t bytes);

}  // namespace sigil
