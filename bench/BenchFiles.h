#pragma once
// Helpers shared by the benchmarks: a folder of generated files, and a plain
// read of the same files as the baseline.

#include <cstdint>
#include <string>
#include <vector>

namespace sigil::bench {

// Every regular file directly in a folder.
std::vector<std::string> filesIn(const std::string& folder);
// Reads every file whole and touches each byte; answers the byte count.
uint64_t plainRead(const std::vector<std::string>& paths);
uint64_t totalSize(const std::vector<std::string>& paths);

}  // namespace sigil::bench
