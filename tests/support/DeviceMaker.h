#pragma once
// Devices with chosen pixels, and readers of single pixels, so conversion
// tests can state pictures as small functions of (x, stored row).

#include <cstdint>
#include <functional>

#include "model/IconDevice.h"
#include "model/IconEntry.h"

namespace sigil::test {

// Pixel values by depth: the palette index for 1 to 8 bits, the raw 16-bit
// value, 0xRRGGBB for 24 bits and 0xAARRGGBB for 32 bits.
using PixelFn = std::function<uint32_t(int x, int row)>;

// A plain device with the standard palette, an all-clear (opaque) AND mask
// and the pixels `pixel` gives.
IconDevice makeDevice(int w, int h, int bits, const PixelFn& pixel);
// Whether the device a cell of `size` shows can be drawn.
bool drawable(const IconEntry& icon, int size = 32);
// Sets colour-table entry `index` to 0xRRGGBB.
void setTableEntry(IconDevice& device, int index, uint32_t rgb);
// Sets or clears AND-mask bits from `masked`.
void setMask(IconDevice& device, const std::function<bool(int x, int row)>& masked);

uint32_t pixelAt(const IconDevice& device, int x, int row);
bool maskedAt(const IconDevice& device, int x, int row);
// Number of set AND-mask bits inside the picture.
int maskedCount(const IconDevice& device);

}  // namespace sigil::test
