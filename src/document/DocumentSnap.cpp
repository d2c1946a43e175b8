// Snap and snap all: icons rendered as the view shows them, onto the
// clipboard.

#include <QPainter>
#include <algorithm>

#include "document/Clipboard.h"
#include "document/LibraryDocument.h"
#include "document/SnapPicture.h"
#include "settings/GeneralSettings.h"
#include "ui/DisplayImages.h"

namespace sigil {

namespace {

// The largest sheet made: beyond it the allocation is refused, as the
// platform would refuse the bitmap.
constexpr int64_t kMaxSheetBytes = int64_t{1} << 30;

// Draws as the view's cell does, with images made for this drawing only.
void drawAsCell(QPainter& painter, const IconEntry& icon, const DisplaySettings& display, int x, int y)
{
    const int s = display.iconSize;
    drawDisplayIcon(painter, makeDisplayIcons(icon, display), s, s, x, y, false);
}

}  // namespace

QImage renderSnapIcon(const IconEntry& icon, const DisplaySettings& display)
{
    const int s = display.iconSize;
    if (s <= 0)
        return {};
    QImage image(s, s, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(toQColor(display.backColor));
    QPainter painter(&image);
    drawAsCell(painter, icon, display, 0, 0);
    return image;
}

QImage renderSnapSheet(const IconLibrary& library, const DisplaySettings& display, bool horizontal, int perLine,
                       int spacing)
{
    const int count = library.size();
    if (count <= 0 || perLine <= 0)
        return {};
    const int64_t s = display.iconSize;
    const int64_t c = spacing;
    const int64_t lines = (count - 1) / perLine + 1;
    const int64_t cols = horizontal ? perLine : lines;
    const int64_t rows = horizontal ? lines : perLine;
    const int64_t width = c + cols * (s + c);
    const int64_t height = c + rows * (s + c);
    if (width <= 0 || height <= 0 || width > kMaxSheetBytes / 4 / height)
        return {};
    QImage sheet(int(width), int(height), QImage::Format_RGB32);
    if (sheet.isNull())
        return {};
    sheet.fill(toQColor(display.backColor));
    QPainter painter(&sheet);
    for (int i = 0; i < count; ++i) {
        const int64_t row = horizontal ? i / cols : i % rows;
        const int64_t col = horizontal ? i % cols : i / rows;
        drawAsCell(painter, library.at(i), display, int(c + (s + c) * col), int(c + (s + c) * row));
    }
    return sheet;
}

void LibraryDocument::snap()
{
    if (loading_ || !hasSelection())
        return;
    copyImageToClipboard(renderSnapIcon(library_.at(selection_), display_));
}

void LibraryDocument::snapAll(int viewPerLine)
{
    if (loading_ || library_.empty() || !host_)
        return;
    SnapAllChoice choice{general_.snapColumns, general_.snapSpacing};
    if (!host_->chooseSnapAllOptions(choice))
        return;
    general_.snapColumns = choice.columns;
    general_.snapSpacing = choice.spacing;
    const int perLine = choice.columns > 0 ? choice.columns : std::max(1, viewPerLine);
    WaitGuard wait(host_);
    const QImage sheet = renderSnapSheet(library_, display_, general_.horizontal != 0, perLine, choice.spacing);
    // An empty or invalid sheet leaves the clipboard as it was.
    if (!sheet.isNull())
        copyImageToClipboard(sheet);
}

}  // namespace sigil
