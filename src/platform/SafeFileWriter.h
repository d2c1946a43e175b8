#pragma once
// Writes a file so that a failure never damages the file that stood at the
// path before: everything goes to a temporary file in the same folder, which
// replaces the target only after the last byte was written. A symbolic link
// stays in place; the file it leads to is the one replaced. Only when the
// folder does not let us create that file (a shared folder the user may not
// add to) is a writable existing file written in place instead, as the user
// would by hand; a failure then can leave it cut short.
//
// A path that is neither a file nor a folder (a named pipe, a device such
// as /dev/null or /dev/stdout) is written where it stands, in one pass, as a
// shell redirection would: replacing it would destroy it.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/Bytes.h"
#include "platform/WriteResult.h"

namespace sigil {

class SafeFileWriter {
public:
    explicit SafeFileWriter(const std::string& path);
    // Writes to a stream (standard output) in one pass; path() is "-".
    explicit SafeFileWriter(std::ostream& stream);
    ~SafeFileWriter();  // discards the temporary file unless commit() succeeded
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // False when neither a temporary file nor, failing that, the existing
    // file itself can be opened for writing.
    bool open();
    // Each write answers false once any write has failed.
    bool write(const void* data, size_t size);
    bool writeZeros(size_t size);
    uint64_t written() const { return written_; }
    bool ok() const { return ok_; }
    // Moves the temporary file into place; false when anything failed.
    bool commit();
    const std::string& path() const { return path_; }
    // The system's error number for the step that failed (0 when none did).
    int error() const { return error_; }
    // The same in the system's words.
    std::string errorText() const;
    // Written once commit() succeeded; else failed, with the system's reason.
    WriteResult result() const;

private:
    enum class Mode { Temporary, InPlace, Direct, Stream };
    bool fail(int error);
    bool writeOut(const char* data, size_t size);
    bool flushBuffer();
    void discard();

    std::string path_;       // as given
    std::string target_;     // the file written or replaced: path_ with its links followed
    std::string temporary_;  // Mode::Temporary: the file that replaces target_
    std::ostream* stream_ = nullptr;
    Mode mode_ = Mode::Temporary;
    int fd_ = -1;
    std::vector<char> buffer_;
    uint64_t written_ = 0;
    bool ok_ = false;
    bool committed_ = false;
    int error_ = 0;
};

// `bytes` as the whole of `file`, which is not opened yet.
WriteResult writeWhole(SafeFileWriter& file, ByteView bytes);
// The same for the file at `path`.
WriteResult writeWholeFile(const std::string& path, ByteView bytes);

}  // namespace sigil
