#include "platform/WriteResult.h"

#include <cerrno>
#include <cstring>

namespace sigil {

WriteResult WriteResult::written(const std::string& path)
{
    return {WriteStatus::Written, path, {}, 0};
}

WriteResult WriteResult::nothingToWrite(const std::string& path)
{
    return {WriteStatus::NothingToWrite, path, "nothing to write", 0};
}

WriteResult WriteResult::taken(const std::string& path)
{
    return {WriteStatus::Taken, path, std::strerror(EEXIST), 0};
}

WriteResult WriteResult::cannotStore(const std::string& path, const std::string& reason)
{
    return {WriteStatus::CannotStore, path, reason, 0};
}

WriteResult WriteResult::fileFailed(const std::string& path, int error)
{
    // A failure the system gave no number for (a short write) is still one
    // of input and output.
    const int cause = error != 0 ? error : EIO;
    return {WriteStatus::FileFailed, path, std::strerror(cause), cause};
}

}  // namespace sigil
