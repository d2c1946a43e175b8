#pragma once
// How the writing of a user's file ended, in the one shape every writer
// answers with: whether it was written, why not in a few words, and, when
// the system refused, its error number.

#include <string>

namespace sigil {

enum class WriteStatus {
    Written,
    NothingToWrite,  // nothing was there to write: no file is touched
    Taken,           // something stands where a new file was to be made: it is left alone
    CannotStore,     // the content does not fit the format: no file is touched
    FileFailed,      // the system refused; any old file is intact
};

struct WriteResult {
    WriteStatus status = WriteStatus::Written;
    std::string path;    // the file written, or the one that was not
    std::string reason;  // why not, in a few words; empty when written
    int error = 0;       // the system's error number, FileFailed only

    bool ok() const { return status == WriteStatus::Written; }

    static WriteResult written(const std::string& path);
    static WriteResult nothingToWrite(const std::string& path);
    static WriteResult taken(const std::string& path);
    static WriteResult cannotStore(const std::string& path, const std::string& reason);
    // The reason is the system's own words for `error` (EIO when 0).
    static WriteResult fileFailed(const std::string& path, int error);
};

}  // namespace sigil
