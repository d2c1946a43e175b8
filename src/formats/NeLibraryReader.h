#pragma once
// Icons of 16-bit NE modules. Our own libraries (group icons as the first
// resource type) are read front to back in the layout that writeLibrary
// produces: the names of the resident-name table, then every group
// directory, then the images of all icons in order. Any other module is
// read through its resource table: each group icon resolved to its icon
// resources by identifier.

#include <string>

#include "formats/LoadControl.h"
#include "model/IconLibrary.h"
#include "platform/Bytes.h"

namespace sigil {

// Appends one icon per group directory that has images, each the moment it
// is complete, with a notice to the view. False only when the file is not
// an NE module; once it is, damaged or short data ends the reading with
// true, and the icons appended so far stay.
bool readNeLibrary(IconLibrary& library, ByteView file, const std::string& path, const std::string& baseName,
                   LoadControl* control = nullptr);

}  // namespace sigil
