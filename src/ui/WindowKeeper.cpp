#include "ui/WindowKeeper.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include "platform/SettingsFile.h"

namespace sigil {

namespace {

SettingsRect toSettingsRect(const QRect& r)
{
    return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

}  // namespace

WindowKeeper::WindowKeeper(QWidget* window) : window_(window)
{
    if (window_)
        window_->installEventFilter(this);
}

WindowKeeper::~WindowKeeper()
{
    save();
}

int WindowKeeper::captionHeight()
{
    QStyle* style = QApplication::style();
    return style ? style->pixelMetric(QStyle::PM_TitleBarHeight) : 0;
}

void WindowKeeper::setIcon(const QIcon& icon)
{
    if (window_)
        window_->setWindowIcon(icon);
}

void WindowKeeper::setAlpha(int alpha)
{
    if (window_)
        window_->setWindowOpacity(alpha > 0 ? std::min(alpha, 255) / 255.0 : 1.0);
}

void WindowKeeper::addAnchor(QWidget* control, bool moveX, bool moveY, bool sizeX, bool sizeY)
{
    if (!window_ || !control)
        return;
    if (anchors_.empty()) {
        initialWidth_ = window_->width();
        initialHeight_ = window_->height();
    }
    anchors_.push_back({control, toSettingsRect(control->geometry()), {moveX, moveY, sizeX, sizeY}});
}

SettingsRect WindowKeeper::workArea() const
{
    QScreen* screen = window_->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? toSettingsRect(screen->availableGeometry()) : SettingsRect{0, 0, 1024, 768};
}

void WindowKeeper::restore(bool positionMode, SettingsFile& file, const std::string& section, const std::string& key)
{
    file_ = &file;
    section_ = section;
    key_ = key;
    positionMode_ = positionMode;
    if (!window_)
        return;
    if (window_->isEnabled()) {
        window_->raise();
        window_->activateWindow();
    }
    const SettingsRect work = workArea();
    if (positionMode) {
        const SettingsPoint p = placedPoint(file.readPoint(section, key, {-1, -1}), work,
                                            window_->frameGeometry().width(), window_->frameGeometry().height());
        window_->move(p.x, p.y);
        file.writePoint(section, key, cascaded(p, captionHeight()));
        return;
    }
    const SettingsRect r =
        placedRect(file.readRect(section, key, {0, 0, 0, 0}), work, window_->width(), window_->height());
    window_->setGeometry(r.left, r.top, r.width(), r.height());
    file.writeRect(section, key, cascaded(r, captionHeight()));
}

void WindowKeeper::save()
{
    if (!file_ || !window_)
        return;
    if (positionMode_)
        file_->writePoint(section_, key_, {window_->x(), window_->y()});
    else
        file_->writeRect(section_, key_, toSettingsRect(window_->geometry()));
}

void WindowKeeper::applyAnchors()
{
    for (const Anchor& a : anchors_) {
        if (!a.control)
            continue;
        const SettingsRect r =
            anchoredRect(a.registered, a.flags, initialWidth_, initialHeight_, window_->width(), window_->height());
        const bool moves = a.flags.moveX || a.flags.moveY;
        const bool sizes = a.flags.sizeX || a.flags.sizeY;
        if (moves)
            a.control->move(r.left, r.top);
        if (sizes)
            a.control->resize(r.width(), r.height());
        else
            a.control->update();  // a moved button is drawn anew at once
    }
}

bool WindowKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_) {
        if (event->type() == QEvent::Resize && !anchors_.empty())
            applyAnchors();
        else if (event->type() == QEvent::Hide)
            save();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace sigil
