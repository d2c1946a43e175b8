#pragma once
// `sigil make INPUT... -o OUT.ico|OUT.icns [--sizes LIST] [--png-all]`:
// one multi-size icon made from an SVG, a large picture and any hand-drawn
// sizes.

#include <iosfwd>
#include <string>
#include <vector>

namespace sigil {

// args: what follows "make". Answers an exit code of SigilCommands.h; the
// output is written whole or not at all.
int makeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace sigil
