// A settings file of 20,000 list items: reading and writing the lists, and
// a start and exit (general settings loaded, then saved), each beside a
// plain read of the same file measured in the same run; the "x plain"
// counter is the time of one iteration over that of the plain read.

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "BenchFiles.h"
#include "platform/FileBytes.h"
#include "platform/SettingsFile.h"
#include "settings/GeneralSettings.h"

using namespace sigil;

namespace {

constexpr int kItems = 20000;

std::vector<std::string> manyPaths()
{
    std::vector<std::string> paths;
    for (int i = 0; i < kItems; ++i)
        paths.push_back("/home/user/アイコン/library" + std::to_string(i) + ".icl");
    return paths;
}

std::vector<int32_t> manyItems()
{
    std::vector<int32_t> items;
    for (int i = 0; i < kItems; ++i)
        items.push_back(32771 + i % 200);
    return items;
}

// The settings file a long-used installation might have: the usual keys,
// then 20,000 toolbar items and 20,000 recent paths.
const std::string& largeSettingsPath()
{
    static const std::string path = [] {
        const std::string p = fromQtPath(bench::scratchDir().path()) + "/Tamberly.ini";
        SettingsFile file;
        file.setPath(p);
        GeneralSettings settings;
        settings.load(file);
        settings.toolbarItems = manyItems();
        settings.save();
        file.writeStringList(kRecentSection, "path", manyPaths());
        return p;
    }();
    return path;
}

double gPlainSeconds = 0;  // one plain read of the file, measured first

template <typename Body> void timed(benchmark::State& state, Body body)
{
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        body();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double perIteration = seconds / double(state.iterations());
    if (gPlainSeconds > 0)
        state.counters["x plain"] = perIteration / gPlainSeconds;
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bench::totalSize({largeSettingsPath()})));
}

void BM_PlainRead(benchmark::State& state)
{
    const std::vector<std::string> files{largeSettingsPath()};
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        benchmark::DoNotOptimize(bench::plainRead(files));
    gPlainSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / double(state.iterations());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bench::totalSize(files)));
}

void BM_ReadLists(benchmark::State& state)
{
    SettingsFile file;
    file.setPath(largeSettingsPath());
    timed(state, [&] {
        benchmark::DoNotOptimize(file.readStringList(kRecentSection, "path").size());
        benchmark::DoNotOptimize(file.readIntList(kToolBarSection, "item").size());
    });
}

void BM_WriteLists(benchmark::State& state)
{
    SettingsFile file;
    file.setPath(largeSettingsPath());
    std::vector<std::string> paths = manyPaths();
    std::vector<int32_t> items = manyItems();
    int round = 0;
    timed(state, [&] {
        // A changed first entry, so every round really rewrites the file.
        paths[0] = "/round" + std::to_string(++round);
        items[0] = round;
        benchmark::DoNotOptimize(file.writeStringList(kRecentSection, "path", paths));
        benchmark::DoNotOptimize(file.writeIntList(kToolBarSection, "item", items));
    });
}

void BM_StartAndExit(benchmark::State& state)
{
    SettingsFile file;
    file.setPath(largeSettingsPath());
    timed(state, [&] {
        GeneralSettings settings;
        settings.load(file);
        settings.grid ^= 1;
        settings.save();
        benchmark::DoNotOptimize(settings.recentPaths.size());
    });
}

}  // namespace

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLists)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteLists)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartAndExit)->Unit(benchmark::kMillisecond);
