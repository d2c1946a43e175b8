#pragma once
// The commands that may sit on the toolbar, with the icon and the hot icon
// (shown under the mouse) of each, in the order the toolbar dialog lists
// them. Menus take their icons from the same rows.

#include <array>
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

    static constexpr std::span<const CommandIcon> rows() { return kRows; }

    // The row of `command`, or null when the command has none.
    static constexpr const CommandIcon* find(int command)
    {
        for (const CommandIcon& row : kRows) {
            if (row.command == command)
                return &row;
        }
        return nullptr;
    }

private:
    static constexpr std::array<CommandIcon, kRowCount> kRows{{
        {57665, 202, 203},  // exit
        {32982, 204, 205},  // close file
        {33014, 208, 209},  // recent files (toolbar button only, no menu icon)
        {32771, 214, 215},  // open file
        {32772, 216, 217},  // open folder
        {32980, 218, 219},  // settings
        {32976, 220, 221},  // save library
        {32977, 222, 223},  // save as
        {32978, 224, 225},  // save all as icons
        {32979, 226, 227},  // snap all images
        {32983, 228, 229},  // edit in the external editor
        {32985, 230, 231},  // copy the displayed device
        {32986, 232, 233},  // paste
        {32987, 234, 235},  // add
        {32988, 236, 237},  // delete
        {32989, 238, 239},  // duplicate
        {32990, 240, 241},  // rename
        {32991, 242, 243},  // snap
        {32992, 244, 245},  // save as icon
        {32993, 246, 247},  // delete devices in bulk
        {32994, 248, 249},  // delete identical icons
        {32984, 250, 251},  // show the property window
        {33013, 253, 252},  // shortcut list: the one row whose hot icon has the lower number
        {32995, 254, 255},  // view 16x16
        {32996, 256, 257},  // view 32x32
        {32997, 258, 259},  // view 48x48
        {32998, 260, 261},  // view 72x72
        {32999, 262, 263},  // view 128x128
        {33000, 264, 265},  // other size
        {33001, 266, 267},  // help
        {33002, 268, 269},  // about
    }};
};

}  // namespace sigil
