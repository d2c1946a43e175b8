#include "view/CIconView.h"

#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QUrl>
#include <algorithm>

#include "model/DisplaySettings.h"
#include "settings/GeneralSettings.h"
#include "ui/CommandIds.h"
#include "ui/CommandTable.h"
#include "ui/DisplayImages.h"
#include "view/OtherSizeDialog.h"

namespace sigil {

namespace {
// Milliseconds of display-image making per paint: half a 60 Hz frame.
constexpr qint64 kImageBudgetMs = 8;
}  // namespace

CIconView::CIconView(LibraryDocument& document, SettingsFile& settingsFile, QWidget* parent)
    : QAbstractScrollArea(parent),
      document_(document),
      library_(document.library()),
      general_(document.general()),
      display_(document.display()),
      host_(this, settingsFile)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFrameShape(QFrame::NoFrame);
    library_.setDisplaySettings(&display_);
    document_.setHost(&host_);
    connect(&document_, &LibraryDocument::iconAdded, this, &CIconView::onAdded);
    connect(&document_, &LibraryDocument::loadFinished, this, &CIconView::onLoadFinished);
    connect(&document_, &LibraryDocument::libraryCleared, this, [this] {
        if (pane_)
            pane_->showIcon(nullptr, false);
        cache_.clear();
    });
    connect(&document_, &LibraryDocument::iconsChanged, this, [this] {
        updateScrollSizes();
        viewport()->update();
    });
    connect(&document_, &LibraryDocument::iconReleased, this, [this](const IconEntry* entry) { cache_.forget(entry); });
    connect(&document_, &LibraryDocument::selectionMoved, this, [this] {
        updateScrollSizes();
        selectAndShow(document_.selection());
        viewport()->update();
    });
    connect(&document_, &LibraryDocument::titleChanged, this, &CIconView::updateTitle);
    frameTimer_.setSingleShot(true);
    connect(&frameTimer_, &QTimer::timeout, this, &CIconView::showFrame);
    connect(&document_, &LibraryDocument::countChangedMessage, this, [this] {
        if (!document_.loading()) {
            emit countChangedMessage();
            return;
        }
        countPending_ = true;
        scheduleFrame();
    });
    connect(&document_, &LibraryDocument::commandStateChanged, this, &CIconView::commandStateChanged);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &CIconView::commandStateChanged);
}

CIconView::~CIconView()
{
    // The document may outlive its view: no question goes to a window that
    // is gone.
    document_.stopLoader();
    document_.setHost(nullptr);
}

void CIconView::initialUpdate(const std::vector<std::string>& startupPaths)
{
    updateScrollSizes();
    setAcceptDrops(true);
    initialized_ = true;
    bool queued = false;
    for (const std::string& path : startupPaths)
        queued = document_.queueFile(path) || queued;
    if (!startupPaths.empty() && queued)
        document_.startLoader();
    else if (!startupPaths.empty())
        document_.finishLoad();  // says which paths were missing
    updateTitle();
    emit commandStateChanged();
}

void CIconView::updateTitle()
{
    window()->setWindowTitle(document_.titleText());
}

void CIconView::onAdded(int index)
{
    if (index == document_.selection()) {
        updateScrollSizes();
        selectAndShow(index);
    } else {
        scheduleFrame();
    }
}

void CIconView::scheduleFrame()
{
    if (frameTimer_.isActive())
        return;
    const QScreen* shown = screen();
    const qreal hz = shown ? shown->refreshRate() : 0;
    frameTimer_.start(hz >= 1 ? qRound(1000 / hz) : 16);
}

void CIconView::showFrame()
{
    frameTimer_.stop();
    updateScrollSizes();
    viewport()->update();
    if (countPending_) {
        countPending_ = false;
        emit countChangedMessage();
    }
}

void CIconView::onLoadFinished()
{
    showFrame();
    selectIcon(document_.selection());
    viewport()->update();
}

// ---- Layout ---------------------------------------------------------------

IconGridLayout CIconView::gridLayout() const
{
    IconGridLayout layout;
    layout.displaySize = display_.iconSize;
    layout.horizontal = general_.horizontal != 0;
    layout.client = viewport()->size();
    layout.count = library_.size();
    return layout;
}

void CIconView::updateScrollSizes(int width, int height)
{
    IconGridLayout layout = gridLayout();
    if (width >= 0 && height >= 0)
        layout.client = QSize(width, height);
    const QSize extent = layout.extent();
    auto setBar = [](QScrollBar* bar, int total, int shown) {
        const int page = std::max(1, total / 10);
        bar->setRange(0, std::max(0, total - shown));
        bar->setPageStep(page);
        bar->setSingleStep(std::max(1, page / 10));
    };
    setBar(horizontalScrollBar(), extent.width(), layout.client.width());
    setBar(verticalScrollBar(), extent.height(), layout.client.height());
}

QPoint CIconView::scrollPosition() const
{
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

QPoint CIconView::toContent(QPoint viewportPos) const
{
    return viewportPos + scrollPosition();
}

int CIconView::hitCell(QPoint content) const
{
    return gridLayout().hitCell(content);
}

void CIconView::invalidateCell(int k)
{
    if (k < 0)
        return;
    const int s = display_.iconSize;
    const QRect cell = gridLayout().cellRect(k);
    viewport()->update(QRect(cell.topLeft() - QPoint(2, 2) - scrollPosition(), QSize(s + 4, s + 4)));
}

void CIconView::selectAndShow(int k)
{
    if (!selectIcon(k))
        return;
    const IconGridLayout layout = gridLayout();
    const int to = scrollToShow(layout, document_.selection(), scrollPosition());
    if (to < 0)
        return;
    (layout.horizontal ? verticalScrollBar() : horizontalScrollBar())->setValue(to);
    viewport()->update();
}

void CIconView::applyDisplaySize()
{
    cache_.invalidate();
    updateScrollSizes();
    selectAndShow(document_.selection());
    viewport()->update();
    emit sizeChangedMessage();
    emit commandStateChanged();
}

void CIconView::settingsChanged(bool layoutChanged, bool displayChanged)
{
    if (layoutChanged)
        updateScrollSizes();
    if (displayChanged) {
        cache_.invalidate();
        emit displayImagesChanged();
    }
    viewport()->update();
}

void CIconView::changeDisplaySize(int size)
{
    size = std::clamp(size, kMinDisplaySize, kMaxDisplaySize);
    if (size == display_.iconSize)
        return;
    display_.iconSize = size;
    applyDisplaySize();
}

void CIconView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollSizes();
}

void CIconView::scrollContentsBy(int, int)
{
    viewport()->update();
}

// ---- Painting -------------------------------------------------------------

void CIconView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    cellsPending_ = false;
    const QRect client = viewport()->rect();
    painter.fillRect(client, toQColor(display_.backColor));
    const IconGridLayout layout = gridLayout();
    const int n = layout.count;
    if (n == 0)
        return;
    const int s = layout.displaySize;
    const int p = layout.pitch();
    const int per = layout.perLine();
    const QPoint scroll = scrollPosition();
    const QPen gridPen(toQColor(general_.gridColor), 1);
    const bool grid = general_.grid != 0;

    // Only the lines that reach into the window are walked.
    const int crossScroll = layout.horizontal ? scroll.y() : scroll.x();
    const int crossClient = layout.horizontal ? client.height() : client.width();
    const int firstLine = std::max(0, (crossScroll - CELL_GAP - s) / p);
    const int lastLine = (crossScroll + crossClient) / p;
    const int first = std::min(n, firstLine * per);
    const int end = std::min(n, (lastLine + 1) * per);

    // Display images are made within a budget per paint (at least one), so
    // the window keeps answering while many new cells, with large PNG
    // images among them, come into view; the rest follow in the next frame.
    // Cells are made for the screen's device pixels (a sharper device on a
    // high-density screen).
    const qreal ratio = viewport()->devicePixelRatioF();
    QElapsedTimer spent;
    spent.start();
    bool madeOne = false;
    bool unfinished = false;
    for (int k = first; k < end; ++k) {
        const QRect cell = layout.cellRect(k).translated(-scroll);
        const int x = cell.left();
        const int y = cell.top();
        if (x + s <= 0 || y + s <= 0 || x - 2 > client.right() || y - 2 > client.bottom())
            continue;
        if (grid) {
            painter.setPen(gridPen);
            painter.drawRect(x - 1, y - 1, s + 1, s + 1);
        }
        const IconEntry& entry = library_.at(k);
        const bool selected = k == document_.selection();
        if (selected) {
            QPen focus(palette().color(QPalette::WindowText), 1, Qt::DotLine);
            painter.setPen(focus);
            painter.drawRect(x - 2, y - 2, s + 3, s + 3);
            painter.fillRect(x - 1, y - 1, s + 2, s + 2, toQColor(display_.selectColor));
            if (dragging_)
                continue;
        }
        if (!cache_.has(&entry)) {
            if (madeOne && spent.elapsed() >= kImageBudgetMs) {
                unfinished = true;
                continue;
            }
            madeOne = true;
        }
        drawDisplayIcon(painter, cache_.ensure(entry, display_, ratio), s, s, x, y, selected);
    }
    cellsPending_ = unfinished;
    if (unfinished)
        scheduleFrame();
}

// ---- Selection ------------------------------------------------------------

bool CIconView::selectIcon(int k)
{
    const int old = document_.selection();
    invalidateCell(old);
    const bool selected = document_.setSelection(k);
    if (document_.selection() != old)
        invalidateCell(document_.selection());
    if (pane_)
        pane_->showIcon(selected ? &library_.at(document_.selection()) : nullptr, selected);
    viewport()->repaint();
    emit selectionChangedMessage(document_.selection());
    emit commandStateChanged();
    return selected;
}

void CIconView::stopDrag()
{
    pressArmed_ = false;
    dragging_ = false;
    scrollTimer_.stop();
    viewport()->unsetCursor();
    releaseMouse();
}

void CIconView::moveSelectionByKey(MoveKey key, bool shift)
{
    const int t = keyboardTarget(gridLayout(), document_.selection(), key);
    if (t < 0)
        return;
    if (shift)
        document_.moveSelected(t);
    selectAndShow(t);
    viewport()->update();
}

// ---- Keyboard -------------------------------------------------------------

bool CIconView::handleCtrlKey(int key, bool shift)
{
    switch (key) {
    case Qt::Key_Left:
        changeDisplaySize(display_.iconSize - 1);
        return true;
    case Qt::Key_Right:
        changeDisplaySize(display_.iconSize + 1);
        return true;
    case Qt::Key_Up:
        changeDisplaySize(smallerStandardSize(display_.iconSize));
        return true;
    case Qt::Key_Down:
        changeDisplaySize(largerStandardSize(display_.iconSize));
        return true;
    case Qt::Key_Tab:
        focusPropertyPane();
        return true;
    default:
        // The command keys; any other Ctrl key is swallowed.
        if (const int id = viewCommandForKey(key, true, shift))
            runKeyCommand(id);
        return true;
    }
}

bool CIconView::event(QEvent* event)
{
    // Tab would move the focus along the frame's widgets; here it goes to
    // the property pane instead.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            focusPropertyPane();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void CIconView::focusPropertyPane()
{
    if (pane_ && pane_->paneVisible())
        pane_->focusPane();
}

void CIconView::runKeyCommand(int id)
{
    if (id == cmd::Exit)
        emit exitRequested();
    else if (id == cmd::Help)
        emit helpRequested();
    else
        runCommand(id);
}

void CIconView::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const int key = event->key();
    if (ctrl && key != Qt::Key_Control && key != Qt::Key_Shift) {
        handleCtrlKey(key, shift);
        event->accept();
        return;
    }
    if (const int id = viewCommandForKey(key, false, shift)) {
        runKeyCommand(id);
        return;
    }
    switch (key) {
    case Qt::Key_Left:
        moveSelectionByKey(MoveKey::Left, shift);
        return;
    case Qt::Key_Right:
        moveSelectionByKey(MoveKey::Right, shift);
        return;
    case Qt::Key_Up:
        moveSelectionByKey(MoveKey::Up, shift);
        return;
    case Qt::Key_Down:
        moveSelectionByKey(MoveKey::Down, shift);
        return;
    case Qt::Key_PageUp:
        moveSelectionByKey(MoveKey::PageUp, shift);
        return;
    case Qt::Key_PageDown:
        moveSelectionByKey(MoveKey::PageDown, shift);
        return;
    case Qt::Key_Home:
        moveSelectionByKey(MoveKey::Home, shift);
        return;
    case Qt::Key_End:
        moveSelectionByKey(MoveKey::End, shift);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

// ---- Mouse ----------------------------------------------------------------

void CIconView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        if (library_.empty() || dragging_)
            return;
        pointerPos_ = event->position().toPoint();
        selectAndShow(hitCell(toContent(pointerPos_)));
        pressArmed_ = false;
        emit contextMenuRequested(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    window()->activateWindow();
    pointerPos_ = event->position().toPoint();
    selectAndShow(hitCell(toContent(pointerPos_)));
    if (document_.selection() >= 0)
        pressArmed_ = true;
}

void CIconView::mouseMoveEvent(QMouseEvent* event)
{
    if (document_.loading())
        return;
    const QPoint pos = event->position().toPoint();
    if (pressArmed_) {
        const QPoint d = pos - pointerPos_;
        if (std::abs(d.x()) > 3 || std::abs(d.y()) > 3) {
            pressArmed_ = false;
            dragging_ = true;
            selectIcon(document_.selection());
            const DisplayIcons& icons =
                cache_.ensure(library_.at(document_.selection()), display_, viewport()->devicePixelRatioF());
            if (!icons.isNull())
                viewport()->setCursor(QCursor(QPixmap::fromImage(icons.normal)));
            scrollTimer_.start(100, this);
        }
    }
    if (dragging_)
        pointerPos_ = pos;
}

void CIconView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (!dragging_) {
        stopDrag();
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers();
    releaseDrag(event->position().toPoint(), mods & Qt::ControlModifier, mods & Qt::ShiftModifier);
}

void CIconView::releaseDrag(QPoint pos, bool ctrl, bool shift)
{
    // Released over the toolbar, beside the window or anywhere else out of
    // sight of the grid: the drag is abandoned, as in any list view.
    if (!viewport()->rect().contains(pos)) {
        stopDrag();
        viewport()->update();
        return;
    }
    // Past the last place of a line (right of the last column when cells
    // fill rows, below the last row when they fill columns) aims at the
    // first place; a negative place, a pitch or more above or left of the
    // grid, moves nothing and a copy goes to the end (dropSelected).
    document_.dropSelected(gridLayout().dropTarget(toContent(pos)), ctrl, shift);
    stopDrag();
    viewport()->update();
}

void CIconView::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != scrollTimer_.timerId() || !dragging_) {
        QAbstractScrollArea::timerEvent(event);
        return;
    }
    autoScroll();
}

void CIconView::autoScroll()
{
    const QRect client = viewport()->rect();
    const bool horizontal = general_.horizontal != 0;
    QScrollBar* bar = horizontal ? verticalScrollBar() : horizontalScrollBar();
    const int pos = horizontal ? pointerPos_.y() : pointerPos_.x();
    const int low = horizontal ? client.top() : client.left();
    const int high = horizontal ? client.bottom() : client.right();
    if (pos < low)
        bar->setValue(std::max(0, bar->value() - (low - pos)));
    else if (pos > high)
        bar->setValue(bar->value() + (pos - high));
}

void CIconView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->modifiers() & Qt::ControlModifier)
        runCommand(cmd::ShowProperty);
    else
        runCommand(cmd::EditWithEditor);
}

void CIconView::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        // When cells fill columns the view scrolls only sideways, and Qt
        // would hand a vertical wheel to the vertical bar, which has no
        // range: the wheel goes to whichever bar can scroll.
        const QPoint delta = event->angleDelta();
        const bool verticalWheel = std::abs(delta.y()) >= std::abs(delta.x());
        QScrollBar* along = verticalWheel ? verticalScrollBar() : horizontalScrollBar();
        QScrollBar* across = verticalWheel ? horizontalScrollBar() : verticalScrollBar();
        if (along->maximum() <= along->minimum() && across->maximum() > across->minimum())
            QCoreApplication::sendEvent(across, event);
        else
            QAbstractScrollArea::wheelEvent(event);
        return;
    }
    const int size = wheelSize(display_.iconSize, event->angleDelta().y(), wheelRemainder_);
    changeDisplaySize(size);
    event->accept();
}

void CIconView::focusOutEvent(QFocusEvent* event)
{
    if (initialized_) {
        wheelRemainder_ = 0;
        stopDrag();
        selectIcon(document_.selection());
    }
    QAbstractScrollArea::focusOutEvent(event);
}

// ---- Dropped files --------------------------------------------------------

void CIconView::dragEnterEvent(QDragEnterEvent* event)
{
    if (!event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    event->setDropAction((event->modifiers() & Qt::ControlModifier) ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
}

void CIconView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    event->setDropAction((event->modifiers() & Qt::ControlModifier) ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
}

void CIconView::dropEvent(QDropEvent* event)
{
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.push_back(QDir::cleanPath(url.toLocalFile()).toStdString());
    event->acceptProposedAction();
    document_.dropPaths(paths, event->modifiers() & Qt::ControlModifier);
}

// ---- Commands -------------------------------------------------------------

void CIconView::runCommand(int id)
{
    switch (id) {
    case cmd::OpenFile:
        document_.openFiles();
        break;
    case cmd::OpenFolder:
        document_.openFolder();
        break;
    case cmd::CloseFile:
        document_.closeLibrary();
        break;
    case cmd::SaveLibrary:
    case cmd::SaveAs:
        if (document_.saveLibrary(id == cmd::SaveAs))
            viewport()->update();
        break;
    case cmd::SaveAsIcon:
        document_.saveAsIcon();
        break;
    case cmd::SaveAllAsIcons:
        document_.saveAllAsIcons();
        break;
    case cmd::Snap:
        document_.snap();
        break;
    case cmd::SnapAll:
        document_.snapAll(gridLayout().perLine());
        break;
    case cmd::Add:
        document_.addIcon();
        break;
    case cmd::Delete:
        document_.deleteSelected();
        break;
    case cmd::Duplicate:
        document_.duplicateSelected();
        break;
    case cmd::Rename:
        document_.renameSelected();
        break;
    case cmd::DeleteSameIcons:
        document_.deleteSameIcons();
        break;
    case cmd::BatchDeleteDevices:
        document_.batchDeleteDevices();
        break;
    case cmd::MakeSizes:
        document_.makeSizes();
        break;
    case cmd::EditWithEditor:
        document_.editWithEditor();
        break;
    case cmd::CopyDevice:
        document_.copyDisplayedDevice();
        break;
    case cmd::Paste:
        document_.paste();
        break;
    case cmd::Undo:
        document_.undo();
        break;
    case cmd::Redo:
        document_.redo();
        break;
    case cmd::Size16:
    case cmd::Size32:
    case cmd::Size48:
    case cmd::Size72:
    case cmd::Size128:
        if (!document_.loading()) {
            static constexpr int kSizes[] = {16, 32, 48, 72, 128};
            display_.iconSize = kSizes[id - cmd::Size16];
            applyDisplaySize();  // even when the size did not change
        }
        break;
    case cmd::OtherSize:
        onOtherSize();
        break;
    case cmd::Settings:
        if (!document_.loading())
            emit settingsRequested();
        break;
    case cmd::ShowProperty:
        if (pane_ && !dragging_)
            pane_->togglePane();
        break;
    default:
        if ((id >= cmd::RecentFileFirst && id <= cmd::RecentFileLast) ||
            (id >= cmd::RecentFolderFirst && id <= cmd::RecentFolderLast))
            document_.openRecent(id);
        break;
    }
    emit commandStateChanged();
}

bool CIconView::commandChecked(int id) const
{
    if (id == cmd::ShowProperty)
        return pane_ && pane_->paneVisible();
    return document_.commandChecked(id);
}

void CIconView::setPropertyPane(PropertyPane* pane)
{
    pane_ = pane;
    if (pane_)
        pane_->showIcon(document_.hasSelection() ? &library_.at(document_.selection()) : nullptr, true);
}

void CIconView::onOtherSize()
{
    if (document_.loading())
        return;
    OtherSizeDialog dialog(display_.iconSize, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    display_.iconSize = dialog.size();
    applyDisplaySize();
}

}  // namespace sigil
