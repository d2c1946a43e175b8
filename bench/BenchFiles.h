#pragma once
// Helpers shared by the benchmarks: a folder of generated files, and a plain
// read of the same files as the baseline.

#include <QTemporaryDir>
#include <cstdint>
#include <string>
#include <vector>

namespace sigil::bench {

// Every regular file directly in a folder.
std::vector<std::string> filesIn(const std::string& folder);
// Reads every file whole and touches each byte; answers the byte count.
uint64_t plainRead(const std::vector<std::string>& paths);
uint64_t totalSize(const std::vector<std::string>& paths);

// A scratch folder for the run, removed at exit.
QTemporaryDir& scratchDir();
// A module with many icons: SIGIL_BENCH_MODULE, else Wine's shell32.dll
// (184 group icons), else a generated .icl of the same shape.
const std::string& largeModulePath();

}  // namespace sigil::bench
