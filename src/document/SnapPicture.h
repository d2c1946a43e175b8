#pragma once
// Pictures of icons drawn exactly as unselected cells of the view: each icon
// fitted into its S x S square over the background colour, with no grid and
// no selection marks.

#include <QImage>

#include "model/DisplaySettings.h"
#include "model/IconLibrary.h"

namespace sigil {

// One icon on an S x S square (S = the display size).
QImage renderSnapIcon(const IconEntry& icon, const DisplaySettings& display);

// Every icon of the library in a grid of `perLine` icons along the view's
// filling direction (rows when `horizontal`, columns otherwise), `spacing`
// pixels around and between the squares. Null when the sheet would be
// empty, invalid (a negative spacing can shrink it to nothing) or too large
// to allocate.
QImage renderSnapSheet(const IconLibrary& library, const DisplaySettings& display, bool horizontal, int perLine,
                       int spacing);

}  // namespace sigil
