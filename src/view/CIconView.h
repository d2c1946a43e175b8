#pragma once
// The icon view: the scrolling grid of every icon of the library, and the
// library's document state (name, modified mark, running load, selection).
// It carries the library commands; the main frame routes them here.

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QIcon>
#include <memory>
#include <string>
#include <vector>

#include "formats/LoadJob.h"
#include "model/IconLibrary.h"
#include "view/DisplayIconCache.h"
#include "view/IconGridLayout.h"

namespace sigil {

struct GeneralSettings;
class LoadBridge;
class SettingsFile;
struct DisplaySettings;

class CIconView : public QAbstractScrollArea {
    Q_OBJECT
public:
    CIconView(IconLibrary& library, SettingsFile& settingsFile, GeneralSettings& general, DisplaySettings& display,
              QWidget* parent = nullptr);
    ~CIconView() override;

    // Document state.
    const std::string& libraryPath() const { return libraryPath_; }
    bool modified() const { return modified_; }
    bool loading() const { return loading_; }
    int selection() const { return selection_; }
    IconLibrary& library() { return library_; }

    // The first update: queues the start-up paths and starts their load.
    void initialUpdate(const std::vector<std::string>& startupPaths);
    QString titleText() const;
    void updateTitle();
    // Prepares one path for loading; false when it does not exist.
    bool queueFile(const std::string& path);
    void clearLibrary();
    void startLoader();
    void openPath(const std::string& path);
    bool confirmClose();
    void finishLoad();
    bool saveLibrary(bool asNew);

    // Layout and painting.
    IconGridLayout gridLayout() const;
    void updateScrollSizes(int width = -1, int height = -1);
    int hitCell(QPoint content) const;
    void invalidateCell(int k);
    void selectAndShow(int k);
    void applyDisplaySize();
    // Stores a new display size and applies it when it differs.
    void changeDisplaySize(int size);
    QPoint scrollPosition() const;

    // Selection and input.
    bool selectIcon(int k);
    void stopDrag();
    bool dragging() const { return dragging_; }

    // Commands: what the menus, the toolbar and the keys call.
    void runCommand(int id);
    bool commandEnabled(int id) const;
    bool commandChecked(int id) const;
    // Paths kept from drops made with Ctrl during a load; they are loaded
    // when the running job ends.
    const std::vector<std::string>& deferredPaths() const { return deferredPaths_; }
    // Adds paths as a drop does (Ctrl held: added to the current library).
    void dropPaths(const std::vector<std::string>& paths, bool keepLibrary);
    // Waits for a running load job to end, stopping it first.
    void stopLoader();
    // The window icon of the folder chooser the open-folder command shows.
    void setFolderChooserIcon(const QIcon& icon) { folderChooserIcon_ = icon; }

signals:
    void countChangedMessage();
    void selectionChangedMessage(int selection);
    void sizeChangedMessage();
    // The enabling or check state of some command may have changed.
    void commandStateChanged();
    void exitRequested();
    void helpRequested();
    void contextMenuRequested(const QPoint& globalPos);

protected:
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
    void markModified();
    void notifyCommandState();
    void moveSelectionByKey(MoveKey key, bool shift);
    bool handleCtrlKey(int key);
    void releaseDrag(QPoint pos, bool ctrl, bool shift);
    void autoScroll();
    QPoint toContent(QPoint viewportPos) const;

    void onOpenFile();
    void onOpenFolder();
    void onRecent(int id);
    void onCloseFile();
    void onSaveAsIcon();
    void onOtherSize();

    IconLibrary& library_;
    SettingsFile& settingsFile_;
    GeneralSettings& general_;
    DisplaySettings& display_;
    LoadBridge* bridge_;
    LoadThread loader_;
    DisplayIconCache cache_;

    std::string libraryPath_;
    bool modified_ = false;
    bool loading_ = false;
    int selection_ = -1;
    bool initialized_ = false;
    std::vector<std::string> deferredPaths_;
    QIcon folderChooserIcon_;

    bool pressArmed_ = false;
    bool dragging_ = false;
    QPoint pointerPos_;
    QBasicTimer scrollTimer_;
    int wheelRemainder_ = 0;
};

}  // namespace sigil
