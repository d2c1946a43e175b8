// The save and export commands of the library document.

#include <QFileInfo>

#include "document/LibraryDocument.h"
#include "formats/IconFile.h"
#include "formats/LibraryWriter.h"
#include "platform/StringTable.h"
#include "settings/GeneralSettings.h"

namespace sigil {

namespace {

// Keeps the wait cursor up while the guard lives.
class WaitGuard {
public:
    explicit WaitGuard(DocumentHost* host) : host_(host)
    {
        if (host_)
            host_->beginWait();
    }
    ~WaitGuard()
    {
        if (host_)
            host_->endWait();
    }
    WaitGuard(const WaitGuard&) = delete;
    WaitGuard& operator=(const WaitGuard&) = delete;

private:
    DocumentHost* host_;
};

}  // namespace

bool LibraryDocument::saveLibrary(bool asNew)
{
    if (loading_ || library_.empty())
        return false;
    WaitGuard wait(host_);
    const QFileInfo current(QString::fromStdString(libraryPath_));
    std::string target;
    bool rename = false;
    if (!asNew && !libraryPath_.empty() && current.exists() && !current.isDir()) {
        target = libraryPath_;
    } else {
        if (host_)
            target = host_->chooseSavePath(loadString(str::SaveLibraryFilter).toStdString(), libraryPath_, "icl");
        if (target.empty())
            return false;
        rename = true;
    }
    if (!writeLibrary(library_, target)) {
        warn(loadString(str::SaveFailed));
        return false;
    }
    if (rename) {
        general_.addRecent(target, true, false);
        libraryPath_ = target;
    }
    modified_ = false;
    undo_.setClean();
    finishLoad();
    return true;
}

void LibraryDocument::saveAsIcon()
{
    if (!hasSelection() || !host_)
        return;
    const IconEntry& icon = library_.at(selection_);
    std::string proposed = general_.openPath;
    if (!proposed.empty() && proposed.back() != '/')
        proposed += '/';
    proposed += icon.name + ".ico";
    const std::string path = host_->chooseSavePath(loadString(str::SaveIconFilter).toStdString(), proposed, "ico");
    if (path.empty())
        return;
    general_.addRecent(path, false, false);
    writeIconFile(icon, path);
}

}  // namespace sigil
