#pragma once
// The icons of a 32- or 64-bit Windows module (.exe, .dll): every group icon
// resource becomes one icon of the library, built from the icon resources
// that the group lists. The module is read as data; none of its code runs.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
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

// Finds an icon resource of the module by its number.
using IconResourceLookup = std::function<std::optional<ByteView>(uint16_t id)>;

// The devices of one group directory, in its order, each taken from the
// icon resource its entry names; icons the module lacks are passed over and
// entries beyond the directory's bytes are not read. `budget` counts down
// the bytes of the devices made; past it, no further device is added. Null
// when `control` (if any) asks the reader to stop. Shared with the NE
// reader.
std::unique_ptr<IconEntry> iconOfGroup(ByteView group, const IconResourceLookup& iconById, const LoadControl* control,
                                       int64_t& budget);

// The icon of group icon resource `id` of a module that `resources` has
// loaded: its devices in the group's order, named as
// readPeModule names it, without display images. Null when the group is
// missing or empty or none of its images can be used.
std::unique_ptr<IconEntry> readGroupIcon(const PeResources& resources, uint16_t id);

}  // namespace sigil
