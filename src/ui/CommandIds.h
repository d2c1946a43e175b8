#pragma once
// Command identifiers. Menus, the toolbar, the keyboard and the settings
// file's toolbar list all carry these numbers.

namespace sigil::cmd {

enum CommandId : int {
    Separator = 1,  // toolbar list entry
    OpenFile = 32771,
    OpenFolder = 32772,
    RecentFileFirst = 32773,  // 32773..32783: recent files
    RecentFileLast = 32783,
    RecentFolderFirst = 32874,  // 32874..32884: recent folders
    RecentFolderLast = 32884,
    SaveLibrary = 32976,
    SaveAs = 32977,
    SaveAllAsIcons = 32978,
    SnapAll = 32979,
    Settings = 32980,
    CustomizeToolbar = 32981,
    CloseFile = 32982,
    EditWithEditor = 32983,
    ShowProperty = 32984,
    CopyDevice = 32985,
    Paste = 32986,
    Add = 32987,
    Delete = 32988,
    Duplicate = 32989,
    Rename = 32990,
    Snap = 32991,
    SaveAsIcon = 32992,
    BatchDeleteDevices = 32993,
    DeleteSameIcons = 32994,
    Size16 = 32995,
    Size32 = 32996,
    Size48 = 32997,
    Size72 = 32998,
    Size128 = 32999,
    OtherSize = 33000,
    Help = 33001,
    About = 33002,
    ShortcutList = 33013,
    RecentMenu = 33014,
    MakeSizes = 33015,  // our own: standard sizes made from an icon's largest image
    Undo = 57643,       // the framework's edit-undo and edit-redo numbers
    Redo = 57644,
    Exit = 57665,
};

}  // namespace sigil::cmd
