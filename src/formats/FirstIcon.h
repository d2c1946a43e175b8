#pragma once
// The first icon of a file, read by the same readers as a load job but
// ended as soon as that icon is in hand. Menus show it beside a file's name
// and the thumbnailer draws it.

#include <memory>
#include <string>

#include "imaging/RgbaImage.h"
#include "model/IconEntry.h"

namespace sigil {

// The first icon the file gives, or null when it gives none (missing,
// unreadable, a folder, a picture that is refused).
std::unique_ptr<IconEntry> readFirstIcon(const std::string& path);

// The icon's image that suits `size` best, fitted into size x size on a
// transparent square: larger images are scaled down smoothly, smaller
// ones are enlarged by a whole factor so their pixels stay sharp. Nothing
// when no image of the icon can be drawn or size is not positive.
RgbaImage iconImage(const IconEntry& icon, int size);

}  // namespace sigil
