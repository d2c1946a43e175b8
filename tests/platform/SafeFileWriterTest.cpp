#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <unistd.h>

#include "platform/SafeFileWriter.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"

using namespace sigil;
using sigil::test::readTextFile;
using sigil::test::writeTextFile;

namespace {

void setWritable(const std::string& path, bool writable)
{
    auto perms = QFile::ReadOwner | QFile::ExeOwner;
    if (writable)
        perms |= QFile::WriteOwner;
    QFile::setPermissions(QString::fromStdString(path), perms);
}

struct ReadOnlyFolderCase {
    const char* label;
    const char* before;  // nullptr: no file yet
    bool fileWritable;
    bool written;
    const char* after;
};

class ReadOnlyFolder : public testing::TestWithParam<ReadOnlyFolderCase> {};

// No temporary file can be created beside the target: only a writable file
// that is already there is written, in place.
TEST_P(ReadOnlyFolder, WritesAWritableFileInPlace)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const ReadOnlyFolderCase& c = GetParam();
    test::TempDir dir;
    const std::string path = dir.file("target.bin");
    if (c.before) {
        writeTextFile(path, c.before);
        setWritable(path, c.fileWritable);
    }
    setWritable(dir.path(), false);
    SafeFileWriter writer(path);
    const bool written = writer.open() && writer.write("new", 3) && writer.commit();
    setWritable(dir.path(), true);
    EXPECT_EQ(written, c.written);
    EXPECT_EQ(readTextFile(path), c.after);
    EXPECT_EQ(QDir(QString::fromStdString(dir.path())).entryList(QDir::Files).size(), c.before ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadOnlyFolder,
                         testing::Values(ReadOnlyFolderCase{"WritableFile", "older and longer", true, true, "new"},
                                         ReadOnlyFolderCase{"ReadOnlyFile", "old", false, false, "old"},
                                         ReadOnlyFolderCase{"NoFile", nullptr, false, false, "<missing>"}),
                         [](const auto& info) { return info.param.label; });

}  // namespace
