#pragma once
// Memory that images are made in, kept for reuse.

namespace sigil {

// Decoding and scaling an icon image allocates and frees blocks of a few
// hundred KiB many times over. By default the allocator hands such blocks
// back to the system at once, so every image pays for fresh pages again
// (page faults and zeroing, several times the decoding itself). Freed
// memory is kept for the next image instead, and the heap grows in large
// steps. Called once at start-up.
void keepFreedMemoryForReuse();

}  // namespace sigil
