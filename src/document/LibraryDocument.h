#pragma once
// The library document: the library's name and modified mark, the selected
// icon, the running load job and its control, and the library commands.
// It knows no widget: questions go to its DocumentHost, and what a window
// must show anew is announced by signals.

#include <QObject>
#include <QUndoStack>
#include <string>
#include <vector>

#include "document/DocumentHost.h"
#include "formats/IconFileNames.h"
#include "formats/LoadJob.h"
#include "model/IconLibrary.h"

namespace sigil {

class ExternalEditor;
class LoadBridge;
struct DisplaySettings;
struct GeneralSettings;

class LibraryDocument : public QObject {
    Q_OBJECT
public:
    LibraryDocument(IconLibrary& library, GeneralSettings& general, DisplaySettings& display,
                    QObject* parent = nullptr);
    ~LibraryDocument() override;

    // Without a host every question is answered No and every choice
    // cancelled.
    void setHost(DocumentHost* host) { host_ = host; }

    IconLibrary& library() { return library_; }
    const IconLibrary& library() const { return library_; }
    GeneralSettings& general() { return general_; }
    DisplaySettings& display() { return display_; }
    const std::string& libraryPath() const { return libraryPath_; }
    // Modified: the mark the library had when the undo stack was last clean
    // (opened, saved, loaded), or any step away from that state.
    bool modified() const { return modified_ || !undo_.isClean(); }
    // Every change to the library's content is one step here.
    QUndoStack& undoStack() { return undo_; }
    bool loading() const { return loading_; }
    const LoadControl& loadControl() const { return control_; }

    // The selected icon, -1 for none.
    int selection() const { return selection_; }
    bool hasSelection() const { return selection_ >= 0 && selection_ < library_.size(); }
    // Stores `k`, or -1 when it is no icon of the library; true for an icon.
    bool setSelection(int k);

    QString titleText() const;
    void markModified();

    // ---- Open and close (DocumentOpen.cpp) ----
    // Prepares one path for loading; false when it does not exist.
    bool queueFile(const std::string& path);
    void clearLibrary();
    void startLoader();
    // Waits for a running load job to end, stopping it first.
    void stopLoader();
    void openPath(const std::string& path);
    // The close question: true when the library may be closed.
    bool confirmClose();
    void finishLoad();
    // Adds paths as a drop does (keepLibrary: added to the current library).
    void dropPaths(const std::vector<std::string>& paths, bool keepLibrary);
    // Paths dropped into the library during a load; loaded when it ends.
    const std::vector<std::string>& deferredPaths() const { return deferredPaths_; }
    void openFiles();
    void openFolder();
    void openRecent(int commandId);
    void closeLibrary();

    // ---- Save and export (DocumentSave.cpp) ----
    bool saveLibrary(bool asNew);
    void saveAsIcon();
    // Every icon as its own .ico file in a chosen folder; never overwrites.
    void saveAllAsIcons();

    // ---- Snap (DocumentSnap.cpp) ----
    // The selected icon, as its cell shows it, onto the clipboard.
    void snap();
    // Every icon as one sheet onto the clipboard. `viewPerLine` is the
    // number of cells per line the view shows now, used for columns 0.
    void snapAll(int viewPerLine);

    // ---- Edits (DocumentEdits.cpp) ----
    void addIcon();
    void deleteSelected();
    void duplicateSelected();
    void renameSelected();
    void deleteSameIcons();
    void batchDeleteDevices();
    // Fills the selected icon with the standard sizes chosen (the last
    // choice offered again), each shrunk from its largest image and stored
    // as an .ico stores it; sizes it has as 32-bit images already, and sizes
    // above the largest image, are left out. One step.
    void makeSizes();
    // Gives icon `icon` another set of devices, `current` the one shown, as
    // one step named `text`. False, nothing done, while a load runs or for
    // an index that is no icon.
    bool replaceDevices(int icon, std::vector<IconDevice> devices, int32_t current, const QString& text);
    void undo();
    void redo();
    // Moves the selected icon to `to` and selects it there (Shift with a
    // movement key).
    void moveSelected(int to);
    // Ends a drag of the selected icon released on cell `to` (negative off
    // the grid): a copy goes to `to` (or the end), otherwise the icon moves
    // or, with `swap`, trades places with the icon there.
    void dropSelected(int to, bool copy, bool swap);

    // ---- External editor (DocumentEditor.cpp) ----
    // Hands the selected icon to the editor of the settings and takes it
    // back when the editor changed it.
    void editWithEditor();

    // ---- Clipboard (DocumentClipboard.cpp) ----
    // Copies the device the view draws at the display size.
    void copyDisplayedDevice();
    void paste();

    // ---- What undo steps do to the library ----
    void putIcon(int index, std::unique_ptr<IconEntry> entry);
    std::unique_ptr<IconEntry> takeIcon(int index);
    // Trades the icon's devices (and current device) with the given ones.
    void exchangeDevices(int icon, std::vector<IconDevice>& devices, int32_t& current);
    // After a step: the selection and everything shown follow.
    void stepApplied(int selection);

    // ---- Command state (CommandState.cpp) ----
    bool commandEnabled(int id) const;
    bool commandChecked(int id) const;

signals:
    void titleChanged();
    void countChangedMessage();
    void commandStateChanged();
    // A read icon was appended at `index` (the load job waits meanwhile).
    void iconAdded(int index);
    // A load ended (or a save ended with the library written): the whole
    // window is shown anew and the selection re-applied.
    void loadFinished();
    // Every icon was removed; display images made for them are void.
    void libraryCleared();
    // Icons changed places or were added by an edit.
    void iconsChanged();
    // The icon leaves the library or its devices change: images made for it
    // are void.
    void iconReleased(const IconEntry* entry);
    // The selection was moved by an edit; the view scrolls it into sight.
    void selectionMoved();
    // A long command at work says what it does (for the status bar); an
    // empty text when it is done.
    void statusMessage(const QString& text);

private:
    enum class IconNaming { ByName, Numbered };
    IconFileNaming saveAllNaming(IconNaming naming) const;
    void onAdded(int index);
    // Starts a new history: the current mark becomes the clean state.
    void resetHistory();
    // A new library without a name is called str::Untitled + ".icl".
    void nameUntitled();
    void push(QUndoCommand* step);
    void takeEditedIcon(int index, IconEntry& edited);
    // Tells the user which files gave nothing since the last report, and why.
    void reportRefusedFiles();
    // Removes every icon equal to an earlier one as one step; how many went.
    int removeSameIcons();
    DocumentHost::Answer ask(const QString& text, bool withCancel) const;
    void warn(const QString& text) const;

    IconLibrary& library_;
    GeneralSettings& general_;
    DisplaySettings& display_;
    DocumentHost* host_ = nullptr;
    LoadControl control_;
    LoadBridge* bridge_;
    LoadThread loader_;

    std::string libraryPath_;
    bool modified_ = false;
    bool loading_ = false;
    int selection_ = -1;
    std::vector<std::string> deferredPaths_;
    QUndoStack undo_;
    ExternalEditor* editor_ = nullptr;
};

}  // namespace sigil
