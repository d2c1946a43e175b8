#pragma once
// Steps the main window's tests share.

#include <gtest/gtest.h>

#include <string>

#include "formats/LibraryWriter.h"
#include "shell/CMainFrame.h"
#include "support/ViewFixture.h"
#include "view/CIconView.h"

namespace sigil::test {

// Writes a library of two icons (16 x 16 and 32 x 32) at `path` and opens it
// in the frame, waiting for the load to end.
inline void openTwoIconLibrary(CMainFrame& frame, const std::string& path)
{
    IconLibrary source;
    ASSERT_TRUE(source.addBlankIcon(16, 16, 4));
    ASSERT_TRUE(source.addBlankIcon(32, 32, 8));
    ASSERT_TRUE(writeLibrary(source, path).ok());
    frame.view()->initialUpdate({path});
    ASSERT_TRUE(pumpUntil([&] { return !frame.view()->loading(); }));
}

}  // namespace sigil::test
