#pragma once
// The property window's own options: zoom, view mode and background. Read
// when the window is created and written when it is destroyed.

#include "platform/SettingsFile.h"

namespace sigil {

struct PropertyWindowSettings {
    bool zoom = false;
    bool showMask = true;
    bool showImage = true;
    bool selectBackground = false;

    // A window that shows neither mask nor image would show nothing: without
    // the mask the image is always shown.
    void load(const SettingsFile& file);
    void save(SettingsFile& file) const;
};

}  // namespace sigil
