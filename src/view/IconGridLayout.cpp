#include "view/IconGridLayout.h"

#include <algorithm>

namespace sigil {

int IconGridLayout::perLine() const
{
    // A window narrower than one cell and its gaps still holds one cell.
    const int e = std::max(lineExtent(), displaySize + 2 * CELL_GAP);
    return std::max(1, (e - CELL_GAP) / pitch());
}

int IconGridLayout::lines() const
{
    return count >= 1 ? (count - 1) / perLine() + 1 : 0;
}

QRect IconGridLayout::cellRect(int k) const
{
    const int per = perLine();
    const int along = k % per;
    const int line = k / per;
    const int p = pitch();
    if (horizontal)
        return QRect(CELL_GAP + along * p, CELL_GAP + line * p, displaySize, displaySize);
    return QRect(CELL_GAP + line * p, CELL_GAP + along * p, displaySize, displaySize);
}

QSize IconGridLayout::extent() const
{
    if (count <= 0)
        return QSize(10, 10);
    const int p = pitch();
    if (horizontal)
        return QSize(p * perLine(), p * lines());
    return QSize(p * lines(), p * perLine());
}

std::optional<int> IconGridLayout::placeAt(QPoint content) const
{
    // Plain integer division on purpose: a point less than one pitch above
    // or left of the grid still falls in the first line or first place.
    const int p = pitch();
    const int a = content.x() / p;
    const int b = content.y() / p;
    const int per = perLine();
    if (horizontal)
        return a < per ? std::optional<int>(a + b * per) : std::nullopt;
    return b < per ? std::optional<int>(b + a * per) : std::nullopt;
}

int IconGridLayout::hitCell(QPoint content) const
{
    const std::optional<int> place = placeAt(content);
    return place && *place >= 0 ? *place : -1;
}

int scrollToShow(const IconGridLayout& layout, int k, QPoint scroll)
{
    const int per = layout.perLine();
    const int p = layout.pitch();
    const int line = k / per;
    const int pos = layout.horizontal ? scroll.y() : scroll.x();
    const int view = layout.crossExtent();
    if (k < per * (pos / p + 1))
        return p * line;
    if (per * ((view + pos) / p) - 1 >= k)
        return -1;
    return p * (line + 1) + CELL_GAP - view;
}

int keyboardTarget(const IconGridLayout& layout, int current, MoveKey key)
{
    const int n = layout.count;
    const int per = layout.perLine();
    int dv = 0, dh = 0, dp = 0;
    int t = current;
    switch (key) {
    case MoveKey::Down:
        dv = 1;
        break;
    case MoveKey::Up:
        dv = -1;
        break;
    case MoveKey::Right:
        dh = 1;
        break;
    case MoveKey::Left:
        dh = -1;
        break;
    case MoveKey::PageDown:
        dp = 1;
        break;
    case MoveKey::PageUp:
        dp = -1;
        break;
    case MoveKey::Home:
        t = 0;
        break;
    case MoveKey::End:
        t = n - 1;
        break;
    }
    if (current == -1) {
        if (dv < 0 || dh < 0 || dp < 0)
            t = n - 1;
        if (dv > 0 || dh > 0 || dp > 0)
            t = 0;
    } else {
        const int last = n - 1;
        const int lastLineStart = last - (last % per);
        // A move along lines that overshoots the last icon from an earlier
        // line lands on the last icon; from the last line it goes nowhere.
        auto acrossLines = [&](int d) {
            t += d * per;
            if (current < lastLineStart && t > last)
                t = last;
        };
        if (dv)
            layout.horizontal ? acrossLines(dv) : void(t += dv);
        if (dh)
            layout.horizontal ? void(t += dh) : acrossLines(dh);
        if (dp) {
            t += dp * layout.visibleLines() * per;
            while (t < 0)
                t += per;
            while (t > last)
                t -= per;
        }
    }
    if (t < 0 || t > n - 1)
        return -1;
    return t;
}

int smallerStandardSize(int size)
{
    for (int standard : {128, 72, 48, 32, 16})
        if (size > standard)
            return standard;
    return size;
}

int largerStandardSize(int size)
{
    for (int standard : {16, 32, 48, 72, 128})
        if (size < standard)
            return standard;
    return size;
}

int wheelSize(int size, int delta, int& remainder)
{
    remainder += delta;
    int next = size;
    if (remainder >= 120) {
        while (remainder >= 120)
            remainder -= 120;
        next = size - 1;
    } else if (remainder <= -120) {
        while (remainder <= -120)
            remainder += 120;
        next = size + 1;
    }
    return std::clamp(next, kMinDisplaySize, kMaxDisplaySize);
}

}  // namespace sigil
