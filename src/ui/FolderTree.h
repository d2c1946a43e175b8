#pragma once
// A tree of the file system's folders, filled as it is expanded. Two top
// items: the home folder and the root "/". Files are never shown; hidden
// folders are.

#include <QTreeWidget>
#include <string>

namespace sigil {

class FolderTree : public QTreeWidget {
public:
    explicit FolderTree(QWidget* parent = nullptr);

    void initialise();
    // Selects the deepest item on the way to `path`; false (selection kept)
    // when the path is not an existing absolute path.
    bool selectPath(const std::string& path);
    // The folder of an item (the current one for null), "" for none.
    std::string pathOf(const QTreeWidgetItem* item = nullptr) const;

private:
    QTreeWidgetItem* addFolder(QTreeWidgetItem* parent, const QString& path, const QString& text);
    // Reads the item's subfolders anew; removes the expand button when it
    // has none.
    void fill(QTreeWidgetItem* item);
    QTreeWidgetItem* childNamed(QTreeWidgetItem* item, const QString& name) const;
};

}  // namespace sigil
