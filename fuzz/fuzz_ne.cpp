// Feeds arbitrary bytes to the NE library reader.
#include "FuzzLimits.h"
#include "LibraryCheck.h"
#include "formats/NeLibraryReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sigil::IconLibrary library;
    sigil::fuzz::limitDecoding();
    sigil::readNeLibrary(library, sigil::ByteView(data, size), "/fuzz/input.icl", "input");
    sigil::fuzz::checkLibrary(library);
    return 0;
}
