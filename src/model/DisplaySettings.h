#pragma once
// The display options that the model reads: plain data, read from and
// written to the settings file by the settings layer.

#include <cstdint>
#include <string>

namespace sigil {

// Colours are 0x00BBGGRR.
using Color = uint32_t;

constexpr Color rgbColor(uint8_t r, uint8_t g, uint8_t b)
{
    return Color{r} | (Color{g} << 8) | (Color{b} << 16);
}
constexpr uint8_t redOf(Color c)
{
    return c & 0xFF;
}
constexpr uint8_t greenOf(Color c)
{
    return (c >> 8) & 0xFF;
}
constexpr uint8_t blueOf(Color c)
{
    return (c >> 16) & 0xFF;
}

struct DisplaySettings {
    int iconSize = 32;                                 // Size: the standard icon width
    int xpDisplay = 1;                                 // XPDisp: blend 32-bit icons onto the background
    int macFilter = 7951;                              // MacFilter (0x1F0F)
    std::string macFileTypes = "icon;icns;rsrc;macs";  // MacFileType
    int transparency = 1;                              // Permate
    int transparencyType = 0;                          // PermateType
    Color backColor = rgbColor(255, 255, 255);         // BackColor: window background
    Color selectColor = rgbColor(0, 120, 215);         // SelectColor: highlight
    Color transparencyColor = 0;                       // PermateColor

    // The system's defaults of the fields that have one. The engine knows
    // no palette: the colours are white and blue until the program hands
    // in its palette's.
    static int systemIconSize();
    static Color systemBackColor();
    static Color systemSelectColor();
    static void setSystemColors(Color back, Color select);
};

}  // namespace sigil
