#pragma once
// Identifiers of the program's own icon and bitmap resources that are not
// rows of CommandIconTable.

#include <array>
#include <vector>

#include "ui/CommandIconTable.h"

namespace sigil::icons {

constexpr int kApplication = 100;
constexpr int kPropertyWindow = 105;
constexpr int kFolderChooser = 115;
constexpr int kLogoBitmap = 117;  // the about box's 300 x 60 logo
constexpr int kDefaultButton = 118;
constexpr int kStatusDescription = 200;
constexpr int kStatusDisplaySize = 201;

struct IconPair {
    int normal;
    int hot;
};

// Menu icons outside the command table. The recent-files submenu shares
// its pair with the recent-files button of the table.
constexpr IconPair kCustomizeToolbar{206, 207};
constexpr IconPair kRecentMenu{208, 209};
constexpr IconPair kMissingFile{210, 211};
constexpr IconPair kFolder{212, 213};
inline constexpr std::array kOtherMenuIcons{kCustomizeToolbar, kMissingFile, kFolder};

// The property window's buttons.
constexpr IconPair kZoom{280, 281};
constexpr IconPair kMaskOnly{284, 285};
constexpr IconPair kImageOnly{286, 287};
constexpr IconPair kNormalView{283, 282};
constexpr IconPair kAddDevice{270, 271};
constexpr IconPair kDeleteDevice{272, 273};
constexpr IconPair kOpenBitmap{274, 275};
constexpr IconPair kCopyDevice{276, 277};
constexpr IconPair kPasteDevice{278, 279};

inline constexpr std::array kPropertyButtons{kAddDevice, kDeleteDevice, kOpenBitmap, kCopyDevice, kPasteDevice,
                                             kZoom,      kNormalView,   kMaskOnly,   kImageOnly};

// Every normal/hot pair the program shows: the command table's rows, then
// the other menu icons, then the property window's buttons.
inline std::vector<IconPair> allIconPairs()
{
    std::vector<IconPair> pairs;
    for (const CommandIcon& row : CommandIconTable::rows())
        pairs.push_back({row.icon, row.hotIcon});
    pairs.insert(pairs.end(), kOtherMenuIcons.begin(), kOtherMenuIcons.end());
    pairs.insert(pairs.end(), kPropertyButtons.begin(), kPropertyButtons.end());
    return pairs;
}

// An icon resource library may replace the toolbar, menu and status-bar
// icons; window icons and the property window's buttons stay the program's.
constexpr bool replaceableByLibrary(int id)
{
    return id == kDefaultButton || (id >= 200 && id <= 269);
}

}  // namespace sigil::icons
