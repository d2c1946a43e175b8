#include "platform/FileBytes.h"

#include <QFile>
#include <QString>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "platform/HugePages.h"

namespace sigil {

namespace {

// Closes the descriptor on every way out of open().
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

}  // namespace

QString toQtPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

std::string fromQtPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

void FileBytes::Release::operator()(uint8_t* p) const
{
    if (mapped > 0)
        unmapHugePages(p, mapped);
    else
        delete[] p;
}

std::unique_ptr<uint8_t[], FileBytes::Release> FileBytes::allocate(size_t size)
{
    if (size >= 2 * kHugePageBytes) {
        if (uint8_t* p = mapHugePages(size))
            return {p, Release{size}};
    }
    return {new (std::nothrow) uint8_t[size], Release{0}};
}

FileBytes::FileBytes() = default;

FileBytes::~FileBytes()
{
    closeDescriptor();
}

void FileBytes::closeDescriptor()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void FileBytes::close()
{
    closeDescriptor();
    data_.reset();
    size_ = 0;
    capacity_ = 0;
    read_.clear();
}

bool FileBytes::open(const std::string& path)
{
    return openHead(path, SIZE_MAX);
}

bool FileBytes::openHead(const std::string& path, size_t head)
{
    closeDescriptor();
    size_ = 0;
    read_.clear();
    // Non-blocking so that a named pipe found in a folder does not wait for
    // a writer; the type check below then refuses it, and devices, which
    // never end. Regular files ignore the flag.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0)
        return false;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
        close();
        return false;
    }
    if (info.st_size == 0)
        return true;
    if (static_cast<uint64_t>(info.st_size) > SIZE_MAX)
        return false;
    const auto size = static_cast<size_t>(info.st_size);
    if (size > capacity_) {
        close();
        data_ = allocate(size);
        if (!data_)
            return false;
        capacity_ = data_.get_deleter().mapped > 0 ? 0 : size;
    }
    // The size from fstat bounds every read: bytes appended meanwhile are
    // not taken.
    size_ = size;
    fd_ = fd.release();
    if (!readRange({0, head})) {
        closeDescriptor();
        size_ = 0;
        read_.clear();
        return false;
    }
    return true;
}

bool FileBytes::readRange(FileRange range)
{
    uint64_t end = std::min<uint64_t>(range.end() < range.offset ? UINT64_MAX : range.end(), size_);
    uint64_t at = std::min<uint64_t>(range.offset, end);
    const uint64_t from = at;
    // Only the gaps between the parts already read are read. A read that
    // finds the file cut ends the range there.
    const auto readGap = [&](uint64_t count) {
        if (fd_ < 0 || !readAt(at, count))
            return false;
        end = std::min<uint64_t>(end, size_);
        return true;
    };
    for (const FileRange& done : std::vector<FileRange>(read_)) {
        if (at >= end || done.offset >= end)
            break;
        if (done.end() <= at)
            continue;
        if (done.offset > at && !readGap(done.offset - at))
            return false;
        at = std::max(at, done.end());
    }
    if (at < end && !readGap(end - at))
        return false;
    if (from < end)
        addRead({from, end - from});
    if (complete())
        closeDescriptor();
    return true;
}

bool FileBytes::readAt(uint64_t at, uint64_t count)
{
    uint64_t got = 0;
    while (got < count) {
        const size_t chunk = static_cast<size_t>(std::min<uint64_t>(count - got, uint64_t{1} << 30));
        const ssize_t n = ::pread(fd_, data_.get() + at + got, chunk, static_cast<off_t>(at + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0) {
            // Cut meanwhile: the file is taken as this short, and readers
            // refuse what is cut off.
            size_ = static_cast<size_t>(at + got);
            std::vector<FileRange> kept;
            for (FileRange r : read_)
                if (r.offset < size_)
                    kept.push_back({r.offset, std::min<uint64_t>(r.end(), size_) - r.offset});
            read_ = std::move(kept);
            return true;
        }
        got += static_cast<uint64_t>(n);
    }
    return true;
}

void FileBytes::addRead(FileRange range)
{
    if (range.size == 0)
        return;
    std::vector<FileRange> merged;
    for (const FileRange& r : read_) {
        if (r.end() < range.offset || r.offset > range.end()) {
            merged.push_back(r);
            continue;
        }
        const uint64_t begin = std::min(r.offset, range.offset);
        range = {begin, std::max(r.end(), range.end()) - begin};
    }
    merged.push_back(range);
    std::sort(merged.begin(), merged.end(), [](const FileRange& a, const FileRange& b) { return a.offset < b.offset; });
    read_ = std::move(merged);
}

}  // namespace sigil
