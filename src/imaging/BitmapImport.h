#pragma once
// Windows bitmap files (.bmp) as one device of the picture's own size and
// depth, and as a one-device icon for the open dispatch.

#include <string>

#include "model/DisplaySettings.h"
#include "model/IconDevice.h"
#include "model/IconEntry.h"
#include "platform/Bytes.h"

namespace sigil {

// A bitmap file held in memory: "BM" file header, then the bitmap that
// readDib accepts, its rows at the file header's pixel offset. The device
// is emptied first; on success it holds the picture with its pixels
// expanded and, when asked, the settings' automatic transparency applied.
bool loadBitmapBytes(IconDevice& device, ByteView file, bool applyTransparency, const DisplaySettings& settings);

// The same for a file on disk; false when it cannot be read.
bool loadBitmapFile(IconDevice& device, const std::string& path, bool applyTransparency,
                    const DisplaySettings& settings);

// Empties `entry` and fills it with the one device of the bitmap at `path`,
// named `baseName`; false (entry left empty) when the file is refused.
bool readBitmapIcon(IconEntry& entry, const std::string& path, const std::string& baseName,
                    const DisplaySettings& settings);

}  // namespace sigil
