#pragma once
// The recent-files submenu of the File menu: the recent list newest first,
// numbered "&1" .. "&9", "&0", each entry with the command that opens it and
// an icon (a file's own first icon, a folder, or a missing file).

#include <QString>
#include <functional>
#include <string>
#include <vector>

class QMenu;
class QWidget;

namespace sigil {

class IconResources;

// The command of the "no data" entry of an empty list; nothing handles it.
constexpr int kNoRecentData = 32975;

struct RecentMenuItem {
    enum class Kind { File, Folder, Missing, NoData };
    QString label;
    int id;
    Kind kind;
    std::string path;
};

// The items for `paths` (oldest first), newest first; one "no data" item
// when the list is empty. An entry whose command number would fall outside
// the numbers the view opens (a list longer than the menu can number,
// possible only from a hand-made settings file) is left out.
std::vector<RecentMenuItem> recentMenuItems(const std::vector<std::string>& paths);

// A new popup menu "Recent files" (str::MenuRecent) holding those items with their icons.
// A file's own first icon is read on a worker thread and replaces the
// missing-file icon when it arrives; `iconArrived` (if any) is called then.
QMenu* buildRecentMenu(const std::vector<std::string>& paths, const IconResources& icons, QWidget* parent,
                       const std::function<void()>& iconArrived = {});

}  // namespace sigil
