#pragma once
// The arithmetic of remembered window positions: where a window opens from
// what the settings file holds, and where its controls go when it is
// resized. Rectangles are in screen (or client) pixels, right and bottom
// exclusive.

#include "platform/SettingsFile.h"

namespace sigil {

// Top-left of a window of w x h centred in the work area (integer halves).
SettingsPoint centredIn(const SettingsRect& work, int width, int height);

// Position mode: a stored point with both coordinates negative means
// "centre"; any other point is used as it is, even off-screen.
SettingsPoint placedPoint(SettingsPoint stored, const SettingsRect& work, int width, int height);

// Rectangle mode: a stored width or height of 0 or less means "centre the
// window's current size"; the result is then moved (never resized) into the
// work area, left edge first, so a window wider than the work area ends
// with its right edge on the work area's right edge.
SettingsRect placedRect(const SettingsRect& stored, const SettingsRect& work, int width, int height);

// Moved right and down by `offset`: written at once after placing so that a
// second window of the same kind opens cascaded.
SettingsPoint cascaded(SettingsPoint p, int offset);
SettingsRect cascaded(const SettingsRect& r, int offset);

struct AnchorFlags {
    bool moveX = false;  // keep the distance to the right edge
    bool moveY = false;  // keep the distance to the bottom edge
    bool sizeX = false;  // stretch with the width
    bool sizeY = false;  // stretch with the height
};

// Where a control registered at `registered` goes when the client area
// changed from initialWidth x initialHeight to width x height.
SettingsRect anchoredRect(const SettingsRect& registered, AnchorFlags flags, int initialWidth, int initialHeight,
                          int width, int height);

}  // namespace sigil
