#include "platform/HugePages.h"

#include <sys/mman.h>

namespace sigil {

namespace {

size_t rounded(size_t bytes)
{
    return (bytes + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
}

}  // namespace

uint8_t* mapHugePages(size_t bytes)
{
    const size_t size = rounded(bytes);
    if (size == 0 || size < bytes)
        return nullptr;
    // Mapped one huge page too large, then trimmed to an aligned start.
    void* p = ::mmap(nullptr, size + kHugePageBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<uintptr_t>(p);
    const uintptr_t aligned = (start + kHugePageBytes - 1) & ~(uintptr_t{kHugePageBytes} - 1);
    if (aligned > start)
        ::munmap(p, aligned - start);
    const uintptr_t end = start + size + kHugePageBytes;
    if (end > aligned + size)
        ::munmap(reinterpret_cast<void*>(aligned + size), end - aligned - size);
    auto* memory = reinterpret_cast<uint8_t*>(aligned);
    ::madvise(memory, size, MADV_HUGEPAGE);  // only advice: failure is harmless
    return memory;
}

void unmapHugePages(uint8_t* memory, size_t bytes)
{
    if (memory)
        ::munmap(memory, rounded(bytes));
}

}  // namespace sigil
