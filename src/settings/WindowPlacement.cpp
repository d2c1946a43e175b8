#include "settings/WindowPlacement.h"

namespace sigil {

SettingsPoint centredIn(const SettingsRect& work, int width, int height)
{
    return {work.left + (work.width() - width) / 2, work.top + (work.height() - height) / 2};
}

SettingsPoint placedPoint(SettingsPoint stored, const SettingsRect& work, int width, int height)
{
    if (stored.x < 0 && stored.y < 0)
        return centredIn(work, width, height);
    return stored;
}

SettingsRect placedRect(const SettingsRect& stored, const SettingsRect& work, int width, int height)
{
    SettingsRect r = stored;
    if (r.width() <= 0 || r.height() <= 0) {
        const SettingsPoint p = centredIn(work, width, height);
        r = {p.x, p.y, p.x + width, p.y + height};
    }
    const auto shift = [&r](int dx, int dy) { r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; };
    // The order matters: right and bottom are checked last and win.
    if (r.left < work.left)
        shift(work.left - r.left, 0);
    if (r.top < work.top)
        shift(0, work.top - r.top);
    if (r.right > work.right)
        shift(work.right - r.right, 0);
    if (r.bottom > work.bottom)
        shift(0, work.bottom - r.bottom);
    return r;
}

SettingsPoint cascaded(SettingsPoint p, int offset)
{
    return {p.x + offset, p.y + offset};
}

SettingsRect cascaded(const SettingsRect& r, int offset)
{
    return {r.left + offset, r.top + offset, r.right + offset, r.bottom + offset};
}

SettingsRect anchoredRect(const SettingsRect& registered, AnchorFlags flags, int initialWidth, int initialHeight,
                          int width, int height)
{
    const int dx = width - initialWidth;
    const int dy = height - initialHeight;
    const int left = registered.left + (flags.moveX ? dx : 0);
    const int top = registered.top + (flags.moveY ? dy : 0);
    const int w = registered.width() + (flags.sizeX ? dx : 0);
    const int h = registered.height() + (flags.sizeY ? dy : 0);
    return {left, top, left + w, top + h};
}

}  // namespace sigil
