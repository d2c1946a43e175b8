#include "document/ExternalEditor.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>

#include "formats/IconFile.h"
#include "support/IconBytes.h"
#include "support/TempDir.h"

namespace sigil {
namespace {

using Outcome = ExternalEditor::Outcome;

// 5 November 2002, 09:03:07: the file name is NAME_2002115937.ico.
const QDateTime kWhen(QDate(2002, 11, 5), QTime(9, 3, 7));

// The icon handed over, one written with the same byte count but other
// pixels, and one with two devices.
const test::Bytes kOriginal = test::icoFile({test::iconImage(16, 16, 4, 0x11)});
const test::Bytes kSameSize = test::icoFile({test::iconImage(16, 16, 4, 0x22)});
const test::Bytes kTwoDevices = test::icoFile({test::iconImage(16, 16, 4, 0x33), test::iconImage(32, 32, 8, 0x44)});

class ExternalEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(tools_)));
        ASSERT_TRUE(test::writeFile(tools_ + "/new.ico", kTwoDevices));
        ASSERT_TRUE(test::writeFile(tools_ + "/same.ico", kSameSize));
    }

    // An editor script in a folder whose name holds a blank. It logs its
    // arguments one a line, then runs `body` with F the file (the last
    // argument) and NEW, SAME, STAMP, GO and GO2 naming files of the tools
    // folder.
    std::string script(const std::string& name, const std::string& body, bool executable = true)
    {
        const std::string path = tools_ + "/" + name;
        const std::string text = "#!/bin/sh\nT='" + tools_ + "'\nNEW=\"$T/new.ico\" SAME=\"$T/same.ico\" " +
                                 "STAMP=\"$T/stamp\" GO=\"$T/go\" GO2=\"$T/go2\"\n" +
                                 "printf '%s\\n' \"$@\" > \"$T/args\"\nfor F; do :; done\n" + body + "\n";
        EXPECT_TRUE(test::writeFile(path, test::Bytes(text.begin(), text.end())));
        if (executable)
            QFile::setPermissions(QString::fromStdString(path),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        return path;
    }

    QStringList loggedArguments() const
    {
        QFile log(QString::fromStdString(tools_ + "/args"));
        if (!log.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    void touch(const char* name) const { ASSERT_TRUE(test::writeFile(tools_ + "/" + name, {})); }

    static IconEntry icon(const std::string& name)
    {
        IconEntry entry;
        EXPECT_TRUE(readIconBytes(kOriginal, entry));
        entry.name = name;
        entry.source = "/icons/set.icl";
        return entry;
    }

    bool temporaryBaseEmpty() const { return QDir(base()).isEmpty(); }

    test::TempDir scratch_;
    std::string tools_ = scratch_.path() + "/editor tools";
    test::TempDir base_;  // where the cycles make their folders
    QString base() const { return QString::fromStdString(base_.path()); }
};

enum class Editor { Script, ScriptWithArguments, Missing, Empty };

struct Cycle {
    const char* label;
    const char* iconName;
    Editor editor;
    const char* body;
    Outcome outcome;
    int devicesBack;       // of the icon read back, for Changed
    bool watched;          // the unchanged file is kept and watched
    const char* fileName;  // given to the editor; null when it must not run
    bool noDevices = false;
};

void PrintTo(const Cycle& c, std::ostream* os)
{
    *os << c.label;
}

const Cycle kCycles[] = {
    {"SavesAnotherIcon", "folder", Editor::Script, "cat \"$NEW\" > \"$F\"", Outcome::Changed, 2, false,
     "folder_2002115937.ico"},
    // Same size, and the old time stamp put back: only the bytes tell.
    {"SavesWithinTheOldTimeStamp", "folder", Editor::Script,
     "touch -r \"$F\" \"$STAMP\"; cat \"$SAME\" > \"$F\"; touch -r \"$STAMP\" \"$F\"", Outcome::Changed, 1, false,
     "folder_2002115937.ico"},
    {"SavesByRename", "folder", Editor::Script, "cat \"$NEW\" > \"$F.new\"; mv \"$F.new\" \"$F\"", Outcome::Changed, 2,
     false, "folder_2002115937.ico"},
    {"SlashInName", "a/b", Editor::Script, "cat \"$NEW\" > \"$F\"", Outcome::Changed, 2, false, "a_b_2002115937.ico"},
    {"CommandWithArguments", "folder", Editor::ScriptWithArguments, "cat \"$NEW\" > \"$F\"", Outcome::Changed, 2, false,
     "folder_2002115937.ico"},
    {"ExitsWithoutSaving", "folder", Editor::Script, "exit 0", Outcome::Unchanged, 0, true, "folder_2002115937.ico"},
    {"LeavesNoIcon", "folder", Editor::Script, "echo junk > \"$F\"", Outcome::Unchanged, 0, false,
     "folder_2002115937.ico"},
    {"MissingProgram", "folder", Editor::Missing, "", Outcome::NotStarted, 0, false, nullptr},
    {"EmptyEditorPath", "folder", Editor::Empty, "", Outcome::NotStarted, 0, false, nullptr},
    {"IconWithoutDevices", "folder", Editor::Script, "cat \"$NEW\" > \"$F\"", Outcome::NotWritten, 0, false, nullptr,
     true},
};

class ExternalEditorCycle : public ExternalEditorTest, public ::testing::WithParamInterface<Cycle> {};

TEST_P(ExternalEditorCycle, EndsAsExpectedAndLeavesNoFolder)
{
    const Cycle& c = GetParam();
    std::string editorPath;
    switch (c.editor) {
    case Editor::Script:
        editorPath = script("edit icon", c.body);
        break;
    case Editor::ScriptWithArguments:
        editorPath = "sh \"" + script("edit icon", c.body, false) + "\" --flag \"two words\"";
        break;
    case Editor::Missing:
        editorPath = tools_ + "/no such editor --flag";
        break;
    case Editor::Empty:
        break;
    }
    IconEntry original = icon(c.iconName);
    if (c.noDevices)
        original.removeDevice(-1);

    ExternalEditor editor(base());
    const ExternalEditor::Result result = editor.edit(original, editorPath, kWhen);
    EXPECT_EQ(result.outcome, c.outcome);
    ASSERT_EQ(result.edited != nullptr, c.outcome == Outcome::Changed);
    if (result.edited) {
        EXPECT_EQ(result.edited->deviceCount(), c.devicesBack);
        EXPECT_FALSE(result.edited->sameIcon(original));
        EXPECT_EQ(result.edited->name, c.iconName);
        EXPECT_EQ(result.edited->source, "/icons/set.icl");
    }

    const QStringList args = loggedArguments();
    if (c.fileName) {
        QStringList expected;
        if (c.editor == Editor::ScriptWithArguments)
            expected << "--flag"
                     << "two words";
        expected << QDir(editor.lastFolder()).filePath(c.fileName);
        EXPECT_EQ(args, expected);
    } else {
        EXPECT_TRUE(args.isEmpty()) << "the editor ran";
    }

    EXPECT_EQ(editor.watching(), c.watched);
    editor.endWatch();
    EXPECT_FALSE(editor.watching());
    EXPECT_FALSE(editor.lastFolder().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(editor.lastFolder()));
    EXPECT_TRUE(temporaryBaseEmpty());
}

INSTANTIATE_TEST_SUITE_P(All, ExternalEditorCycle, ::testing::ValuesIn(kCycles),
                         [](const auto& info) { return std::string(info.param.label); });

// An editor that hands the file to an instance already running and returns
// at once: the saves come later and are announced one each.
TEST_F(ExternalEditorTest, SavesAfterReturningAreAnnounced)
{
    // The first save keeps a backup and writes the file anew a moment later,
    // so that for a while there is no file to watch. The background saver
    // gives up when the test's folders are gone (a failed test).
    const std::string handOff =
        script("hand off", "( while [ ! -e \"$GO\" ]; do [ -d \"$T\" ] || exit; sleep 0.02; done\n"
                           "  mv \"$F\" \"$F.bak\"; sleep 0.5; cat \"$NEW\" > \"$F\"\n"
                           "  while [ ! -e \"$GO2\" ]; do [ -d \"$T\" ] || exit; sleep 0.02; done\n"
                           "  cat \"$SAME\" > \"$F\" ) >/dev/null 2>&1 &");
    const std::string leaveAlone = script("leave alone", "exit 0");
    const IconEntry first = icon("first");
    const IconEntry second = icon("second");
    QString firstFolder;
    QString secondFolder;
    {
        ExternalEditor editor(base());
        QSignalSpy spy(&editor, &ExternalEditor::editedLater);
        EXPECT_EQ(editor.edit(first, handOff, kWhen).outcome, Outcome::Unchanged);
        ASSERT_TRUE(editor.watching());
        firstFolder = editor.lastFolder();
        const QFileDevice::Permissions mode = QFileInfo(firstFolder).permissions();
        EXPECT_TRUE(mode.testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        EXPECT_EQ(int(mode & 0x0077), 0) << "group or others may look in";

        touch("go");  // backup kept, file written anew
        ASSERT_TRUE(spy.wait(10000));
        touch("go2");  // saved in place
        ASSERT_TRUE(spy.count() > 1 || spy.wait(10000));

        ASSERT_EQ(spy.count(), 2);
        const int devicesBack[] = {2, 1};
        for (int k = 0; k < 2; ++k) {
            EXPECT_EQ(spy.at(k).at(0).value<const IconEntry*>(), &first);
            const auto edited = spy.at(k).at(1).value<std::shared_ptr<IconEntry>>();
            ASSERT_TRUE(edited);
            EXPECT_EQ(edited->deviceCount(), devicesBack[k]);
            EXPECT_FALSE(edited->sameIcon(first));
            EXPECT_EQ(edited->name, "first");
            EXPECT_EQ(edited->source, "/icons/set.icl");
        }

        // The next cycle ends the watch (no third announcement) and its
        // folder; the editor's destruction ends the next watch.
        EXPECT_EQ(editor.edit(second, leaveAlone, kWhen).outcome, Outcome::Unchanged);
        EXPECT_EQ(spy.count(), 2);
        EXPECT_FALSE(QFileInfo::exists(firstFolder));
        secondFolder = editor.lastFolder();
        EXPECT_TRUE(QFileInfo::exists(secondFolder));
    }
    EXPECT_FALSE(QFileInfo::exists(secondFolder));
    EXPECT_TRUE(temporaryBaseEmpty());
}

TEST(ExternalEditorNames, TemporaryFileName)
{
    const QDateTime newYear(QDate(2024, 1, 1), QTime(0, 0, 0));
    EXPECT_EQ(ExternalEditor::temporaryFileName("folder", kWhen), "folder_2002115937.ico");
    EXPECT_EQ(ExternalEditor::temporaryFileName("", newYear), "_202411000.ico");
    EXPECT_EQ(ExternalEditor::temporaryFileName("..", newYear), ".._202411000.ico");
    EXPECT_EQ(ExternalEditor::temporaryFileName("a/b\\c:d*e?f\"g<h>i|j\tk\x7f", newYear),
              "a_b_c_d_e_f_g_h_i_j_k__202411000.ico");
    EXPECT_EQ(ExternalEditor::temporaryFileName("アイコン", newYear), QStringLiteral("アイコン_202411000.ico"));
    // Cut to 255 bytes in whole characters: 3-byte kana leave 240 of the 241 left.
    std::string kana;
    for (int k = 0; k < 100; ++k)
        kana += "ア";
    EXPECT_EQ(ExternalEditor::temporaryFileName(kana, newYear), QString(80, QChar(0x30A2)) + "_202411000.ico");
}

}  // namespace
}  // namespace sigil
