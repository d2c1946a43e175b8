#include "document/LibraryDocument.h"

#include <gtest/gtest.h>

#include <QDir>
#include <cerrno>

#include "platform/StringTable.h"
#include "support/DocumentFixture.h"
#include "support/IconBytes.h"
#include "support/ScriptedHost.h"

namespace sigil {
namespace {

using test::pumpUntil;
using test::ScriptedHost;

class LibraryDocumentTest : public testing::Test {
protected:
    LibraryDocumentTest() { doc.setHost(&host); }

    std::string iconFile(const std::string& name)
    {
        const std::string path = settings.dir.file(name);
        EXPECT_TRUE(test::writeFile(path, test::icoFile({test::iconImage(16, 16, 4)})));
        return path;
    }

    void loadIcons(int n)
    {
        for (int i = 0; i < n; ++i)
            doc.queueFile(iconFile("i0" + std::to_string(i) + ".ico"));
        doc.startLoader();
        ASSERT_TRUE(pumpUntil([this] { return !doc.loading(); }));
    }

    test::SettingsFixture settings;
    IconLibrary library;
    ScriptedHost host;
    LibraryDocument doc{library, settings.general, settings.display};
};

TEST_F(LibraryDocumentTest, OpeningANonIclFileNamesTheLibraryAfterIt)
{
    const std::string tool = settings.dir.file("tool.exe");
    ASSERT_TRUE(test::writeFile(tool, test::Bytes(64, 0)));
    ASSERT_TRUE(doc.queueFile(tool));
    EXPECT_EQ(doc.libraryPath(), "tool.icl");
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(settings.general.recentPaths.back(), tool);
    doc.startLoader();
    EXPECT_EQ(doc.titleText(), QStringLiteral("Sigilscope - tool.icl*<読み込み中>"));
    ASSERT_TRUE(pumpUntil([this] { return !doc.loading(); }));
    // Nothing was read: the library is untitled and clean again.
    EXPECT_EQ(doc.titleText(), QStringLiteral("Sigilscope - 無題"));
    EXPECT_FALSE(doc.modified());
}

TEST_F(LibraryDocumentTest, MissingPathsAreSkippedBeforeTheRecentList)
{
    EXPECT_FALSE(doc.queueFile(settings.dir.file("absent.ico")));
    EXPECT_TRUE(settings.general.recentPaths.empty());
    EXPECT_TRUE(doc.loadControl().pendingPaths.empty());
}

TEST_F(LibraryDocumentTest, FilesThatGiveNothingAreNamedWithTheReason)
{
    const std::string bad = settings.dir.file("bad.ico");
    ASSERT_TRUE(test::writeFile(bad, test::Bytes(40, 0x5a)));
    const std::string empty = settings.dir.file("empty.icl");
    ASSERT_TRUE(test::writeFile(empty, {}));
    const std::string missing = settings.dir.file("gone.ico");
    const std::string folder = settings.dir.file("set");
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
    iconFile("set/good.ico");
    ASSERT_TRUE(test::writeFile(folder + "/a-broken.ico", test::Bytes(10, 1)));
    ASSERT_TRUE(test::writeFile(folder + "/b-broken.png", test::Bytes(10, 1)));
    ASSERT_TRUE(test::writeFile(folder + "/notes.txt", test::Bytes(10, 1)));  // not an icon file: no word
    const struct {
        std::vector<std::string> paths;
        QString message;
    } cases[] = {
        {{bad}, loadString(str::FileNotRead).arg(QString::fromStdString(bad), loadString(str::FileHasNoIcon))},
        {{empty}, loadString(str::FileNotRead).arg(QString::fromStdString(empty), loadString(str::FileIsEmpty))},
        {{missing}, loadString(str::FileNotRead).arg(QString::fromStdString(missing), systemReasonText(ENOENT))},
        {{folder, bad},
         loadString(str::FilesNotRead)
             .arg(3)
             .arg(QString::fromStdString(folder + "/a-broken.ico"), loadString(str::FileHasNoIcon))},
    };
    for (const auto& c : cases) {
        host.warnings.clear();
        doc.dropPaths(c.paths, false);
        ASSERT_TRUE(pumpUntil([this] { return !doc.loading(); }));
        EXPECT_EQ(host.warnings, std::vector<QString>{c.message}) << c.paths.front();
    }
    EXPECT_EQ(library.size(), 1);  // good.ico
}

TEST_F(LibraryDocumentTest, IclFileKeepsItsPathAndIsClean)
{
    const std::string icl = settings.dir.file("set.ICL");
    ASSERT_TRUE(test::writeFile(icl, test::Bytes(10, 0)));
    doc.queueFile(icl);
    EXPECT_EQ(doc.libraryPath(), icl);
    EXPECT_FALSE(doc.modified());
}

TEST_F(LibraryDocumentTest, ConfirmCloseAsksToSaveAModifiedLibrary)
{
    loadIcons(2);
    ASSERT_TRUE(doc.modified());
    host.answers.push_back(DocumentHost::Answer::Cancel);
    EXPECT_FALSE(doc.confirmClose());
    host.answers.push_back(DocumentHost::Answer::No);
    EXPECT_TRUE(doc.confirmClose());
    ASSERT_EQ(host.asked.size(), 2u);
    EXPECT_EQ(host.asked[0], loadString(str::AskSaveLibrary));
}

TEST_F(LibraryDocumentTest, SaveAnswerWritesAnExistingLibraryInPlace)
{
    loadIcons(2);
    // A library whose name is an existing file is saved there without a dialog.
    const std::string target = settings.dir.file("i00.icl");
    host.savePath = target;
    ASSERT_TRUE(doc.saveLibrary(true));
    ASSERT_TRUE(test::writeFile(target, test::Bytes(4, 0)));
    doc.markModified();
    host.savePath.clear();  // a dialog would be cancelled
    host.answers.push_back(DocumentHost::Answer::Yes);
    EXPECT_TRUE(doc.confirmClose());
    EXPECT_FALSE(doc.modified());
    EXPECT_GT(test::readFile(target).size(), 4u);
}

TEST_F(LibraryDocumentTest, ClosingDuringALoadAsksToCancelThenStopsOnTheSecondRequest)
{
    for (const char* name : {"a.ico", "b.ico", "c.ico"})
        doc.queueFile(iconFile(name));
    doc.startLoader();
    ASSERT_TRUE(doc.loading());
    // The job reads ahead, but no events run: nothing is taken yet.
    host.answers.push_back(DocumentHost::Answer::Yes);
    EXPECT_FALSE(doc.confirmClose());
    EXPECT_TRUE(doc.loadControl().cancelRequested);
    EXPECT_TRUE(doc.loading());
    EXPECT_EQ(host.asked.back(), loadString(str::AskCancelLoad));
    // Asked again before the job noticed: it is stopped at once.
    EXPECT_TRUE(doc.confirmClose());
    EXPECT_FALSE(doc.loading());
    EXPECT_EQ(host.asked.size(), 1u);
    // A new job started at once is not ended by the stopped job's notices.
    doc.clearLibrary();
    doc.queueFile(iconFile("d.ico"));
    doc.startLoader();
    ASSERT_TRUE(pumpUntil([this] { return !doc.loading(); }));
    ASSERT_EQ(library.size(), 1);
    EXPECT_EQ(library.at(0).name, "d");
}

TEST_F(LibraryDocumentTest, IconsReadAheadStillArriveOneAtATimeInOrder)
{
    // The job reads ahead of the GUI; each icon is appended and announced
    // alone, and the end of the load comes after the last one.
    std::vector<int> added;
    QObject::connect(&doc, &LibraryDocument::iconAdded, [&](int index) {
        EXPECT_EQ(library.size(), index + 1);
        added.push_back(index);
    });
    bool finishedAfterAll = false;
    QObject::connect(&doc, &LibraryDocument::loadFinished, [&] { finishedAfterAll = library.size() == 30; });
    for (int i = 0; i < 30; ++i)
        doc.queueFile(iconFile("n" + std::to_string(100 + i) + ".ico"));
    doc.startLoader();
    ASSERT_TRUE(pumpUntil([this] { return !doc.loading(); }));
    ASSERT_EQ(added.size(), 30u);
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(added[size_t(i)], i);
        EXPECT_EQ(library.at(i).name, "n" + std::to_string(100 + i));
    }
    EXPECT_TRUE(finishedAfterAll);
}

TEST_F(LibraryDocumentTest, CancelledLoadKeepsWhatWasReadAndIsModified)
{
    const std::string icl = settings.dir.file("set.icl");
    ASSERT_TRUE(test::writeFile(icl, test::Bytes(10, 0)));
    doc.queueFile(icl);  // names the library without marking it
    for (int i = 0; i < 20; ++i)
        doc.queueFile(iconFile("f" + std::to_string(i) + ".ico"));
    // The user cancels as soon as the first icon shows.
    bool asked = false;
    QObject::connect(&doc, &LibraryDocument::countChangedMessage, [&] {
        if (asked || library.empty())
            return;
        asked = true;
        host.answers.push_back(DocumentHost::Answer::Yes);
        EXPECT_FALSE(doc.confirmClose());
    });
    doc.startLoader();
    ASSERT_TRUE(pumpUntil([this] { return !doc.loading(); }));
    EXPECT_TRUE(asked);
    EXPECT_GE(library.size(), 1);
    EXPECT_LT(library.size(), 20);
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(doc.libraryPath(), icl);
    EXPECT_FALSE(doc.loadControl().cancelRequested);
}

TEST_F(LibraryDocumentTest, ACancelBeforeAnythingWasReadLeavesAnUntitledLibrary)
{
    doc.queueFile(iconFile("a.ico"));
    doc.startLoader();
    host.answers.push_back(DocumentHost::Answer::Yes);
    EXPECT_FALSE(doc.confirmClose());
    ASSERT_TRUE(pumpUntil([this] { return !doc.loading(); }));
    if (library.empty()) {
        EXPECT_FALSE(doc.modified());
        EXPECT_TRUE(doc.libraryPath().empty());
    } else {
        EXPECT_TRUE(doc.modified());
    }
}

TEST_F(LibraryDocumentTest, CtrlDropDuringALoadWaitsForTheRunningJob)
{
    doc.queueFile(iconFile("a.ico"));
    doc.startLoader();
    const std::string later = iconFile("b.ico");
    doc.dropPaths({later}, true);
    EXPECT_EQ(doc.deferredPaths().size(), 1u);
    ASSERT_TRUE(pumpUntil([this] { return !doc.loading() && doc.deferredPaths().empty(); }));
    ASSERT_TRUE(pumpUntil([this] { return !doc.loading(); }));
    EXPECT_EQ(library.size(), 2);
    EXPECT_EQ(library.at(1).name, "b");
}

TEST_F(LibraryDocumentTest, CommandEnablingFollowsTheLibraryState)
{
    EXPECT_TRUE(doc.commandEnabled(32771));
    EXPECT_FALSE(doc.commandEnabled(32976));  // nothing to save
    EXPECT_FALSE(doc.commandEnabled(32988));  // nothing selected
    loadIcons(1);
    EXPECT_TRUE(doc.commandEnabled(32976));
    EXPECT_TRUE(doc.commandEnabled(32988));
    EXPECT_FALSE(doc.commandEnabled(32983));  // no editor set
    EXPECT_TRUE(doc.commandChecked(32996));
    settings.display.iconSize = 40;
    EXPECT_TRUE(doc.commandChecked(33000));
    EXPECT_FALSE(doc.commandChecked(32996));
}

TEST_F(LibraryDocumentTest, SaveAsTakesTheHostsPathOrWarnsAndKeepsTheName)
{
    loadIcons(2);
    const std::string name = doc.libraryPath();
    host.savePath = settings.dir.file("no/such/folder/x.icl");
    EXPECT_FALSE(doc.saveLibrary(true));
    EXPECT_EQ(host.warnings, std::vector<QString>{loadString(str::SaveFailed) + "\r\n" + systemReasonText(ENOENT)});
    EXPECT_EQ(doc.libraryPath(), name);
    EXPECT_TRUE(doc.modified());

    host.savePath = settings.dir.file("saved.icl");
    EXPECT_TRUE(doc.saveLibrary(true));
    EXPECT_EQ(doc.libraryPath(), host.savePath);
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(settings.general.recentPaths.back(), host.savePath);
    EXPECT_FALSE(test::readFile(host.savePath).empty());

    host.savePath.clear();  // the user cancels the dialog
    EXPECT_FALSE(doc.saveLibrary(true));
}

}  // namespace
}  // namespace sigil
