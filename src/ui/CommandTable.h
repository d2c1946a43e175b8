#pragma once
// The command table: one row per command with everything the interface
// shows of it and when it can run. The menus, the toolbar and its dialog,
// the shortcut card, the view's keys and the document's command state all
// read these rows, so adding a command is one row here and the code that
// carries it out (the view's runCommand, or the frame for its own).

#include <QString>
#include <span>
#include <vector>

namespace sigil {

// When a command can run, as a function of the document's state.
enum class EnableRule : unsigned char {
    Always,
    Idle,             // no load is running
    IdleWithIcons,    // idle, and the library holds an icon
    Selected,         // an icon is selected, even while loading
    IdleSelected,     // idle and an icon selected
    EditorReady,      // idle, an icon selected and an external editor chosen
    ClipboardBitmap,  // idle and the clipboard offers a bitmap
    CanUndo,          // idle and a step to undo
    CanRedo,          // idle and a step to redo
};

// Who carries the command out: the view (and through it the document), or
// the main frame (exit, help, about, the toolbar dialog, the card, the
// recent-files button).
enum class Runner : unsigned char { View, Frame };

struct KeyBinding {
    int key = 0;  // Qt::Key; 0: no key
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
    // False: the frame or the window system takes the key (the close-file
    // accelerator, Alt+F4); the view never sees it.
    bool viewKey = true;
    // Named after the menu item's tab and in the tooltip; every key is on
    // the shortcut card.
    bool shown = true;
};

// A text in both interface languages (UTF-8); null when there is none.
struct CommandText {
    const char* ja = nullptr;
    const char* en = nullptr;
};

struct CommandRow {
    int id;
    CommandText menu;     // the menu item, with its mnemonic, without keys
    CommandText context;  // the right-click menu's item where it differs
    CommandText text;     // the status bar's text and the toolbar dialog's
    CommandText tooltip;  // where it differs from the text; keys follow it
    int icon;             // the toolbar's icon pair; 0 when not on the toolbar
    int hotIcon;
    EnableRule enable;
    Runner runner;
    bool checkable;
    bool keysInMenu;  // false: the menu item names no key though it has one
    KeyBinding keys[2];
};

std::span<const CommandRow> commandRows();
// The row of `id`, or null when no command has that number.
const CommandRow* commandRow(int id);

// The command's texts in the interface language. The menu and tooltip texts
// carry the shown keys ("…\tCtrl+O", "… [Ctrl+O]"). For a number that is
// no command, the string table's text of that number ("text\ntooltip").
QString commandText(int id);
QString commandTooltip(int id);
QString commandMenuText(int id);
// The right-click menu's text (the menu text where the row has none).
QString commandContextText(int id);

// One key of one command, as the shortcut card and tests walk them.
struct CommandKey : KeyBinding {
    int command = 0;
};
std::vector<CommandKey> commandKeys();

// The command the view runs for a key, 0 for none. A key with Shift that
// has no row of its own runs what it runs without Shift.
int viewCommandForKey(int key, bool ctrl, bool shift);

// The key as the menus and the shortcut card write it: "Ctrl+Delete", "F2".
QString keyName(const KeyBinding& key);
// The command's shown keys joined by "/": "F2/Ctrl+R"; empty for none.
QString commandKeyText(int id);
// Every key of the command, shown or not, as the shortcut card lists them.
QString commandKeyNames(int id);

}  // namespace sigil
