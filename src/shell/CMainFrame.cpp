#include "shell/CMainFrame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <QWindow>
#include <utility>

#include "document/LibraryDocument.h"
#include "model/DisplaySettings.h"
#include "platform/SettingsFile.h"
#include "platform/StringTable.h"
#include "property/PropertyWindow.h"
#include "settings/GeneralSettings.h"
#include "settings/MainWindowPlacement.h"
#include "shell/AboutBox.h"
#include "shell/RecentMenu.h"
#include "shell/SettingsDialog.h"
#include "shell/ShortcutCard.h"
#include "shell/ToolbarDialog.h"
#include "shell/ToolbarItems.h"
#include "ui/CommandIds.h"
#include "ui/CommandTable.h"
#include "ui/DialogIds.h"
#include "ui/IconIds.h"
#include "ui/IconResources.h"
#include "ui/MenuIconRegistry.h"
#include "ui/ShowAbove.h"
#include "ui/WindowKeeper.h"
#include "view/CIconView.h"

namespace sigil {

namespace {

// The menus' items by command; 0 is a separator. Texts, keys, icons and
// enable rules come from the command table.
constexpr int kFileMenu[] = {
    cmd::OpenFile,
    cmd::OpenFolder,
    0,
    cmd::SaveLibrary,
    cmd::SaveAs,
    cmd::SaveAsIcon,
    cmd::SaveAllAsIcons,
    0,
    cmd::Snap,
    cmd::SnapAll,
    0,
    cmd::Settings,
    cmd::CustomizeToolbar,
    0,
    cmd::CloseFile,
    0,
    cmd::Exit,
};

constexpr int kEditMenu[] = {
    cmd::Undo,
    cmd::Redo,
    0,
    cmd::CopyDevice,
    cmd::Paste,
    0,
    cmd::Add,
    cmd::Duplicate,
    cmd::Rename,
    cmd::Delete,
    0,
    cmd::DeleteSameIcons,
    cmd::BatchDeleteDevices,
    cmd::MakeSizes,
    0,
    cmd::EditWithEditor,
};

constexpr int kSizeItems[] = {cmd::Size16, cmd::Size32, cmd::Size48, cmd::Size72, cmd::Size128, cmd::OtherSize};

// The view's right-click menu: the size items follow it.
constexpr int kContextMenu[] = {
    cmd::EditWithEditor, 0, cmd::CopyDevice, cmd::Paste, 0, cmd::Delete, cmd::Duplicate, cmd::Rename,
    cmd::Snap,           0, cmd::SaveAsIcon, 0,
};

constexpr int kHelpMenu[] = {cmd::Help, cmd::About};

bool frameCommand(int id)
{
    const CommandRow* row = commandRow(id);
    return row && row->runner == Runner::Frame;
}

}  // namespace

CMainFrame::CMainFrame(IconLibrary& library, SettingsFile& settingsFile, GeneralSettings& general,
                       DisplaySettings& display, const IconResources& icons, const StartupInfo& startup,
                       QWidget* parent)
    : QMainWindow(parent),
      library_(library),
      settingsFile_(settingsFile),
      general_(general),
      display_(display),
      icons_(icons),
      startup_(startup),
      document_(new LibraryDocument(library, general, display, this)),
      view_(new CIconView(*document_, settingsFile, this)),
      property_(new PropertyWindow(*document_, settingsFile, icons, this))
{
    view_->setPropertyPane(property_);
    connect(property_, &PropertyWindow::visibilityChanged, this, &CMainFrame::updateCommandStates);
    // The picture follows the display settings (background, transparency).
    connect(view_, &CIconView::displayImagesChanged, property_, qOverload<>(&QWidget::update));
    setWindowTitle(QStringLiteral("Sigilscope"));
    setWindowIcon(icons_.icon(100));
    setCentralWidget(view_);
    view_->setFolderChooserIcon(icons_.icon(115));
    buildMenus();
    buildToolbar();
    buildStatusBar();
    library_.setProgressObserver(this);
    shortcutCard_ = new ShortcutCard(this, settingsFile_, icons_);
    cardAtStart_ = settingsFile_.readInt("Sigilscope", "ShowShortcut", 0) != 0;
    shortcutCard_->visibilityChanged = [this] { updateCommandStates(); };
    general_.recentChanged = [this] { rebuildRecentMenu(); };

    connect(document_, &LibraryDocument::statusMessage, this, [this](const QString& text) {
        if (text.isEmpty())
            selectionChangedMessage(document_->selection());
        else
            setPane(0, text);
    });
    connect(view_, &CIconView::countChangedMessage, this, &CMainFrame::countChangedMessage);
    connect(view_, &CIconView::selectionChangedMessage, this, &CMainFrame::selectionChangedMessage);
    connect(view_, &CIconView::sizeChangedMessage, this, &CMainFrame::sizeChangedMessage);
    connect(view_, &CIconView::commandStateChanged, this, &CMainFrame::updateCommandStates);
    connect(view_, &CIconView::exitRequested, this, &QWidget::close, Qt::QueuedConnection);
    connect(view_, &CIconView::helpRequested, this, &CMainFrame::onHelp, Qt::QueuedConnection);
    connect(view_, &CIconView::settingsRequested, this, &CMainFrame::onSettings);
    connect(view_, &CIconView::contextMenuRequested, this, &CMainFrame::showContextMenu);
    updateCommandStates();
    view_->setFocus();
}

CMainFrame::~CMainFrame()
{
    // The view outlives the frame's own members while the window goes down
    // (it still hears of focus loss); it must not reach them any more.
    disconnect(view_, nullptr, this, nullptr);
    library_.setProgressObserver(nullptr);
    // The property window shows the document's icons: it goes first.
    view_->setPropertyPane(nullptr);
    delete property_;
    property_ = nullptr;
    general_.recentChanged = nullptr;
    shortcutCard_->visibilityChanged = nullptr;
    // The view goes before the document it shows.
    delete view_;
    view_ = nullptr;
}

QAction* CMainFrame::makeAction(int id)
{
    if (QAction* existing = actions_.value(id))
        return existing;
    const CommandRow* row = commandRow(id);
    auto* action = new QAction(row && row->menu.ja ? commandMenuText(id) : commandText(id), this);
    action->setData(id);
    action->setObjectName(QString::number(id));
    action->setToolTip(commandTooltip(id));
    action->setStatusTip(commandText(id));
    action->setCheckable(row && row->checkable);
    if (row && row->icon) {
        QIcon icon = icons_.icon(row->icon);
        const QIcon hot = icons_.icon(row->hotIcon);
        for (int size : {16, 24, 32})
            icon.addPixmap(hot.pixmap(size, size), QIcon::Active);
        action->setIcon(icon);
    }
    actions_.insert(id, action);
    connect(action, &QAction::triggered, this, [this, id] {
        switch (id) {
        case cmd::Exit:
            close();
            break;
        case cmd::Help:
            onHelp();
            break;
        case cmd::About:
            onAbout();
            break;
        case cmd::CustomizeToolbar:
            onCustomizeToolbar();
            break;
        case cmd::ShortcutList:
            shortcutCard_->toggle();
            break;
        case cmd::RecentMenu:
            popUpRecentMenu();
            break;
        default:
            view_->runCommand(id);
            break;
        }
    });
    return action;
}

// Keys the frame takes before the view (the close-file accelerator). The
// window system keeps Alt+F4, and the view handles every other key.
void CMainFrame::setFrameShortcuts()
{
    for (const CommandKey& key : commandKeys()) {
        QAction* action = actions_.value(key.command);
        if (key.viewKey || key.alt || !action)
            continue;
        Qt::KeyboardModifiers modifiers;
        modifiers.setFlag(Qt::ControlModifier, key.ctrl);
        modifiers.setFlag(Qt::ShiftModifier, key.shift);
        action->setShortcut(QKeySequence(QKeyCombination(modifiers, Qt::Key(key.key))));
        action->setShortcutContext(Qt::WindowShortcut);
    }
}

void CMainFrame::buildMenus()
{
    auto addItems = [this](QMenu* menu, const auto& items) {
        for (int id : items) {
            if (id == 0)
                menu->addSeparator();
            else
                menu->addAction(makeAction(id));
        }
    };
    QMenu* file = menuBar()->addMenu(loadString(str::MenuFile));
    file->setObjectName(QStringLiteral("fileMenu"));
    addItems(file, kFileMenu);
    rebuildRecentMenu();
    setFrameShortcuts();

    QMenu* editMenu = menuBar()->addMenu(loadString(str::MenuEdit));
    editMenu->setObjectName(QStringLiteral("editMenu"));
    addItems(editMenu, kEditMenu);

    QMenu* display = menuBar()->addMenu(loadString(str::MenuView));
    display->setObjectName(QStringLiteral("viewMenu"));
    auto* sizes = new QActionGroup(this);
    for (int id : kSizeItems) {
        QAction* action = makeAction(id);
        sizes->addAction(action);
        display->addAction(action);
    }

    QMenu* palette = menuBar()->addMenu(loadString(str::MenuPalette));
    palette->setObjectName(QStringLiteral("paletteMenu"));
    QMenu* help = menuBar()->addMenu(loadString(str::MenuHelp));
    help->setObjectName(QStringLiteral("helpMenu"));
    addItems(help, kHelpMenu);

    // Actions are shared, so a command reads the same in every menu; the
    // right-click menu keeps its own texts where they differ.
    contextMenu_ = new QMenu(this);
    contextMenu_->setObjectName(QStringLiteral("contextMenu"));
    auto addContextItem = [this](int id) {
        if (id == 0) {
            contextMenu_->addSeparator();
            return;
        }
        QAction* shared = actions_.value(id);
        const QString text = commandContextText(id);
        if (shared->text() == text) {
            contextMenu_->addAction(shared);
            return;
        }
        QAction* own = contextMenu_->addAction(shared->icon(), text);
        connect(own, &QAction::triggered, shared, &QAction::trigger);
        connect(shared, &QAction::changed, own, [own, shared] { own->setEnabled(shared->isEnabled()); });
        if (shared->isCheckable()) {
            // A size item keeps the icon and the check mark the shared one
            // shows; the check follows the command's, whatever a click did.
            own->setData(shared->data());
            own->setCheckable(true);
            auto follow = [own, shared] {
                own->setEnabled(shared->isEnabled());
                own->setChecked(shared->isChecked());
            };
            connect(shared, &QAction::changed, own, follow);
            connect(own, &QAction::triggered, own, follow);
            connect(contextMenu_, &QMenu::aboutToShow, own, follow);
        }
    };
    for (int id : kContextMenu)
        addContextItem(id);
    for (int id : kSizeItems)
        addContextItem(id);

    for (QMenu* menu : {file, editMenu, display, palette, help, contextMenu_})
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
    registerMenuIcons({file, editMenu, display, palette, help, contextMenu_});
}

void CMainFrame::registerMenuIcons(std::initializer_list<QMenu*> menus)
{
    menuIcons_ = new MenuIconRegistry(this);
    menuIcons_->init(16, 16, &icons_);
    for (const CommandIcon& row : CommandIconTable::rows()) {
        if (row.command != cmd::RecentMenu)
            menuIcons_->registerIcons(row.command, row.icon, row.hotIcon, 0);
    }
    menuIcons_->registerIcons(cmd::CustomizeToolbar, icons::kCustomizeToolbar.normal, icons::kCustomizeToolbar.hot, 0);
    for (QMenu* menu : menus)
        menuIcons_->attach(menu);
    if (recentMenu_)
        registerRecentMenuIcons();
}

void CMainFrame::registerRecentMenuIcons()
{
    menuIcons_->registerItemIcons(recentMenu_);
    // The toolbar button pops the submenu up on its own.
    menuIcons_->attach(recentMenu_);
}

void CMainFrame::buildToolbar()
{
    if (toolbar_) {
        removeToolBar(toolbar_);
        delete toolbar_;
        toolbar_ = nullptr;
    }
    // No button at all is a valid choice: the window then has no toolbar
    // until the user adds some again.
    const std::vector<ToolbarButton> buttons = toolbarButtons(general_.toolbarItems);
    if (buttons.empty())
        return;
    const int size = toolbarImageSize(general_.toolbarSize);
    toolbar_ = new QToolBar(loadString(str::ToolbarTitle), this);
    toolbar_->setObjectName(QStringLiteral("toolbar"));
    toolbar_->setIconSize(QSize(size, size));
    toolbar_->setMovable(true);
    toolbar_->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const ToolbarButton& button : buttons) {
        if (button.separator) {
            toolbar_->widgetForAction(toolbar_->addSeparator())->setFixedWidth(kToolbarSeparatorWidth);
            continue;
        }
        QAction* action = makeAction(button.command);
        if (action->icon().isNull())
            action->setIcon(icons_.icon(118));
        toolbar_->addAction(action);
        toolbar_->widgetForAction(action)->setFixedSize(size + kToolbarButtonMargin, size + kToolbarButtonMargin);
    }
    toolbar_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(toolbar_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QMenu menu(this);
        menu.addAction(loadString(str::ToolbarCustomize), this, &CMainFrame::onCustomizeToolbar);
        menu.exec(toolbar_->mapToGlobal(pos));
    });
    addToolBar(Qt::TopToolBarArea, toolbar_);
    fillPaletteMenu();
    updateCommandStates();
}

void CMainFrame::onCustomizeToolbar()
{
    ToolbarDialog dialog(general_, icons_, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    buildToolbar();
}

void CMainFrame::onSettings()
{
    if (view_->loading())
        return;
    SettingsDialog dialog(general_, display_, settingsFile_, this);
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    const SettingsChanges changes = confirmed ? dialog.changes() : SettingsChanges{};
    view_->settingsChanged(changes.layoutChanged, changes.displayChanged);
}

void CMainFrame::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    auto makePane = [this, bar](int index, int paneId, int iconId, int width) {
        auto* box = new QWidget(bar);
        auto* layout = new QHBoxLayout(box);
        layout->setContentsMargins(2, 0, 2, 0);
        layout->setSpacing(3);
        if (iconId) {
            auto* icon = new QLabel(box);
            icon->setPixmap(icons_.pixmap(iconId, 16));
            layout->addWidget(icon);
        }
        panes_[index] = new QLabel(box);
        box->setObjectName(controlName(paneId));
        layout->addWidget(panes_[index], 1);
        if (width)
            box->setFixedWidth(width);
        return box;
    };
    bar->addWidget(makePane(0, kDescriptionPane, 200, 0), 1);
    bar->addPermanentWidget(makePane(1, kCountPane, 0, 80));
    // The size pane is 60 pixels of text beside its 16-pixel icon.
    bar->addPermanentWidget(makePane(2, kSizePane, 201, 60 + 19));
    countChangedMessage();
    sizeChangedMessage();
    selectionChangedMessage(-1);
    statusBarToggle_ = new QAction(loadString(str::MenuStatusBar), this);
    statusBarToggle_->setCheckable(true);
    statusBarToggle_->setChecked(true);
    connect(statusBarToggle_, &QAction::toggled, bar, &QWidget::setVisible);
    fillPaletteMenu();
}

void CMainFrame::fillPaletteMenu()
{
    QMenu* palette = menuBar()->findChild<QMenu*>(QStringLiteral("paletteMenu"));
    if (!palette)
        return;
    palette->clear();
    if (toolbar_) {
        QAction* toggle = toolbar_->toggleViewAction();
        toggle->setText(loadString(str::MenuToolbar));
        palette->addAction(toggle);
    }
    if (statusBarToggle_)
        palette->addAction(statusBarToggle_);
    palette->addAction(makeAction(cmd::ShortcutList));
}

void CMainFrame::rebuildRecentMenu()
{
    QMenu* file = menuBar()->findChild<QMenu*>(QStringLiteral("fileMenu"));
    if (!file)
        return;
    if (recentMenu_) {
        file->removeAction(recentMenu_->menuAction());
        // Later: the rebuild may come from one of the old menu's own items.
        recentMenu_->deleteLater();
    }
    // The menus draw registered icons: a file's first icon that arrives
    // later is registered then.
    recentMenu_ = buildRecentMenu(general_.recentPaths, icons_, this, [this] {
        if (menuIcons_ && recentMenu_)
            menuIcons_->registerItemIcons(recentMenu_);
    });
    if (menuIcons_)
        registerRecentMenuIcons();
    connect(recentMenu_, &QMenu::triggered, this, [this](QAction* item) { view_->runCommand(item->data().toInt()); });
    // Greyed while a load runs, like every command that opens something.
    connect(recentMenu_, &QMenu::aboutToShow, this, [this] {
        for (QAction* item : recentMenu_->actions()) {
            const int id = item->data().toInt();
            item->setEnabled(id != kNoRecentData && view_->commandEnabled(id));
        }
    });
    const QList<QAction*> items = file->actions();
    file->insertMenu(items.size() > 2 ? items[2] : nullptr, recentMenu_);
}

void CMainFrame::popUpRecentMenu()
{
    if (recentMenu_)
        recentMenu_->popup(QCursor::pos());
}

bool CMainFrame::shortcutCardVisible() const
{
    return shortcutCard_ && shortcutCard_->isVisible();
}

void CMainFrame::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (cardAtStart_)
        showAboveWhenExposed(shortcutCard_, this, [this] { return std::exchange(cardAtStart_, false); });
}

QString CMainFrame::paneText(int pane) const
{
    return (pane >= 0 && pane < 3 && panes_[pane]) ? panes_[pane]->text() : QString();
}

void CMainFrame::setPane(int pane, const QString& text)
{
    panes_[pane]->setText(text);
    panes_[pane]->repaint();
}

void CMainFrame::countChangedMessage()
{
    setPane(1, QString::asprintf(loadString(str::IconCount).toUtf8().constData(), library_.size()));
}

void CMainFrame::selectionChangedMessage(int selection)
{
    if (selection < 0 || selection >= library_.size()) {
        setPane(0, QString());
        return;
    }
    const IconEntry& icon = library_.at(selection);
    QString text = loadString(str::SelectedIcon);
    text.replace(QLatin1String("%d"), QString::number(icon.deviceCount()));
    text.replace(QLatin1String("%s"), QString::fromStdString(icon.name));
    setPane(0, text);
}

void CMainFrame::sizeChangedMessage()
{
    setPane(2, QString::asprintf(loadString(str::DisplaySize).toUtf8().constData(), display_.iconSize));
}

void CMainFrame::progressMessage(int phase, int percent)
{
    setPane(0, saveProgressText(phase, percent));
}

void CMainFrame::updateCommandStates()
{
    for (auto it = actions_.begin(); it != actions_.end(); ++it) {
        const int id = it.key();
        QAction* action = it.value();
        action->setEnabled(frameCommand(id) || view_->commandEnabled(id));
        if (id == cmd::ShortcutList)
            action->setChecked(shortcutCardVisible());
        else if (action->isCheckable())
            action->setChecked(view_->commandChecked(id));
    }
    // The undo and redo items name the step they would take.
    QUndoStack& steps = document_->undoStack();
    auto name = [](int id, int withStep, const QString& step) {
        return step.isEmpty() ? commandMenuText(id)
                              : loadString(withStep).arg(step) + QLatin1Char('\t') + commandKeyText(id);
    };
    if (QAction* undo = actions_.value(cmd::Undo))
        undo->setText(name(cmd::Undo, str::MenuUndoStep, steps.undoText()));
    if (QAction* redo = actions_.value(cmd::Redo))
        redo->setText(name(cmd::Redo, str::MenuRedoStep, steps.redoText()));
}

void CMainFrame::showContextMenu(const QPoint& globalPos)
{
    updateCommandStates();
    contextMenu_->popup(globalPos);
}

void CMainFrame::onHelp()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(helpFilePath(startup_.exeDir, loadString(str::HelpFile))));
}

void CMainFrame::onAbout()
{
    AboutBox box(icons_.logo(), startup_.versionText, this);
    box.exec();
}

void CMainFrame::showWithPlacement()
{
    MainWindowPlacement placement;
    const QRect desktop = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    if (readPlacement(settingsFile_, placement, desktop)) {
        setGeometry(QRect(QPoint(placement.left, placement.top), QPoint(placement.right - 1, placement.bottom - 1)));
        if (placement.showCmd == 3)
            showMaximized();
        else if (placement.showCmd == 2)
            showMinimized();
        else
            showNormal();
        savePlacement(true);
    } else {
        resize(QSize(800, 600).boundedTo(desktop.size()));
        show();
    }
}

void CMainFrame::savePlacement(bool cascade)
{
    MainWindowPlacement placement;
    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    placement.showCmd = isMaximized() ? 3 : isMinimized() ? 2 : 1;
    placement.flags = 0;
    placement.left = normal.left();
    placement.top = normal.top();
    placement.right = normal.left() + normal.width();
    placement.bottom = normal.top() + normal.height();
    const QRect desktop = screen() ? screen()->availableGeometry() : QRect(0, 0, 1024, 768);
    writePlacement(settingsFile_, placementToSave(placement, cascade, WindowKeeper::captionHeight(), desktop));
}

void CMainFrame::endWithoutQuestions()
{
    endingWithoutQuestions_ = true;
    // Dialogs and questions run loops of their own: each is dismissed, and
    // the window closes once they have all returned.
    while (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        if (modal->isVisible())
            break;
    }
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (!endingWithoutQuestions_ && !document_->confirmClose()) {
        event->ignore();
        return;
    }
    settingsFile_.writeInt("Sigilscope", "ShowShortcut", shortcutCardVisible() || cardAtStart_ ? 1 : 0);
    savePlacement(false);
    document_->stopLoader();
    event->accept();
}

}  // namespace sigil
