#pragma once
// Saves the whole library as an icon library (.icl): a 16-bit NE module with
// no code, one group-icon resource per icon, one icon resource per device,
// and the icons' names in its resident-name table. It is laid out so that
// readNeLibrary can read it back front to back.

#include <string>

#include "model/IconLibrary.h"

namespace sigil {

class SafeFileWriter;

enum class LibraryWriteResult {
    Written,
    NothingToWrite,  // no icon: no file is touched
    TooManyIcons,    // more icons and devices than the resource table holds
    TooLarge,        // image data beyond the offset fields
    FileFailed,      // the file could not be created or written; any old file is intact
};

// Writes the library and sends the progress notices (phase 0 to 3).
LibraryWriteResult saveLibrary(IconLibrary& library, const std::string& path);
// The same through `file`, not opened yet (standard output, say), which
// tells why a write failed; its path names the icons that have no name.
LibraryWriteResult saveLibrary(IconLibrary& library, SafeFileWriter& file);

// How many of the library's icons, from the first, one icon library holds
// (its resource table, not the size of the images, sets the limit).
int iconsThatFitInLibrary(const IconLibrary& library);

// True when the file was written or the library has no icon.
bool writeLibrary(IconLibrary& library, const std::string& path);

}  // namespace sigil
