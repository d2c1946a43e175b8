#include "shell/RecentMenu.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QMenu>
#include <QPixmap>
#include <QtConcurrent/QtConcurrentRun>

#include "formats/FirstIcon.h"
#include "formats/LoadJob.h"
#include "platform/FileBytes.h"
#include "platform/StringTable.h"
#include "ui/CommandIds.h"
#include "ui/DisplayImages.h"
#include "ui/IconIds.h"
#include "ui/IconResources.h"

namespace sigil {

namespace {

// The last component of a path; empty for a path that ends in a separator.
QString lastComponent(const std::string& path)
{
    const QString text = toQtPath(path);
    return text.mid(text.lastIndexOf(QLatin1Char('/')) + 1);
}

// Icon files, libraries and programs hold icons; a picture is only turned
// into one when it is opened, so it shows the plain file icon.
bool holdsIcons(const std::string& path)
{
    const std::string ext = lowerExtension(splitPath(path).extension);
    return ext != ".bmp" && ext != ".gif" && ext != ".jpg" && ext != ".jpeg" && ext != ".png";
}

QIcon pairIcon(const IconResources& icons, icons::IconPair pair)
{
    QIcon icon = icons.icon(pair.normal);
    const QIcon hot = icons.icon(pair.hot);
    for (int size : IconResources::kIconSizes)
        icon.addPixmap(hot.pixmap(size, size), QIcon::Active);
    return icon;
}

QIcon itemIcon(const RecentMenuItem& item, const IconResources& icons)
{
    switch (item.kind) {
    case RecentMenuItem::Kind::Folder:
        return pairIcon(icons, icons::kFolder);
    case RecentMenuItem::Kind::File:  // until its own first icon is read
    case RecentMenuItem::Kind::Missing:
        return pairIcon(icons, icons::kMissingFile);
    case RecentMenuItem::Kind::NoData:
        break;
    }
    return {};
}

// Reads the file's first icon on a worker thread, so that a large module or
// a slow disk never holds up the window, and shows it in the entry once it
// is in hand; a file that gives none keeps the missing-file icon. An entry
// gone meanwhile (its menu was rebuilt) drops the answer.
void showFirstIcon(QAction* action, const std::string& path, const std::function<void()>& arrived)
{
    // The watcher belongs to the entry and goes with it.
    auto* watcher = new QFutureWatcher<QImage>(action);
    QObject::connect(watcher, &QFutureWatcher<QImage>::finished, action, [action, watcher, arrived] {
        const QImage image = watcher->result();
        watcher->deleteLater();
        if (image.isNull())
            return;
        action->setIcon(QIcon(QPixmap::fromImage(image)));
        if (arrived)
            arrived();
    });
    watcher->setFuture(QtConcurrent::run([path] {
        const auto entry = readFirstIcon(path);
        return entry ? toQImage(iconImage(*entry, 16)) : QImage();
    }));
}

}  // namespace

std::vector<RecentMenuItem> recentMenuItems(const std::vector<std::string>& paths)
{
    std::vector<RecentMenuItem> items;
    if (paths.empty()) {
        items.push_back({loadString(str::RecentNoData), kNoRecentData, RecentMenuItem::Kind::NoData, {}});
        return items;
    }
    int k = 1;
    for (int n = static_cast<int>(paths.size()) - 1; n >= 0; --n) {
        const std::string& path = paths[static_cast<size_t>(n)];
        const QFileInfo info(toQtPath(path));
        RecentMenuItem item{{}, cmd::RecentFileFirst + n, RecentMenuItem::Kind::File, path};
        if (!info.exists())
            item.kind = RecentMenuItem::Kind::Missing;
        else if (info.isDir())
            item = {{}, cmd::RecentFolderFirst + n, RecentMenuItem::Kind::Folder, path};
        if (item.id > (item.kind == RecentMenuItem::Kind::Folder ? cmd::RecentFolderLast : cmd::RecentFileLast))
            continue;
        item.label = QStringLiteral("&%1 %2").arg(k % 10).arg(lastComponent(path));
        items.push_back(std::move(item));
        ++k;
    }
    return items;
}

QMenu* buildRecentMenu(const std::vector<std::string>& paths, const IconResources& icons, QWidget* parent,
                       const std::function<void()>& iconArrived)
{
    auto* menu = new QMenu(loadString(str::MenuRecent), parent);
    menu->setObjectName(QStringLiteral("recentMenu"));
    menu->setIcon(pairIcon(icons, icons::kRecentMenu));
    for (const RecentMenuItem& item : recentMenuItems(paths)) {
        QAction* action = menu->addAction(itemIcon(item, icons), item.label);
        action->setData(item.id);
        action->setObjectName(QString::number(item.id));
        // "no data" has no handler: shown greyed.
        action->setEnabled(item.kind != RecentMenuItem::Kind::NoData);
        if (item.kind == RecentMenuItem::Kind::File && holdsIcons(item.path))
            showFirstIcon(action, item.path, iconArrived);
    }
    return menu;
}

}  // namespace sigil
