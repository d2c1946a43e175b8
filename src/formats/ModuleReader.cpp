#include "formats/ModuleReader.h"

#include "formats/NeLayout.h"
#include "formats/NeLibraryReader.h"
#include "formats/PeModuleReader.h"
#include "platform/ByteStream.h"
#include "platform/FileBytes.h"

namespace sigil {

namespace {
constexpr size_t kOldHeaderBytes = 64;
// A module's headers and section table lie in its first bytes; a small
// module is read whole at once.
constexpr size_t kHeadBytes = size_t{256} << 10;
}  // namespace

bool readModule(IconLibrary& library, const std::string& path, const std::string& baseName, LoadControl* control)
{
    FileBytes file;
    if (!file.openHead(path, kHeadBytes) || file.size() < kOldHeaderBytes)
        return false;
    ByteStream head(file.bytes());
    head.seek(ne::kNewHeaderField);  // the same field in NE and PE modules
    const uint64_t newHeader = head.readU32();
    if (newHeader > file.size() || file.size() - newHeader < 2 || !file.readRange({newHeader, 2}))
        return false;
    ByteStream stream(file.bytes());
    stream.seek(newHeader);
    const uint8_t first = stream.readU8();
    const uint8_t second = stream.readU8();
    if (first == 'N' && second == 'E')
        return file.readAll() && readNeLibrary(library, file.bytes(), path, baseName, control);
    if (first == 'P' && second == 'E')
        return readPeModule(library, file, path, control);
    // "LE", "LX" and anything else: not a module we read.
    return false;
}

}  // namespace sigil
