#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/ImageMemory.h"

using namespace sigil;

namespace {

TEST(ImageMemory, BlocksNeverOverlapAndOutliveTheirScopeOnAnyThread)
{
    // Sizes that round differently, and one too large to share a chunk,
    // enough of them to fill several chunks.
    const std::vector<size_t> sizes{1, 15, 16, 17, 1000, 4096, 40000, 200000};
    std::vector<ImageBlock> blocks;
    std::vector<size_t> blockSizes;
    {
        const ReadingImages reading;
        for (int round = 0; round < 60; ++round) {
            for (const size_t size : sizes) {
                ImageBlock block = allocateImageBlock(size);
                ASSERT_TRUE(block);
                std::fill_n(block.get(), size, uint8_t(blocks.size()));
                blocks.push_back(std::move(block));
                blockSizes.push_back(size);
            }
        }
    }
    // Every other block is freed on another thread; the rest keep their
    // bytes, so no two blocks shared memory.
    std::thread([&] {
        for (size_t i = 0; i < blocks.size(); i += 2)
            blocks[i].reset();
    }).join();
    for (size_t i = 1; i < blocks.size(); i += 2) {
        const uint8_t expected = uint8_t(i);
        for (size_t k = 0; k < blockSizes[i]; ++k)
            ASSERT_EQ(blocks[i][k], expected) << "block " << i << " byte " << k;
    }
    blocks.clear();
    // Outside any scope a block comes from the heap and is as usable.
    ImageBlock plain = allocateImageBlock(64);
    ASSERT_TRUE(plain);
    plain[63] = 1;
}

}  // namespace
