#include "platform/ImageMemory.h"

#include <atomic>
#include <new>

#include "platform/HugePages.h"

namespace sigil {

struct ImageChunk {
    uint8_t* base = nullptr;
    // One for every block carved and not yet freed, and one while it is a
    // thread's current chunk.
    std::atomic<size_t> users{1};
};

namespace {

// One huge page each.
constexpr size_t kChunkBytes = kHugePageBytes;
// Larger blocks (a 256 x 256 image decoded is 260 KiB) are rare during a
// load and would leave much of a chunk unused.
constexpr size_t kLargestCarved = size_t{128} << 10;
constexpr size_t kBlockAlignment = 16;

void letGo(ImageChunk* chunk)
{
    if (chunk->users.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        unmapHugePages(chunk->base, kChunkBytes);
        delete chunk;
    }
}

// The calling thread's chunk and how much of it is carved.
struct ThreadChunk {
    int scopes = 0;
    ImageChunk* chunk = nullptr;
    size_t used = 0;

    ~ThreadChunk() { drop(); }
    void drop()
    {
        if (chunk)
            letGo(chunk);
        chunk = nullptr;
        used = 0;
    }
    uint8_t* carve(size_t bytes)
    {
        const size_t need = (bytes + kBlockAlignment - 1) & ~(kBlockAlignment - 1);
        if (!chunk || used + need > kChunkBytes) {
            drop();
            uint8_t* base = mapHugePages(kChunkBytes);
            if (!base)
                return nullptr;
            chunk = new (std::nothrow) ImageChunk;
            if (!chunk) {
                unmapHugePages(base, kChunkBytes);
                return nullptr;
            }
            chunk->base = base;
        }
        uint8_t* block = chunk->base + used;
        used += need;
        chunk->users.fetch_add(1, std::memory_order_relaxed);
        return block;
    }
};

thread_local ThreadChunk current;

}  // namespace

void ImageBlockRelease::operator()(uint8_t* block) const
{
    if (chunk)
        letGo(chunk);
    else
        delete[] block;
}

// Under AddressSanitizer every block comes from the heap, so that a reader
// writing past its block is caught rather than landing in the next one.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kCarve = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kCarve = false;
#else
constexpr bool kCarve = true;
#endif
#else
constexpr bool kCarve = true;
#endif

ImageBlock allocateImageBlock(size_t bytes)
{
    ThreadChunk& thread = current;
    if (kCarve && thread.scopes > 0 && bytes > 0 && bytes <= kLargestCarved) {
        if (uint8_t* block = thread.carve(bytes))
            return ImageBlock(block, ImageBlockRelease{thread.chunk});
    }
    return ImageBlock(new (std::nothrow) uint8_t[bytes], ImageBlockRelease{});
}

ReadingImages::ReadingImages()
{
    ++current.scopes;
}

ReadingImages::~ReadingImages()
{
    if (--current.scopes == 0)
        current.drop();
}

}  // namespace sigil
