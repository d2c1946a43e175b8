#include "ui/IconPreview.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/DisplayImages.h"

namespace sigil {

QRect previewRect(int width, int height, int areaWidth, int areaHeight, bool fit)
{
    const int freeWidth = areaWidth - 2;
    const int freeHeight = areaHeight - 2;
    if (width <= 0 || height <= 0 || freeWidth <= 0 || freeHeight <= 0)
        return {};
    int w = width;
    int h = height;
    if (fit || width > freeWidth || height > freeHeight) {
        const double ratio = double(width) / height;
        if (ratio > double(freeWidth) / freeHeight) {
            w = freeWidth;
            h = static_cast<int>(freeWidth / ratio);
        } else {
            h = freeHeight;
            w = static_cast<int>(ratio * freeHeight);
        }
    }
    return {(freeWidth - w) / 2 + 1, (freeHeight - h) / 2 + 1, w, h};
}

IconPreview::IconPreview(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void IconPreview::setDevice(const IconDevice* device)
{
    device_ = device;
    update();
}

void IconPreview::setDisplaySettings(const DisplaySettings* settings)
{
    settings_ = settings;
    update();
}

void IconPreview::setDisplayMode(DisplayMode mode)
{
    mode_ = mode;
    update();
}

void IconPreview::setFit(bool fit)
{
    fit_ = fit;
    update();
}

void IconPreview::setSelected(bool selected)
{
    selected_ = selected;
    update();
}

QImage IconPreview::render() const
{
    return render(devicePixelRatioF());
}

QImage IconPreview::render(qreal ratio) const
{
    const DisplaySettings& s = settings_ ? *settings_ : defaults_;
    QImage canvas(size() * ratio, QImage::Format_RGB32);
    if (canvas.isNull())
        return canvas;
    canvas.setDevicePixelRatio(ratio);
    QPainter p(&canvas);
    const QRect area = rect();
    p.fillRect(area, Qt::black);
    p.fillRect(area.adjusted(1, 1, -1, -1), toQColor(s.backColor));
    if (!device_)
        return canvas;
    const Color background = selected_ ? s.selectColor : s.backColor;
    const QImage image = makeDisplayIcon(*device_, mode_, background, s);
    const QRect at = previewRect(device_->width, device_->height, width(), height(), fit_);
    if (image.isNull() || at.isEmpty())
        return canvas;
    p.fillRect(at, toQColor(background));
    // Enlarged, every pixel of the device stays a clean square; only a
    // reduction is smoothed, where dropping pixels would break lines.
    const bool reduced = at.width() * ratio < image.width() || at.height() * ratio < image.height();
    p.setRenderHint(QPainter::SmoothPixmapTransform, reduced);
    p.drawImage(at, image);
    return canvas;
}

void IconPreview::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(0, 0, render());
}

void IconPreview::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
    QWidget::mousePressEvent(event);
}

}  // namespace sigil
