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
#include "platform/WriteResult.h"

namespace sigil {

// Writes `pieces` one after another; with `sync`, the file is on disk before
// the answer: Written, Taken when something stands at the path, or
// FileFailed when it could not be created or written whole (then it is
// removed again).
WriteResult writeNewFile(const std::string& path, std::span<const ByteView> pieces, bool sync = false);

// The same under the first of pathFor(0), pathFor(1), ... where nothing
// stands; the answer, Written or FileFailed, names the file written or the
// one whose write failed.
WriteResult writeUnderFreeName(const std::function<std::string(int attempt)>& pathFor, std::span<const ByteView> pieces,
                               bool sync = false);

}  // namespace sigil
