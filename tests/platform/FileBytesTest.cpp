#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

std::string textOf(const FileBytes& file, FileRange r)
{
    return std::string(reinterpret_cast<const char*>(file.bytes().data() + r.offset), static_cast<size_t>(r.size));
}

// Parts read one by one hold the file's bytes, merge into one list, and the
// rest reads only what is missing; a file cut meanwhile ends where it was cut.
TEST(FileBytes, ReadsInPartsAsAsked)
{
    test::TempDir dir;
    const std::string path = dir.file("parts.bin");
    const std::string original = pattern(100000);
    test::writeTextFile(path, original);
    FileBytes file;
    ASSERT_TRUE(file.openHead(path, 100));
    EXPECT_EQ(file.size(), original.size());
    ASSERT_TRUE(file.readRange({5000, 1000}));
    ASSERT_TRUE(file.readRange({90, 20}));
    ASSERT_TRUE(file.readRange({6000, 10}));
    ASSERT_TRUE(file.readRange({99990, 500}));  // cut at the end of the file
    EXPECT_FALSE(file.complete());
    const std::vector<FileRange> expected{{0, 110}, {5000, 1010}, {99990, 10}};
    ASSERT_EQ(std::vector<FileRange>(file.readRanges().begin(), file.readRanges().end()), expected);
    for (const FileRange& r : expected)
        EXPECT_EQ(textOf(file, r), original.substr(r.offset, r.size)) << r.offset;
    ASSERT_TRUE(file.readAll());
    EXPECT_TRUE(file.complete());
    EXPECT_EQ(textOf(file, {0, original.size()}), original);

    ASSERT_TRUE(file.openHead(path, 100));
    ASSERT_EQ(::truncate(path.c_str(), 3000), 0);
    ASSERT_TRUE(file.readRange({2000, 5000}));
    EXPECT_EQ(file.size(), 3000u);
    ASSERT_TRUE(file.readAll());
    EXPECT_TRUE(file.complete());
    EXPECT_EQ(textOf(file, {0, 3000}), original.substr(0, 3000));
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
