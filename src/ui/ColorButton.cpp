#include "ui/ColorButton.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include "ui/DisplayImages.h"

namespace sigil {

namespace {

constexpr int kSwatchIconSize = 16;

ColorChooser& chooser()
{
    static ColorChooser current;
    return current;
}

std::optional<Color> askQtColorDialog(QWidget* parent, Color current)
{
    const QColor chosen = QColorDialog::getColor(toQColor(current), parent);
    if (!chosen.isValid())
        return std::nullopt;
    return rgbColor(chosen.red(), chosen.green(), chosen.blue());
}

}  // namespace

ColorChooser setColorChooser(ColorChooser next)
{
    ColorChooser previous = std::move(chooser());
    chooser() = std::move(next);
    return previous;
}

ColorButton::ColorButton(QWidget* parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void ColorButton::setColor(Color color)
{
    color_ = color & 0xFFFFFF;
    update();
}

bool ColorButton::choose()
{
    const std::optional<Color> chosen = chooser() ? chooser()(this, color_) : askQtColorDialog(this, color_);
    if (!chosen)
        return false;
    setColor(*chosen);
    return true;
}

QRect ColorButton::swatchRect(QSize size, bool pressed, int iconWidth)
{
    QRect r(QPoint(4, 4), QPoint(size.width() - 1 - 5, size.height() - 1 - 5));
    if (pressed)
        r.translate(1, 1);
    if (iconWidth > 0)
        r.setLeft(r.left() + iconWidth + 3);
    return r;
}

QSize ColorButton::sizeHint() const
{
    return {40, 22};
}

void ColorButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    const QRect r = rect();
    const bool pressed = isDown();
    const int right = r.right();
    const int bottom = r.bottom();
    p.fillRect(r, pal.button());

    // A classic 3-D button frame, sunken while pressed.
    auto hline = [&p](const QColor& c, int x1, int x2, int y) {
        p.setPen(c);
        p.drawLine(x1, y, x2, y);
    };
    auto vline = [&p](const QColor& c, int x, int y1, int y2) {
        p.setPen(c);
        p.drawLine(x, y1, x, y2);
    };
    const QColor black(Qt::black);
    const QColor light = pal.light().color();
    const QColor shadow = pal.dark().color();
    if (pressed) {
        hline(black, 0, right, 0);
        vline(black, 0, 0, bottom);
        hline(shadow, 1, right - 1, 1);
        vline(shadow, 1, 1, bottom - 1);
        hline(light, 1, right - 1, bottom - 1);
        vline(light, right - 1, 1, bottom - 1);
    } else {
        hline(light, 0, right - 1, 0);
        vline(light, 0, 0, bottom - 1);
        hline(shadow, 1, right - 1, bottom - 1);
        vline(shadow, right - 1, 1, bottom - 1);
        hline(black, 0, right, bottom);
        vline(black, right, 0, bottom);
    }
    if (!isEnabled())
        return;  // a disabled button shows no colour

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = QRect(QPoint(2, 2), QPoint(right - 3, bottom - 3));
        if (pressed)
            focus.rect.translate(1, 1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
    const int iconWidth = swatchIcon_.isNull() ? 0 : kSwatchIconSize;
    const QRect swatch = swatchRect(size(), pressed, iconWidth);
    if (iconWidth > 0) {
        const QRect iconArea(swatch.left() - iconWidth - 3, swatch.center().y() - kSwatchIconSize / 2, kSwatchIconSize,
                             kSwatchIconSize);
        swatchIcon_.paint(&p, iconArea);
    }
    p.setPen(black);
    p.setBrush(toQColor(color_));
    // drawRect's outline lies just outside a rectangle one pixel smaller.
    p.drawRect(swatch.adjusted(-1, -1, 0, 0));
}

}  // namespace sigil
