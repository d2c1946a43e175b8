#pragma once
// Writes a file that must not exist yet. The file is created exclusively, so
// nothing that stands at the path (a file, a folder, even a dangling link) is
// ever touched, and no other program can slip one in between a check and the
// write.

#include <cstddef>
#include <functional>
#include <span>
#include <string>

#include "platform/Bytes.h"

namespace sigil {

enum class NewFileResult {
    Written,
    Taken,   // something stands at the path: nothing was written
    Failed,  // created but not written whole (then removed again), or not creatable
};

// Writes `pieces` one after another; with `sync`, the file is on disk before
// the answer. `reason` (when given) receives the system's words for a
// failure, and `error` its error number.
NewFileResult writeNewFile(const std::string& path, std::span<const ByteView> pieces, std::string* reason = nullptr,
                           bool sync = false, int* error = nullptr);

// The same under the first of pathFor(0), pathFor(1), ... where nothing
// stands. `path` receives the name written, or the one whose write failed;
// the answer is Written or Failed.
NewFileResult writeUnderFreeName(const std::function<std::string(int attempt)>& pathFor,
                                 std::span<const ByteView> pieces, std::string& path, std::string* reason = nullptr,
                                 bool sync = false, int* error = nullptr);

}  // namespace sigil
