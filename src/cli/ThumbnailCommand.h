#pragma once
// `sigil thumbnail INPUT OUTPUT.png SIZE`: the first icon of any file the
// program reads, as a SIZE x SIZE PNG picture, for file managers.

#include <iosfwd>
#include <string>
#include <vector>

namespace sigil {

// The largest SIZE the thumbnailer draws (the freedesktop "xx-large").
constexpr int kMaxThumbnailSize = 1024;

// args: INPUT OUTPUT SIZE; OUTPUT "-" is `out`. Answers an exit code of
// SigilCommands.h.
int thumbnailCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace sigil
