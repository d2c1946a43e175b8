#pragma once
// Read-only access to the bytes of a file, read into memory whole or in parts.
// Readers parse the bytes through bounded views; the object keeps them
// alive. The file is never mapped: another program that truncates a mapped
// file makes the next access past its new end fault and end the process.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/Bytes.h"

class QString;

namespace sigil {

// Paths are held as UTF-8 (or the file system's bytes) in std::string.
QString toQtPath(const std::string& path);
std::string fromQtPath(const QString& path);

class FileBytes {
public:
    FileBytes();
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    // Reads the whole of a regular file; false when it cannot be opened or
    // read. A file that shrinks while it is read gives the bytes it still
    // had, as if it had been that short; readers then refuse what is cut off.
    // An object opened again reuses its memory when the new file fits in
    // it, so a reader that goes through many small files keeps one warm
    // buffer instead of faulting in fresh pages for every file.
    bool open(const std::string& path);
    // Opens a regular file as open() does but reads only its first `head`
    // bytes; readRange and readAll read more from the file, which stays open
    // until it is read completely or the object is closed. Meanwhile bytes()
    // spans the whole file and only the bytes inside readRanges() are its
    // content: a reader that needs a few parts of a large file reads only
    // those.
    bool openHead(const std::string& path, size_t head);
    // Reads what is not read yet of `range` (cut at the end of the file);
    // false on a read error. A file found shorter than it was ends there.
    bool readRange(FileRange range);
    bool readAll() { return readRange({0, size_}); }
    bool complete() const { return size_ == 0 || (read_.size() == 1 && read_[0] == FileRange{0, size_}); }
    // The parts read, in file order, neither overlapping nor touching.
    std::span<const FileRange> readRanges() const { return read_; }
    // Releases the memory.
    void close();
    std::span<const uint8_t> bytes() const { return {data_.get(), size_}; }
    size_t size() const { return size_; }

private:
    // Large files go to memory that the system may back with huge pages,
    // which spares a page fault for every 4 KiB of a 15 MB module.
    struct Release {
        size_t mapped;  // bytes asked of mapHugePages; 0: from the heap
        void operator()(uint8_t* p) const;
    };
    static std::unique_ptr<uint8_t[], Release> allocate(size_t size);
    // Reads [at, at + count) into place; false on a read error. Where the
    // file ends first, size_ becomes its new length.
    bool readAt(uint64_t at, uint64_t count);
    void closeDescriptor();
    void addRead(FileRange range);
    std::unique_ptr<uint8_t[], Release> data_;
    size_t size_ = 0;
    size_t capacity_ = 0;  // of a reusable buffer; 0 for one of huge pages
    int fd_ = -1;          // while the file is not read completely
    std::vector<FileRange> read_;
};

}  // namespace sigil
