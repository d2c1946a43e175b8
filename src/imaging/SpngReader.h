#pragma once
// libspng set up to read a PNG held in memory, with the limits every
// decode of the engine applies. Internal to the PNG decoders.

#include <spng.h>

#include <cstdint>
#include <memory>

#include "platform/Bytes.h"

namespace sigil {

struct SpngFree {
    void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};
using SpngContext = std::unique_ptr<spng_ctx, SpngFree>;

// A decoder of `png` whose sides may be up to `maxSide`; null when libspng
// cannot be set up.
SpngContext openSpngReader(ByteView png, uint32_t maxSide);

}  // namespace sigil
