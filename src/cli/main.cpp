#include <QLoggingCategory>
#include <iostream>

#include "cli/SigilCommands.h"

int main(int argc, char** argv)
{
    // Damaged PNG data inside icons is refused by the reader; the image
    // library's own complaints about it are not for the user.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio=false"));
    std::vector<std::string> args(argv + 1, argv + argc);
    return sigil::runSigil(args, std::cout, std::cerr);
}
