#pragma once
// The main window: menu bar, toolbar, the icon view and a status bar with
// three panes. It owns the library document; menu, toolbar and key
// commands go to the view, which routes them to the document. The frame
// itself handles help, about, the settings and toolbar dialogs, the
// shortcut card, the recent-files menu and its toolbar button, and the
// window's own life.

#include <QHash>
#include <QMainWindow>
#include <initializer_list>

#include "model/IconLibrary.h"
#include "shell/StartupInfo.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace sigil {

class CIconView;
class LibraryDocument;
class MenuIconRegistry;
class PropertyWindow;
class ShortcutCard;
struct GeneralSettings;
class IconResources;
class SettingsFile;
struct DisplaySettings;

class CMainFrame : public QMainWindow, public ProgressObserver {
    Q_OBJECT
public:
    CMainFrame(IconLibrary& library, SettingsFile& settingsFile, GeneralSettings& general, DisplaySettings& display,
               const IconResources& icons, const StartupInfo& startup, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CIconView* view() const { return view_; }
    LibraryDocument* document() const { return document_; }
    QAction* action(int commandId) const { return actions_.value(commandId); }
    QToolBar* toolbar() const { return toolbar_; }
    QString paneText(int pane) const;

    // Restores the saved placement (or shows the window normally) and
    // stores it again with the cascade offset.
    void showWithPlacement();
    // Builds the toolbar from the settings; none when the list has no
    // button (toolbar() is then null).
    void buildToolbar();
    // Runs the enabling and check rules over every command.
    void updateCommandStates();

    // Messages from the view and the library writer.
    void countChangedMessage();
    void selectionChangedMessage(int selection);
    void sizeChangedMessage();
    void progressMessage(int phase, int percent) override;

    void onHelp();
    void onAbout();
    // The settings dialog, then the view's relayout or redraw.
    void onSettings();
    // The toolbar dialog; the toolbar is built again after OK.
    void onCustomizeToolbar();

    // The recent-files submenu at position 2 of the File menu, made anew
    // from the recent list; called at creation and whenever the list changes.
    void rebuildRecentMenu();
    QMenu* recentMenu() const { return recentMenu_; }
    // The view's right-click menu.
    QMenu* contextMenu() const { return contextMenu_; }
    // The toolbar's recent-files button: the submenu at the pointer.
    void popUpRecentMenu();
    ShortcutCard* shortcutCard() const { return shortcutCard_; }
    // Ends the program as a close would, without asking anything (the
    // session ends): open dialogs are dismissed, a load is stopped, and the
    // window's state is written; unsaved changes are not saved.
    void endWithoutQuestions();
    bool shortcutCardVisible() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The command's one action, made on first use from its row.
    QAction* makeAction(int id);
    void setFrameShortcuts();
    void buildMenus();
    void registerMenuIcons(std::initializer_list<QMenu*> menus);
    void registerRecentMenuIcons();
    void buildStatusBar();
    void fillPaletteMenu();
    void showContextMenu(const QPoint& globalPos);
    void savePlacement(bool cascade);
    void setPane(int pane, const QString& text);

    IconLibrary& library_;
    SettingsFile& settingsFile_;
    GeneralSettings& general_;
    DisplaySettings& display_;
    const IconResources& icons_;
    const StartupInfo& startup_;
    LibraryDocument* document_;
    CIconView* view_;
    PropertyWindow* property_;
    QToolBar* toolbar_ = nullptr;
    MenuIconRegistry* menuIcons_ = nullptr;
    QMenu* contextMenu_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QAction* statusBarToggle_ = nullptr;
    ShortcutCard* shortcutCard_ = nullptr;
    // ShowShortcut=1 at start: the card comes up once the window is on screen.
    bool cardAtStart_ = false;
    bool endingWithoutQuestions_ = false;
    QHash<int, QAction*> actions_;
    QLabel* panes_[3] = {};
};

}  // namespace sigil
