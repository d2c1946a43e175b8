#pragma once
// Dialog and control identifiers. Dialogs carry their number as object
// name, controls theirs, so that tests and style sheets can find them.

namespace sigil::dlg {

enum DialogId : int {
    About = 102,
    OtherSize = 104,
    Property = 105,
    SaveOptions = 106,
    AddIcon = 111,
    Toolbar = 113,
    FolderChooser = 115,
};

// Status bar panes of the main frame.
enum StatusPane : int {
    PaneDescription = 10,
    PaneCount = 11,
    PaneSize = 12,
};

}  // namespace sigil::dlg
