// The start-up reference: a program linked to Qt Core and nothing more of
// Qt, printing a line as `sigil --version` does.
#include <QtGlobal>
#include <cstdio>

int main()
{
    std::printf("Qt %s\n", qVersion());
    return 0;
}
