#pragma once
// Device-independent bitmaps: the 40-byte header (or a 108- or 124-byte
// V4/V5 header, read for its masks), optional bit-field masks,
// colour table and bottom-up rows that the clipboard exchanges and that a
// bitmap file holds after its 14-byte file header.

#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/RgbaImage.h"
#include "model/IconDevice.h"
#include "platform/Bytes.h"

namespace sigil {

constexpr int kFileHeaderBytes = 14;

// Reads a bitmap into `device` as it is stored (bit-field and RLE8 pixels
// are not yet expanded), with an all-clear AND mask; 32-bit pixels whose
// alpha is 0 become black and transparent, except that under a header
// longer than 40 bytes a picture whose alpha is 0 throughout is opaque. Accepts 1, 4, 8, 16, 24 and
// 32 bits, plain, RLE8 (8 bits only) and bit fields (16 and 32 bits),
// bottom-up or top-down (plain and bit fields only), and colour tables
// shorter than the depth allows (missing entries are black). With a V4 or
// V5 header, bit-field pixels are read through the header's masks (each one
// run of bits inside the depth, none overlapping) into plain 24-bit pixels,
// or 32-bit ones when there is an alpha mask; JPEG and PNG compression are
// refused, and a colour profile is ignored.
// `pixelOffset` is where the rows start, counted from the header; a value
// inside the headers (a bitmap file that leaves it 0) means directly after
// the colour table. False, with the device empty, when anything the header
// describes is not in `dib`.
bool readDib(ByteView dib, IconDevice& device, int64_t pixelOffset = -1);

// The device as a bitmap without file header: the image (header with one
// image's height, colour table, colour bits; no AND mask), or its mask (for
// 32 bits an 8-bit grey picture of 255 - alpha, otherwise a black-and-white
// picture of the AND mask), so transparent parts are white. Nothing when the
// device's block does not hold what its fields describe.
std::optional<std::vector<uint8_t>> dibFromDevice(const IconDevice& device, bool asMask);

// A bitmap file: the 14-byte file header in front of `dib`, its pixel
// offset pointing behind the colour table that the header declares.
std::vector<uint8_t> bitmapFileFromDib(ByteView dib);

// A 32-bit bitmap of the pixels with their alpha (colour not
// premultiplied), or without `withAlpha` a 24-bit one of their colour.
// Nothing for an empty or oversized image.
std::optional<std::vector<uint8_t>> dibFromRgba(const RgbaView& image, bool withAlpha);

// Raw bitmap bytes without file header (the clipboard's form) as a device:
// read, its pixels expanded and, when asked, the settings' automatic
// transparency applied. False, device empty, when refused.
bool pasteDib(ByteView dib, IconDevice& device, bool applyTransparency, const DisplaySettings& settings);

}  // namespace sigil
