#pragma once
// The commands that may sit on the toolbar, with the icon and the hot icon
// (shown under the mouse) of each, in the order the toolbar dialog lists
// them: the command table's rows that have a toolbar icon. Menus take their
// icons from the same rows.

#include <span>

namespace sigil {

struct CommandIcon {
    int command;
    int icon;
    int hotIcon;
};

class CommandIconTable {
public:
    static constexpr int kRowCount = 31;

    static std::span<const CommandIcon> rows();
    // The row of `command`, or null when the command has none.
    static const CommandIcon* find(int command);
};

}  // namespace sigil
