#include "shell/ShortcutCard.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>
#include <QWindow>
#include <algorithm>

#include "platform/StringTable.h"
#include "ui/CommandIds.h"
#include "ui/CommandTable.h"
#include "ui/IconResources.h"

namespace sigil {

namespace {

constexpr int kCardIcon = 253;
constexpr const char* kPointKey = "PtShortcut";

// A line of a command: its keys from the key table, its text from the
// string table.
ShortcutLine commandLine(int command)
{
    return {commandKeyNames(command), commandText(command)};
}

ShortcutLine fixedLine(const char* keys, int action)
{
    return {QString::fromUtf8(keys), loadString(action)};
}

// A line whose keys are words of the interface language too.
ShortcutLine wordLine(int keys, int action)
{
    return {loadString(keys), loadString(action)};
}

ShortcutBox commandBox(int heading, std::initializer_list<int> commands)
{
    ShortcutBox box{loadString(heading), {}};
    for (int command : commands)
        box.lines.push_back(commandLine(command));
    return box;
}

}  // namespace

std::vector<ShortcutBox> shortcutBoxes()
{
    std::vector<ShortcutBox> boxes;
    boxes.push_back({loadString(str::CardCursorHeading),
                     {fixedLine("←↑→↓", str::CardMoveSelection), fixedLine("Home", str::CardFirstIcon),
                      fixedLine("End", str::CardLastIcon), fixedLine("PageUp", str::CardPreviousPage),
                      fixedLine("PageDown", str::CardNextPage)}});
    boxes.push_back(
        {loadString(str::CardArrangeHeading),
         {fixedLine("Shift+←↑→↓", str::CardMoveIcon), wordLine(str::CardDragKey, str::CardMoveIcon),
          wordLine(str::CardCtrlDragKey, str::CardDuplicateIcon), wordLine(str::CardShiftDragKey, str::CardSwapIcon)}});
    ShortcutBox size{loadString(str::CardSizeHeading),
                     {fixedLine("Ctrl+↑/↓", str::CardStandardSizes), fixedLine("Ctrl+←/→", str::CardOnePixel),
                      wordLine(str::CardCtrlWheelKey, str::CardOnePixel)}};
    size.lines.push_back(commandLine(cmd::OtherSize));
    boxes.push_back(std::move(size));
    boxes.push_back(commandBox(str::CardFileHeading, {cmd::CloseFile, cmd::OpenFile, cmd::OpenFolder, cmd::SaveLibrary,
                                                      cmd::SaveAs, cmd::SaveAllAsIcons, cmd::SaveAsIcon}));
    boxes.push_back(commandBox(str::CardEditHeading, {cmd::Delete, cmd::Add, cmd::Duplicate, cmd::Rename,
                                                      cmd::EditWithEditor, cmd::Undo, cmd::Redo}));
    boxes.push_back(commandBox(str::CardClipboardHeading, {cmd::CopyDevice, cmd::Paste, cmd::SnapAll, cmd::Snap}));
    ShortcutBox property = commandBox(str::CardPropertyHeading, {cmd::ShowProperty});
    property.lines.push_back(fixedLine("Tab", str::CardToProperty));
    property.lines.push_back(fixedLine("Ctrl++", str::CardZoom));
    boxes.push_back(std::move(property));
    boxes.push_back(commandBox(str::CardOtherHeading,
                               {cmd::Help, cmd::Exit, cmd::Settings, cmd::BatchDeleteDevices, cmd::DeleteSameIcons}));
    return boxes;
}

QImage shortcutPicture()
{
    constexpr int W = ShortcutCard::kPictureWidth;
    constexpr int H = ShortcutCard::kPictureHeight;
    constexpr int kMargin = 4;
    constexpr int kPad = 4;
    const QColor background(0xe6, 0xea, 0xf0);
    const QColor boxFill(0xfb, 0xfc, 0xfe);
    const QColor border(0x7d, 0x8b, 0xa3);
    const QColor headingFill(0x2f, 0x4f, 0x7f);
    const QColor keyColour(0x8a, 0x1f, 0x1f);

    const std::vector<ShortcutBox> boxes = shortcutBoxes();
    // The first half of the boxes fill the left column, the rest the right.
    const size_t half = (boxes.size() + 1) / 2;
    auto columnLines = [&](size_t from, size_t to) {
        int lines = 0;
        for (size_t i = from; i < to; ++i)
            lines += static_cast<int>(boxes[i].lines.size());
        return lines;
    };
    const int maxLines = std::max(columnLines(0, half), columnLines(half, boxes.size()));
    const int maxBoxes = static_cast<int>(std::max(half, boxes.size() - half));
    // The fuller column fills the height: each box is a heading one line
    // and 3 pixels high, its lines and some padding.
    const int free = H - 2 * kMargin - (maxBoxes - 1) * kMargin - maxBoxes * (3 + kPad);
    const double lineHeight = std::clamp(double(free) / (maxLines + maxBoxes), 10.0, 16.0);

    QImage image(W, H, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(int(lineHeight) - 2);
    QFont bold = font;
    bold.setBold(true);
    const int columnWidth = (W - 3 * kMargin) / 2;

    for (int column = 0; column < 2; ++column) {
        const int x = kMargin + column * (columnWidth + kMargin);
        double y = kMargin;
        const size_t from = column == 0 ? 0 : half;
        const size_t to = column == 0 ? half : boxes.size();
        for (size_t i = from; i < to; ++i) {
            const ShortcutBox& box = boxes[i];
            const double headingHeight = lineHeight + 3;
            const double height = headingHeight + static_cast<double>(box.lines.size()) * lineHeight + kPad;
            const int top = int(y);
            const int bottom = int(y + height);
            painter.setPen(border);
            painter.setBrush(boxFill);
            painter.drawRect(x, top, columnWidth - 1, bottom - top - 1);
            painter.fillRect(x + 1, top + 1, columnWidth - 2, int(headingHeight) - 1, headingFill);
            painter.setFont(bold);
            painter.setPen(Qt::white);
            painter.drawText(QRectF(x + kPad, top + 1, columnWidth - 2 * kPad, headingHeight - 1),
                             Qt::AlignVCenter | Qt::AlignLeft, box.heading);

            int keyWidth = 0;
            const QFontMetrics metrics(font);
            for (const ShortcutLine& line : box.lines)
                keyWidth = std::max(keyWidth, metrics.horizontalAdvance(line.keys));
            const int actionX = x + kPad + keyWidth + 8;
            const int actionWidth = x + columnWidth - kPad - actionX;
            painter.setFont(font);
            double lineY = top + headingHeight + kPad / 2;
            for (const ShortcutLine& line : box.lines) {
                painter.setPen(keyColour);
                painter.drawText(QRectF(x + kPad, lineY, keyWidth, lineHeight), Qt::AlignVCenter | Qt::AlignLeft,
                                 line.keys);
                painter.setPen(Qt::black);
                painter.drawText(QRectF(actionX, lineY, actionWidth, lineHeight), Qt::AlignVCenter | Qt::AlignLeft,
                                 metrics.elidedText(line.action, Qt::ElideRight, actionWidth));
                lineY += lineHeight;
            }
            y += height + kMargin;
        }
    }
    return image;
}

ShortcutCard::ShortcutCard(QWidget* frame, SettingsFile& settingsFile, const IconResources& icons)
    : QWidget(frame, Qt::Tool | Qt::FramelessWindowHint),
      picture_(shortcutPicture()),
      keeper_(this)
{
    setObjectName(QStringLiteral("shortcutCard"));
    // Shown at start-up or from the menu, it leaves the keys with the view.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(commandText(cmd::ShortcutList));
    // A one-pixel border round the picture.
    setFixedSize(kPictureWidth + 2, kPictureHeight + 2);
    keeper_.setIcon(icons.icon(kCardIcon));
    keeper_.restore(true, settingsFile, "Sigilscope", kPointKey);
    keeper_.setAlpha(180);
}

void ShortcutCard::toggle()
{
    setVisible(!isVisible());
}

void ShortcutCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawRect(0, 0, width() - 1, height() - 1);
    painter.drawImage(1, 1, picture_);
}

void ShortcutCard::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    // Anywhere on the card acts as a caption: the window system moves it
    // where it can, else the card follows the pointer itself.
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - pos();
}

void ShortcutCard::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_)
        move(event->globalPosition().toPoint() - dragOffset_);
}

void ShortcutCard::mouseReleaseEvent(QMouseEvent*)
{
    dragging_ = false;
}

void ShortcutCard::mouseDoubleClickEvent(QMouseEvent* event)
{
    dragging_ = false;
    if (event->button() == Qt::LeftButton)
        hide();
}

void ShortcutCard::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        hide();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ShortcutCard::closeEvent(QCloseEvent* event)
{
    // Closing only hides; the card lives as long as the frame.
    event->ignore();
    hide();
}

void ShortcutCard::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (visibilityChanged)
        visibilityChanged();
}

void ShortcutCard::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (visibilityChanged)
        visibilityChanged();
}

}  // namespace sigil
