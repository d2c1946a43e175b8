#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "platform/NewFile.h"
#include "platform/SafeFileWriter.h"
#include "platform/StringTable.h"
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

// What stands at the path decides how it is written: a file is replaced,
// a link stays a link and the file it names is replaced, and a pipe or a
// device is written where it is, its failures reported.
struct TargetCase {
    const char* label;
    mode_t kind;       // what the path is before and after: S_IFREG, S_IFLNK, S_IFIFO, S_IFCHR
    const char* path;  // a fixed device, or nullptr for "target" in a scratch folder
    int error;         // 0: written
};

class Targets : public testing::TestWithParam<TargetCase> {};

mode_t kindAt(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & S_IFMT : 0;
}

TEST_P(Targets, KeepWhatStandsAtThePath)
{
    const TargetCase& c = GetParam();
    test::TempDir dir;
    const std::string path = c.path ? c.path : dir.file("target");
    // More than a pipe holds, so a pipe is written while it is read.
    std::string data(300000, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>('a' + i % 23);
    int keepOpen = -1;
    std::string piped;
    std::thread reader;
    if (c.kind == S_IFREG) {
        writeTextFile(path, "old");
    } else if (c.kind == S_IFLNK) {
        writeTextFile(dir.file("real"), "old");
        ASSERT_EQ(::symlink("real", path.c_str()), 0);
    } else if (c.kind == S_IFIFO) {
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
        // Held open for both ends (Linux allows it), so neither the reader
        // nor a writer waits on the other to open, and the reader sees the
        // end only once this is closed too.
        keepOpen = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        ASSERT_GE(keepOpen, 0);
        reader = std::thread([&] {
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            char buffer[65536];
            ssize_t n = 0;
            while (fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0)
                piped.append(buffer, static_cast<size_t>(n));
            ::close(fd);
        });
    }
    SafeFileWriter writer(path);
    const bool written = writer.open() && writer.write(data.data(), data.size()) && writer.commit();
    if (reader.joinable()) {
        ::close(keepOpen);
        reader.join();
    }
    EXPECT_EQ(written, c.error == 0);
    if (c.error != 0) {
        EXPECT_EQ(writer.errorText(), std::strerror(c.error));
        EXPECT_EQ(writer.error(), c.error);
    }
    EXPECT_EQ(kindAt(path), c.kind);
    // Compared whole but not printed: a failure would fill the screen.
    if (c.kind == S_IFIFO) {
        EXPECT_TRUE(piped == data) << piped.size() << " bytes read";
    }
    if (c.kind == S_IFREG || c.kind == S_IFLNK) {
        EXPECT_TRUE(readTextFile(path) == data);
    }
    if (c.kind == S_IFLNK) {
        EXPECT_EQ(kindAt(dir.file("real")), S_IFREG);
        char text[8] = {};
        EXPECT_EQ(::readlink(path.c_str(), text, sizeof text - 1), 4);
        EXPECT_STREQ(text, "real");
    }
    if (!c.path) {  // nothing left beside it
        EXPECT_EQ(QDir(QString::fromStdString(dir.path()))
                      .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)
                      .size(),
                  c.kind == S_IFLNK ? 2 : 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Targets,
                         testing::Values(TargetCase{"File", S_IFREG, nullptr, 0},
                                         TargetCase{"LinkToFile", S_IFLNK, nullptr, 0},
                                         TargetCase{"NamedPipe", S_IFIFO, nullptr, 0},
                                         TargetCase{"FullDevice", S_IFCHR, "/dev/full", ENOSPC}),
                         [](const auto& info) { return info.param.label; });

// Failed writes carry the system's error number, which the program's
// messages show in Japanese for the common reasons and in the system's
// words for the rest.
TEST(SystemReasons, FailedWritesTellWhyInJapanese)
{
    test::TempDir dir;
    writeTextFile(dir.file("file"), "x");
    const struct {
        std::string path;  // empty: no write, the text alone
        int error;
        const char* text;
    } cases[] = {
        {dir.file("missing/a"), ENOENT, "ファイルまたはフォルダが見つかりません"},
        {dir.file("file/a"), ENOTDIR, "フォルダではないパスが含まれています"},
        {dir.path(), EISDIR, "フォルダです"},
        {"/dev/full", ENOSPC, "ディスクの空き領域が足りません"},
        {dir.file(std::string(300, 'n')), ENAMETOOLONG, "ファイル名が長すぎます"},
        {"", EACCES, "アクセスが拒否されました"},
        {"", EPERM, "アクセスが拒否されました"},
        {"", EDQUOT, "ディスクの空き領域が足りません"},
        {"", EROFS, "読み取り専用のファイルシステムです"},
        {"", EEXIST, "同じ名前のファイルが既にあります"},
        {"", EFBIG, "ファイルが大きすぎます"},
        {"", EIO, nullptr},  // the system's words
    };
    for (const auto& c : cases) {
        const std::string expected = c.text ? c.text : std::strerror(c.error);
        EXPECT_EQ(systemReasonText(c.error).toStdString(), expected) << c.error;
        if (c.path.empty())
            continue;
        SafeFileWriter writer(c.path);
        EXPECT_FALSE(writer.open() && writer.write("x", 1) && writer.commit()) << c.path;
        EXPECT_EQ(writer.error(), c.error) << c.path;
        // A new file cannot be made there either, for the same reason; a
        // folder or device standing at the path only takes the name.
        const ByteView byte(reinterpret_cast<const uint8_t*>("x"), 1);
        const WriteResult made = writeNewFile(c.path, {&byte, 1});
        EXPECT_EQ(made.status, c.error == EISDIR || c.error == ENOSPC ? WriteStatus::Taken : WriteStatus::FileFailed);
        EXPECT_EQ(made.error, made.status == WriteStatus::FileFailed ? c.error : 0) << c.path;
    }
}

}  // namespace
