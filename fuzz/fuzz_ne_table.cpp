// Feeds arbitrary bytes to the NE library reader as the NE header's fields,
// resource table, name table and data: the file's signatures are fixed
// (an old-style header pointing at "NE" at 0x40), so every input reaches the
// tables instead of being refused at the signature.
#include <vector>

#include "FuzzLimits.h"
#include "LibraryCheck.h"
#include "formats/NeLibraryReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr size_t kNeHeader = 0x40;
    std::vector<uint8_t> file(kNeHeader + 2, 0);
    file[0] = 'M';
    file[1] = 'Z';
    file[0x3C] = kNeHeader;
    file[kNeHeader] = 'N';
    file[kNeHeader + 1] = 'E';
    file.insert(file.end(), data, data + size);
    sigil::IconLibrary library;
    sigil::fuzz::limitDecoding();
    sigil::readNeLibrary(library, sigil::ByteView(file.data(), file.size()), "/fuzz/input.icl", "input");
    sigil::fuzz::checkLibrary(library);
    return 0;
}
