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

QTemporaryDir& scratch()
{
    static QTemporaryDir dir;
    return dir;
}

// 184 icons of ten devices each: 16, 32 and 48 pixels at 4, 8 and 32 bits
// and one 256-pixel 32-bit image, as in shell32.
std::string generatedLibrary()
{
    const std::string path = fromQtPath(scratch().path()) + "/generated.icl";
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

const std::string& modulePath()
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
    const std::string out = fromQtPath(scratch().path()) + "/written.icl";
    for (auto _ : state)
        benchmark::DoNotOptimize(writeLibrary(library, out));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bench::totalSize({out})));
    state.SetItemsProcessed(int64_t(state.iterations()) * library.size());
}

}  // namespace

BENCHMARK(BM_PlainReadModule)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadModule)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteLibrary)->Unit(benchmark::kMillisecond);
