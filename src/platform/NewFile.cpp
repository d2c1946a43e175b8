#include "platform/NewFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace sigil {

namespace {

NewFileResult failed(std::string* reason, int error)
{
    if (reason)
        *reason = std::strerror(error);
    return NewFileResult::Failed;
}

}  // namespace

NewFileResult writeNewFile(const std::string& path, const void* data, size_t size, std::string* reason)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno == EEXIST ? NewFileResult::Taken : failed(reason, errno);
    const auto* bytes = static_cast<const char*>(data);
    size_t done = 0;
    int error = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : EIO;
            break;
        }
        done += static_cast<size_t>(n);
    }
    // Linux closes the descriptor even when close() is interrupted.
    if (::close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    if (error == 0)
        return NewFileResult::Written;
    ::unlink(path.c_str());
    return failed(reason, error);
}

}  // namespace sigil
