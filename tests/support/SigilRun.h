#pragma once
// `sigil` run in process, its exit code and what it printed.

#include <sstream>
#include <string>
#include <vector>

#include "cli/SigilCommands.h"

namespace sigil::test {

struct RunResult {
    int code;
    std::string out;
    std::string err;
};

inline RunResult sigilRun(const std::vector<std::string>& args, bool progress = false)
{
    std::ostringstream out, err;
    const int code = runSigil(args, out, err, progress);
    return {code, out.str(), err.str()};
}

}  // namespace sigil::test
