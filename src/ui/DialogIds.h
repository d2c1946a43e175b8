#pragma once
// Resource numbers of the dialogs and their controls. Each control carries
// its number as its object name (controlName), so tests and callers find it
// with findChild<T>(controlName(id)).

#include <QString>

namespace sigil {

enum StandardControl { kOkButton = 1, kCancelButton = 2 };

enum DialogId {
    kAboutDialog = 102,
    kOtherSizeDialog = 104,
    kFolderChooserDialog = 115,
};

enum FolderChooserControl {
    kFolderPathEdit = 1001,
    kFolderAddButton = 1006,
    kFolderTree = 1008,
    kFolderUpdateButton = 1009,
    kFolderDeleteButton = 1010,
    kFolderFavouriteList = 1020,
};

// The main frame's status bar panes.
enum StatusPane { kDescriptionPane = 10, kCountPane = 11, kSizePane = 12 };

inline QString controlName(int id)
{
    return QString::number(id);
}

}  // namespace sigil
