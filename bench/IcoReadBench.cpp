// Reading a folder of .ico files: the reader's MB/s beside a plain read of
// the same bytes. SIGIL_BENCH_ICO_DIR names a real folder to use instead of
// the generated one.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

#include "BenchFiles.h"
#include "formats/IconFile.h"
#include "imaging/DevicePixels.h"
#include "platform/FileBytes.h"

using namespace sigil;

namespace {

// 200 icons of the usual shapes: 16, 32 and 48 pixels at 4, 8 and 32 bits,
// and a 256-pixel 32-bit image in every tenth file.
const std::vector<std::string>& iconFiles()
{
    static QTemporaryDir dir;
    static std::vector<std::string> files = [] {
        if (const char* real = std::getenv("SIGIL_BENCH_ICO_DIR"))
            return bench::filesIn(real);
        for (int i = 0; i < 200; ++i) {
            IconEntry e;
            for (int size : {16, 32, 48})
                for (int bits : {4, 8, 32})
                    e.addDevice(size, size, bits);
            if (i % 10 == 0)
                e.addDevice(256, 256, 32);
            // Vary the pixels so files differ.
            for (IconDevice& d : e.devices)
                d.blockData()[d.allocatedBytes() / 2] = uint8_t(i);
            writeIconFile(e, fromQtPath(dir.path()) + "/icon" + std::to_string(i) + ".ico");
        }
        return bench::filesIn(fromQtPath(dir.path()));
    }();
    return files;
}

void BM_PlainRead(benchmark::State& state)
{
    const auto& files = iconFiles();
    for (auto _ : state)
        benchmark::DoNotOptimize(bench::plainRead(files));
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bench::totalSize(files)));
}

void BM_ReadIconFiles(benchmark::State& state)
{
    const auto& files = iconFiles();
    for (auto _ : state) {
        int devices = 0;
        for (const std::string& path : files) {
            IconEntry e;
            if (readIconFile(e, path, "x"))
                devices += e.deviceCount();
        }
        benchmark::DoNotOptimize(devices);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bench::totalSize(files)));
    state.counters["files"] = double(files.size());
}

void BM_ReadAndMakeDisplayIcons(benchmark::State& state)
{
    const auto& files = iconFiles();
    DisplaySettings settings;
    for (auto _ : state) {
        for (const std::string& path : files) {
            IconEntry e;
            if (readIconFile(e, path, "x")) {
                const int index = e.displayDevice(settings.iconSize);
                benchmark::DoNotOptimize(
                    displayPixels(e.devices[size_t(index)], DisplayMode::Normal, settings.backColor, true));
            }
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bench::totalSize(files)));
}

}  // namespace

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadIconFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndMakeDisplayIcons)->Unit(benchmark::kMillisecond);
