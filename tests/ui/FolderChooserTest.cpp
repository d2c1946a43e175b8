#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "support/TempDir.h"
#include "support/TextFiles.h"
#include "ui/DialogIds.h"
#include "ui/FolderChooser.h"
#include "ui/FolderTree.h"

using namespace sigil;
using sigil::test::readTextFile;
using sigil::test::writeTextFile;

namespace {

class RecordingChooser : public FolderChooser {
public:
    using FolderChooser::FolderChooser;
    QStringList messages;

protected:
    void showMessage(const QString& text) override { messages << text; }
};

class FolderChooserTest : public testing::Test {
protected:
    void SetUp() override { settings.setPath(dir.file("Tamberly.ini")); }

    // A chooser opened on `path`; the test keeps it for its whole run.
    RecordingChooser& opened(const std::string& path, bool mustExist)
    {
        chooser = std::make_unique<RecordingChooser>(settings);
        chooser->setTitle("保存先フォルダを選択");
        chooser->setPath(path);
        chooser->setMustExist(mustExist);
        chooser->show();
        return *chooser;
    }
    void click(int id) { chooser->findChild<QPushButton*>(controlName(id))->click(); }
    QLineEdit* edit() { return chooser->findChild<QLineEdit*>(controlName(kFolderPathEdit)); }
    QListWidget* list() { return chooser->findChild<QListWidget*>(controlName(kFolderFavouriteList)); }
    void type(const std::string& path) { edit()->setText(QString::fromStdString(path)); }
    bool exists(const std::string& path) { return QFileInfo(QString::fromStdString(path)).isDir(); }

    test::TempDir dir;
    SettingsFile settings;
    std::unique_ptr<RecordingChooser> chooser;
};

TEST_F(FolderChooserTest, TwoMissingLevelsAreCreatedAndTheDialogCloses)
{
    RecordingChooser& c = opened(dir.path(), false);
    type(dir.path() + "/one/two");
    click(kOkButton);
    EXPECT_TRUE(exists(dir.path() + "/one/two"));
    EXPECT_TRUE(c.messages.isEmpty());
    EXPECT_FALSE(c.isVisible());
    EXPECT_EQ(c.result(), QDialog::Accepted);
    EXPECT_EQ(c.path(), dir.path() + "/one/two");
}

TEST_F(FolderChooserTest, TrailingSeparatorStillCreatesAndCloses)
{
    RecordingChooser& c = opened("", false);
    type(dir.path() + "/new/");
    click(kOkButton);
    EXPECT_TRUE(exists(dir.path() + "/new"));
    EXPECT_TRUE(c.messages.isEmpty());
    EXPECT_EQ(c.result(), QDialog::Accepted);
}

TEST_F(FolderChooserTest, FolderThatCannotBeCreatedKeepsTheDialogOpen)
{
    writeTextFile(dir.file("file"), "x");
    RecordingChooser& c = opened("", false);
    type(dir.file("file") + "/sub");
    click(kOkButton);
    EXPECT_EQ(c.messages, QStringList{"新規フォルダの生成に失敗しました"});
    EXPECT_TRUE(c.isVisible());
}

TEST_F(FolderChooserTest, MissingPathWhenItMustExistShowsTheMessageAndStaysOpen)
{
    RecordingChooser& c = opened(dir.path(), true);
    type(dir.path() + "/missing");
    click(kOkButton);
    EXPECT_EQ(c.messages, QStringList{"無効なファイル名です。確認してください"});
    EXPECT_TRUE(c.isVisible());
    EXPECT_EQ(c.focusWidget(), edit());
    EXPECT_FALSE(exists(dir.path() + "/missing"));
}

TEST_F(FolderChooserTest, ExistingFileDoesNothing)
{
    writeTextFile(dir.file("plain.txt"), "x");
    RecordingChooser& c = opened(dir.path(), false);
    type(dir.file("plain.txt"));
    click(kOkButton);
    EXPECT_TRUE(c.messages.isEmpty());
    EXPECT_TRUE(c.isVisible());
}

TEST_F(FolderChooserTest, ExistingFolderCloses)
{
    RecordingChooser& c = opened(dir.path(), true);
    EXPECT_EQ(edit()->text().toStdString(), dir.path());
    click(kOkButton);
    EXPECT_EQ(c.result(), QDialog::Accepted);
    EXPECT_EQ(c.path(), dir.path());
}

TEST_F(FolderChooserTest, TreeSelectionShowsItsPath)
{
    QDir().mkpath(QString::fromStdString(dir.path() + "/a/b"));
    opened(dir.path(), true);
    auto* tree = chooser->findChild<FolderTree*>(controlName(kFolderTree));
    ASSERT_TRUE(tree->selectPath(dir.path() + "/a/b/"));
    EXPECT_EQ(tree->pathOf(), dir.path() + "/a/b");
    EXPECT_EQ(edit()->text().toStdString(), dir.path() + "/a/b");
    EXPECT_FALSE(tree->selectPath(dir.path() + "/a/nothing"));
    EXPECT_EQ(tree->pathOf(), dir.path() + "/a/b");
}

TEST_F(FolderChooserTest, RootCannotBeAFavouriteButAFolderTwiceGivesTwoEntries)
{
    RecordingChooser& c = opened(dir.path(), true);
    type("/");
    click(kFolderAddButton);
    EXPECT_EQ(list()->count(), 0);
    type(dir.path());
    click(kFolderAddButton);
    click(kFolderAddButton);
    ASSERT_EQ(list()->count(), 2);
    EXPECT_EQ(list()->item(1)->text(), QDir(QString::fromStdString(dir.path())).dirName());
    EXPECT_EQ(c.favourites(), (std::vector<std::string>{dir.path(), dir.path()}));
    EXPECT_EQ(list()->currentRow(), 1);
}

TEST_F(FolderChooserTest, UpdateAndDeleteWorkOnTheSelectedFavourite)
{
    QDir().mkpath(QString::fromStdString(dir.path() + "/x"));
    QDir().mkpath(QString::fromStdString(dir.path() + "/y"));
    RecordingChooser& c = opened(dir.path(), true);
    auto* update = c.findChild<QPushButton*>(controlName(kFolderUpdateButton));
    EXPECT_FALSE(update->isEnabled());
    type(dir.path() + "/x");
    click(kFolderAddButton);
    click(kFolderAddButton);
    EXPECT_TRUE(update->isEnabled());
    type(dir.path() + "/y");
    click(kFolderUpdateButton);
    EXPECT_EQ(c.favourites(), (std::vector<std::string>{dir.path() + "/x", dir.path() + "/y"}));
    list()->setCurrentRow(0);
    click(kFolderDeleteButton);
    EXPECT_EQ(c.favourites(), (std::vector<std::string>{dir.path() + "/y"}));
    EXPECT_EQ(list()->currentRow(), 0);
    click(kFolderDeleteButton);
    EXPECT_TRUE(c.favourites().empty());
    EXPECT_FALSE(update->isEnabled());
}

TEST_F(FolderChooserTest, CancelStillSavesFavouritesAndRectangle)
{
    writeTextFile(dir.file("Tamberly.ini"), "[PlaceBar]\npath0=/usr\npath1=\n");
    RecordingChooser& c = opened(dir.path(), true);
    ASSERT_EQ(c.favourites(), (std::vector<std::string>{"/usr"}));
    EXPECT_EQ(list()->item(0)->text(), "usr");
    EXPECT_TRUE(list()->selectedItems().isEmpty());
    type(dir.path());
    click(kFolderAddButton);
    c.resize(420, 380);
    const QRect shown = c.geometry();
    click(kCancelButton);
    EXPECT_EQ(c.result(), QDialog::Rejected);
    EXPECT_EQ(settings.readStringList("PlaceBar", "path"), (std::vector<std::string>{"/usr", dir.path()}));
    const SettingsRect saved = settings.readRect("Sigilscope", "FolderRect", {});
    EXPECT_EQ(saved, (SettingsRect{shown.x(), shown.y(), shown.x() + 420, shown.y() + 380}));
}

TEST_F(FolderChooserTest, RectangleIsRestoredAndControlsFollowTheSize)
{
    writeTextFile(dir.file("Tamberly.ini"), "[Sigilscope]\nFolderRect=10,20,400,360\n");
    RecordingChooser& c = opened(dir.path(), true);
    EXPECT_EQ(c.geometry(), QRect(10, 20, 400, 360));
    // Designed at 300 x 320: OK keeps its distances to the right and bottom.
    auto* ok = c.findChild<QPushButton*>(controlName(kOkButton));
    EXPECT_EQ(ok->geometry(), QRect(157 + 100, 290 + 40, 66, 24));
    EXPECT_EQ(edit()->width(), 286 + 100);
    EXPECT_EQ(list()->height(), 222 + 40);
    EXPECT_EQ(list()->width(), 124);
}

TEST_F(FolderChooserTest, CannotBeMadeSmallerThanItsMinimum)
{
    RecordingChooser& c = opened(dir.path(), true);
    c.resize(100, 100);
    EXPECT_EQ(c.size(), QSize(250, 160));
}

}  // namespace
