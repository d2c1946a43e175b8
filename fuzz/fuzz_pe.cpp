// Feeds arbitrary bytes to the module reader as a whole PE file, and checks
// that reading only the headers and the resource section answers as the
// whole file does whenever the lookups report that they needed nothing else.
#include <algorithm>
#include <vector>

#include "FuzzLimits.h"
#include "LibraryCheck.h"
#include "formats/PeModuleReader.h"
#include "formats/PeResources.h"

namespace {

using sigil::ByteView;
using sigil::FileRange;

bool sameBytes(const std::optional<ByteView>& a, const std::optional<ByteView>& b)
{
    return a.has_value() == b.has_value() && (!a || std::equal(a->begin(), a->end(), b->begin(), b->end()));
}

void checkPartRead(ByteView file)
{
    sigil::PeResources whole;
    if (!whole.load(file))
        return;
    // Bytes not read hold a filler, so a view that strays there shows.
    std::vector<uint8_t> copy(file.size(), 0xA5);
    std::vector<FileRange> read;
    const auto take = [&](FileRange r) {
        r.offset = std::min<uint64_t>(r.offset, file.size());
        r.size = std::min<uint64_t>(r.size, file.size() - r.offset);
        std::copy_n(file.begin() + r.offset, r.size, copy.begin() + r.offset);
        read.push_back(r);
    };
    take({0, 512});
    sigil::PeResources parts;
    if (!parts.load(copy, read))
        return;
    if (const auto section = parts.resourceSection())
        take(*section);
    const uint16_t types[] = {sigil::kResourceGroupIcon, sigil::kResourceIcon, sigil::kResourceString};
    if (!parts.load(copy, read) || !parts.indexTypes({types[0], types[1], types[2]}))
        return;
    for (const uint16_t type : types) {
        const auto names = whole.names(type);
        if (parts.names(type) != names)
            __builtin_trap();
        for (const auto& name : names)
            if (!sameBytes(parts.find(type, name), whole.find(type, name)))
                __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    sigil::IconLibrary library;
    sigil::fuzz::limitDecoding();
    sigil::readPeModule(library, ByteView(data, size), "fuzz.dll");
    sigil::fuzz::checkLibrary(library);
    checkPartRead(ByteView(data, size));
    return 0;
}
