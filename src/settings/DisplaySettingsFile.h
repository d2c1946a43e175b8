#pragma once
// The display options in the settings file: read at start-up, written back
// at exit (section "Sigilscope" in the program).

#include <string>

#include "model/DisplaySettings.h"

namespace sigil {

class SettingsFile;

// Reads every field, with the system's defaults for keys that are missing.
void loadDisplaySettings(DisplaySettings& settings, SettingsFile& file, const std::string& section);
// Writes every field.
void saveDisplaySettings(const DisplaySettings& settings, SettingsFile& file, const std::string& section);

}  // namespace sigil
