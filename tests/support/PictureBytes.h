#pragma once
// Picture files made by the image library, for the picture import tests.

#include <QImage>
#include <functional>

#include "support/IconBytes.h"

namespace sigil::test {

// A w x h picture with the colour (0xAARRGGBB) that `argb` gives each pixel
// (y = 0 is the top row), encoded in `format` ("JPG", "PNG").
Bytes encodedPicture(int w, int h, const std::function<uint32_t(int x, int y)>& argb, const char* format = "JPG");

// A JPEG of one colour.
Bytes jpegPicture(int w, int h, uint32_t rgb = 0xFF336699);

// The first bytes of a GIF file with the given signature ("GIF", "gif").
Bytes gifStart(const char* signature = "GIF");

// `picture` behind a 128-byte MacBinary header.
Bytes macBinaryWrapped(const Bytes& picture);

}  // namespace sigil::test
