#pragma once
// The commands of `sigil`, the command-line tool on the engine. They write
// to the streams they are given so tests can run them in-process.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace sigil {

struct WriteResult;

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// showProgress: whether `pack` shows the writer's progress on `err`; by
// default only when standard error is a terminal.
int runSigil(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             std::optional<bool> showProgress = std::nullopt);

// The text of a library writer's progress notice: phase 0 to 3, with the
// percentage in phases 1 and 2.
std::string libraryProgressText(int phase, int percent);

// Why a file was not written, alike for every command that writes:
// "sigil: PATH: cannot write the file: REASON" when the system refused it,
// "sigil: PATH: REASON" when the content was refused.
void printWriteFailure(std::ostream& err, const WriteResult& result);

}  // namespace sigil
