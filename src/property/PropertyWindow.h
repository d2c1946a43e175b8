#pragma once
// The property window: a small floating window beside the main window that
// lists the selected icon's devices, shows one of them closely (at its own
// size or zoomed, as image, mask or both) and edits the icon's set of
// devices. Every edit is one step on the document's undo stack.

#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "document/DocumentHost.h"
#include "property/DeviceEdits.h"
#include "settings/PropertyWindowSettings.h"
#include "ui/WindowKeeper.h"
#include "view/PropertyPane.h"

class QLineEdit;
class QListWidget;

namespace sigil {

class IconButton;
class IconPreview;
class IconResources;
class LibraryDocument;
class SettingsFile;

// The window's controls by their resource numbers.
enum PropertyControl {
    kZoomButton = 1000,
    kMaskOnlyButton = 1001,
    kAddDeviceButton = 1002,
    kDeleteDeviceButton = 1003,
    kOpenBitmapButton = 1004,
    kCopyDeviceButton = 1005,
    kPasteDeviceButton = 1006,
    kSourceEdit = 1007,
    kDeviceList = 1008,
    kDevicePicture = 1009,
    kImageOnlyButton = 1010,
    kNormalViewButton = 1011,
};

class PropertyWindow : public QWidget, public PropertyPane {
    Q_OBJECT
public:
    // Created hidden; shown with its parent when the settings say it was
    // shown last time.
    PropertyWindow(LibraryDocument& document, SettingsFile& settingsFile, const IconResources& icons,
                   QWidget* parent = nullptr);
    ~PropertyWindow() override;

    // PropertyPane.
    void showIcon(IconEntry* icon, bool force) override;
    bool paneVisible() const override { return isVisible(); }
    void togglePane() override;
    void focusPane() override;

    // The device the picture shows; null for none.
    const IconDevice* shownDevice() const;
    const PropertyWindowSettings& options() const { return options_; }
    ViewMode viewMode() const { return {options_.showMask, options_.showImage}; }

    // The commands of the buttons and keys.
    void toggleZoom();
    void setViewMode(ViewMode mode);
    void toggleBackground();
    // Asks for the new device's size and colours (dialog 111).
    void addDevice();
    void addDevice(const NewIconChoice& choice);
    void deleteDevice();
    // Asks for a picture file, then puts it into the icon.
    void openBitmap();
    void openBitmapFile(const std::string& path);
    void copyDevice();
    void pasteDevice();
    // Hides the window as its close box does; it stays hidden next time.
    void closePane();

signals:
    void visibilityChanged(bool visible);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildControls(const IconResources& icons);
    bool handleKey(const QKeyEvent& key);
    void selectionUpdate();
    void updateButtons();
    void updateViewButtons();
    // The shown icon's place in the library; -1 when none is shown.
    int iconIndex() const;
    // Runs `change` on a copy of the icon's devices and hands a changed set
    // to the document as one step named `stepName`.
    void edit(const QString& stepName, const std::function<EditOutcome(IconEntry&)>& change);
    void placePicture(const IconDevice& picture, const QString& stepName);
    IconButton* button(int id) const;

    LibraryDocument& document_;
    SettingsFile& settingsFile_;
    PropertyWindowSettings options_;
    IconEntry* icon_ = nullptr;
    QString emptyTitle_;
    // The add dialog's values of the last use in this run.
    NewIconChoice lastAdd_{0, 0, 0};
    bool rebuilding_ = false;
    QLineEdit* sourceEdit_ = nullptr;
    QListWidget* list_ = nullptr;
    IconPreview* picture_ = nullptr;
    std::array<IconButton*, 9> buttons_{};
    WindowKeeper keeper_;
};

}  // namespace sigil
