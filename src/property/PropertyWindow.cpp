#include "property/PropertyWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QStyle>
#include <algorithm>

#include "document/Clipboard.h"
#include "document/LibraryDocument.h"
#include "platform/StringTable.h"
#include "property/PictureFile.h"
#include "settings/GeneralSettings.h"
#include "ui/CommandIds.h"
#include "ui/CommandTable.h"
#include "ui/DialogIds.h"
#include "ui/FileDialog.h"
#include "ui/IconButton.h"
#include "ui/IconIds.h"
#include "ui/IconPreview.h"
#include "ui/IconResources.h"
#include "ui/MessageBoxes.h"
#include "ui/ShowAbove.h"
#include "view/EditDialogs.h"

namespace sigil {

namespace {

// The window's layout in dialog units (4 to a character's width, 8 to its
// height), as the controls are placed at the designed size.
struct Place {
    int x, y, width, height;
};
constexpr Place kWindowSize{0, 0, 146, 127};
constexpr Place kSourcePlace{2, 2, 143, 12};
constexpr Place kListPlace{1, 32, 68, 95};
constexpr Place kPicturePlace{70, 31, 76, 96};
// Room a list line needs beside its text (the item's own margins).
constexpr int kListTextMargins = 8;

struct ButtonLayout {
    int id;
    int x;  // every button is 13 x 14 at y 16
    icons::IconPair icons;
    int tooltip;  // in the string table
};

constexpr ButtonLayout kButtonLayouts[] = {
    {kAddDeviceButton, 2, icons::kAddDevice, str::PropertyAddTip},
    {kDeleteDeviceButton, 16, icons::kDeleteDevice, str::PropertyDeleteTip},
    {kOpenBitmapButton, 29, icons::kOpenBitmap, str::PropertyOpenBitmapTip},
    {kCopyDeviceButton, 43, icons::kCopyDevice, str::PropertyCopyTip},
    {kPasteDeviceButton, 56, icons::kPasteDevice, str::PropertyPasteTip},
    {kZoomButton, 72, icons::kZoom, str::PropertyZoomTip},
    {kNormalViewButton, 88, icons::kNormalView, str::PropertyNormalViewTip},
    {kMaskOnlyButton, 101, icons::kMaskOnly, str::PropertyMaskOnlyTip},
    {kImageOnlyButton, 114, icons::kImageOnly, str::PropertyImageOnlyTip},
};

}  // namespace

PropertyWindow::PropertyWindow(LibraryDocument& document, SettingsFile& settingsFile, const IconResources& icons,
                               QWidget* parent)
    : QWidget(parent, Qt::Tool),
      document_(document),
      settingsFile_(settingsFile),
      keeper_(this)
{
    setWindowTitle(loadString(str::PropertyTitle));
    emptyTitle_ = windowTitle();
    buildControls(icons);
    keeper_.setIcon(icons.icon(icons::kPropertyWindow));
    keeper_.restore(false, settingsFile_, kMainSection, "PrpRect");

    options_.load(settingsFile_);
    picture_->setDisplaySettings(&document_.display());
    updateViewButtons();
    showIcon(nullptr, false);

    connect(&document_, &LibraryDocument::libraryCleared, this, [this] { showIcon(nullptr, false); });
    // An icon that leaves the library, or whose devices are replaced, is not
    // shown any more; the view shows the selected icon again after a step.
    connect(&document_, &LibraryDocument::iconReleased, this, [this](const IconEntry* entry) {
        if (entry == icon_)
            showIcon(nullptr, false);
    });
    connect(&document_, &LibraryDocument::commandStateChanged, this, &PropertyWindow::updateButtons);
    if (parent)
        parent->installEventFilter(this);
}

PropertyWindow::~PropertyWindow()
{
    options_.save(settingsFile_);
}

void PropertyWindow::buildControls(const IconResources& icons)
{
    // A dialog unit is a quarter of the average width of the Latin letters
    // (a Japanese font's own average is that of its wide characters) and an
    // eighth of the line height.
    const QFontMetrics metrics = fontMetrics();
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int unitX = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    const int unitY = metrics.height();
    auto toPixels = [&](const Place& p) {
        return QRect(p.x * unitX / 4, p.y * unitY / 8, p.width * unitX / 4, p.height * unitY / 8);
    };
    // The Japanese layout is the designed one; in another language the list
    // widens until the longest line it may show fits, and the text box,
    // the picture and the window with it.
    int wider = 0;
    if (interfaceLanguage() != Language::Japanese) {
        int widest = 0;
        for (int bitCount : kColourClassBitCounts)
            widest =
                std::max(widest, metrics.horizontalAdvance(QStringLiteral("256 x 256 - ") + colourClassText(bitCount)));
        const int frame = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        const int needed = widest + frame + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + kListTextMargins;
        wider = std::max(0, needed - toPixels(kListPlace).width());
    }
    auto widened = [wider](QRect r, bool move, bool grow) {
        return r.translated(move ? wider : 0, 0).adjusted(0, 0, grow ? wider : 0, 0);
    };
    resize(widened(toPixels(kWindowSize), false, true).size());

    sourceEdit_ = new QLineEdit(this);
    sourceEdit_->setObjectName(controlName(kSourceEdit));
    sourceEdit_->setReadOnly(true);
    sourceEdit_->setGeometry(widened(toPixels(kSourcePlace), false, true));

    list_ = new QListWidget(this);
    list_->setObjectName(controlName(kDeviceList));
    list_->setGeometry(widened(toPixels(kListPlace), false, true));
    connect(list_, &QListWidget::currentRowChanged, this, [this] {
        if (!rebuilding_)
            selectionUpdate();
    });
    // The list's own menu makes the icon's standard sizes, as the main
    // window's edit menu does.
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(list_);
        menu.setObjectName(QStringLiteral("deviceListMenu"));
        QAction* makeSizes = menu.addAction(commandMenuText(cmd::MakeSizes));
        makeSizes->setEnabled(document_.commandEnabled(cmd::MakeSizes));
        if (menu.exec(list_->viewport()->mapToGlobal(at)) == makeSizes)
            document_.makeSizes();
    });

    picture_ = new IconPreview(this);
    picture_->setObjectName(controlName(kDevicePicture));
    picture_->setGeometry(widened(toPixels(kPicturePlace), true, false));
    connect(picture_, &IconPreview::clicked, this, &PropertyWindow::toggleBackground);

    for (size_t i = 0; i < std::size(kButtonLayouts); ++i) {
        const ButtonLayout& layout = kButtonLayouts[i];
        auto* b = new IconButton(this);
        b->setObjectName(controlName(layout.id));
        const QRect at = toPixels({layout.x, 16, 13, 14});
        b->setup(icons.icon(layout.icons.normal), loadString(layout.tooltip), at.width(), at.height());
        b->setHotIcon(icons.icon(layout.icons.hot));
        b->move(at.topLeft());
        b->setFocusPolicy(Qt::NoFocus);
        buttons_[i] = b;
    }
    auto on = [this](int id, void (PropertyWindow::*command)()) {
        connect(button(id), &QAbstractButton::clicked, this, [this, command] {
            list_->setFocus();
            (this->*command)();
        });
    };
    on(kZoomButton, &PropertyWindow::toggleZoom);
    on(kAddDeviceButton, static_cast<void (PropertyWindow::*)()>(&PropertyWindow::addDevice));
    on(kDeleteDeviceButton, &PropertyWindow::deleteDevice);
    on(kOpenBitmapButton, &PropertyWindow::openBitmap);
    on(kCopyDeviceButton, &PropertyWindow::copyDevice);
    on(kPasteDeviceButton, &PropertyWindow::pasteDevice);
    connect(button(kNormalViewButton), &QAbstractButton::clicked, this, [this] { setViewMode(kNormalView); });
    connect(button(kMaskOnlyButton), &QAbstractButton::clicked, this, [this] { setViewMode(kMaskOnlyView); });
    connect(button(kImageOnlyButton), &QAbstractButton::clicked, this, [this] { setViewMode(kImageOnlyView); });

    // The text box widens with the window, the list grows in height, the
    // picture in both; the buttons keep their places.
    keeper_.addAnchor(sourceEdit_, false, false, true, false);
    keeper_.addAnchor(picture_, false, false, true, true);
    keeper_.addAnchor(list_, false, false, false, true);

    // The window's keys come first, whichever control has the focus.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

IconButton* PropertyWindow::button(int id) const
{
    for (size_t i = 0; i < std::size(kButtonLayouts); ++i)
        if (kButtonLayouts[i].id == id)
            return buttons_[i];
    return nullptr;
}

// ---- What is shown ----------------------------------------------------------

void PropertyWindow::showIcon(IconEntry* icon, bool force)
{
    if (force || icon != icon_) {
        icon_ = icon;
        rebuilding_ = true;
        list_->clear();
        if (icon_) {
            sourceEdit_->setText(QString::fromStdString(icon_->source));
            sourceEdit_->setCursorPosition(0);
            setWindowTitle(QString::fromStdString(icon_->name));
            for (const IconDevice& device : icon_->devices)
                list_->addItem(deviceLineText(device));
            list_->setCurrentRow(icon_->current);
        } else {
            sourceEdit_->clear();
            setWindowTitle(emptyTitle_);
        }
        rebuilding_ = false;
    }
    selectionUpdate();
}

const IconDevice* PropertyWindow::shownDevice() const
{
    const int sel = list_->currentRow();
    if (!icon_ || sel < 0 || sel >= icon_->deviceCount())
        return nullptr;
    return &icon_->devices[static_cast<size_t>(sel)];
}

void PropertyWindow::selectionUpdate()
{
    const int sel = list_->currentRow();
    if (icon_ && sel >= 0)
        icon_->current = sel;
    picture_->setDevice(shownDevice());
    updateButtons();
}

void PropertyWindow::updateButtons()
{
    const bool editable = icon_ && !document_.loading();
    const bool device = shownDevice() != nullptr;
    list_->setEnabled(icon_ != nullptr);
    button(kAddDeviceButton)->setEnabled(editable);
    button(kDeleteDeviceButton)->setEnabled(editable && device && list_->count() > 1);
    button(kCopyDeviceButton)->setEnabled(device);
    button(kOpenBitmapButton)->setEnabled(editable && device);
    button(kPasteDeviceButton)->setEnabled(editable && device);
}

void PropertyWindow::updateViewButtons()
{
    const ViewMode mode = viewMode();
    button(kZoomButton)->setChecked(options_.zoom);
    button(kNormalViewButton)->setChecked(mode == kNormalView);
    button(kMaskOnlyButton)->setChecked(mode == kMaskOnlyView);
    button(kImageOnlyButton)->setChecked(mode == kImageOnlyView);
    picture_->setFit(options_.zoom);
    picture_->setDisplayMode(mode.displayMode());
    picture_->setSelected(options_.selectBackground);
}

// ---- Showing and hiding -----------------------------------------------------

void PropertyWindow::togglePane()
{
    if (isVisible()) {
        closePane();
        return;
    }
    document_.general().propertyShown = 1;
    show();
    focusPane();
}

void PropertyWindow::focusPane()
{
    raise();
    activateWindow();
    list_->setFocus();
}

void PropertyWindow::closePane()
{
    document_.general().propertyShown = 0;
    hide();
}

void PropertyWindow::closeEvent(QCloseEvent* event)
{
    document_.general().propertyShown = 0;
    QWidget::closeEvent(event);
}

void PropertyWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    emit visibilityChanged(true);
}

void PropertyWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    emit visibilityChanged(false);
}

// ---- Keys ---------------------------------------------------------------------

bool PropertyWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The window goes and comes back with the main window (minimised, or
    // hidden while an external editor runs) when it is meant to be shown.
    if (watched == parent() && !event->spontaneous()) {
        if (event->type() == QEvent::Hide && isVisible())
            hide();
        else if (event->type() == QEvent::Show && document_.general().propertyShown && !isVisible())
            showAboveWhenExposed(this, parentWidget(), [this] { return document_.general().propertyShown != 0; });
        return false;
    }
    if (event->type() == QEvent::KeyPress && (watched == this || isAncestorOf(qobject_cast<QWidget*>(watched))))
        return handleKey(*static_cast<QKeyEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

bool PropertyWindow::handleKey(const QKeyEvent& key)
{
    const bool ctrl = key.modifiers() & Qt::ControlModifier;
    if (!ctrl) {
        switch (key.key()) {
        case Qt::Key_Tab:
            if (QWidget* owner = parentWidget()) {
                owner->activateWindow();
                if (QWidget* focus = owner->focusWidget())
                    focus->setFocus();
            }
            return true;
        case Qt::Key_Delete:
            list_->setFocus();
            deleteDevice();
            return true;
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            closePane();
            return true;
        default:
            return false;
        }
    }
    std::function<void()> command;
    switch (key.key()) {
    case Qt::Key_B:
        command = [this] { setViewMode(kImageOnlyView); };
        break;
    case Qt::Key_C:
        command = [this] { copyDevice(); };
        break;
    case Qt::Key_F:
        command = [this] { setViewMode(kNormalView); };
        break;
    case Qt::Key_M:
        command = [this] { setViewMode(kMaskOnlyView); };
        break;
    case Qt::Key_N:
        command = [this] { addDevice(); };
        break;
    case Qt::Key_O:
        command = [this] { openBitmap(); };
        break;
    case Qt::Key_V:
        command = [this] { pasteDevice(); };
        break;
    // Ctrl+Z and Ctrl+Y undo and redo here as in the main window; zoom has
    // Ctrl++ (Ctrl+= and Ctrl+; where "+" needs Shift).
    case Qt::Key_Z:
        command = [this, &key] { key.modifiers() & Qt::ShiftModifier ? document_.redo() : document_.undo(); };
        break;
    case Qt::Key_Y:
        command = [this] { document_.redo(); };
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
    case Qt::Key_Semicolon:
        command = [this] { toggleZoom(); };
        break;
    default:
        return false;
    }
    list_->setFocus();
    command();
    return true;
}

// ---- View commands --------------------------------------------------------------

void PropertyWindow::toggleZoom()
{
    options_.zoom = !options_.zoom;
    updateViewButtons();
}

void PropertyWindow::setViewMode(ViewMode mode)
{
    if (!mode.showMask && !mode.showImage)
        return;
    options_.showMask = mode.showMask;
    options_.showImage = mode.showImage;
    updateViewButtons();
}

void PropertyWindow::toggleBackground()
{
    options_.selectBackground = !options_.selectBackground;
    updateViewButtons();
}

// ---- Edits ------------------------------------------------------------------------

int PropertyWindow::iconIndex() const
{
    if (!icon_)
        return -1;
    const IconLibrary& library = document_.library();
    const int selection = document_.selection();
    if (selection >= 0 && selection < library.size() && &library.at(selection) == icon_)
        return selection;
    for (int i = 0; i < library.size(); ++i)
        if (&library.at(i) == icon_)
            return i;
    return -1;
}

void PropertyWindow::edit(const QString& stepName, const std::function<EditOutcome(IconEntry&)>& change)
{
    const int index = iconIndex();
    if (index < 0 || document_.loading())
        return;
    IconEntry work = copyOfDevices(*icon_);
    const EditOutcome outcome = change(work);
    switch (outcome.result) {
    case EditResult::Duplicate:
        showMessage(this, loadString(str::PropertyDuplicateDevice), QMessageBox::Warning);
        return;
    case EditResult::TooLarge:
        showMessage(this, loadString(str::BadIconSize), QMessageBox::Warning);
        return;
    case EditResult::Unchanged:
        return;
    case EditResult::Changed:
        break;
    }
    // A conversion that gave the very same bytes is no step.
    if (sameDevices(work, *icon_))
        return;
    if (!document_.replaceDevices(index, std::move(work.devices), work.current, stepName))
        return;
    // The view shows the selected icon again after every step; this window
    // must show the edited icon even where no view does.
    if (icon_ != &document_.library().at(index))
        showIcon(&document_.library().at(index), true);
}

void PropertyWindow::addDevice()
{
    if (!icon_ || document_.loading())
        return;
    NewIconChoice choice = lastAdd_;
    if (!runAddIconDialog(this, choice))
        return;
    lastAdd_ = choice;
    addDevice(choice);
}

void PropertyWindow::addDevice(const NewIconChoice& choice)
{
    edit(loadString(str::PropertyAddStep),
         [&](IconEntry& work) { return addBlankDevice(work, choice.width, choice.height, choice.bitCount); });
}

void PropertyWindow::deleteDevice()
{
    const int sel = list_->currentRow();
    edit(loadString(str::PropertyDeleteStep), [&](IconEntry& work) { return sigil::deleteDevice(work, sel); });
}

void PropertyWindow::openBitmap()
{
    if (!shownDevice() || document_.loading())
        return;
    FileDialog dialog(this);
    GeneralSettings& general = document_.general();
    if (!dialog.run(true, false, pictureFileFilter(), general.bitmapOpenPath, "bmp"))
        return;
    const std::string path = dialog.path();
    if (path.empty())
        return;
    general.bitmapOpenPath = path;
    openBitmapFile(path);
}

void PropertyWindow::openBitmapFile(const std::string& path)
{
    if (!shownDevice() || document_.loading())
        return;
    IconDevice picture;
    switch (readPictureFile(picture, path, viewMode().automaticTransparency(), document_.display())) {
    case PictureRead::Read:
        placePicture(picture, loadString(str::PropertyOpenBitmapStep));
        break;
    case PictureRead::GifRefused:
        showMessage(this, loadString(str::GifRefused), QMessageBox::Warning);
        break;
    case PictureRead::Unreadable:
        break;
    }
}

void PropertyWindow::copyDevice()
{
    if (const IconDevice* device = shownDevice())
        copyToClipboard(*device, viewMode() == kMaskOnlyView);
}

void PropertyWindow::pasteDevice()
{
    if (!shownDevice() || document_.loading())
        return;
    IconDevice picture;
    if (!pasteFromClipboard(picture, viewMode().automaticTransparency(), document_.display()))
        return;
    placePicture(picture, loadString(str::PropertyPasteStep));
}

void PropertyWindow::placePicture(const IconDevice& picture, const QString& stepName)
{
    const int sel = list_->currentRow();
    const ViewMode mode = viewMode();
    edit(stepName, [&](IconEntry& work) { return sigil::placePicture(work, sel, picture, mode); });
}

}  // namespace sigil
