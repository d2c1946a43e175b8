#pragma once
// Conversions that turn an imported picture into a well-formed device and
// combine two devices: expansion with automatic transparency, one colour
// made transparent, a second picture used as mask or alpha channel, and a
// device overwritten by another of the same size.

#include <vector>

#include "imaging/RgbaImage.h"
#include "model/DisplaySettings.h"
#include "model/IconDevice.h"

namespace sigil {

// Which colour makeTransparent takes: the given one, or a corner pixel's.
enum TransparencyType { kGivenColor = 0, kTopLeft = 1, kTopRight = 2, kBottomLeft = 3, kBottomRight = 4 };

// Expands bit-field and RLE8 pixels, then, when asked and the settings'
// automatic transparency is on, makes the settings' colour transparent
// (never on 32-bit devices nor on Mac mask elements). False, with the device
// unchanged, when the pixels cannot be expanded.
bool normalize(IconDevice& device, bool applyTransparency, const DisplaySettings& settings);

// Makes every pixel of exactly the key colour (the given colour, or that of
// the corner that `type` names) transparent and black. 16-bit devices and
// devices without plain pixels are left alone.
void makeTransparent(IconDevice& device, Color color, int type);

// Uses `source` as the mask of `target`: a 1-bit source's AND mask becomes
// the target's; any deeper source turns a 24- or 32-bit target into a
// 32-bit device whose alpha is the inverse of the source's grey level (or a
// Mac alpha element's value). False, with nothing changed, for any other
// combination.
bool applyMask(IconDevice& target, const IconDevice& source);

// PNG data decoded, when it is `width` x `height` as its header said; empty
// when it does not decode or comes out another size.
RgbaImage decodePngOfSize(ByteView png, uint32_t width, uint32_t height);

// The device as a PNG file: an unchanged PNG image's data as stored, any
// other image encoded from devicePixels (its transparency as alpha). Empty
// when the image cannot be drawn or encoded.
std::vector<uint8_t> devicePng(const IconDevice& device);

// Overwrites `target` with `source` of the same size and depth: the whole
// device, or (without withMask) everything but the target's own AND mask.
bool replaceFrom(IconDevice& target, const IconDevice& source, bool withMask);

}  // namespace sigil
