#include <iostream>

#include "cli/SigilCommands.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    return sigil::runSigil(args, std::cout, std::cerr);
}
