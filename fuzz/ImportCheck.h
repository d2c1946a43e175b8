#pragma once
// The checks the bitmap fuzz targets make on an imported device: plain
// pixels in a block sized by the rules, a copy to the clipboard's bitmap
// form that reads back, and an icon that the library accepts.
#include <cstdlib>
#include <memory>

#include "FuzzLimits.h"
#include "LibraryCheck.h"
#include "imaging/Dib.h"

namespace sigil::fuzz {

inline void checkImported(IconDevice& device)
{
    if (device.compression != 0 || device.allocatedBytes() != device.blockBytes())
        std::abort();
    for (bool asMask : {false, true}) {
        const auto dib = dibFromDevice(device, asMask);
        IconDevice back;
        if (!dib || !readDib(*dib, back) || back.width != device.width || back.height != device.height)
            std::abort();
    }
    IconLibrary library;
    limitDecoding();
    auto entry = std::make_unique<IconEntry>();
    entry->devices.push_back(std::move(device));
    library.addReadIcon(std::move(entry));
    checkLibrary(library);
}

// Settings that make the importers walk every pixel for transparency.
inline DisplaySettings cornerTransparency()
{
    DisplaySettings settings;
    settings.transparency = 1;
    settings.transparencyType = 1;
    return settings;
}

}  // namespace sigil::fuzz
