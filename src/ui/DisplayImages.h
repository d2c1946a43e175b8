#pragma once
// Display images: a device's pixels as the screen shows them, fitted to a
// cell, and the bridges between the engine's RGBA pixels, its colours and
// Qt's images and colours.

#include <QColor>
#include <QImage>
#include <QRect>

#include "imaging/DevicePixels.h"
#include "model/DisplaySettings.h"
#include "model/IconEntry.h"

class QPainter;

namespace sigil {

// A settings colour (0x00BBGGRR) as Qt draws with it.
inline QColor toQColor(Color c)
{
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

// Hands the palette's base and highlight colours to the display settings
// as the system's colours; a GUI application must exist.
void adoptPaletteColors();

// The pixels as a straight-alpha ARGB32 image (null for none), and any
// image as the engine's pixels.
QImage toQImage(const RgbaImage& pixels);
RgbaImage toRgbaImage(const QImage& image);

// A displayable image at cx x cy (negative: the device's own size),
// premultiplied: enlargements stay crisp, reductions are smoothed. Null
// when the block cannot be drawn.
QImage makeDisplayIcon(const IconDevice& device, DisplayMode mode, Color background, const DisplaySettings& settings,
                       int cx = -1, int cy = -1);

// The display images of an icon's cell: the device the display size asks
// for, at that size with its proportions kept; a second image on the
// selection colour for 32-bit devices blended onto the background. On a
// screen of `ratio` device pixels to a logical one, the device chosen for
// the cell's size in device pixels is used when it is exactly that size,
// and drawn pixel for pixel (the images carry the ratio); otherwise the
// image made for the logical size is scaled as the screen scales.
struct DisplayIcons {
    QImage normal;
    QImage selected;
    int width = 0;
    int height = 0;

    bool isNull() const { return normal.isNull(); }
    size_t bytes() const { return size_t(normal.sizeInBytes() + selected.sizeInBytes()); }
};

DisplayIcons makeDisplayIcons(const IconEntry& icon, const DisplaySettings& settings, qreal ratio = 1.0);

// Draws the display image fitted into the cell; the rectangle drawn, or an
// empty one when nothing was drawn.
QRect drawDisplayIcon(QPainter& painter, const DisplayIcons& icons, int w, int h, int x, int y, bool selected);

}  // namespace sigil
