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

namespace {

// The display size's proportions of a w x h device.
void displaySize(int size, int w, int h, int& dw, int& dh)
{
    dw = dh = size;
    if (h > 0) {
        const double r = double(w) / double(h);
        if (r > 1.0)
            dh = static_cast<int>(size / r);
        else
            dw = static_cast<int>(size * r);
    }
}

// The device that fills the cell's device pixels exactly at `ratio`, or -1.
int sharpDevice(const IconEntry& icon, int size, qreal ratio)
{
    if (ratio <= 1.0)
        return -1;
    const int pixels = qRound(size * ratio);
    const int index = icon.displayDevice(pixels);
    if (index < 0)
        return -1;
    const IconDevice& d = icon.devices[size_t(index)];
    int dw = 0, dh = 0;
    displaySize(pixels, d.width, d.height, dw, dh);
    return d.width == dw && d.height == dh ? index : -1;
}

}  // namespace

DisplayIcons makeDisplayIcons(const IconEntry& icon, const DisplaySettings& settings, qreal ratio)
{
    DisplayIcons icons;
    const int size = settings.iconSize;
    const int sharp = sharpDevice(icon, size, ratio);
    const int index = sharp >= 0 ? sharp : icon.displayDevice(size);
    if (index < 0)
        return icons;
    // Two images from one PNG image decode it once, into a copy.
    const bool twoImages = settings.xpDisplay && icon.devices[size_t(index)].bitCount == 32;
    IconDevice scratch;
    const IconDevice& d =
        twoImages ? transientPixels(icon.devices[size_t(index)], scratch) : icon.devices[size_t(index)];
    displaySize(size, d.width, d.height, icons.width, icons.height);
    // A sharp device is shown at its own size, marked with the ratio.
    const int cx = sharp >= 0 ? d.width : icons.width;
    const int cy = sharp >= 0 ? d.height : icons.height;
    icons.normal = makeDisplayIcon(d, DisplayMode::Normal, settings.backColor, settings, cx, cy);
    if (twoImages)
        icons.selected = makeDisplayIcon(d, DisplayMode::Normal, settings.selectColor, settings, cx, cy);
    if (sharp >= 0) {
        icons.normal.setDevicePixelRatio(ratio);
        icons.selected.setDevicePixelRatio(ratio);
    }
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
    const QSizeF own = image.deviceIndependentSize();
    const bool enlarge = r.width() >= own.width() && r.height() >= own.height();
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, !enlarge);
    painter.drawImage(r, image);
    painter.restore();
    return r;
}

}  // namespace sigil
