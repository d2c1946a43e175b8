#include "ui/DisplayImages.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <cstring>

#include "model/TransientPixels.h"

namespace sigil {

namespace {

Color fromQColor(const QColor& c)
{
    return rgbColor(static_cast<uint8_t>(c.red()), static_cast<uint8_t>(c.green()), static_cast<uint8_t>(c.blue()));
}

QImage scaledIcon(const QImage& image, int cx, int cy)
{
    if (image.isNull())
        return {};
    QImage out = image;
    if (cx != image.width() || cy != image.height()) {
        // Enlargements stay crisp; reductions are smoothed.
        const bool enlarge = cx >= image.width() && cy >= image.height();
        out = image.scaled(cx, cy, Qt::IgnoreAspectRatio, enlarge ? Qt::FastTransformation : Qt::SmoothTransformation);
    }
    return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

void adoptPaletteColors()
{
    const QPalette palette = QGuiApplication::palette();
    DisplaySettings::setSystemColors(fromQColor(palette.color(QPalette::Base)),
                                     fromQColor(palette.color(QPalette::Highlight)));
}

QImage toQImage(const RgbaImage& pixels)
{
    if (pixels.empty())
        return {};
    const QImage view(pixels.bytes.data(), pixels.width, pixels.height, qsizetype(pixels.stride),
                      QImage::Format_RGBA8888);
    return view.convertToFormat(QImage::Format_ARGB32);
}

RgbaImage toRgbaImage(const QImage& image)
{
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    RgbaImage out = RgbaImage::blank(rgba.width(), rgba.height());
    for (int y = 0; y < out.height; ++y)
        std::memcpy(out.row(y), rgba.constScanLine(y), size_t(out.width) * 4);
    return out;
}

QImage makeDisplayIcon(const IconDevice& device, DisplayMode mode, Color background, const DisplaySettings& settings,
                       int cx, int cy)
{
    if (cx < 0)
        cx = device.width;
    if (cy < 0)
        cy = device.height;
    if (cx <= 0 || cy <= 0)
        return {};
    return scaledIcon(toQImage(displayPixels(device, mode, background, settings.xpDisplay != 0)), cx, cy);
}

DisplayIcons makeDisplayIcons(const IconEntry& icon, const DisplaySettings& settings)
{
    DisplayIcons icons;
    const int size = settings.iconSize;
    const int index = icon.displayDevice(size);
    if (index < 0)
        return icons;
    // Two images from one PNG image decode it once, into a copy.
    const bool twoImages = settings.xpDisplay && icon.devices[size_t(index)].bitCount == 32;
    IconDevice scratch;
    const IconDevice& d =
        twoImages ? transientPixels(icon.devices[size_t(index)], scratch) : icon.devices[size_t(index)];
    icons.width = icons.height = size;
    if (d.height > 0) {
        const double r = double(d.width) / double(d.height);
        if (r > 1.0)
            icons.height = static_cast<int>(size / r);
        else
            icons.width = static_cast<int>(size * r);
    }
    icons.normal = makeDisplayIcon(d, DisplayMode::Normal, settings.backColor, settings, icons.width, icons.height);
    if (twoImages)
        icons.selected =
            makeDisplayIcon(d, DisplayMode::Normal, settings.selectColor, settings, icons.width, icons.height);
    return icons;
}

QRect drawDisplayIcon(QPainter& painter, const DisplayIcons& icons, int w, int h, int x, int y, bool selected)
{
    if (icons.normal.isNull())
        return {};
    const QRect r = iconDrawRect(icons.width, icons.height, w, h, x, y);
    if (r.isEmpty())
        return {};
    const QImage& image = (selected && !icons.selected.isNull()) ? icons.selected : icons.normal;
    // Stretching follows the display image's own rule: crisp when enlarged.
    const bool enlarge = r.width() >= image.width() && r.height() >= image.height();
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !enlarge);
    painter.drawImage(r, image);
    painter.restore();
    return r;
}

}  // namespace sigil
