// Loading a module with many icons and writing it as an icon library:
// icons per second and MB/s, beside a plain read of the same bytes.
// Uses Wine's shell32.dll (184 group icons) when present, or
// SIGIL_BENCH_MODULE; otherwise a generated .icl of the same shape.

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>

#include "BenchFiles.h"
#include "formats/LibraryWriter.h"
#include "formats/ModuleReader.h"
#include "platform/FileBytes.h"

using namespace sigil;

namespace {

const std::string& modulePath()
{
    return bench::largeModulePath();
}

void BM_PlainReadModule(benchmark::State& state)
{
    const std::vector<std::string> files{modulePath()};
    for (auto _ : state)
        benchmark::DoNotOptimize(bench::plainRead(files));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bench::totalSize(files)));
}

void BM_LoadModule(benchmark::State& state)
{
    const std::string& path = modulePath();
    int icons = 0;
    for (auto _ : state) {
        IconLibrary library;
        readModule(library, path, "module");
        icons = library.size();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bench::totalSize({path})));
    state.SetItemsProcessed(int64_t(state.iterations()) * icons);
    state.SetLabel(QFileInfo(toQtPath(path)).fileName().toStdString());
}

void BM_WriteLibrary(benchmark::State& state)
{
    IconLibrary library;
    readModule(library, modulePath(), "module");
    const std::string out = fromQtPath(bench::scratchDir().path()) + "/written.icl";
    for (auto _ : state)
        benchmark::DoNotOptimize(writeLibrary(library, out).ok());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bench::totalSize({out})));
    state.SetItemsProcessed(int64_t(state.iterations()) * library.size());
}

}  // namespace

BENCHMARK(BM_PlainReadModule)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadModule)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteLibrary)->Unit(benchmark::kMillisecond);
