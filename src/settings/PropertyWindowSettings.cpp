#include "settings/PropertyWindowSettings.h"

#include "settings/GeneralSettings.h"

namespace sigil {

void PropertyWindowSettings::load(const SettingsFile& file)
{
    const std::string s = kMainSection;
    zoom = file.readInt(s, "PrpZoom", 0) != 0;
    showMask = file.readInt(s, "PrpMask", 1) != 0;
    showImage = !showMask || file.readInt(s, "PrpImage", 1) != 0;
    selectBackground = file.readInt(s, "PrpSelect", 0) != 0;
}

void PropertyWindowSettings::save(SettingsFile& file) const
{
    const std::string s = kMainSection;
    file.writeInt(s, "PrpZoom", zoom ? 1 : 0);
    file.writeInt(s, "PrpMask", showMask ? 1 : 0);
    file.writeInt(s, "PrpImage", showImage ? 1 : 0);
    file.writeInt(s, "PrpSelect", selectBackground ? 1 : 0);
}

}  // namespace sigil
