#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileBytes.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"

using namespace sigil;

namespace {

std::string pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    return bytes;
}

// Another program cuts the file while we hold its bytes: a mapped file would
// fault on the next access past the new end, for small and large files alike.
TEST(FileBytes, FileCutAfterOpeningKeepsTheBytesRead)
{
    test::TempDir dir;
    for (const size_t size : {size_t{100}, size_t{1} << 20, (size_t{3} << 20) + 5, (size_t{5} << 20) + 5}) {
        const std::string path = dir.file("cut.bin");
        const std::string original = pattern(size);
        test::writeTextFile(path, original);
        FileBytes file;
        ASSERT_TRUE(file.open(path)) << size;
        ASSERT_EQ(::truncate(path.c_str(), 10), 0);
        const auto bytes = file.bytes();
        ASSERT_EQ(bytes.size(), size);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()), original) << size;
    }
}

TEST(FileBytes, OnlyRegularFilesOpen)
{
    test::TempDir dir;
    test::writeTextFile(dir.file("empty"), "");
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    const struct {
        std::string path;
        bool opens;
    } cases[] = {{dir.file("empty"), true},
                 {dir.file("missing"), false},
                 {dir.path(), false},
                 {dir.file("pipe"), false},
                 {"/dev/zero", false}};
    for (const auto& c : cases) {
        FileBytes file;
        EXPECT_EQ(file.open(c.path), c.opens) << c.path;
        EXPECT_EQ(file.size(), 0u) << c.path;
    }
}

}  // namespace
