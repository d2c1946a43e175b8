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
    EXPECT_FALSE(cache.has(list[0].get()));
    EXPECT_FALSE(cache.has(list[1].get()));
    EXPECT_TRUE(cache.has(list[4].get()));
    // Touching an entry keeps it; the least recent goes next.
    cache.ensure(*list[2], settings);
    cache.ensure(*list[0], settings);
    EXPECT_TRUE(cache.has(list[2].get()));
    EXPECT_FALSE(cache.has(list[3].get()));
}

TEST(DisplayIconCache, InvalidateDropsImagesForTheNextPaint)
{
    DisplaySettings settings;
    settings.iconSize = 32;
    auto list = icons(2);
    DisplayIconCache cache;
    EXPECT_EQ(cache.ensure(*list[0], settings).normal.width(), 32);
    cache.invalidate();
    EXPECT_EQ(cache.find(list[0].get()), nullptr);
    settings.iconSize = 48;
    cache.ensure(*list[0], settings);
    ASSERT_NE(cache.find(list[0].get()), nullptr);
    EXPECT_EQ(cache.find(list[0].get())->normal.width(), 48);
    cache.forget(list[0].get());
    EXPECT_EQ(cache.entries(), 0u);
    EXPECT_EQ(cache.bytes(), 0u);
}

}  // namespace
}  // namespace sigil
