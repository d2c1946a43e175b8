#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include "support/TempDir.h"
#include "support/TextFiles.h"
#include "ui/FileDialog.h"

using namespace sigil;

namespace {

// Answers with scripted paths instead of showing a dialog.
class ScriptedDialog : public FileDialog {
public:
    explicit ScriptedDialog(std::vector<std::string> answer) : answer_(std::move(answer)) {}
    Request asked;
    QStringList messages;
    std::string changeDirectoryTo;

protected:
    std::vector<std::string> choose(const Request& request) override
    {
        asked = request;
        if (!changeDirectoryTo.empty())
            QDir::setCurrent(QString::fromStdString(changeDirectoryTo));
        return answer_;
    }
    void showMessage(const QString& text) override { messages << text; }

private:
    std::vector<std::string> answer_;
};

struct FilterCase {
    const char* label;
    std::string filter;
    QStringList expected;
};

class NameFilters : public testing::TestWithParam<FilterCase> {};

TEST_P(NameFilters, ComeInQtsForm)
{
    EXPECT_EQ(nameFiltersOf(GetParam().filter), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NameFilters,
    testing::Values(
        FilterCase{"TwoPairs", "Icons|*.ico;*.icl|All files|*.*||", {"Icons (*.ico *.icl)", "All files (*.*)"}},
        FilterCase{"PatternsInTheText", "アイコン (*.ico;*.icl)|*.ico;*.icl||", {"アイコン (*.ico *.icl)"}},
        FilterCase{"NoFinalBars", "Bitmap|*.bmp", {"Bitmap (*.bmp)"}},
        FilterCase{"DanglingText", "Bitmap|*.bmp|Odd", {"Bitmap (*.bmp)"}},
        FilterCase{"StopsAtEmptyText", "A|*.a||B|*.b|", {"A (*.a)"}}, FilterCase{"Empty", "", {}}),
    [](const auto& info) { return info.param.label; });

class FileDialogTest : public testing::Test {
protected:
    std::string existing(const std::string& name)
    {
        const std::string path = dir.file(name);
        test::writeTextFile(path, "x");
        return path;
    }
    test::TempDir dir;
};

TEST_F(FileDialogTest, InitialPathOfAnExistingFileIsSplit)
{
    const std::string file = existing("tools.icl");
    const InitialPlace p = initialPlaceOf(file, "ico");
    EXPECT_EQ(p.folder, dir.path() + "/");
    EXPECT_EQ(p.fileName, "tools.icl");
    EXPECT_EQ(p.defaultExtension, "icl");
}

TEST_F(FileDialogTest, InitialPathOfAFolderIsTheStartFolder)
{
    const InitialPlace p = initialPlaceOf(dir.path(), "ico");
    EXPECT_EQ(p.folder, dir.path());
    EXPECT_EQ(p.fileName, "");
    EXPECT_EQ(p.defaultExtension, "ico");
}

TEST_F(FileDialogTest, InitialPathThatDoesNotExistIsSplitToo)
{
    const InitialPlace p = initialPlaceOf("/no/such/README", "ico");
    EXPECT_EQ(p.folder, "/no/such/");
    EXPECT_EQ(p.fileName, "README");
    EXPECT_EQ(p.defaultExtension, "");
    EXPECT_EQ(initialPlaceOf("", "ico").defaultExtension, "ico");
}

TEST_F(FileDialogTest, RequestCarriesModeFiltersAndPlace)
{
    const std::string file = existing("a.ico");
    ScriptedDialog d({file});
    ASSERT_TRUE(d.run(true, false, "Icons|*.ico||", file, "icl"));
    EXPECT_TRUE(d.asked.isOpen);
    EXPECT_FALSE(d.asked.multiSelect);
    EXPECT_EQ(d.asked.nameFilters, QStringList{"Icons (*.ico)"});
    EXPECT_EQ(d.asked.place.fileName, "a.ico");
    EXPECT_EQ(d.path(), file);
    EXPECT_EQ(d.path(), file);
    EXPECT_TRUE(d.messages.isEmpty());
}

TEST_F(FileDialogTest, CancelAnswersFalse)
{
    ScriptedDialog d({});
    EXPECT_FALSE(d.run(true, false, "", "", ""));
    EXPECT_EQ(d.path(), "");
}

TEST_F(FileDialogTest, OpenOfAMissingFileIsRefusedWithAMessage)
{
    ScriptedDialog d({dir.file("gone.ico")});
    EXPECT_FALSE(d.run(true, false, "", "", ""));
    EXPECT_EQ(d.messages, QStringList{"ファイル名が正しくありません"});
    EXPECT_EQ(d.path(), "");
}

TEST_F(FileDialogTest, MultiSelectionWithAMissingFileIsRefusedToo)
{
    ScriptedDialog d({existing("a.ico"), dir.file("gone.ico")});
    EXPECT_FALSE(d.run(true, true, "", "", ""));
    EXPECT_EQ(d.messages, QStringList{"ファイル名が正しくありません"});
    EXPECT_EQ(d.path(), "");
}

// Qt's own dialog, shown; only the message is recorded.
class ShownDialog : public FileDialog {
public:
    QStringList messages;

protected:
    void showMessage(const QString& text) override { messages << text; }
};

// A name that does not exist, typed into Qt's dialog, reaches the program's
// own check instead of Qt's English one.
TEST_F(FileDialogTest, TypedMissingNameGetsTheProgramsMessage)
{
    existing("there.ico");
    QString qtsOwnMessage;
    for (const bool multiSelect : {false, true}) {
        SCOPED_TRACE(multiSelect ? "multiple selection" : "single selection");
        qtsOwnMessage.clear();
        QTimer::singleShot(0, [&] {
            QPointer<QFileDialog> dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(QStringLiteral("gone.ico"));
            // Should Qt warn itself, its box and then the dialog are closed
            // so that the test ends and fails on the message.
            QTimer::singleShot(0, dialog, [&qtsOwnMessage, dialog] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    qtsOwnMessage = box->text();
                    box->reject();
                }
                if (dialog && dialog->isVisible())
                    dialog->reject();
            });
            static_cast<QDialog*>(dialog)->accept();  // as the Open button does
        });
        ShownDialog d;
        EXPECT_FALSE(d.run(true, multiSelect, "Icons|*.ico||", dir.path(), "ico"));
        EXPECT_EQ(qtsOwnMessage, QString());
        EXPECT_EQ(d.messages, QStringList{"ファイル名が正しくありません"});
    }
}

TEST_F(FileDialogTest, SaveToANewFileIsFine)
{
    ScriptedDialog d({dir.file("new.icl")});
    EXPECT_TRUE(d.run(false, false, "", "", "icl"));
    EXPECT_FALSE(d.asked.isOpen);
    EXPECT_EQ(d.path(), dir.file("new.icl"));
    EXPECT_TRUE(d.messages.isEmpty());
}

TEST_F(FileDialogTest, MultiSelectionGivesThePathsOneByOneThenEmpty)
{
    const std::vector<std::string> files = {existing("c.ico"), existing("a.ico"), existing("b.ico")};
    ScriptedDialog d(files);
    ASSERT_TRUE(d.run(true, true, "", "", ""));
    EXPECT_TRUE(d.asked.multiSelect);
    EXPECT_EQ(d.path(), files[0]);
    EXPECT_EQ(d.path(), files[1]);
    EXPECT_EQ(d.path(), files[2]);
    EXPECT_EQ(d.path(), "");
    EXPECT_EQ(d.path(), "");
}

TEST_F(FileDialogTest, CurrentFolderIsRestored)
{
    const QString before = QDir::currentPath();
    ScriptedDialog d({existing("a.ico")});
    d.changeDirectoryTo = dir.path();
    d.run(true, false, "", "", "");
    EXPECT_EQ(QDir::currentPath(), before);
}

}  // namespace
