#include "ui/FolderChooser.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

#include "platform/FileBytes.h"
#include "platform/SettingsFile.h"
#include "platform/StringTable.h"
#include "settings/GeneralSettings.h"
#include "ui/DialogIds.h"
#include "ui/FolderTree.h"
#include "ui/MessageBoxes.h"

namespace sigil {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr const char* kRectKey = "FolderRect";
constexpr const char* kPlaceBarPrefix = "path";

// The last component of a folder path; "" for the root.
QString lastComponent(const std::string& path)
{
    QString p = toQtPath(path);
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    if (p == QLatin1String("/"))
        return {};
    return p.mid(p.lastIndexOf(QLatin1Char('/')) + 1);
}

}  // namespace

FolderChooser::FolderChooser(SettingsFile& settings, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      keeper_(this)
{
    buildControls();
}

FolderChooser::~FolderChooser()
{
    // A chooser destroyed without closing (its owner went first) still keeps
    // its favourites.
    if (opened_ && !closed_)
        settings_.writeStringList(kPlaceBarSection, kPlaceBarPrefix, favourites());
}

void FolderChooser::buildControls()
{
    // The designed layout (pixels); the window keeper moves and stretches
    // the controls when the window is resized.
    // Made in the order of the keyboard focus: the path first.
    edit_ = named(new QLineEdit(this), kFolderPathEdit);
    auto* add = named(new QPushButton(loadString(str::FolderAddButton), this), kFolderAddButton);
    updateButton_ = named(new QPushButton(loadString(str::FolderUpdateButton), this), kFolderUpdateButton);
    deleteButton_ = named(new QPushButton(loadString(str::FolderDeleteButton), this), kFolderDeleteButton);
    // The three buttons over the favourites are 40 pixels wide, or as wide
    // as a longer text needs; the left column, and the window, widen with
    // them.
    int buttonsRight = 7;
    for (QPushButton* button : {add, updateButton_, deleteButton_}) {
        const int width = std::max(40, button->fontMetrics().horizontalAdvance(button->text()) + 12);
        button->setGeometry(buttonsRight, 34, width, 22);
        buttonsRight += width + 2;
    }
    const int wider = std::max(0, buttonsRight - 2 - 131);
    resize(300 + wider, 320);
    setMinimumSize(250 + wider, 160);
    setSizeGripEnabled(true);
    edit_->setGeometry(7, 7, 286 + wider, 22);
    favouriteList_ = named(new QListWidget(this), kFolderFavouriteList);
    favouriteList_->setGeometry(7, 60, 124 + wider, 222);
    favouriteList_->setIconSize(QSize(32, 32));
    tree_ = named(new FolderTree(this), kFolderTree);
    tree_->setGeometry(137 + wider, 34, 156, 248);
    auto* ok = named(new QPushButton(loadString(str::ButtonOk), this), kOkButton);
    ok->setGeometry(157 + wider, 290, 66, 24);
    ok->setDefault(true);
    auto* cancel = named(new QPushButton(loadString(str::ButtonCancel), this), kCancelButton);
    cancel->setGeometry(227 + wider, 290, 66, 24);

    connect(ok, &QPushButton::clicked, this, &FolderChooser::accept);
    connect(cancel, &QPushButton::clicked, this, &FolderChooser::reject);
    connect(add, &QPushButton::clicked, this, &FolderChooser::addFavourite);
    connect(updateButton_, &QPushButton::clicked, this, &FolderChooser::updateFavourite);
    connect(deleteButton_, &QPushButton::clicked, this, &FolderChooser::deleteFavourite);
    connect(favouriteList_, &QListWidget::itemSelectionChanged, this, &FolderChooser::favouriteSelected);
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this] {
        readControls();
        showPath(tree_->pathOf());
    });
}

void FolderChooser::showEvent(QShowEvent* event)
{
    if (!opened_)
        open();
    closed_ = false;
    QDialog::showEvent(event);
}

void FolderChooser::open()
{
    opened_ = true;
    keeper_.addAnchor(findChild<QWidget*>(controlName(kOkButton)), true, true, false, false);
    keeper_.addAnchor(findChild<QWidget*>(controlName(kCancelButton)), true, true, false, false);
    keeper_.addAnchor(favouriteList_, false, false, false, true);
    keeper_.addAnchor(edit_, false, false, true, false);
    keeper_.addAnchor(tree_, false, false, true, true);
    keeper_.restore(false, settings_, kMainSection, kRectKey);
    edit_->setText(toQtPath(path_));
    tree_->initialise();
    if (!path_.empty())
        tree_->selectPath(path_);
    for (const std::string& favourite : settings_.readStringList(kPlaceBarSection, kPlaceBarPrefix))
        appendFavourite(favourite, lastComponent(favourite));
    favouriteList_->clearSelection();
    favouriteList_->setCurrentItem(nullptr);
    updateButtons();
}

std::vector<std::string> FolderChooser::favourites() const
{
    std::vector<std::string> paths;
    for (int i = 0; i < favouriteList_->count(); ++i)
        paths.push_back(fromQtPath(favouriteList_->item(i)->data(kPathRole).toString()));
    return paths;
}

void FolderChooser::readControls()
{
    path_ = fromQtPath(edit_->text());
}

void FolderChooser::showPath(const std::string& path)
{
    path_ = path;
    edit_->setText(toQtPath(path));
}

void FolderChooser::appendFavourite(const std::string& path, const QString& name)
{
    auto* item = new QListWidgetItem(style()->standardIcon(QStyle::SP_DirIcon), name, favouriteList_);
    item->setData(kPathRole, toQtPath(path));
    item->setToolTip(toQtPath(path));
}

void FolderChooser::addFavourite()
{
    readControls();
    const QString name = lastComponent(path_);
    if (name.isEmpty())
        return;
    appendFavourite(path_, name);
    favouriteList_->setCurrentRow(favouriteList_->count() - 1);
}

void FolderChooser::updateFavourite()
{
    readControls();
    const QString name = lastComponent(path_);
    if (name.isEmpty())
        return;
    QListWidgetItem* item = favouriteList_->currentItem();
    if (!item || !item->isSelected()) {
        addFavourite();
        return;
    }
    item->setText(name);
    item->setData(kPathRole, toQtPath(path_));
    item->setToolTip(toQtPath(path_));
    favouriteList_->setCurrentItem(item);
}

void FolderChooser::deleteFavourite()
{
    QListWidgetItem* item = favouriteList_->currentItem();
    if (!item || !item->isSelected())
        return;
    const int row = favouriteList_->row(item);
    delete item;
    if (favouriteList_->count() > 0)
        favouriteList_->setCurrentRow(std::min(row, favouriteList_->count() - 1));
    updateButtons();
}

void FolderChooser::favouriteSelected()
{
    updateButtons();
    const QList<QListWidgetItem*> selected = favouriteList_->selectedItems();
    if (!selected.isEmpty())
        tree_->selectPath(fromQtPath(selected.front()->data(kPathRole).toString()));
}

void FolderChooser::updateButtons()
{
    const bool selected = !favouriteList_->selectedItems().isEmpty();
    updateButton_->setEnabled(selected);
    deleteButton_->setEnabled(selected);
}

bool FolderChooser::createFolders(const QString& path)
{
    for (qsizetype slash = path.indexOf(QLatin1Char('/'), 1); slash > 0;
         slash = path.indexOf(QLatin1Char('/'), slash + 1)) {
        const QString level = path.left(slash);
        if (!QFileInfo::exists(level))
            QDir().mkdir(level);
    }
    // A typed trailing "/" names the folder the loop has just made.
    return QDir().mkdir(path) || QFileInfo(path).isDir();
}

void FolderChooser::accept()
{
    readControls();
    const QString path = toQtPath(path_);
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        if (mustExist_) {
            showMessage(loadString(str::FolderBadName));
            edit_->setFocus();
            return;
        }
        if (path.isEmpty() || !createFolders(path)) {
            showMessage(loadString(str::FolderNotCreated));
            return;
        }
        QDialog::accept();
        return;
    }
    // An existing file: the dialog stays open without a word.
    if (!info.isDir())
        return;
    QDialog::accept();
}

void FolderChooser::done(int result)
{
    if (opened_ && !closed_) {
        closed_ = true;
        settings_.writeStringList(kPlaceBarSection, kPlaceBarPrefix, favourites());
    }
    QDialog::done(result);
}

void FolderChooser::showMessage(const QString& text)
{
    sigil::showMessage(this, text, QMessageBox::Warning);
}

}  // namespace sigil
