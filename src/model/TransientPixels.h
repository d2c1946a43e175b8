#pragma once
// Reading the pixels of an image kept as PNG data once, without the device
// keeping them decoded.

#include "model/IconDevice.h"

namespace sigil {

// `device` when its pixels are at hand; else `scratch`, made a decoded copy
// of it.
const IconDevice& transientPixels(const IconDevice& device, IconDevice& scratch);

}  // namespace sigil
