#pragma once
// Answers the document's questions and file choices with the program's
// message boxes, file dialogs and folder chooser, owned by a widget.

#include <QIcon>

#include "document/DocumentHost.h"

class QWidget;

namespace sigil {

class SettingsFile;

class WidgetDocumentHost : public DocumentHost {
public:
    WidgetDocumentHost(QWidget* owner, SettingsFile& settingsFile) : owner_(owner), settingsFile_(settingsFile) {}

    // The window icon of the folder chooser.
    void setFolderChooserIcon(const QIcon& icon) { folderChooserIcon_ = icon; }

    Answer ask(const QString& text, bool withCancel) override;
    void warn(const QString& text) override;
    void inform(const QString& text) override;
    bool chooseNewIcon(NewIconChoice& choice) override;
    bool chooseName(std::string& name) override;
    bool chooseDevicesToDelete(BatchDeleteBoxes& boxes) override;
    bool chooseSizesToMake(std::vector<int>& sizes) override;
    void setWindowsHidden(bool hidden) override;
    std::vector<std::string> chooseOpenPaths(const std::string& filter, const std::string& initialPath,
                                             const std::string& defaultExtension) override;
    std::string chooseSavePath(const std::string& filter, const std::string& proposedPath,
                               const std::string& defaultExtension) override;
    std::string chooseFolder(const QString& title, const std::string& initialPath, bool mustExist) override;
    bool chooseSaveAllOptions(SaveAllChoice& choice) override;
    bool chooseSnapAllOptions(SnapAllChoice& choice) override;
    void beginWait() override;
    void endWait() override;

private:
    QWidget* owner_;
    SettingsFile& settingsFile_;
    QIcon folderChooserIcon_;
    bool hidWindow_ = false;
};

}  // namespace sigil
