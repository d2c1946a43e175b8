#pragma once
// The pictures the property window's open-bitmap command takes: bitmap
// files as they are, PNG pictures with their alpha, and every other picture
// the program imports, told apart by their contents.

#include <string>

#include "model/DisplaySettings.h"
#include "model/IconDevice.h"

namespace sigil {

// The open-bitmap dialog's filter: all readable pictures, then the bitmap
// filter of the string table.
std::string pictureFileFilter();

enum class PictureRead { Read, Unreadable, GifRefused };

// Fills the (emptied) device with the picture at `path`. A bitmap keeps its
// size and depth (automatic transparency when asked); a PNG picture becomes
// a 32-bit device with its alpha; other pictures become opaque 24-bit
// devices. PNG and other pictures are shrunk to fit 256 x 256.
PictureRead readPictureFile(IconDevice& device, const std::string& path, bool applyTransparency,
                            const DisplaySettings& settings);

}  // namespace sigil
