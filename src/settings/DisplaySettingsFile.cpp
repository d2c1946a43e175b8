#include "settings/DisplaySettingsFile.h"

#include "platform/SettingsFile.h"

namespace sigil {

void loadDisplaySettings(DisplaySettings& s, SettingsFile& file, const std::string& section)
{
    s.iconSize = file.readInt(section, "Size", DisplaySettings::systemIconSize());
    s.xpDisplay = file.readInt(section, "XPDisp", 1);
    s.macFilter = file.readInt(section, "MacFilter", 7951);
    s.macFileTypes = file.readString(section, "MacFileType", "icon;icns;rsrc;macs");
    s.transparency = file.readInt(section, "Permate", 1);
    s.transparencyType = file.readInt(section, "PermateType", 0);
    s.backColor = file.readColor(section, "BackColor", DisplaySettings::systemBackColor());
    s.selectColor = file.readColor(section, "SelectColor", DisplaySettings::systemSelectColor());
    s.transparencyColor = file.readColor(section, "PermateColor", 0);
}

void saveDisplaySettings(const DisplaySettings& s, SettingsFile& file, const std::string& section)
{
    file.writeInt(section, "Size", s.iconSize);
    file.writeInt(section, "XPDisp", s.xpDisplay);
    file.writeInt(section, "MacFilter", s.macFilter);
    file.writeString(section, "MacFileType", s.macFileTypes);
    file.writeInt(section, "Permate", s.transparency);
    file.writeInt(section, "PermateType", s.transparencyType);
    file.writeColor(section, "BackColor", s.backColor);
    file.writeColor(section, "SelectColor", s.selectColor);
    file.writeColor(section, "PermateColor", s.transparencyColor);
}

}  // namespace sigil
