#pragma once
// Icons of executable modules: icon libraries (.icl, 16-bit NE) and
// programs and DLLs (32- and 64-bit PE). The module's signature picks the
// road; no code of the module is ever run.

#include <string>

#include "formats/LoadControl.h"
#include "model/IconLibrary.h"

namespace sigil {

// Appends one icon per group icon of the module. False when the file cannot
// be read or is neither an NE nor a PE module.
bool readModule(IconLibrary& library, const std::string& path, const std::string& baseName,
                LoadControl* control = nullptr);

}  // namespace sigil
