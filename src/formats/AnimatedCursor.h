#pragma once
// Animated cursors (.ani): RIFF files whose frames are whole icon files kept
// in "icon" chunks. Nothing is animated; every frame becomes one icon of the
// library, named after the file and the frame's number.

#include <string>

#include "formats/LoadControl.h"
#include "model/IconLibrary.h"
#include "platform/Bytes.h"

namespace sigil {

// Appends one icon per usable frame and notifies each. True when the data
// is a RIFF file (whether or not it held any frame), false otherwise.
bool readAnimatedCursorBytes(IconLibrary& library, ByteView data, const std::string& path, const std::string& baseName,
                             LoadControl* control = nullptr);

// The same on a file; false also when the file cannot be opened.
bool readAnimatedCursor(IconLibrary& library, const std::string& path, const std::string& baseName,
                        LoadControl* control = nullptr);

}  // namespace sigil
