#include <cstdlib>
#include <iostream>

#include "cli/SigilCommands.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    const int code = sigil::runSigil(args, std::cout, std::cerr);
    // Everything is written and closed by now. Skipping the destructors of
    // the libraries' statics at exit spares a quick command a few
    // milliseconds.
    std::cout.flush();
    std::cerr.flush();
    std::_Exit(code);
}
