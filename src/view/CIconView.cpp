#include "view/CIconView.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QUrl>
#include <algorithm>

#include "document/LibraryDocument.h"
#include "document/LoadBridge.h"
#include "formats/IconFile.h"
#include "formats/LibraryWriter.h"
#include "imaging/Clipboard.h"
#include "model/DisplaySettings.h"
#include "model/QtColor.h"
#include "platform/CommandIds.h"
#include "platform/StringTable.h"
#include "settings/GeneralSettings.h"
#include "ui/FileDialog.h"
#include "ui/FolderChooser.h"
#include "ui/MessageBoxes.h"
#include "view/OtherSizeDialog.h"

namespace sigil {

namespace {

bool pathExists(const std::string& path)
{
    return QFileInfo::exists(QString::fromStdString(path));
}

bool isFolder(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).isDir();
}

bool ctrlHeld()
{
    return QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
}

bool shiftHeld()
{
    return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
}

// The clipboard offers a bitmap that paste could take.
bool clipboardHasBitmap()
{
    return offersBitmap(QGuiApplication::clipboard()->mimeData());
}

}  // namespace

CIconView::CIconView(IconLibrary& library, SettingsFile& settingsFile, GeneralSettings& general,
                     DisplaySettings& display, QWidget* parent)
    : QAbstractScrollArea(parent),
      library_(library),
      settingsFile_(settingsFile),
      general_(general),
      display_(display),
      bridge_(new LoadBridge(library, this))
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFrameShape(QFrame::NoFrame);
    // Display images are made for the cells painted, not for every icon read.
    library_.setDisplayIconsOnDemand(true);
    library_.setDisplaySettings(&display_);
    connect(bridge_, &LoadBridge::added, this, &CIconView::onAdded);
    connect(bridge_, &LoadBridge::finished, this, &CIconView::finishLoad);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &CIconView::notifyCommandState);
}

CIconView::~CIconView()
{
    stopLoader();
    library_.setLoadObserver(nullptr);
}

// ---- Document -------------------------------------------------------------

void CIconView::initialUpdate(const std::vector<std::string>& startupPaths)
{
    updateScrollSizes();
    setAcceptDrops(true);
    library_.setLoadObserver(bridge_);
    initialized_ = true;
    bool queued = false;
    for (const std::string& path : startupPaths)
        queued = queueFile(path) || queued;
    if (!startupPaths.empty() && queued)
        startLoader();
    updateTitle();
    notifyCommandState();
}

QString CIconView::titleText() const
{
    return libraryTitle(libraryPath_, modified_, loading_);
}

void CIconView::updateTitle()
{
    window()->setWindowTitle(titleText());
}

bool CIconView::queueFile(const std::string& path)
{
    if (!pathExists(path))
        return false;
    const bool folder = isFolder(path);
    if (!library_.empty() || !library_.pendingPaths.empty()) {
        if (!modified_) {
            modified_ = true;
            updateTitle();
        }
    } else {
        const LibraryName name = nameForFirstPath(path, folder);
        libraryPath_ = name.path;
        modified_ = name.modified;
    }
    general_.addRecent(path, true, folder);
    library_.pendingPaths.push_back(path);
    return true;
}

void CIconView::clearLibrary()
{
    cache_.clear();
    library_.removeIcon(-1);
    libraryPath_.clear();
    modified_ = false;
    selection_ = -1;
}

void CIconView::startLoader()
{
    if (loading_)
        return;
    if (!loader_.start(library_))
        return;
    loading_ = true;
    updateTitle();
    notifyCommandState();
}

void CIconView::openPath(const std::string& path)
{
    clearLibrary();
    queueFile(path);
    startLoader();
}

void CIconView::stopLoader()
{
    if (!loader_.running())
        return;
    library_.cancelRequested = true;
    library_.stopRequested = true;
    bridge_->releaseWaitingJob();
    loader_.wait();
    // The stopped job's queued notices (its finishedMessage above all) must
    // not reach a job started after it.
    QCoreApplication::removePostedEvents(bridge_, QEvent::MetaCall);
}

bool CIconView::confirmClose()
{
    if (loading_) {
        if (!library_.cancelRequested) {
            const auto answer = showMessage(this, loadString(str::AskCancelLoad), QMessageBox::Question,
                                            QMessageBox::Yes | QMessageBox::No);
            if (answer == QMessageBox::Yes && loading_)
                library_.cancelRequested = true;
            return false;
        }
        // Asked again before the job noticed: stop it now. The icons read so
        // far stay.
        stopLoader();
        loading_ = false;
        library_.pendingPaths.clear();
        modified_ = true;
        library_.cancelRequested = false;
        library_.stopRequested = false;
        updateTitle();
        notifyCommandState();
        return true;
    }
    if (modified_) {
        const auto answer = showMessage(this, loadString(str::AskSaveLibrary), QMessageBox::Question,
                                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel)
            return false;
        if (answer == QMessageBox::Yes)
            return saveLibrary(false);
        return true;
    }
    return true;
}

void CIconView::finishLoad()
{
    // A finishedMessage of a job that was stopped at once arrives after the
    // view has moved on; it has nothing left to finish.
    if (loading_) {
        loader_.wait();
        library_.pendingPaths.clear();
        loading_ = false;
        if (library_.gifRefused) {
            library_.gifRefused = false;
            showMessage(this, loadString(str::GifRefused), QMessageBox::Warning);
        }
        if (library_.cancelRequested) {
            modified_ = true;
            library_.cancelRequested = false;
        }
        library_.stopRequested = false;
    }
    updateScrollSizes();
    if (library_.empty()) {
        libraryPath_.clear();
        modified_ = false;
        selection_ = -1;
    }
    selectIcon(selection_);
    emit countChangedMessage();
    viewport()->update();
    updateTitle();
    notifyCommandState();
    // Paths dropped with Ctrl while the job ran start a job of their own.
    if (!loading_ && !deferredPaths_.empty()) {
        std::vector<std::string> paths;
        paths.swap(deferredPaths_);
        dropPaths(paths, true);
    }
}

bool CIconView::saveLibrary(bool asNew)
{
    if (loading_ || library_.empty())
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct CursorGuard {
        ~CursorGuard() { QApplication::restoreOverrideCursor(); }
    } guard;
    const QFileInfo current(QString::fromStdString(libraryPath_));
    std::string target;
    bool rename = false;
    if (!asNew && !libraryPath_.empty() && current.exists() && !current.isDir()) {
        target = libraryPath_;
    } else {
        FileDialog dialog(this);
        if (!dialog.run(false, false, loadString(str::SaveLibraryFilter).toStdString(), libraryPath_, "icl"))
            return false;
        target = dialog.path();
        rename = true;
    }
    if (!writeLibrary(library_, target)) {
        showMessage(this, loadString(str::SaveFailed), QMessageBox::Warning);
        return false;
    }
    if (rename) {
        general_.addRecent(target, true, false);
        libraryPath_ = target;
    }
    modified_ = false;
    finishLoad();
    viewport()->update();
    return true;
}

void CIconView::onAdded(int index)
{
    updateScrollSizes();
    if (selection_ == -1)
        selection_ = 0;
    if (index == selection_)
        selectAndShow(selection_);
    else
        viewport()->update();
    emit countChangedMessage();
}

void CIconView::markModified()
{
    modified_ = true;
    updateTitle();
}

void CIconView::notifyCommandState()
{
    emit commandStateChanged();
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
    const int to = scrollToShow(layout, selection_, scrollPosition());
    if (to < 0)
        return;
    (layout.horizontal ? verticalScrollBar() : horizontalScrollBar())->setValue(to);
    viewport()->update();
}

void CIconView::applyDisplaySize()
{
    cache_.invalidate();
    updateScrollSizes();
    selectAndShow(selection_);
    viewport()->update();
    emit sizeChangedMessage();
    notifyCommandState();
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
        IconEntry& entry = library_.at(k);
        const bool selected = k == selection_;
        if (selected) {
            QPen focus(palette().color(QPalette::WindowText), 1, Qt::DotLine);
            painter.setPen(focus);
            painter.drawRect(x - 2, y - 2, s + 3, s + 3);
            painter.fillRect(x - 1, y - 1, s + 2, s + 2, toQColor(display_.selectColor));
            if (dragging_)
                continue;
        }
        cache_.ensure(entry, display_);
        entry.drawIcon(painter, s, s, x, y, selected);
    }
}

// ---- Selection ------------------------------------------------------------

bool CIconView::selectIcon(int k)
{
    if (k < 0 || k >= library_.size())
        k = -1;
    invalidateCell(selection_);
    if (k != selection_) {
        selection_ = k;
        invalidateCell(k);
    }
    viewport()->repaint();
    emit selectionChangedMessage(selection_);
    notifyCommandState();
    return k >= 0;
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
    const int cur = selection_;
    const int t = keyboardTarget(gridLayout(), cur, key);
    if (t < 0)
        return;
    if (!shift) {
        selectAndShow(t);
        return;
    }
    modified_ = true;
    if (cur >= 0 && cur < library_.size())
        library_.moveIcon(cur, t);
    selectAndShow(t);
    viewport()->update();
    updateTitle();
}

// ---- Keyboard -------------------------------------------------------------

bool CIconView::handleCtrlKey(int key)
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
    case Qt::Key_Delete:
        runCommand(cmd::BatchDeleteDevices);
        return true;
    case Qt::Key_C:
        runCommand(cmd::CopyDevice);
        return true;
    case Qt::Key_E:
        runCommand(cmd::OtherSize);
        return true;
    case Qt::Key_F:
        runCommand(cmd::OpenFolder);
        return true;
    case Qt::Key_I:
        runCommand(cmd::SaveAsIcon);
        return true;
    case Qt::Key_L:
        runCommand(cmd::Duplicate);
        return true;
    case Qt::Key_M:
        runCommand(cmd::DeleteSameIcons);
        return true;
    case Qt::Key_N:
        runCommand(cmd::Add);
        return true;
    case Qt::Key_O:
        runCommand(cmd::OpenFile);
        return true;
    case Qt::Key_P:
        runCommand(cmd::Settings);
        return true;
    case Qt::Key_Q:
        runCommand(cmd::Snap);
        return true;
    case Qt::Key_R:
        runCommand(cmd::Rename);
        return true;
    case Qt::Key_S:
        runCommand(cmd::SaveLibrary);
        return true;
    case Qt::Key_T:
        runCommand(cmd::SaveAs);
        return true;
    case Qt::Key_V:
        runCommand(cmd::Paste);
        return true;
    case Qt::Key_W:
        runCommand(cmd::SnapAll);
        return true;
    case Qt::Key_X:
        runCommand(cmd::SaveAllAsIcons);
        return true;
    default:
        return true;  // any other Ctrl key is swallowed
    }
}

void CIconView::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const int key = event->key();
    if (ctrl && key != Qt::Key_Control && key != Qt::Key_Shift) {
        handleCtrlKey(key);
        event->accept();
        return;
    }
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        runCommand(cmd::ShowProperty);
        return;
    case Qt::Key_Escape:
        emit exitRequested();
        return;
    case Qt::Key_Space:
        runCommand(cmd::EditWithEditor);
        return;
    case Qt::Key_Delete:
        runCommand(cmd::Delete);
        return;
    case Qt::Key_F1:
        emit helpRequested();
        return;
    case Qt::Key_F2:
        runCommand(cmd::Rename);
        return;
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
    if (selection_ >= 0)
        pressArmed_ = true;
}

void CIconView::mouseMoveEvent(QMouseEvent* event)
{
    if (loading_)
        return;
    const QPoint pos = event->position().toPoint();
    if (pressArmed_) {
        const QPoint d = pos - pointerPos_;
        if (std::abs(d.x()) > 3 || std::abs(d.y()) > 3) {
            pressArmed_ = false;
            dragging_ = true;
            selectIcon(selection_);
            const IconEntry& entry = library_.at(selection_);
            if (!entry.normalIcon.isNull())
                viewport()->setCursor(QCursor(QPixmap::fromImage(entry.normalIcon)));
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
    int t = hitCell(toContent(pos));
    if (t < 0)
        t = 0;  // right of the last column (or below the last row) aims at the first place
    const int n = library_.size();
    if (ctrl) {
        if (t < 0 || t > n)
            t = n;
        const IconEntry& dragged = library_.at(selection_);
        auto copy = std::make_unique<IconEntry>();
        for (const IconDevice& device : dragged.devices) {
            copy->devices.emplace_back();
            copy->devices.back().copyFrom(device);
        }
        copy->name = dragged.name;
        copy->source = dragged.source;
        copy->current = dragged.current;
        library_.appendIcon(std::move(copy));
        if (t != n)
            library_.moveIcon(n, t);
        if (t < selection_)
            ++selection_;
        updateScrollSizes();
        emit countChangedMessage();
        markModified();
    } else if (t != selection_ && t >= 0 && t < n) {
        modified_ = true;
        if (shift)
            library_.swapIcons(selection_, t);
        else
            library_.moveIcon(selection_, t);
        selection_ = t;
        updateTitle();
    }
    stopDrag();
    viewport()->update();
    notifyCommandState();
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
        selectIcon(selection_);
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
    dropPaths(paths, event->modifiers() & Qt::ControlModifier);
}

void CIconView::dropPaths(const std::vector<std::string>& paths, bool keepLibrary)
{
    if (!keepLibrary) {
        if (!confirmClose())
            return;
        clearLibrary();
    } else if (loading_) {
        // Never a second job over the running one's list: these paths wait.
        deferredPaths_.insert(deferredPaths_.end(), paths.begin(), paths.end());
        return;
    }
    bool queued = false;
    for (const std::string& path : paths)
        queued = queueFile(path) || queued;
    if (queued)
        startLoader();
    else if (!keepLibrary)
        finishLoad();
}

// ---- Commands -------------------------------------------------------------

bool CIconView::commandEnabled(int id) const
{
    const bool idle = !loading_;
    const bool hasIcon = !library_.empty();
    const bool selected = hasIcon && selection_ >= 0 && selection_ < library_.size();
    switch (id) {
    case cmd::OpenFile:
    case cmd::OpenFolder:
    case cmd::Settings:
    case cmd::Add:
        return idle;
    case cmd::SaveLibrary:
    case cmd::SaveAs:
    case cmd::SaveAllAsIcons:
    case cmd::SnapAll:
    case cmd::CloseFile:
    case cmd::BatchDeleteDevices:
    case cmd::DeleteSameIcons:
        return idle && hasIcon;
    case cmd::CopyDevice:
    case cmd::Delete:
    case cmd::Duplicate:
    case cmd::Rename:
    case cmd::Snap:
    case cmd::SaveAsIcon:
        return selected;
    case cmd::EditWithEditor:
        return idle && selected && general_.useEditor && !general_.editorPath.empty();
    case cmd::ShowProperty:
        return true;
    case cmd::Paste:
        return idle && clipboardHasBitmap();
    case cmd::Size16:
    case cmd::Size32:
    case cmd::Size48:
    case cmd::Size72:
    case cmd::Size128:
    case cmd::OtherSize:
        return idle;
    default:
        if ((id >= cmd::RecentFileFirst && id <= cmd::RecentFileLast) ||
            (id >= cmd::RecentFolderFirst && id <= cmd::RecentFolderLast))
            return idle;
        return true;
    }
}

bool CIconView::commandChecked(int id) const
{
    const int s = display_.iconSize;
    switch (id) {
    case cmd::Size16:
        return s == 16;
    case cmd::Size32:
        return s == 32;
    case cmd::Size48:
        return s == 48;
    case cmd::Size72:
        return s == 72;
    case cmd::Size128:
        return s == 128;
    case cmd::OtherSize:
        return s != 16 && s != 32 && s != 48 && s != 72 && s != 128;
    default:
        return false;
    }
}

void CIconView::runCommand(int id)
{
    switch (id) {
    case cmd::OpenFile:
        onOpenFile();
        break;
    case cmd::OpenFolder:
        onOpenFolder();
        break;
    case cmd::CloseFile:
        onCloseFile();
        break;
    case cmd::SaveLibrary:
    case cmd::SaveAs:
        if (saveLibrary(id == cmd::SaveAs))
            viewport()->update();
        break;
    case cmd::SaveAsIcon:
        onSaveAsIcon();
        break;
    case cmd::Size16:
    case cmd::Size32:
    case cmd::Size48:
    case cmd::Size72:
    case cmd::Size128:
        if (!loading_) {
            static constexpr int kSizes[] = {16, 32, 48, 72, 128};
            display_.iconSize = kSizes[id - cmd::Size16];
            applyDisplaySize();  // even when the size did not change
        }
        break;
    case cmd::OtherSize:
        onOtherSize();
        break;
    default:
        if ((id >= cmd::RecentFileFirst && id <= cmd::RecentFileLast) ||
            (id >= cmd::RecentFolderFirst && id <= cmd::RecentFolderLast))
            onRecent(id);
        break;
    }
    notifyCommandState();
}

void CIconView::onOpenFile()
{
    if (loading_ || !confirmClose())
        return;
    FileDialog dialog(this);
    if (!dialog.run(true, true, loadString(str::OpenFileFilter).toStdString(), general_.openPath, "icl"))
        return;
    clearLibrary();
    for (std::string path = dialog.path(); !path.empty(); path = dialog.path())
        queueFile(path);
    startLoader();
}

void CIconView::onOpenFolder()
{
    if (loading_ || !confirmClose())
        return;
    FolderChooser chooser(settingsFile_, this);
    chooser.setTitle(loadString(str::ChooseOpenFolder));
    chooser.setPath(general_.openPath);
    chooser.setMustExist(true);
    chooser.setIcon(folderChooserIcon_);
    if (chooser.exec() != QDialog::Accepted)
        return;
    openPath(chooser.path());
}

void CIconView::onRecent(int id)
{
    if (loading_ || !confirmClose())
        return;
    const int index = id >= cmd::RecentFolderFirst ? id - cmd::RecentFolderFirst : id - cmd::RecentFileFirst;
    if (index < 0 || index >= static_cast<int>(general_.recentPaths.size()))
        return;
    openPath(general_.recentPaths[static_cast<size_t>(index)]);
}

void CIconView::onCloseFile()
{
    if (loading_ || library_.empty() || !confirmClose())
        return;
    selectIcon(-1);
    libraryPath_.clear();
    modified_ = false;
    cache_.clear();
    library_.removeIcon(-1);
    updateScrollSizes();
    emit countChangedMessage();
    viewport()->update();
    updateTitle();
}

void CIconView::onSaveAsIcon()
{
    if (selection_ < 0 || selection_ >= library_.size())
        return;
    const IconEntry& icon = library_.at(selection_);
    std::string proposed = general_.openPath;
    if (!proposed.empty() && proposed.back() != '/')
        proposed += '/';
    proposed += icon.name + ".ico";
    FileDialog dialog(this);
    if (!dialog.run(false, false, loadString(str::SaveIconFilter).toStdString(), proposed, "ico"))
        return;
    const std::string path = dialog.path();
    general_.addRecent(path, false, false);
    writeIconFile(icon, path);
}

void CIconView::onOtherSize()
{
    if (loading_)
        return;
    OtherSizeDialog dialog(display_.iconSize, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    display_.iconSize = dialog.size();
    applyDisplaySize();
}

}  // namespace sigil
