#pragma once
// Memory for the image blocks that loads read. A folder of thousands of
// icons keeps hundreds of megabytes of images, and faulting in that many
// fresh 4 KiB pages costs more than reading the files. While a thread reads
// under a ReadingImages scope, its image blocks are carved one after another
// from 2 MiB chunks that the system may back with one huge page each. A
// chunk goes back to the system when the last block carved from it is freed.
// Other blocks, and any block too large to share a chunk, come from the heap.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace sigil {

struct ImageChunk;

// Frees a block: back to its chunk, or to the heap.
struct ImageBlockRelease {
    ImageChunk* chunk = nullptr;
    void operator()(uint8_t* block) const;
};
using ImageBlock = std::unique_ptr<uint8_t[], ImageBlockRelease>;

// A block of `bytes` bytes whose contents are undefined; null when memory is
// short.
ImageBlock allocateImageBlock(size_t bytes);

// While one exists on a thread, the thread's image blocks come from chunks.
class ReadingImages {
public:
    ReadingImages();
    ~ReadingImages();  // the last scope lets go of the thread's current chunk
    ReadingImages(const ReadingImages&) = delete;
    ReadingImages& operator=(const ReadingImages&) = delete;
};

}  // namespace sigil
