// Inputs built to make a reader do quadratic work: a directory of 65535
// entries without images, and modules of 20,000 group icons named by text
// or by number. Each reader's time is printed beside a plain pass over the
// same bytes in the same run ("x_plain"): a linear reader stays within a
// small constant of it, a quadratic one grows by thousands.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string>

#include "formats/IconFile.h"
#include "formats/PeModuleReader.h"
#include "support/PeBuilder.h"

using namespace sigil;
using namespace sigil::test;

namespace {

constexpr int kGroups = 20000;

Bytes emptyDirectory()
{
    Bytes b;
    put16(b, 0);
    put16(b, 1);
    put16(b, 0xFFFF);
    b.resize(6 + 16 * size_t{0xFFFF}, 0);
    return b;
}

Bytes textNamedGroups()
{
    // Every group names the same small image.
    PeBuilder builder;
    const Bytes image = iconImage(16, 16, 4);
    builder.add(kRtIcon, 1, image);
    for (int i = 0; i < kGroups; ++i) {
        const std::string name = "ICON" + std::to_string(i);
        builder.add(kRtGroupIcon, std::u16string(name.begin(), name.end()).c_str(), groupIconBytes({image}, {1}));
    }
    return builder.build().bytes;
}

Bytes numberedIcons()
{
    // 20,000 icon resources, each in a group of its own.
    PeBuilder builder;
    const Bytes image = iconImage(16, 16, 4);
    for (int i = 1; i <= kGroups; ++i)
        builder.add(kRtIcon, uint16_t(i), image);
    for (int i = 1; i <= kGroups; ++i)
        builder.add(kRtGroupIcon, uint16_t(i), groupIconBytes({image}, {uint16_t(i)}));
    return builder.build().bytes;
}

// Seconds of one plain pass over the bytes (every byte summed), the best of
// a few.
double plainPass(const Bytes& bytes)
{
    double best = 1e9;
    for (int k = 0; k < 5; ++k) {
        const auto start = std::chrono::steady_clock::now();
        uint64_t sum = 0;
        for (const uint8_t b : bytes)
            sum += b;
        benchmark::DoNotOptimize(sum);
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

template <typename Read> void measure(benchmark::State& state, const Bytes& bytes, Read read)
{
    const double plain = plainPass(bytes);
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        read();
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
    state.counters["x_plain"] = total / double(state.iterations()) / plain;
}

void BM_IcoOf65535EntriesWithoutImages(benchmark::State& state)
{
    static const Bytes bytes = emptyDirectory();
    measure(state, bytes, [] {
        IconEntry entry;
        benchmark::DoNotOptimize(readIconBytes(bytes, entry));
    });
}

void BM_ModuleOfTextNamedGroups(benchmark::State& state)
{
    static const Bytes bytes = textNamedGroups();
    measure(state, bytes, [] {
        IconLibrary library;
        readPeModule(library, bytes, "text.dll");
        if (library.size() != kGroups)
            throw std::runtime_error("text-named groups not all read");
    });
}

void BM_ModuleOfNumberedIcons(benchmark::State& state)
{
    static const Bytes bytes = numberedIcons();
    measure(state, bytes, [] {
        IconLibrary library;
        readPeModule(library, bytes, "numbered.dll");
        if (library.size() != kGroups)
            throw std::runtime_error("numbered groups not all read");
    });
}

}  // namespace

BENCHMARK(BM_IcoOf65535EntriesWithoutImages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModuleOfTextNamedGroups)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModuleOfNumberedIcons)->Unit(benchmark::kMillisecond);
