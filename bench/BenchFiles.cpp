#include "BenchFiles.h"

#include "formats/LibraryWriter.h"
#include "platform/FileBytes.h"

#include <QFileInfo>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace sigil::bench {

std::vector<std::string> filesIn(const std::string& folder)
{
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(folder, ec))
        if (e.is_regular_file())
            out.push_back(e.path().string());
    return out;
}

uint64_t plainRead(const std::vector<std::string>& paths)
{
    uint64_t sum = 0;
    std::vector<char> buffer;
    for (const std::string& p : paths) {
        std::ifstream f(p, std::ios::binary);
        buffer.resize(std::filesystem::file_size(p));
        f.read(buffer.data(), std::streamsize(buffer.size()));
        // Touch every 64th byte, as a reader would touch each cache line.
        for (size_t i = 0; i < buffer.size(); i += 64)
            sum += static_cast<unsigned char>(buffer[i]);
    }
    return sum;
}

uint64_t totalSize(const std::vector<std::string>& paths)
{
    uint64_t total = 0;
    for (const std::string& p : paths)
        total += std::filesystem::file_size(p);
    return total;
}

QTemporaryDir& scratchDir()
{
    static QTemporaryDir dir;
    return dir;
}

// 184 icons of ten devices each: 16, 32 and 48 pixels at 4, 8 and 32 bits
// and one 256-pixel 32-bit image, as in shell32.
namespace {

std::string generatedLibrary()
{
    const std::string path = fromQtPath(scratchDir().path()) + "/generated.icl";
    IconLibrary library;
    for (int i = 0; i < 184; ++i) {
        auto entry = std::make_unique<IconEntry>();
        for (int size : {16, 32, 48})
            for (int bits : {4, 8, 32})
                entry->addDevice(size, size, bits);
        entry->addDevice(256, 256, 32);
        entry->name = "icon" + std::to_string(i);
        library.appendIcon(std::move(entry));
    }
    writeLibrary(library, path);
    return path;
}

}  // namespace

const std::string& largeModulePath()
{
    static const std::string path = [] {
        if (const char* given = std::getenv("SIGIL_BENCH_MODULE"))
            return std::string(given);
        const std::string wine = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll";
        if (QFileInfo::exists(toQtPath(wine)))
            return wine;
        return generatedLibrary();
    }();
    return path;
}

}  // namespace sigil::bench
