#include "platform/AllocatorTuning.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace sigil {

void keepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    // Blocks up to 32 MiB come from the heap, and up to 256 MiB of free heap
    // is kept rather than trimmed.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    // A heap that grows does so 32 MiB at a time rather than 128 KiB: a load
    // that keeps hundreds of megabytes of images then asks the system a few
    // dozen times, not thousands. Pages are only backed once touched.
    mallopt(M_TOP_PAD, 32 << 20);
#endif
}

}  // namespace sigil
