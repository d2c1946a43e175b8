#pragma once
// Icon images stored as PNG data (the large images of modern icons).

#include "platform/Bytes.h"

namespace sigil {

class IconDevice;

bool hasPngSignature(ByteView data);
// Decodes PNG data into a 32-bit device of its size: colour and alpha kept,
// the AND-mask bit set where alpha is 0. False when the data is not a PNG
// image the engine accepts.
bool deviceFromPng(ByteView data, IconDevice& device);
// Keeps PNG data in the device undecoded (see IconDevice::keepPng): its size
// comes from the header, and the chunks up to IEND must be whole with
// correct checksums, with image data among them. False when refused; the
// pixels are decoded by deviceFromPng when first read.
bool lazyDeviceFromPng(ByteView data, IconDevice& device);

}  // namespace sigil
