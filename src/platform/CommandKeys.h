#pragma once
// The keys that run commands: one table that the icon view dispatches its
// keys by and that the shortcut card lists, so the two always agree. Keys
// that move or resize rather than run a command are the view's own.

#include <QString>
#include <span>

namespace sigil {

struct CommandKey {
    int key;  // Qt::Key
    bool ctrl;
    bool shift;
    bool alt;
    int command;
    // False: the frame or the window system takes the key (the close-file
    // accelerator, Alt+F4); the view never sees it.
    bool viewKey;
};

std::span<const CommandKey> commandKeys();

// The command the view runs for a key, 0 for none. A key with Shift that
// has no row of its own runs what it runs without Shift.
int viewCommandForKey(int key, bool ctrl, bool shift);

// The key as the menus and the shortcut card write it: "Ctrl+Delete", "F2".
QString keyName(const CommandKey& key);
// Every key of a command, in table order, joined by "/": "F2/Ctrl+R".
QString commandKeyNames(int command);

}  // namespace sigil
