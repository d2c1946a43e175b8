// Every writer of a user's file answers a file it cannot write with the
// system's reason, and damages nothing that stood there.

#include <gtest/gtest.h>

#include <QDir>
#include <cerrno>
#include <cstring>
#include <functional>

#include "formats/IconFile.h"
#include "formats/IconMaker.h"
#include "formats/LibraryWriter.h"
#include "platform/NewFile.h"
#include "platform/SafeFileWriter.h"
#include "support/FileSizeLimit.h"
#include "support/IconBytes.h"
#include "support/TempDir.h"

using namespace sigil;
using namespace sigil::test;

namespace {

IconEntry icon16()
{
    IconEntry icon;
    icon.addDevice(16, 16, 32);
    return icon;
}

struct WriterCase {
    const char* name;
    const char* file;  // the name each writer is given in its folder
    bool replaces;     // writes over a file that stands at the path, else only makes new ones
    std::function<WriteResult(const std::string& folder)> write;
};

const Bytes kContent(200, 0x5A);

const WriterCase kWriters[] = {
    {"Library", "x.icl", true,
     [](const std::string& folder) {
         IconLibrary library;
         library.appendIcon(std::make_unique<IconEntry>(icon16()));
         return writeLibrary(library, folder + "/x.icl");
     }},
    {"Ico", "x.ico", true, [](const std::string& folder) { return writeIconFile(icon16(), folder + "/x.ico"); }},
    {"Icns", "x.icns", true, [](const std::string& folder) { return writeIcnsFile(icon16(), folder + "/x.icns"); }},
    {"WholeFile", "x.bin", true, [](const std::string& folder) { return writeWholeFile(folder + "/x.bin", kContent); }},
    {"NewIco", "x.ico", false,
     [](const std::string& folder) { return writeNewIconFile(icon16(), folder, "x", false); }},
    {"NewFile", "x.bin", false,
     [](const std::string& folder) {
         const ByteView piece(kContent);
         return writeNewFile(folder + "/x.bin", {&piece, 1});
     }},
};

size_t entriesIn(const TempDir& dir)
{
    return size_t(QDir(QString::fromStdString(dir.path())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size());
}

void expectFailed(const WriteResult& result, int error, const std::string& path)
{
    EXPECT_EQ(result.status, WriteStatus::FileFailed);
    EXPECT_EQ(result.error, error);
    EXPECT_EQ(result.reason, std::strerror(error));
    EXPECT_EQ(result.path, path);
}

TEST(WriterFailure, EachWriterTellsTheSystemsReasonAndDamagesNothing)
{
    const Bytes old = {'o', 'l', 'd'};
    for (const WriterCase& c : kWriters) {
        SCOPED_TRACE(c.name);
        // A regular file taken for a folder refuses everyone, root too.
        TempDir dir;
        const std::string plain = dir.file("plain");
        ASSERT_TRUE(writeFile(plain, old));
        expectFailed(c.write(plain), ENOTDIR, plain + "/" + c.file);
        EXPECT_EQ(readFile(plain), old);

        // A write cut short: the old file, if the writer replaces one, stays
        // as it was; otherwise no part of the new file is left.
        TempDir other;
        const std::string path = other.file(c.file);
        if (c.replaces) {
            ASSERT_TRUE(writeFile(path, old));
        }
        WriteResult result;
        underFileSizeLimit(64, [&] { return (result = c.write(other.path())).ok(); });
        expectFailed(result, EFBIG, path);
        EXPECT_EQ(entriesIn(other), c.replaces ? 1u : 0u);
        if (c.replaces) {
            EXPECT_EQ(readFile(path), old);
        }
    }
}

}  // namespace
