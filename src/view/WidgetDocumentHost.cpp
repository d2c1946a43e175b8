#include "view/WidgetDocumentHost.h"

#include <QApplication>

#include "ui/FileDialog.h"
#include "ui/FolderChooser.h"
#include "ui/MessageBoxes.h"
#include "view/EditDialogs.h"
#include "view/ExportDialogs.h"

namespace sigil {

DocumentHost::Answer WidgetDocumentHost::ask(const QString& text, bool withCancel)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    switch (showMessage(owner_, text, QMessageBox::Question, buttons)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return withCancel ? Answer::Cancel : Answer::No;
    }
}

void WidgetDocumentHost::warn(const QString& text)
{
    showMessage(owner_, text, QMessageBox::Warning);
}

void WidgetDocumentHost::inform(const QString& text)
{
    showMessage(owner_, text, QMessageBox::Information);
}

bool WidgetDocumentHost::chooseNewIcon(NewIconChoice& choice)
{
    return runAddIconDialog(owner_, choice);
}

bool WidgetDocumentHost::chooseName(std::string& name)
{
    return runRenameDialog(owner_, name);
}

bool WidgetDocumentHost::chooseSizesToMake(std::vector<int>& sizes)
{
    return runMakeSizesDialog(owner_, sizes);
}

bool WidgetDocumentHost::chooseDevicesToDelete(BatchDeleteBoxes& boxes)
{
    return runBatchDeleteDialog(owner_, boxes);
}

void WidgetDocumentHost::setWindowsHidden(bool hidden)
{
    // The top-level windows are hidden while the editor runs; only those
    // that were shown come back.
    QWidget* window = owner_->window();
    if (hidden) {
        hidWindow_ = window->isVisible();
        if (hidWindow_)
            window->hide();
    } else if (hidWindow_) {
        window->show();
        window->activateWindow();
        hidWindow_ = false;
    }
}

std::vector<std::string> WidgetDocumentHost::chooseOpenPaths(const std::string& filter, const std::string& initialPath,
                                                             const std::string& defaultExtension)
{
    FileDialog dialog(owner_);
    std::vector<std::string> paths;
    if (!dialog.run(true, true, filter, initialPath, defaultExtension))
        return paths;
    for (std::string path = dialog.path(); !path.empty(); path = dialog.path())
        paths.push_back(path);
    return paths;
}

std::string WidgetDocumentHost::chooseSavePath(const std::string& filter, const std::string& proposedPath,
                                               const std::string& defaultExtension)
{
    FileDialog dialog(owner_);
    if (!dialog.run(false, false, filter, proposedPath, defaultExtension))
        return {};
    return dialog.path();
}

std::string WidgetDocumentHost::chooseFolder(const QString& title, const std::string& initialPath, bool mustExist)
{
    FolderChooser chooser(settingsFile_, owner_);
    chooser.setTitle(title);
    chooser.setPath(initialPath);
    chooser.setMustExist(mustExist);
    chooser.setIcon(folderChooserIcon_);
    if (chooser.exec() != QDialog::Accepted)
        return {};
    return chooser.path();
}

bool WidgetDocumentHost::chooseSaveAllOptions(SaveAllChoice& choice)
{
    return runSaveOptionsDialog(owner_, choice);
}

bool WidgetDocumentHost::chooseSnapAllOptions(SnapAllChoice& choice)
{
    return runSnapAllDialog(owner_, choice);
}

void WidgetDocumentHost::beginWait()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void WidgetDocumentHost::endWait()
{
    QApplication::restoreOverrideCursor();
}

}  // namespace sigil
