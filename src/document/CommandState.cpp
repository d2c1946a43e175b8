// Which commands of the library document can run now, and which are checked.

#include <QClipboard>
#include <QGuiApplication>

#include "document/Clipboard.h"
#include "document/LibraryDocument.h"
#include "model/DisplaySettings.h"
#include "platform/CommandIds.h"
#include "settings/GeneralSettings.h"

namespace sigil {

namespace {

// The clipboard offers a bitmap that paste could take.
bool clipboardHasBitmap()
{
    return offersBitmap(QGuiApplication::clipboard()->mimeData());
}

bool isRecentCommand(int id)
{
    return (id >= cmd::RecentFileFirst && id <= cmd::RecentFileLast) ||
           (id >= cmd::RecentFolderFirst && id <= cmd::RecentFolderLast);
}

}  // namespace

bool LibraryDocument::commandEnabled(int id) const
{
    const bool idle = !loading_;
    const bool hasIcon = !library_.empty();
    const bool selected = hasIcon && hasSelection();
    switch (id) {
    case cmd::OpenFile:
    case cmd::OpenFolder:
    case cmd::Settings:
    case cmd::Add:
        return idle;
    case cmd::SaveLibrary:
    case cmd::SaveAs:
    case cmd::SaveAllAsIcons:
    case cmd::SnapAll:
    case cmd::CloseFile:
    case cmd::BatchDeleteDevices:
    case cmd::DeleteSameIcons:
        return idle && hasIcon;
    case cmd::CopyDevice:
    case cmd::Delete:
    case cmd::Duplicate:
    case cmd::Rename:
    case cmd::Snap:
    case cmd::SaveAsIcon:
        return selected;
    case cmd::MakeSizes:
        return idle && selected;
    case cmd::EditWithEditor:
        return idle && selected && general_.useEditor && !general_.editorPath.empty();
    case cmd::ShowProperty:
        return true;
    case cmd::Paste:
        return idle && clipboardHasBitmap();
    case cmd::Undo:
        return idle && undo_.canUndo();
    case cmd::Redo:
        return idle && undo_.canRedo();
    case cmd::Size16:
    case cmd::Size32:
    case cmd::Size48:
    case cmd::Size72:
    case cmd::Size128:
    case cmd::OtherSize:
        return idle;
    default:
        return isRecentCommand(id) ? idle : true;
    }
}

bool LibraryDocument::commandChecked(int id) const
{
    const int s = display_.iconSize;
    switch (id) {
    case cmd::Size16:
        return s == 16;
    case cmd::Size32:
        return s == 32;
    case cmd::Size48:
        return s == 48;
    case cmd::Size72:
        return s == 72;
    case cmd::Size128:
        return s == 128;
    case cmd::OtherSize:
        return s != 16 && s != 32 && s != 48 && s != 72 && s != 128;
    default:
        return false;
    }
}

}  // namespace sigil
