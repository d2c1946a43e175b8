#include "platform/NewFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>
#include <vector>

namespace sigil {

WriteResult writeNewFile(const std::string& path, std::span<const ByteView> pieces, bool sync)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno == EEXIST ? WriteResult::taken(path) : WriteResult::fileFailed(path, errno);
    // One system call for all pieces where it can; a short write goes on
    // from where it stopped.
    std::vector<iovec> left;
    left.reserve(pieces.size());
    for (const ByteView piece : pieces)
        if (!piece.empty())
            left.push_back({const_cast<uint8_t*>(piece.data()), piece.size()});
    size_t first = 0;
    int error = 0;
    while (first < left.size()) {
        const int count = static_cast<int>(std::min<size_t>(left.size() - first, IOV_MAX));
        const ssize_t n = ::writev(fd, left.data() + first, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : EIO;
            break;
        }
        auto done = static_cast<size_t>(n);
        while (first < left.size() && done >= left[first].iov_len)
            done -= left[first++].iov_len;
        if (done > 0) {
            left[first].iov_base = static_cast<uint8_t*>(left[first].iov_base) + done;
            left[first].iov_len -= done;
        }
    }
    if (sync && error == 0 && ::fsync(fd) != 0)
        error = errno;
    // Linux closes the descriptor even when close() is interrupted.
    if (::close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    if (error == 0)
        return WriteResult::written(path);
    ::unlink(path.c_str());
    return WriteResult::fileFailed(path, error);
}

WriteResult writeUnderFreeName(const std::function<std::string(int attempt)>& pathFor, std::span<const ByteView> pieces,
                               bool sync)
{
    for (int attempt = 0;; ++attempt) {
        WriteResult result = writeNewFile(pathFor(attempt), pieces, sync);
        if (result.status != WriteStatus::Taken)
            return result;
    }
}

}  // namespace sigil
