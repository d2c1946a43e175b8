#pragma once
// A device's pixels as plain RGBA: the picture handed to other programs
// (PNG files, the clipboard, thumbnails) and the pixels of its display
// images, which the program scales and shows.

#include "imaging/RgbaImage.h"
#include "model/DisplaySettings.h"
#include "model/IconDevice.h"

namespace sigil {

// What a display image shows: the image as the icon is drawn, its colour
// bits alone (opaque), or its mask (white where transparent).
enum class DisplayMode { Image, Normal, Mask };

// The image at the device's own size: a 32-bit image with any non-zero
// alpha keeps its own alpha, any other image is transparent where its AND
// mask is set. Empty when the block cannot be drawn, or would make an
// image larger than the largest block.
RgbaImage devicePixels(const IconDevice& device);

// The pixels of a display image at the device's own size. Normal honours
// a 32-bit image's alpha, or with `xpDisplay` blends it onto `background`
// and draws it with its AND mask, as a platform without alpha icons would.
// A device of more than about a million pixels is drawn from every n-th
// pixel so that its image stays that small. Empty when the block cannot be
// drawn.
RgbaImage displayPixels(const IconDevice& device, DisplayMode mode, Color background, bool xpDisplay);

}  // namespace sigil
