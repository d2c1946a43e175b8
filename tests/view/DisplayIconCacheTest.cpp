#include "view/DisplayIconCache.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace sigil {
namespace {

std::vector<std::unique_ptr<IconEntry>> icons(int n)
{
    std::vector<std::unique_ptr<IconEntry>> list;
    for (int i = 0; i < n; ++i) {
        auto entry = std::make_unique<IconEntry>();
        EXPECT_GE(entry->addDevice(32, 32, 32), 0);
        list.push_back(std::move(entry));
    }
    return list;
}

TEST(DisplayIconCache, KeepsOnlyTheMostRecentWithinTheBudget)
{
    DisplaySettings settings;
    settings.iconSize = 32;
    settings.xpDisplay = 0;  // one image per icon
    auto list = icons(5);
    const size_t one = 32 * 32 * 4;
    DisplayIconCache cache(3 * one);
    for (auto& entry : list)
        cache.ensure(*entry, settings);
    EXPECT_EQ(cache.entries(), 3u);
    EXPECT_LE(cache.bytes(), 3 * one);
    EXPECT_TRUE(list[0]->normalIcon.isNull());
    EXPECT_TRUE(list[1]->normalIcon.isNull());
    EXPECT_FALSE(list[4]->normalIcon.isNull());
    // Touching an entry keeps it; the least recent goes next.
    cache.ensure(*list[2], settings);
    cache.ensure(*list[0], settings);
    EXPECT_FALSE(list[2]->normalIcon.isNull());
    EXPECT_TRUE(list[3]->normalIcon.isNull());
}

TEST(DisplayIconCache, InvalidateDropsImagesForTheNextPaint)
{
    DisplaySettings settings;
    settings.iconSize = 32;
    auto list = icons(2);
    DisplayIconCache cache;
    cache.ensure(*list[0], settings);
    EXPECT_EQ(list[0]->normalIcon.width(), 32);
    cache.invalidate();
    EXPECT_TRUE(list[0]->normalIcon.isNull());
    settings.iconSize = 48;
    cache.ensure(*list[0], settings);
    EXPECT_EQ(list[0]->normalIcon.width(), 48);
    cache.forget(list[0].get());
    EXPECT_EQ(cache.entries(), 0u);
    EXPECT_EQ(cache.bytes(), 0u);
}

}  // namespace
}  // namespace sigil
