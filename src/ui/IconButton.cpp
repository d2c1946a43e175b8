#include "ui/IconButton.h"

#include <QPainter>
#include <QPixmap>
#include <qdrawutil.h>

namespace sigil {

IconButton::IconButton(QWidget* parent) : QAbstractButton(parent)
{
    setIconSize(QSize(16, 16));
    setCheckable(true);
}

void IconButton::nextCheckState()
{
    // A click does not flip the checked flag; only the owner sets it.
}

void IconButton::setup(const QIcon& normal, const QString& tooltip, int width, int height)
{
    setIcon(normal);
    setToolTip(tooltipOf(tooltip));
    fixed_ = QSize(width, height);
    setFixedSize(fixed_);
}

void IconButton::setHotIcon(const QIcon& hot)
{
    hotIcon_ = hot;
    update();
}

QString IconButton::tooltipOf(const QString& text)
{
    const qsizetype nl = text.indexOf(QLatin1Char('\n'));
    return nl < 0 ? text : text.mid(nl + 1);
}

QPoint IconButton::iconOrigin(QSize button, QSize icon, bool sunken)
{
    const int shift = sunken ? 2 : 1;
    return {(button.width() - icon.width() - 2) / 2 + shift, (button.height() - icon.height() - 2) / 2 + shift};
}

QSize IconButton::sizeHint() const
{
    return fixed_.isValid() ? fixed_ : iconSize() + QSize(6, 6);
}

void IconButton::paintEvent(QPaintEvent*)
{
    QPixmap buffer(size() * devicePixelRatioF());
    buffer.setDevicePixelRatio(devicePixelRatioF());
    QPainter p(&buffer);
    const QRect area = rect();
    p.fillRect(area, palette().button());
    const bool sunken = isDown() || isChecked();
    QIcon shown = icon();
    QIcon::Mode mode = QIcon::Normal;
    if (!isEnabled()) {
        mode = QIcon::Disabled;
    } else if (sunken) {
        qDrawShadePanel(&p, area, palette(), true, 1);
    } else if (hot_) {
        qDrawShadePanel(&p, area, palette(), false, 1);
        if (!hotIcon_.isNull())
            shown = hotIcon_;
    }
    const QPoint at = iconOrigin(size(), iconSize(), isEnabled() && sunken);
    shown.paint(&p, QRect(at, iconSize()), Qt::AlignCenter, mode);
    p.end();
    QPainter(this).drawPixmap(0, 0, buffer);
}

void IconButton::enterEvent(QEnterEvent* event)
{
    hot_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void IconButton::leaveEvent(QEvent* event)
{
    hot_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

}  // namespace sigil
