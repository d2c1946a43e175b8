#include "BenchFiles.h"

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

}  // namespace sigil::bench
