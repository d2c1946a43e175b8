#include "platform/NewFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>
#include <vector>

namespace sigil {

namespace {

NewFileResult failed(std::string* reason, int* errorOut, int error)
{
    if (reason)
        *reason = std::strerror(error);
    if (errorOut)
        *errorOut = error;
    return NewFileResult::Failed;
}

}  // namespace

NewFileResult writeNewFile(const std::string& path, std::span<const ByteView> pieces, std::string* reason, bool sync,
                           int* errorOut)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno == EEXIST ? NewFileResult::Taken : failed(reason, errorOut, errno);
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
        return NewFileResult::Written;
    ::unlink(path.c_str());
    return failed(reason, errorOut, error);
}

NewFileResult writeUnderFreeName(const std::function<std::string(int attempt)>& pathFor,
                                 std::span<const ByteView> pieces, std::string& path, std::string* reason, bool sync,
                                 int* error)
{
    for (int attempt = 0;; ++attempt) {
        path = pathFor(attempt);
        const NewFileResult result = writeNewFile(path, pieces, reason, sync, error);
        if (result != NewFileResult::Taken)
            return result;
    }
}

}  // namespace sigil
