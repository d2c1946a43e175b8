#pragma once
// Saves the whole library as an icon library (.icl): a 16-bit NE module with
// no code, one group-icon resource per icon, one icon resource per device,
// and the icons' names in its resident-name table. It is laid out so that
// readNeLibrary can read it back front to back.

#include <string>

#include "model/IconLibrary.h"
#include "platform/WriteResult.h"

namespace sigil {

class SafeFileWriter;

// Writes the library and sends the progress notices (phase 0 to 3).
// NothingToWrite, touching no file, when it has no icon; CannotStore when
// its icons and devices overflow the resource table or its image data the
// offset fields; FileFailed with any old file intact.
WriteResult writeLibrary(IconLibrary& library, const std::string& path);
// The same through `file`, not opened yet (standard output, say); its path
// names the icons that have no name.
WriteResult writeLibrary(IconLibrary& library, SafeFileWriter& file);

// How many of the library's icons, from the first, one icon library holds
// (its resource table, not the size of the images, sets the limit).
int iconsThatFitInLibrary(const IconLibrary& library);

}  // namespace sigil
