#pragma once
// Writes a file so that a failure never damages the file that stood at the
// path before: everything goes to a temporary file in the same folder, which
// replaces the target only after the last byte was written. Only when the
// folder does not let us create that file (a shared folder the user may not
// add to) is a writable existing file written in place instead, as the user
// would by hand; a failure then can leave it cut short.

#include <cstdint>
#include <memory>
#include <string>

class QSaveFile;

namespace sigil {

class SafeFileWriter {
public:
    explicit SafeFileWriter(const std::string& path);
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
    // Why the last step failed, as the system put it.
    std::string errorText() const;

private:
    std::unique_ptr<QSaveFile> file_;
    uint64_t written_ = 0;
    bool ok_ = false;
};

}  // namespace sigil
