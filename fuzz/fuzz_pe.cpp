// Feeds arbitrary bytes to the module reader as a whole PE file.
#include "FuzzLimits.h"
#include "LibraryCheck.h"
#include "formats/PeModuleReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sigil::IconLibrary library;
    sigil::fuzz::prepare(library);
    sigil::readPeModule(library, sigil::ByteView(data, size), "fuzz.dll");
    sigil::fuzz::checkLibrary(library);
    return 0;
}
