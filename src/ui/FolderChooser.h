#pragma once
// Lets the user pick a folder from a folder tree, by typing its path, or from
// a list of favourite folders that is kept in the settings file. Without
// mustExist, missing folders of the chosen path are created on OK.

#include <QDialog>
#include <string>
#include <vector>

#include "ui/WindowKeeper.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace sigil {

class FolderTree;
class SettingsFile;

class FolderChooser : public QDialog {
public:
    explicit FolderChooser(SettingsFile& settings, QWidget* parent = nullptr);
    ~FolderChooser() override;

    void setTitle(const QString& title) { setWindowTitle(title); }
    void setPath(const std::string& path) { path_ = path; }
    void setMustExist(bool mustExist) { mustExist_ = mustExist; }
    void setIcon(const QIcon& icon) { keeper_.setIcon(icon); }
    // After OK: the chosen folder.
    const std::string& path() const { return path_; }

    // The favourites' full paths, in list order.
    std::vector<std::string> favourites() const;

    void accept() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    // Every message of the dialog goes through here.
    virtual void showMessage(const QString& text);

private:
    void buildControls();
    void open();
    void readControls();
    void showPath(const std::string& path);
    void addFavourite();
    void updateFavourite();
    void deleteFavourite();
    void appendFavourite(const std::string& path, const QString& name);
    void favouriteSelected();
    void updateButtons();
    // Creates the path's missing folders from the top; false when the last
    // one cannot be made.
    static bool createFolders(const QString& path);

    SettingsFile& settings_;
    std::string path_;
    bool mustExist_ = false;
    bool opened_ = false;
    bool closed_ = false;
    QLineEdit* edit_ = nullptr;
    FolderTree* tree_ = nullptr;
    QListWidget* favouriteList_ = nullptr;
    QPushButton* updateButton_ = nullptr;
    QPushButton* deleteButton_ = nullptr;
    WindowKeeper keeper_;
};

}  // namespace sigil
