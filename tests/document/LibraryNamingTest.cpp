#include "document/LibraryNaming.h"

#include <gtest/gtest.h>

namespace sigil {
namespace {

TEST(LibraryNaming, TitleInEachState)
{
    EXPECT_EQ(libraryTitle("", false, false), QStringLiteral("Sigilscope - 無題"));
    EXPECT_EQ(libraryTitle("/x/shell32.icl", true, true), QStringLiteral("Sigilscope - shell32.icl*<読み込み中>"));
    EXPECT_EQ(libraryTitle("tool.icl", true, false), QStringLiteral("Sigilscope - tool.icl*"));
    EXPECT_EQ(libraryTitle("/x/set.ICL", false, true), QStringLiteral("Sigilscope - set.ICL<読み込み中>"));
}

TEST(LibraryNaming, FirstPathNamesTheLibrary)
{
    const LibraryName exe = nameForFirstPath("/x/tool.exe", false);
    EXPECT_EQ(exe.path, "tool.icl");  // a bare name, no folder
    EXPECT_TRUE(exe.modified);
    const LibraryName icl = nameForFirstPath("/x/set.ICL", false);
    EXPECT_EQ(icl.path, "/x/set.ICL");
    EXPECT_FALSE(icl.modified);
    const LibraryName folder = nameForFirstPath("/icons", true);
    EXPECT_EQ(folder.path, "/icons.icl");
    EXPECT_TRUE(folder.modified);
    EXPECT_EQ(nameForFirstPath("/icons/", true).path, "/icons.icl");
    EXPECT_EQ(nameForFirstPath("/x/noext", false).path, "noext.icl");
}

}  // namespace
}  // namespace sigil
