#include "formats/ModuleReader.h"

#include "formats/NeLayout.h"
#include "formats/NeLibraryReader.h"
#include "formats/PeModuleReader.h"
#include "platform/ByteStream.h"
#include "platform/FileBytes.h"

namespace sigil {

namespace {
constexpr size_t kOldHeaderBytes = 64;
}  // namespace

bool readModule(IconLibrary& library, const std::string& path, const std::string& baseName, LoadControl* control)
{
    FileBytes file;
    if (!file.open(path) || file.size() < kOldHeaderBytes)
        return false;
    ByteStream stream(file.bytes());
    stream.seek(ne::kNewHeaderField);  // the same field in NE and PE modules
    const uint64_t newHeader = stream.readU32();
    if (newHeader > file.size() || file.size() - newHeader < 2)
        return false;
    stream.seek(newHeader);
    const uint8_t first = stream.readU8();
    const uint8_t second = stream.readU8();
    if (first == 'N' && second == 'E')
        return readNeLibrary(library, file.bytes(), path, baseName, control);
    if (first == 'P' && second == 'E')
        return readPeModule(library, file.bytes(), path, control);
    // "LE", "LX" and anything else: not a module we read.
    return false;
}

}  // namespace sigil
