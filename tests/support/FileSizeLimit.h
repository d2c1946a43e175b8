#pragma once
#include <cstdint>
#include <functional>

namespace sigil::test {

// Runs `write` with the process's file-size limit lowered to `bytes`, so a
// write fails part-way as on a full disk (SIGXFSZ is ignored meanwhile);
// answers what `write` answered.
bool underFileSizeLimit(uint64_t bytes, const std::function<bool()>& write);

}  // namespace sigil::test
