// The open and close commands of the library document, and the load job
// they start.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <cerrno>

#include "document/ExternalEditor.h"
#include "document/LibraryDocument.h"
#include "document/LibraryNaming.h"
#include "document/LoadBridge.h"
#include "platform/StringTable.h"
#include "settings/GeneralSettings.h"
#include "ui/CommandIds.h"

namespace sigil {

namespace {

bool pathExists(const std::string& path)
{
    return QFileInfo::exists(QString::fromStdString(path));
}

bool isFolder(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).isDir();
}

// Why a file gave nothing: what the system says when it cannot be opened,
// else that it is empty or holds nothing the readers know.
QString refusalReason(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return systemReasonText(errno);
    struct stat info {};
    const bool empty = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size == 0;
    ::close(fd);
    return loadString(empty ? str::FileIsEmpty : str::FileHasNoIcon);
}

}  // namespace

bool LibraryDocument::queueFile(const std::string& path)
{
    if (!pathExists(path)) {
        control_.refusedFiles.push_back(path);
        return false;
    }
    const bool folder = isFolder(path);
    if (!library_.empty() || !control_.pendingPaths.empty()) {
        if (!modified())
            markModified();
    } else {
        const LibraryName name = nameForFirstPath(path, folder);
        libraryPath_ = name.path;
        modified_ = name.modified;
    }
    general_.addRecent(path, true, folder);
    control_.pendingPaths.push_back(path);
    return true;
}

void LibraryDocument::clearLibrary()
{
    // An editor still watched hands back nothing to the icons that go now.
    if (editor_)
        editor_->endWatch();
    emit libraryCleared();
    undo_.clear();
    library_.removeIcon(-1);
    control_.refusedFiles.clear();  // a stopped job's, never told
    libraryPath_.clear();
    modified_ = false;
    selection_ = -1;
}

void LibraryDocument::startLoader()
{
    if (loading_)
        return;
    // Steps of the library before the load would not fit what it adds.
    resetHistory();
    if (!loader_.start(library_, control_))
        return;
    loading_ = true;
    emit titleChanged();
    emit commandStateChanged();
}

void LibraryDocument::openPath(const std::string& path)
{
    clearLibrary();
    queueFile(path);
    startLoader();
}

void LibraryDocument::stopLoader()
{
    if (!loader_.running())
        return;
    control_.cancelRequested = true;
    control_.stopRequested = true;
    bridge_->releaseWaitingJob();
    loader_.wait();
    // The stopped job's queued notices (its finishedMessage above all) must
    // not reach a job started after it.
    QCoreApplication::removePostedEvents(bridge_, QEvent::MetaCall);
}

bool LibraryDocument::confirmClose()
{
    if (loading_) {
        if (!control_.cancelRequested) {
            if (ask(loadString(str::AskCancelLoad), false) == DocumentHost::Answer::Yes && loading_)
                control_.cancelRequested = true;
            return false;
        }
        // Asked again before the job noticed: stop it now. The icons read so
        // far stay.
        stopLoader();
        loading_ = false;
        control_.pendingPaths.clear();
        modified_ = true;
        control_.cancelRequested = false;
        control_.stopRequested = false;
        emit titleChanged();
        emit commandStateChanged();
        return true;
    }
    if (modified()) {
        const DocumentHost::Answer answer = ask(loadString(str::AskSaveLibrary), true);
        if (answer == DocumentHost::Answer::Cancel)
            return false;
        if (answer == DocumentHost::Answer::Yes)
            return saveLibrary(false);
        return true;
    }
    return true;
}

void LibraryDocument::finishLoad()
{
    // A finishedMessage of a job that was stopped at once arrives after the
    // document has moved on; it has nothing left to finish.
    if (loading_) {
        loader_.wait();
        control_.pendingPaths.clear();
        loading_ = false;
        if (control_.gifRefused) {
            control_.gifRefused = false;
            warn(loadString(str::GifRefused));
        }
        if (control_.cancelRequested) {
            modified_ = true;
            control_.cancelRequested = false;
        }
        control_.stopRequested = false;
    }
    if (library_.empty()) {
        undo_.clear();
        libraryPath_.clear();
        modified_ = false;
        selection_ = -1;
    }
    emit loadFinished();
    emit countChangedMessage();
    emit titleChanged();
    emit commandStateChanged();
    // Read only now that no job writes the list, and told over the window
    // as it now stands.
    reportRefusedFiles();
    // Paths dropped into the library while the job ran start a job of their own.
    if (!loading_ && !deferredPaths_.empty()) {
        std::vector<std::string> paths;
        paths.swap(deferredPaths_);
        dropPaths(paths, true);
    }
}

void LibraryDocument::reportRefusedFiles()
{
    std::vector<std::string> refused;
    refused.swap(control_.refusedFiles);
    if (refused.empty())
        return;
    const QString first = QString::fromStdString(refused.front());
    const QString reason = refusalReason(refused.front());
    if (refused.size() == 1)
        warn(loadString(str::FileNotRead).arg(first, reason));
    else
        warn(loadString(str::FilesNotRead).arg(refused.size()).arg(first, reason));
}

void LibraryDocument::dropPaths(const std::vector<std::string>& paths, bool keepLibrary)
{
    if (!keepLibrary) {
        if (!confirmClose())
            return;
        clearLibrary();
    } else if (loading_) {
        // Never a second job over the running one's list: these paths wait.
        deferredPaths_.insert(deferredPaths_.end(), paths.begin(), paths.end());
        return;
    }
    bool queued = false;
    for (const std::string& path : paths)
        queued = queueFile(path) || queued;
    if (queued)
        startLoader();
    else if (!keepLibrary)
        finishLoad();
    else
        reportRefusedFiles();
}

void LibraryDocument::openFiles()
{
    if (loading_ || !confirmClose() || !host_)
        return;
    const std::vector<std::string> paths =
        host_->chooseOpenPaths(loadString(str::OpenFileFilter).toStdString(), general_.openPath, "icl");
    if (paths.empty())
        return;
    clearLibrary();
    for (const std::string& path : paths)
        queueFile(path);
    startLoader();
}

void LibraryDocument::openFolder()
{
    if (loading_ || !confirmClose() || !host_)
        return;
    const std::string folder = host_->chooseFolder(loadString(str::ChooseOpenFolder), general_.openPath, true);
    if (folder.empty())
        return;
    openPath(folder);
}

void LibraryDocument::openRecent(int commandId)
{
    if (loading_ || !confirmClose())
        return;
    const int index =
        commandId >= cmd::RecentFolderFirst ? commandId - cmd::RecentFolderFirst : commandId - cmd::RecentFileFirst;
    if (index < 0 || index >= static_cast<int>(general_.recentPaths.size()))
        return;
    // A copy: opening moves the entry to the list's end.
    const std::string path = general_.recentPaths[static_cast<size_t>(index)];
    openPath(path);
}

void LibraryDocument::closeLibrary()
{
    if (loading_ || library_.empty() || !confirmClose())
        return;
    selection_ = -1;
    libraryPath_.clear();
    modified_ = false;
    clearLibrary();
    emit loadFinished();
    emit countChangedMessage();
    emit titleChanged();
}

}  // namespace sigil
