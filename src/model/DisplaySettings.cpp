#include "model/DisplaySettings.h"

#include <atomic>

namespace sigil {

namespace {
std::atomic<Color> systemBack{rgbColor(255, 255, 255)};
std::atomic<Color> systemSelect{rgbColor(0, 120, 215)};
}  // namespace

int DisplaySettings::systemIconSize()
{
    return 32;
}

Color DisplaySettings::systemBackColor()
{
    return systemBack;
}

Color DisplaySettings::systemSelectColor()
{
    return systemSelect;
}

void DisplaySettings::setSystemColors(Color back, Color select)
{
    systemBack = back;
    systemSelect = select;
}

}  // namespace sigil
