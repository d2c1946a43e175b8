#pragma once
// Pictures (JPEG, or whatever else the image library reads) imported as an
// icon of one opaque 24-bit device, shrunk to fit 256 x 256; PNG pictures
// keep their alpha in a 32-bit device. GIF pictures
// are refused by their content, whatever the file is called.

#include <atomic>
#include <string>

#include "model/IconEntry.h"
#include "platform/Bytes.h"

namespace sigil {

// The largest side of an imported picture.
constexpr int kPictureMaxSide = 256;

// Makes `device` a 24-bit, fully opaque device of the picture in `data`,
// shrunk (proportions kept) to fit maxWidth x maxHeight (0 or less: no
// limit) and drawn on white. Data whose first byte is 0 are taken to be
// wrapped in a 128-byte MacBinary header. A GIF raises `gifRefused` and is
// refused; so is anything the image library cannot read, and a picture so
// thin that fitting leaves a side of 0.
bool loadPictureBytes(IconDevice& device, ByteView data, int maxWidth, int maxHeight, std::atomic<bool>& gifRefused);

// The same on a file; false also when the file cannot be opened.
bool loadPicture(IconDevice& device, const std::string& path, int maxWidth, int maxHeight,
                 std::atomic<bool>& gifRefused);

// Empties `icon` and fills it with the picture's one device, fitted to
// 256 x 256; `name` and `source` become the display name and the path.
bool openPictureAsIcon(IconEntry& icon, const std::string& path, const std::string& name,
                       std::atomic<bool>& gifRefused);

// Makes `device` a 32-bit device of the PNG picture in `data`, its alpha
// kept (straight, not premultiplied) and the AND mask set where alpha is 0,
// fitted to maxWidth x maxHeight like the other pictures. False for data
// without the PNG signature and for anything the PNG decoder refuses.
bool loadPngPictureBytes(IconDevice& device, ByteView data, int maxWidth, int maxHeight);

// Empties `icon` and fills it with the PNG file's one device, fitted to
// 256 x 256; `name` and `source` become the display name and the path.
bool openPngAsIcon(IconEntry& icon, const std::string& path, const std::string& name);

}  // namespace sigil
