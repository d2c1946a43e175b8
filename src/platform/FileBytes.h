#pragma once
// Read-only access to the bytes of a file, mapped when the file system
// allows it and read into memory otherwise. Readers parse the bytes through
// bounded views; the object keeps them alive.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

class QFile;
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

    // Opens and maps the file; false when it cannot be opened or read.
    bool open(const std::string& path);
    std::span<const uint8_t> bytes() const { return {data_, size_}; }
    size_t size() const { return size_; }

private:
    std::unique_ptr<QFile> file_;
    std::unique_ptr<uint8_t[]> copy_;
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

}  // namespace sigil
