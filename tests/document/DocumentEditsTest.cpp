#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>

#include "document/LibraryDocument.h"
#include "formats/LibraryWriter.h"
#include "platform/StringTable.h"
#include "support/DeviceMaker.h"
#include "support/DocumentFixture.h"
#include "support/IconBytes.h"
#include "support/ScriptedHost.h"

namespace sigil {
namespace {

struct DeviceShape {
    int w, h, bits;
    uint32_t seed = 0;  // picks the pixels: equal seeds give equal devices
};

class DocumentEditsTest : public testing::Test {
protected:
    DocumentEditsTest() { doc.setHost(&host); }

    // Appends an icon with these devices (as a reader would) and answers its place.
    int addIcon(const std::string& name, const std::vector<DeviceShape>& shapes)
    {
        auto entry = std::make_unique<IconEntry>();
        for (const DeviceShape& s : shapes)
            entry->devices.push_back(test::makeDevice(s.w, s.h, s.bits, [&](int x, int row) {
                return (uint32_t(x * 7 + row * 3) + s.seed) % (s.bits >= 24 ? 0xFFFFFFu : (1u << std::min(s.bits, 16)));
            }));
        entry->name = name;
        entry->current = entry->deviceCount() - 1;
        return library.appendIcon(std::move(entry));
    }

    std::string names() const
    {
        std::string s;
        for (int i = 0; i < library.size(); ++i)
            s += library.at(i).name + " ";
        return s;
    }

    std::string devicesOf(int icon) const
    {
        std::string s;
        for (const IconDevice& d : library.at(icon).devices)
            s += std::to_string(d.width) + "x" + std::to_string(d.height) + "/" + std::to_string(d.bitCount) + " ";
        return s;
    }

    test::Bytes written()
    {
        const std::string path = settings.dir.file("check.icl");
        EXPECT_TRUE(writeLibrary(library, path).ok());
        return test::readFile(path);
    }

    test::SettingsFixture settings;
    IconLibrary library;
    test::ScriptedHost host;
    LibraryDocument doc{library, settings.general, settings.display};
};

TEST_F(DocumentEditsTest, DeleteSelectsTheIconThatTookThePlaceOrTheNewLast)
{
    struct Case {
        int count, selected, expected;
    };
    for (const Case c : {Case{5, 4, 3}, Case{5, 1, 1}, Case{1, 0, -1}}) {
        doc.clearLibrary();
        for (int i = 0; i < c.count; ++i)
            addIcon(std::to_string(i), {{16, 16, 4, uint32_t(i)}});
        doc.setSelection(c.selected);
        doc.deleteSelected();
        EXPECT_EQ(library.size(), c.count - 1);
        EXPECT_EQ(doc.selection(), c.expected) << c.count << " " << c.selected;
        EXPECT_TRUE(doc.modified());
        EXPECT_EQ(library.deviceTotal(), c.count - 1);
    }
}

TEST_F(DocumentEditsTest, DeleteSameIconsKeepsTheFirstOfEachAndReports)
{
    for (const char* name : {"A", "B", "A'", "B'", "A''", "C"})
        addIcon(name, {{16, 16, 4, name[0] == 'A' ? 1u : name[0] == 'B' ? 2u : 3u}, {32, 32, 8, 5}});
    doc.setSelection(5);
    QSignalSpy status(&doc, &LibraryDocument::statusMessage);
    doc.deleteSameIcons();
    ASSERT_EQ(status.count(), 2);  // the work named, then done
    EXPECT_EQ(status.at(0).at(0).toString(), loadString(str::SearchingSameIcons));
    EXPECT_EQ(status.at(1).at(0).toString(), QString());
    EXPECT_EQ(names(), "A B C ");
    EXPECT_EQ(doc.selection(), 2);  // kept within range, not shifted
    EXPECT_EQ(host.information, std::vector<QString>{QStringLiteral("3個のアイコンを削除しました")});
    doc.deleteSameIcons();
    EXPECT_EQ(host.information.back(), loadString(str::NoSameIcons));
    EXPECT_EQ(doc.undoStack().count(), 1);
    // Both runs under the wait cursor, taken down before the message.
    EXPECT_EQ(host.waitsBegun, 2);
    EXPECT_EQ(host.waitsAtMessages, (std::vector<int>{0, 0}));
    EXPECT_EQ(host.waits, 0);
}

// Make sizes adds the sizes chosen that the icon lacks as 32-bit images, up
// to its largest image's size, as one step; the choice is remembered.
TEST_F(DocumentEditsTest, MakeSizesFillsFromTheLargestImageInOneStep)
{
    addIcon("app", {{16, 16, 4}, {32, 32, 32}, {64, 64, 24}});
    doc.setSelection(0);
    host.sizesToMake = std::vector<int>{16, 32, 48, 128};
    doc.makeSizes();
    EXPECT_EQ(devicesOf(0), "16x16/4 16x16/32 32x32/32 48x48/32 64x64/24 ");
    EXPECT_EQ(library.deviceTotal(), 5);
    EXPECT_EQ(library.at(0).current, 4);  // still the 64 x 64 shown before
    EXPECT_EQ(settings.general.makeSizes, (std::vector<int32_t>{16, 32, 48, 128}));
    doc.undoStack().undo();
    EXPECT_EQ(devicesOf(0), "16x16/4 32x32/32 64x64/24 ");
}

TEST_F(DocumentEditsTest, BatchDeleteByClassAndSizeKeepsOneDeviceAnIcon)
{
    struct Case {
        const char* what;
        std::vector<DeviceShape> devices;
        std::vector<int> ticked;
        std::string left;
    };
    const std::vector<Case> cases = {
        {"onlyMono", {{32, 32, 1}}, {0}, "32x32/1 "},
        {"allMatchKeepsTheLast", {{16, 16, 4}, {32, 32, 4}, {48, 48, 4}}, {1}, "48x48/4 "},
        {"oddSize", {{16, 12, 8}, {16, 16, 8}}, {5}, "16x16/8 "},
        {"sixteenBitOnlyBySize", {{16, 16, 16}, {32, 32, 16}}, {0, 1, 2, 3, 4, 8}, "16x16/16 "},
        {"nothingTicked", {{16, 16, 4}, {32, 32, 32}}, {}, "16x16/4 32x32/32 "},
    };
    for (const Case& c : cases) {
        doc.clearLibrary();
        addIcon(c.what, c.devices);
        BatchDeleteBoxes boxes{};
        for (int b : c.ticked)
            boxes[size_t(b)] = true;
        host.deleteBoxes = boxes;
        doc.batchDeleteDevices();
        EXPECT_EQ(devicesOf(0), c.left) << c.what;
        EXPECT_EQ(library.deviceTotal(), library.at(0).deviceCount()) << c.what;
        EXPECT_LT(library.at(0).current, library.at(0).deviceCount()) << c.what;
    }
    EXPECT_EQ(host.waitsBegun, static_cast<int>(cases.size()));
    EXPECT_EQ(host.waits, 0);
}

TEST_F(DocumentEditsTest, AddNamesAnUntitledLibraryAndRefusesNoColourClass)
{
    host.newIcon = NewIconChoice{48, 24, 0};
    doc.addIcon();
    EXPECT_TRUE(library.empty());
    EXPECT_EQ(settings.general.defaultWidth, 48);  // the choice is remembered all the same

    host.newIcon = NewIconChoice{48, 24, 32};
    doc.addIcon();
    ASSERT_EQ(library.size(), 1);
    EXPECT_EQ(devicesOf(0), "48x24/32 ");
    EXPECT_EQ(library.at(0).name, "");
    EXPECT_EQ(doc.libraryPath(), "無題.icl");
    EXPECT_EQ(doc.selection(), 0);
    EXPECT_EQ(doc.titleText(), QStringLiteral("Sigilscope - 無題.icl*"));
}

TEST_F(DocumentEditsTest, RenameTakesTheTextExactlyAndDuplicateCopiesTheIcon)
{
    addIcon("old", {{16, 16, 4}, {32, 32, 8}});
    doc.setSelection(0);
    host.newName = "";
    doc.renameSelected();
    EXPECT_EQ(library.at(0).name, "");
    doc.duplicateSelected();
    ASSERT_EQ(library.size(), 2);
    EXPECT_TRUE(library.at(0).sameIcon(library.at(1)));
    EXPECT_EQ(library.deviceTotal(), 4);
    EXPECT_EQ(doc.selection(), 0);
    host.newName.reset();  // cancelled: no step
    doc.renameSelected();
    EXPECT_EQ(doc.undoStack().count(), 2);
}

TEST_F(DocumentEditsTest, UndoingEveryStepGivesBackTheSameBytes)
{
    for (int i = 0; i < 4; ++i)
        addIcon("i" + std::to_string(i), {{16, 16, 4, uint32_t(i % 2)}, {32, 32, 32, 9}, {24, 20, 8}});
    const test::Bytes before = written();
    ASSERT_FALSE(before.empty());

    doc.setSelection(1);
    host.newIcon = NewIconChoice{32, 32, 8};
    host.newName = "renamed";
    BatchDeleteBoxes boxes{};
    boxes[5] = true;  // the 24 x 20 devices
    host.deleteBoxes = boxes;
    doc.addIcon();
    doc.setSelection(1);
    doc.renameSelected();
    doc.duplicateSelected();
    doc.moveSelected(3);
    doc.dropSelected(0, false, true);
    doc.dropSelected(2, true, false);
    doc.batchDeleteDevices();
    doc.deleteSameIcons();
    doc.deleteSelected();
    const int steps = doc.undoStack().count();
    EXPECT_EQ(steps, 9);
    const test::Bytes after = written();

    for (int i = 0; i < steps; ++i)
        doc.undo();
    EXPECT_EQ(written(), before);
    EXPECT_FALSE(doc.modified());
    for (int i = 0; i < steps; ++i)
        doc.redo();
    EXPECT_EQ(written(), after);
    EXPECT_EQ(library.deviceTotal(), [&] {
        int total = 0;
        for (int i = 0; i < library.size(); ++i)
            total += library.at(i).deviceCount();
        return total;
    }());
}

TEST_F(DocumentEditsTest, TheModifiedMarkFollowsTheStackThroughASave)
{
    addIcon("a", {{16, 16, 4}});
    addIcon("b", {{16, 16, 4, 1}});
    doc.setSelection(0);
    doc.deleteSelected();
    EXPECT_EQ(doc.titleText(), QStringLiteral("Sigilscope - 無題*"));
    host.savePath = settings.dir.file("set.icl");
    ASSERT_TRUE(doc.saveLibrary(true));
    EXPECT_EQ(doc.titleText(), QStringLiteral("Sigilscope - set.icl"));
    doc.undo();  // past the save
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(doc.titleText(), QStringLiteral("Sigilscope - set.icl*"));
    doc.redo();
    EXPECT_FALSE(doc.modified());
    doc.clearLibrary();  // a new library starts a new history
    EXPECT_EQ(doc.undoStack().count(), 0);
}

TEST_F(DocumentEditsTest, CopyAndPasteGoThroughTheClipboard)
{
    addIcon("src", {{16, 16, 4, 3}, {48, 48, 8, 4}});
    doc.setSelection(0);
    settings.display.iconSize = 48;
    doc.copyDisplayedDevice();
    doc.paste();
    ASSERT_EQ(library.size(), 2);
    EXPECT_EQ(library.at(1).name, "");
    EXPECT_EQ(doc.selection(), 1);
    ASSERT_EQ(library.at(1).deviceCount(), 1);
    // The 48 x 48 device the view draws at 48 comes back pixel for pixel.
    const IconDevice& copied = library.at(1).devices[0];
    const IconDevice& original = library.at(0).devices[1];
    ASSERT_EQ(copied.width, 48);
    int differing = 0;
    for (int row = 0; row < 48; ++row)
        for (int x = 0; x < 48; ++x)
            differing += test::pixelAt(copied, x, row) != test::pixelAt(original, x, row);
    EXPECT_EQ(differing, 0);
    doc.undo();
    EXPECT_EQ(library.size(), 1);
}

TEST_F(DocumentEditsTest, AnEditorThatSavesGivesOneStepThatKeepsTheSource)
{
    addIcon("pic", {{16, 16, 4}});
    library.at(0).source = "/from/here.ico";
    doc.setSelection(0);
    const std::string replacement = settings.dir.file("replacement.ico");
    ASSERT_TRUE(test::writeFile(replacement, test::icoFile({test::iconImage(32, 32, 8), test::iconImage(16, 16, 4)})));
    const std::string editor = settings.dir.file("editor.sh");
    const std::string body = "#!/bin/sh\ncp '" + replacement + "' \"$1\"\n";
    ASSERT_TRUE(test::writeFile(editor, test::Bytes(body.begin(), body.end())));
    QFile::setPermissions(QString::fromStdString(editor), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    settings.general.useEditor = 1;
    settings.general.editorPath = editor;

    doc.editWithEditor();
    EXPECT_EQ(host.hiddenCount, 1);
    ASSERT_EQ(library.at(0).deviceCount(), 2);
    EXPECT_EQ(library.deviceTotal(), 2);
    EXPECT_EQ(library.at(0).source, "/from/here.ico");
    EXPECT_EQ(library.at(0).name, "pic");
    EXPECT_TRUE(doc.modified());
    doc.undo();
    EXPECT_EQ(devicesOf(0), "16x16/4 ");
    EXPECT_FALSE(doc.modified());
}

TEST_F(DocumentEditsTest, AnEditorSaveAfterReturningLeavesTheSelectionAlone)
{
    addIcon("a", {{16, 16, 4}});
    addIcon("b", {{16, 16, 4}});
    doc.setSelection(0);
    const std::string replacement = settings.dir.file("replacement.ico");
    ASSERT_TRUE(test::writeFile(replacement, test::icoFile({test::iconImage(32, 32, 8)})));
    // Hands the file to a saver in the background that writes it once "go"
    // exists, and returns at once.
    const std::string go = settings.dir.file("go");
    const std::string editor = settings.dir.file("editor.sh");
    const std::string body = "#!/bin/sh\n( while [ ! -e '" + go + "' ]; do [ -d '" + settings.dir.path() +
                             "' ] || exit; sleep 0.02; done; cat '" + replacement + "' > \"$1\" ) >/dev/null 2>&1 &\n";
    ASSERT_TRUE(test::writeFile(editor, test::Bytes(body.begin(), body.end())));
    QFile::setPermissions(QString::fromStdString(editor), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    settings.general.useEditor = 1;
    settings.general.editorPath = editor;

    doc.editWithEditor();
    doc.setSelection(1);
    ASSERT_TRUE(test::writeFile(go, {}));
    ASSERT_TRUE(test::pumpUntil([&] { return devicesOf(0) == "32x32/8 "; }));
    EXPECT_EQ(doc.selection(), 1);
    EXPECT_EQ(devicesOf(1), "16x16/4 ");
}

}  // namespace
}  // namespace sigil
