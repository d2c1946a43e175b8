#pragma once
// Memory mapped on its own and advised for transparent huge pages: one page
// fault (and one zeroing) per 2 MiB instead of one per 4 KiB.

#include <cstddef>
#include <cstdint>

namespace sigil {

constexpr size_t kHugePageBytes = size_t{2} << 20;

// `bytes` rounded up to whole huge pages, aligned to a huge page; null when
// the system refuses. The contents are zero.
uint8_t* mapHugePages(size_t bytes);
// Gives back what mapHugePages(bytes) answered.
void unmapHugePages(uint8_t* memory, size_t bytes);

}  // namespace sigil
