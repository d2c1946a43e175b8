#include "BenchFiles.h"

#include <filesystem>
#include <fstream>
#include <iterator>

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
        buffer.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
        for (char c : buffer)
            sum += static_cast<unsigned char>(c);
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
