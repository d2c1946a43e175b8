#pragma once
// The icons of a 32- or 64-bit Windows module (.exe, .dll): every group icon
// resource becomes one icon of the library, built from the icon resources
// that the group lists. The module is read as data; none of its code runs.

#include <string>

#include "model/Bytes.h"
#include "model/IconLibrary.h"

namespace sigil {

// Reads the module held in `file` (the whole file) and appends one icon per
// group icon, in the resource directory's order, with a notice for each.
// The enumeration ends at the first group that cannot be read, is empty or
// gives no usable image. False only when the bytes are not a PE module.
bool readPeModule(IconLibrary& library, ByteView file, const std::string& path);

}  // namespace sigil
