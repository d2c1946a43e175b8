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
FileBytes::~FileBytes() = default;

void FileBytes::close()
{
    data_.reset();
    size_ = 0;
    capacity_ = 0;
}

bool FileBytes::open(const std::string& path)
{
    size_ = 0;
    // Non-blocking so that a named pipe found in a folder does not wait for
    // a writer; the type check below then refuses it, and devices, which
    // never end. Regular files ignore the flag.
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
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
    // The size from fstat bounds the read: bytes appended meanwhile are not
    // taken, and a read that ends early means the file was cut meanwhile.
    size_t got = 0;
    while (got < size) {
        const size_t chunk = std::min<size_t>(size - got, size_t{1} << 30);
        const ssize_t n = ::read(fd.get(), data_.get() + got, chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    size_ = got;
    return true;
}

}  // namespace sigil
