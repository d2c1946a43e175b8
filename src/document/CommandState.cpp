// Which commands of the library document can run now (by the command
// table's rules), and which are checked.

#include <QClipboard>
#include <QGuiApplication>

#include "document/Clipboard.h"
#include "document/LibraryDocument.h"
#include "model/DisplaySettings.h"
#include "settings/GeneralSettings.h"
#include "ui/CommandIds.h"
#include "ui/CommandTable.h"

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
    const CommandRow* row = commandRow(id);
    if (!row)
        return isRecentCommand(id) ? idle : true;
    const bool selected = !library_.empty() && hasSelection();
    switch (row->enable) {
    case EnableRule::Always:
        return true;
    case EnableRule::Idle:
        return idle;
    case EnableRule::IdleWithIcons:
        return idle && !library_.empty();
    case EnableRule::Selected:
        return selected;
    case EnableRule::IdleSelected:
        return idle && selected;
    case EnableRule::EditorReady:
        return idle && selected && general_.useEditor && !general_.editorPath.empty();
    case EnableRule::ClipboardBitmap:
        return idle && clipboardHasBitmap();
    case EnableRule::CanUndo:
        return idle && undo_.canUndo();
    case EnableRule::CanRedo:
        return idle && undo_.canRedo();
    }
    return false;
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
