#pragma once
// The commands of `sigil`, the command-line tool on the engine. They write
// to the streams they are given so tests can run them in-process.

#include <iosfwd>
#include <string>
#include <vector>

namespace sigil {

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int runSigil(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace sigil
