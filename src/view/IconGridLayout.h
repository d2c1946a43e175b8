#pragma once
// The icon grid's geometry: cells of S x S with 3-pixel gaps, filled along
// rows (horizontal arrangement) or columns (vertical), and the arithmetic
// of hit testing, scrolling a cell into view and keyboard moves. Pure
// integer rules, so the view and its tests share one source.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

namespace sigil {

constexpr int CELL_GAP = 3;

struct IconGridLayout {
    int displaySize = 32;     // S
    bool horizontal = false;  // cells fill rows and the view scrolls vertically
    QSize client;             // the client area in pixels
    int count = 0;            // icons in the library

    int pitch() const { return displaySize + CELL_GAP; }
    // The client edge along which cells fill a line.
    int lineExtent() const { return horizontal ? client.width() : client.height(); }
    // The other edge, across which lines follow each other.
    int crossExtent() const { return horizontal ? client.height() : client.width(); }
    // Cells per line, never less than 1 (a window narrower than one cell
    // still holds one per line).
    int perLine() const;
    int lines() const;
    // The icon square of cell k in content coordinates.
    QRect cellRect(int k) const;
    // The scrollable extent: 10 x 10 for an empty library.
    QSize extent() const;
    // The place under a content point: a = x / P and b = y / P, truncated
    // toward zero, give a + b * perLine (horizontal) or b + a * perLine
    // (vertical); nullopt past the last place of a line. The place may be
    // count or more (a free place after the last icon) and, for a point a
    // pitch or more above or left of the grid, negative.
    std::optional<int> placeAt(QPoint content) const;
    // The cell a press hits: the place, or -1 when there is none or it is
    // negative. It may be count or more.
    int hitCell(QPoint content) const;
    // Where a drag released at a content point aims: the place, possibly
    // negative or count or more, and 0 (the first place) past the last place
    // of a line.
    int dropTarget(QPoint content) const { return placeAt(content).value_or(0); }
    // Whole lines visible across the scrolling direction.
    int visibleLines() const { return (crossExtent() - CELL_GAP) / pitch(); }
};

// Where the view scrolls to bring cell k into view, given the scroll
// position `scroll`: the new position along the scrolling direction, or
// -1 when the cell is already visible.
int scrollToShow(const IconGridLayout& layout, int k, QPoint scroll);

// The keys that move the selection.
enum class MoveKey { Left, Right, Up, Down, PageUp, PageDown, Home, End };
// The index the selection moves to from `current` (-1 for none), or -1
// when it does not move.
int keyboardTarget(const IconGridLayout& layout, int current, MoveKey key);

// Ctrl+Up / Ctrl+Down: the next smaller or larger standard size, or the
// size itself when there is none.
int smallerStandardSize(int size);
int largerStandardSize(int size);
constexpr int kMinDisplaySize = 16;
constexpr int kMaxDisplaySize = 256;

// Ctrl+wheel: adds `delta` to `remainder` and answers the new size (one
// step at most per wheel message), clamped to the display range.
int wheelSize(int size, int delta, int& remainder);

}  // namespace sigil
