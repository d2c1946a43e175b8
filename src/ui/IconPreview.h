#pragma once
// The property window's picture: one device of an icon drawn on the
// background or selection colour, at its own size or fitted to the control.

#include <QRect>
#include <QWidget>

#include "imaging/DevicePixels.h"
#include "model/IconDevice.h"

namespace sigil {

// Where a device of w x h is drawn in a control of areaWidth x areaHeight
// (a one-pixel frame inside its edge): at its own size, or scaled to the
// largest size that keeps its proportions when `fit` is on or it does not
// fit; centred in the frame.
QRect previewRect(int width, int height, int areaWidth, int areaHeight, bool fit);

class IconPreview : public QWidget {
    Q_OBJECT
public:
    explicit IconPreview(QWidget* parent = nullptr);

    // Neither is owned; both must outlive their use here. Without settings
    // the built-in defaults are used.
    void setDevice(const IconDevice* device);
    void setDisplaySettings(const DisplaySettings* settings);
    void setDisplayMode(DisplayMode mode);
    void setFit(bool fit);
    // Draw on the selection colour instead of the background colour.
    void setSelected(bool selected);

    // The picture as painted (also what paintEvent draws), at the screen's
    // pixel ratio or the given one: `ratio` image pixels per pixel of the
    // control, so that the frame and the device stay sharp on dense screens.
    QImage render() const;
    QImage render(qreal ratio) const;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const IconDevice* device_ = nullptr;
    const DisplaySettings* settings_ = nullptr;
    DisplaySettings defaults_;
    DisplayMode mode_ = DisplayMode::Normal;
    bool fit_ = false;
    bool selected_ = false;
};

}  // namespace sigil
