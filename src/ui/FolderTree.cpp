#include "ui/FolderTree.h"

#include <QHeaderView>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QStyle>

#include "platform/FileBytes.h"

namespace sigil {

namespace {

constexpr int kPathRole = Qt::UserRole;

// Restores the cursor however the walk ends.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

FolderTree::FolderTree(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setUniformRowHeights(true);
    // Deep folders scroll sideways instead of losing their names to "...".
    setTextElideMode(Qt::ElideNone);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { fill(item); });
}

QTreeWidgetItem* FolderTree::addFolder(QTreeWidgetItem* parent, const QString& path, const QString& text)
{
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, text);
    item->setData(0, kPathRole, path);
    item->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
    // Whether there are subfolders is found out on expanding; reading every
    // folder once more just to draw the button would be slow on large trees.
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

void FolderTree::initialise()
{
    clear();
    const QString home = QDir::homePath();
    if (home != QDir::rootPath())
        addFolder(nullptr, home, QDir(home).dirName());
    addFolder(nullptr, QDir::rootPath(), QDir::rootPath());
}

void FolderTree::fill(QTreeWidgetItem* item)
{
    qDeleteAll(item->takeChildren());
    const QDir dir(item->data(0, kPathRole).toString());
    const QFileInfoList subfolders = dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                                                       QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    for (const QFileInfo& info : subfolders) {
        if (!info.fileName().isEmpty())
            addFolder(item, info.absoluteFilePath(), info.fileName());
    }
    if (item->childCount() == 0)
        item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

QTreeWidgetItem* FolderTree::childNamed(QTreeWidgetItem* item, const QString& name) const
{
    for (int i = 0; i < item->childCount(); ++i) {
        if (item->child(i)->text(0) == name)
            return item->child(i);
    }
    return nullptr;
}

std::string FolderTree::pathOf(const QTreeWidgetItem* item) const
{
    if (!item)
        item = currentItem();
    return item ? fromQtPath(item->data(0, kPathRole).toString()) : std::string();
}

bool FolderTree::selectPath(const std::string& path)
{
    const QString wanted = QDir::cleanPath(toQtPath(path));
    const QFileInfo info(wanted);
    if (wanted.isEmpty() || !info.isAbsolute() || !info.exists())
        return false;
    WaitCursor wait;
    // Start from the deepest top item that holds the path (home before "/").
    QTreeWidgetItem* item = nullptr;
    QString start;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        const QString top = topLevelItem(i)->data(0, kPathRole).toString();
        const QString prefix = top.endsWith(QLatin1Char('/')) ? top : top + QLatin1Char('/');
        if ((wanted == top || wanted.startsWith(prefix)) && top.size() > start.size()) {
            item = topLevelItem(i);
            start = top;
        }
    }
    if (!item)
        return false;
    const QStringList names = wanted.mid(start.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& name : names) {
        fill(item);
        {
            // Expanding would read the folder a second time.
            const QSignalBlocker noRefill(this);
            item->setExpanded(true);
        }
        QTreeWidgetItem* child = childNamed(item, name);
        if (!child)
            break;
        item = child;
    }
    setCurrentItem(item);
    scrollToItem(item);
    return true;
}

}  // namespace sigil
