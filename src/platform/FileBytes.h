#pragma once
// Read-only access to the bytes of a file, read into memory in one go.
// Readers parse the bytes through bounded views; the object keeps them
// alive. The file is never mapped: another program that truncates a mapped
// file makes the next access past its new end fault and end the process.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

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
    std::unique_ptr<uint8_t[], Release> data_;
    size_t size_ = 0;
    size_t capacity_ = 0;  // of a reusable buffer; 0 for one of huge pages
};

}  // namespace sigil
