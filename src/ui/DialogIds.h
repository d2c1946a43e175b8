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
    kSaveOptionsDialog = 106,
    kSettingsDialog = 107,
    kBatchDeleteDialog = 108,
    kSnapAllDialog = 109,
    kRenameDialog = 110,
    kAddIconDialog = 111,
    kToolbarDialog = 113,
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

// The controls of the library editing dialogs: other size (104), batch
// delete (108), rename (110) and add (111).
enum EditDialogControl {
    kOtherSizeEdit = 1010,
    // Batch delete: five colour boxes, then eight size boxes, in this order.
    kDeleteMonoBox = 1040,
    kDelete16ColourBox = 1041,
    kDelete256ColourBox = 1042,
    kDeleteTrueColourBox = 1043,
    kDeleteXpBox = 1044,
    kDeleteNonSquareBox = 1045,
    kDelete16Box = 1046,
    kDelete24Box = 1047,
    kDelete32Box = 1048,
    kDelete48Box = 1049,
    kDelete64Box = 1050,
    kDelete72Box = 1051,
    kDelete128Box = 1052,
    kRenameEdit = 1062,
    kAddHeightEdit = 1063,
    kAddWidthEdit = 1064,
    kAddMonoRadio = 1065,
    kAdd16ColourRadio = 1066,
    kAdd256ColourRadio = 1067,
    kAddTrueColourRadio = 1068,
    kAddXpRadio = 1069,
};

// The save options (106) and snap-all (109) dialogs.
enum ExportDialogControl {
    kSnapColumnsEdit = 1011,
    kSnapSpacingEdit = 1012,
    kSavePrefixEdit = 1013,
    kSaveDigitsEdit = 1014,
    kSaveByNameRadio = 1015,
    kSaveNumberedRadio = 1016,
};

// The settings dialog (107).
enum SettingsDialogControl {
    kArrangeVerticalRadio = 1017,
    kArrangeHorizontalRadio = 1018,
    kShowGridBox = 1019,
    kGridColorButton = 1020,
    kBackColorButton = 1021,
    kTransparencyColorButton = 1022,
    // Mac import sizes 16x12, 16x16, 32x32, 48x48, 128x128, in this order.
    kMac16x12Box = 1023,
    kMac16x16Box = 1024,
    kMac32x32Box = 1025,
    kMac48x48Box = 1026,
    kMac128x128Box = 1027,
    // Mac import colour classes: mono, 16, 256, 24/32-bit, in this order.
    kMacMonoBox = 1029,
    kMac16ColourBox = 1030,
    kMac256ColourBox = 1031,
    kMacTrueColourBox = 1032,
    kMacFileTypesEdit = 1033,
    kTransparencyBox = 1034,
    kTransparencyTypeList = 1035,
    kSelectColorButton = 1036,
    kUseEditorBox = 1037,
    kEditorPathEdit = 1038,
    kEditorBrowseButton = 1039,
    kXpDisplayBox = 1044,
    // Our own: the interface language list.
    kLanguageList = 1090,
};

// The toolbar dialog (113).
enum ToolbarDialogControl {
    kToolbarRemoveButton = 1003,
    kToolbarSizeList = 1010,
    kToolbarItemsList = 1070,
    kToolbarCommandsList = 1071,
    kToolbarAddButton = 1072,
    kToolbarUpButton = 1073,
    kToolbarDownButton = 1074,
    kToolbarInitialiseButton = 1075,
};

// The main frame's status bar panes.
enum StatusPane { kDescriptionPane = 10, kCountPane = 11, kSizePane = 12 };

inline QString controlName(int id)
{
    return QString::number(id);
}

// Gives a control its number and hands it back.
template <typename W> W* named(W* widget, int id)
{
    widget->setObjectName(controlName(id));
    return widget;
}

}  // namespace sigil
