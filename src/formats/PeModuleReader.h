#pragma once
// The icons of a 32- or 64-bit Windows module (.exe, .dll): every group icon
// resource becomes one icon of the library, built from the icon resources
// that the group lists. The module is read as data; none of its code runs.

#include <cstdint>
#include <memory>
#include <string>

#include "formats/LoadControl.h"
#include "model/IconLibrary.h"
#include "platform/Bytes.h"

namespace sigil {

// Reads the module held in `file` (the whole file) and appends one icon per
// group icon, in the resource directory's order, with a notice for each.
// The enumeration ends at the first group that cannot be read, is empty or
// gives no usable image. False only when the bytes are not a PE module.
bool readPeModule(IconLibrary& library, ByteView file, const std::string& path, LoadControl* control = nullptr);

class FileBytes;

// The same from a file that may be read only in part so far (its headers):
// then only the section holding the resources is read, unless something
// the icons need lies elsewhere, and then the rest of the file too.
bool readPeModule(IconLibrary& library, FileBytes& file, const std::string& path, LoadControl* control = nullptr);

class PeResources;

// One icon resource (an image record, or PNG data) into `device`, pixels
// expanded; false when it gives no usable image. Shared with the NE reader.
bool deviceFromIconResource(ByteView resource, IconDevice& device);

// The icon of group icon resource `id` of a module that `resources` has
// loaded: its devices in the group's order, named as
// readPeModule names it, without display images. Null when the group is
// missing or empty or none of its images can be used.
std::unique_ptr<IconEntry> readGroupIcon(const PeResources& resources, uint16_t id);

}  // namespace sigil
