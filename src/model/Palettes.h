#pragma once
// Standard palettes of new blank devices and the colour-class labels.

#include <array>
#include <cstdint>
#include <string_view>

namespace sigil {

// Entries as 0xRRGGBB.
extern const std::array<uint32_t, 2> kPalette2;
extern const std::array<uint32_t, 16> kPalette16;
extern const std::array<uint32_t, 256> kPalette256;

// Writes the standard palette for bitCount 1, 4 or 8 as colour-table entries
// (blue, green, red, 0); other bit counts write nothing.
void writeStandardPalette(int bitCount, uint8_t* table);

// The label by which devices of a bit count are classed ("ﾓﾉｸﾛ" … "不明"),
// as `sigil list` prints it; the interface has its own in the string table.
std::string_view colorClassLabel(int bitCount);

}  // namespace sigil
