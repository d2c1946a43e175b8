#include "platform/SafeFileWriter.h"

#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <ostream>
#include <sys/stat.h>
#include <unistd.h>

namespace sigil {

namespace {

// Small writes (the library writer's padding, a settings file) are gathered
// into one system call each this many bytes.
constexpr size_t kBufferBytes = 64 * 1024;

// Follows `path` through symbolic links to the file it leads to, which need
// not exist yet (a link to a file still to be made). A relative link is read
// from the link's own folder. 0, or why the links cannot be followed.
int followLinks(std::string& path)
{
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return 0;  // not a link; what else is wrong shows when it is opened
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
        if (n < 0)
            return errno;
        if (n == 0 || static_cast<size_t>(n) == sizeof target)
            return n == 0 ? ENOENT : ENAMETOOLONG;
        std::string next(target, static_cast<size_t>(n));
        const size_t slash = path.rfind('/');
        if (next.front() != '/' && slash != std::string::npos)
            next.insert(0, path, 0, slash + 1);
        path = std::move(next);
    }
    return ELOOP;
}

// Six letters and digits, as mkstemp would choose.
std::string randomSuffix()
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string s(6, '0');
    for (char& c : s)
        c = kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))];
    return s;
}

}  // namespace

SafeFileWriter::SafeFileWriter(const std::string& path) : path_(path)
{}

SafeFileWriter::SafeFileWriter(std::ostream& stream) : path_("-"), stream_(&stream), mode_(Mode::Stream)
{}

SafeFileWriter::~SafeFileWriter()
{
    if (fd_ >= 0)
        ::close(fd_);
    discard();
}

bool SafeFileWriter::fail(int error)
{
    // The first failure is the cause; what follows from it is not.
    if (error_ == 0)
        error_ = error != 0 ? error : EIO;
    ok_ = false;
    return false;
}

bool SafeFileWriter::open()
{
    if (mode_ == Mode::Stream) {
        ok_ = static_cast<bool>(*stream_);
        return ok_ || fail(EIO);
    }
    // What the path leads to, followed by the system: a link under /proc
    // (/dev/stdout) reads as text that names no file.
    struct stat st {};
    const bool special = ::stat(path_.c_str(), &st) == 0 && !S_ISREG(st.st_mode);
    if (special && S_ISDIR(st.st_mode))
        return fail(EISDIR);
    buffer_.reserve(kBufferBytes);
    if (special) {
        // A pipe, a device or a socket: no temporary file can stand in for
        // it, and nothing would be left to damage by writing it directly.
        mode_ = Mode::Direct;
        fd_ = ::open(path_.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        ok_ = fd_ >= 0;
        return ok_ || fail(errno);
    }
    // A link stays a link: the file it leads to is the one replaced.
    target_ = path_;
    if (const int error = followLinks(target_))
        return fail(error);
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode))  // changed since the look above
        return fail(S_ISDIR(st.st_mode) ? EISDIR : EEXIST);
    // A file the user may not write is not replaced behind their back.
    if (exists && ::access(target_.c_str(), W_OK) != 0)
        return fail(errno);
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        temporary_ = target_ + "." + randomSuffix();
        // Nobody else may read it until it takes the old file's permissions.
        fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : 0666);
        error = fd_ >= 0 ? 0 : errno;
    }
    if (fd_ >= 0) {
        mode_ = Mode::Temporary;
        if (exists)
            ::fchmod(fd_, st.st_mode & 0777);
        ok_ = true;
        return true;
    }
    temporary_.clear();
    if (error != EACCES || !exists)
        return fail(error);
    // The folder refuses new files but the file itself may be written.
    mode_ = Mode::InPlace;
    fd_ = ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    ok_ = fd_ >= 0;
    return ok_ || fail(errno);
}

bool SafeFileWriter::writeOut(const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, std::min<size_t>(size, size_t{1} << 30));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : EIO);
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool SafeFileWriter::flushBuffer()
{
    const bool written = writeOut(buffer_.data(), buffer_.size());
    buffer_.clear();
    return written;
}

bool SafeFileWriter::write(const void* data, size_t size)
{
    if (!ok_)
        return false;
    const auto* p = static_cast<const char*>(data);
    if (mode_ == Mode::Stream) {
        if (!stream_->write(p, static_cast<std::streamsize>(size)))
            return fail(EIO);
    } else if (buffer_.size() + size > kBufferBytes && !flushBuffer()) {
        return false;
    } else if (size >= kBufferBytes) {
        if (!writeOut(p, size))
            return false;
    } else {
        buffer_.insert(buffer_.end(), p, p + size);
    }
    written_ += size;
    return true;
}

bool SafeFileWriter::writeZeros(size_t size)
{
    static const char zeros[256] = {};
    while (size > 0) {
        const size_t n = std::min(size, sizeof zeros);
        if (!write(zeros, n))
            return false;
        size -= n;
    }
    return ok_;
}

bool SafeFileWriter::commit()
{
    if (mode_ == Mode::Stream) {
        if (ok_ && !stream_->flush())
            fail(EIO);
        committed_ = ok_;
        return ok_;
    }
    if (ok_)
        flushBuffer();
    // On disk before it replaces the old file. A pipe or a device has
    // nothing to sync, and some refuse to be asked.
    if (ok_ && mode_ != Mode::Direct && ::fsync(fd_) != 0 && errno != EINVAL)
        fail(errno);
    if (fd_ >= 0) {
        // Linux closes the descriptor even when close() is interrupted; a
        // delayed write error (a full disk over NFS) shows here.
        const int closed = ::close(fd_);
        fd_ = -1;
        if (closed != 0 && errno != EINTR && ok_)
            fail(errno);
    }
    if (ok_ && mode_ == Mode::Temporary) {
        if (::rename(temporary_.c_str(), target_.c_str()) == 0)
            temporary_.clear();
        else
            fail(errno);
    }
    discard();
    committed_ = ok_;
    return ok_;
}

void SafeFileWriter::discard()
{
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    temporary_.clear();
}

std::string SafeFileWriter::errorText() const
{
    return error_ != 0 ? std::strerror(error_) : std::string();
}

WriteResult SafeFileWriter::result() const
{
    return committed_ ? WriteResult::written(path_) : WriteResult::fileFailed(path_, error_);
}

WriteResult writeWhole(SafeFileWriter& file, ByteView bytes)
{
    if (file.open() && file.write(bytes.data(), bytes.size()))
        file.commit();
    return file.result();
}

WriteResult writeWholeFile(const std::string& path, ByteView bytes)
{
    SafeFileWriter file(path);
    return writeWhole(file, bytes);
}

}  // namespace sigil
