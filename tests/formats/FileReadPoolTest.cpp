#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

#include "formats/FileReadPool.h"
#include "model/IconLibrary.h"

using namespace sigil;

namespace {

// A read that appends `count` icons named name_0, name_1, ...
FileReadPool::Read appending(const std::string& name, int count, bool answer = true)
{
    return [=](IconLibrary& into) {
        for (int i = 0; i < count; ++i) {
            auto entry = std::make_unique<IconEntry>();
            entry->name = name + "_" + std::to_string(i);
            into.addReadIcon(std::move(entry));
        }
        return answer;
    };
}

std::vector<std::string> names(const FileReadResult& result)
{
    std::vector<std::string> out;
    for (const auto& icon : result.icons)
        out.push_back(icon->name);
    return out;
}

TEST(FileReadPool, ResultsComeInSubmissionOrderWhateverOrderReadsEnd)
{
    IconLibrary library;
    for (int workers : {0, 1, 2}) {
        // With two workers the first read ends only after the second ran.
        std::promise<void> secondRan;
        std::shared_future<void> second = secondRan.get_future().share();
        FileReadPool pool(library, workers);
        pool.submit([&, workers](IconLibrary& into) {
            if (workers == 2)
                second.wait();
            return appending("a", 2)(into);
        });
        pool.submit([&](IconLibrary& into) {
            const bool read = appending("b", 1, false)(into);
            secondRan.set_value();
            return read;
        });
        pool.submit(appending("c", 0, false));
        ASSERT_EQ(pool.pending(), 3u);
        const FileReadResult a = pool.takeNext();
        EXPECT_TRUE(a.read);
        EXPECT_EQ(names(a), (std::vector<std::string>{"a_0", "a_1"})) << workers;
        const FileReadResult b = pool.takeNext();
        EXPECT_FALSE(b.read);
        EXPECT_EQ(names(b), std::vector<std::string>{"b_0"});
        EXPECT_TRUE(pool.takeNext().icons.empty());
        EXPECT_EQ(pool.pending(), 0u);
    }
}

TEST(FileReadPool, DroppedReadsThatHaveNotStartedNeverRun)
{
    IconLibrary library;
    std::atomic<int> runs{0};
    // Made before the pool, which waits for its reads when it goes.
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<void> started;
    {
        FileReadPool pool(library, 1);
        pool.submit([&](IconLibrary&) {
            started.set_value();
            released.wait();
            ++runs;
            return true;
        });
        for (int i = 0; i < 5; ++i)
            pool.submit([&](IconLibrary&) { return ++runs > 0; });
        started.get_future().wait();
        pool.dropPending();
        EXPECT_EQ(pool.pending(), 0u);
        release.set_value();
    }  // waits for the read under way
    EXPECT_EQ(runs, 1);
}

}  // namespace
