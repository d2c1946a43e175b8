#pragma once
// The icon view: the scrolling grid of every icon of the library document,
// its painting, keys and mouse, dropped files, and the routing of commands
// to the document.

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QIcon>
#include <QTimer>
#include <string>
#include <vector>

#include "document/LibraryDocument.h"
#include "view/DisplayIconCache.h"
#include "view/IconGridLayout.h"
#include "view/PropertyPane.h"
#include "view/WidgetDocumentHost.h"

namespace sigil {

class SettingsFile;

class CIconView : public QAbstractScrollArea {
    Q_OBJECT
public:
    CIconView(LibraryDocument& document, SettingsFile& settingsFile, QWidget* parent = nullptr);
    ~CIconView() override;

    LibraryDocument& document() { return document_; }
    const LibraryDocument& document() const { return document_; }
    // Shorthands for the document state the frame and tests read most.
    bool loading() const { return document_.loading(); }
    int selection() const { return document_.selection(); }

    // The first update: queues the start-up paths and starts their load.
    void initialUpdate(const std::vector<std::string>& startupPaths);
    void updateTitle();

    // Layout and painting.
    IconGridLayout gridLayout() const;
    void updateScrollSizes(int width = -1, int height = -1);
    int hitCell(QPoint content) const;
    void invalidateCell(int k);
    void selectAndShow(int k);
    void applyDisplaySize();
    // Stores a new display size and applies it when it differs.
    void changeDisplaySize(int size);
    // After the settings dialog: lays the grid out again for a new
    // arrangement, makes the display images again for new colours, and
    // repaints in any case.
    void settingsChanged(bool layoutChanged, bool displayChanged);
    QPoint scrollPosition() const;
    // The last paint left cells without their display images (they follow
    // in the next frames).
    bool cellsPending() const { return cellsPending_; }

    // Selection and input.
    bool selectIcon(int k);
    void stopDrag();
    bool dragging() const { return dragging_; }

    // Commands: what the menus, the toolbar and the keys call.
    void runCommand(int id);
    bool commandEnabled(int id) const { return document_.commandEnabled(id); }
    bool commandChecked(int id) const;
    // The window that shows the selected icon's devices; not owned, may be
    // null.
    void setPropertyPane(PropertyPane* pane);
    // The window icon of the folder chooser the open-folder command shows.
    void setFolderChooserIcon(const QIcon& icon) { host_.setFolderChooserIcon(icon); }

signals:
    void countChangedMessage();
    void selectionChangedMessage(int selection);
    void sizeChangedMessage();
    // The enabling or check state of some command may have changed.
    void commandStateChanged();
    void exitRequested();
    void helpRequested();
    // The settings command, when no load runs: the frame shows the dialog.
    void settingsRequested();
    // Display images were made again with new settings (the property
    // window repaints its own).
    void displayImagesChanged();
    void contextMenuRequested(const QPoint& globalPos);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void onAdded(int index);
    void onLoadFinished();
    // While a load runs, icons arrive faster than the screen shows frames:
    // the layout, the repaint and the count notice they call for are made
    // once a frame, each frame showing the library as it is then.
    void scheduleFrame();
    void showFrame();
    void moveSelectionByKey(MoveKey key, bool shift);
    bool handleCtrlKey(int key, bool shift);
    // A command key: exit and help go to the frame, the rest run here.
    void runKeyCommand(int id);
    void releaseDrag(QPoint pos, bool ctrl, bool shift);
    void autoScroll();
    QPoint toContent(QPoint viewportPos) const;
    void onOtherSize();
    // Tab and Ctrl+Tab: the property pane takes the keys when it is shown.
    void focusPropertyPane();

    LibraryDocument& document_;
    IconLibrary& library_;
    GeneralSettings& general_;
    DisplaySettings& display_;
    WidgetDocumentHost host_;
    DisplayIconCache cache_;
    PropertyPane* pane_ = nullptr;

    bool initialized_ = false;
    bool pressArmed_ = false;
    bool dragging_ = false;
    QPoint pointerPos_;
    QBasicTimer scrollTimer_;
    QTimer frameTimer_;
    bool countPending_ = false;
    bool cellsPending_ = false;
    int wheelRemainder_ = 0;
};

}  // namespace sigil
