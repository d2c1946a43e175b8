// The save and export commands of the library document.

#include <QFileInfo>

#include "document/LibraryDocument.h"
#include "formats/IconFile.h"
#include "formats/IconFileNames.h"
#include "formats/IconMaker.h"
#include "formats/LibraryWriter.h"
#include "platform/StringTable.h"
#include "settings/GeneralSettings.h"

namespace sigil {

namespace {

// Why an icon file was not written: the system's reason, or, when the
// system was never asked, that the icon could not be encoded.
QString reasonText(const WriteResult& result, const IconEntry& icon)
{
    if (result.error)
        return systemReasonText(result.error);
    if (madeFormatOf(result.path) == MadeFormat::Icns)
        return loadString(str::IconHasNoIcnsSize);
    return loadString(icon.devices.empty() ? str::IconHasNoImage : str::IconDoesNotFitIco);
}

}  // namespace

bool LibraryDocument::saveLibrary(bool asNew)
{
    if (loading_ || library_.empty())
        return false;
    const QFileInfo current(QString::fromStdString(libraryPath_));
    std::string target;
    bool rename = false;
    // A name without a folder ("tool.icl" for a library read from
    // tool.exe) was never saved: writing it would land in whatever folder
    // the program happens to run in, so it is asked for like a new name.
    if (!asNew && current.isAbsolute() && current.exists() && !current.isDir()) {
        target = libraryPath_;
    } else {
        std::string proposed = libraryPath_;
        if (!proposed.empty() && current.isRelative() && !general_.openPath.empty())
            proposed = general_.openPath + (general_.openPath.back() == '/' ? "" : "/") + proposed;
        if (host_)
            target = host_->chooseSavePath(loadString(str::SaveLibraryFilter).toStdString(), proposed, "icl");
        if (target.empty())
            return false;
        rename = true;
    }
    WriteResult result;
    {
        WaitGuard wait(host_);
        result = writeLibrary(library_, target);
    }
    if (result.status == WriteStatus::CannotStore) {
        const int fit = iconsThatFitInLibrary(library_);
        warn(fit < library_.size() ? loadString(str::LibraryTooManyIcons).arg(library_.size()).arg(fit)
                                   : loadString(str::LibraryTooMuchData));
        return false;
    }
    if (result.status == WriteStatus::FileFailed) {
        warn(loadString(str::SaveFailed) + QStringLiteral("\r\n") + systemReasonText(result.error));
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
    // The icon's name as save all would use it: one visible file name.
    proposed += iconFileBaseName(saveAllNaming(IconNaming::ByName), selection_, icon.name) + ".ico";
    const std::string path = host_->chooseSavePath(loadString(str::SaveIconFilter).toStdString(), proposed, "ico");
    if (path.empty())
        return;
    general_.addRecent(path, false, false);
    WriteResult result;
    {
        WaitGuard wait(host_);
        result = madeFormatOf(path) == MadeFormat::Icns ? writeIcnsFile(icon, path) : writeIconFile(icon, path);
    }
    if (!result.ok())
        warn(loadString(str::IconNotSaved).arg(QString::fromStdString(path), reasonText(result, icon)));
}

IconFileNaming LibraryDocument::saveAllNaming(IconNaming naming) const
{
    return {naming == IconNaming::Numbered, general_.savePrefix, general_.saveDigits};
}

void LibraryDocument::saveAllAsIcons()
{
    if (loading_ || library_.empty() || !host_)
        return;
    const std::string folder = host_->chooseFolder(loadString(str::ChooseSaveFolder), general_.openPath, false);
    if (folder.empty())
        return;
    SaveAllChoice choice{general_.saveNaming, general_.savePrefix, general_.saveDigits};
    if (!host_->chooseSaveAllOptions(choice))
        return;
    general_.saveNaming = choice.naming;
    general_.savePrefix = choice.prefix;
    general_.saveDigits = choice.digits;
    general_.addRecent(folder, false, true);

    const IconFileNaming naming = saveAllNaming(choice.naming == 1 ? IconNaming::Numbered : IconNaming::ByName);
    int failed = 0;
    QString firstFailure;
    {
        WaitGuard wait(host_);
        for (int i = 0; i < library_.size(); ++i) {
            const IconEntry& icon = library_.at(i);
            // Each file is new: nothing that stands in the folder, or appears
            // there meanwhile, is replaced. One that fails does not stop the
            // others.
            const WriteResult file = writeNewIconFile(icon, folder, iconFileBaseName(naming, i, icon.name), true);
            if (!file.ok() && failed++ == 0)
                firstFailure = QString::fromStdString(file.path) + "\r\n" + reasonText(file, icon);
        }
    }
    if (failed > 0)
        warn(loadString(str::IconsNotSaved).arg(failed).arg(firstFailure));
}

}  // namespace sigil
