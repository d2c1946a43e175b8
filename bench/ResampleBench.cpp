// Shrinking a 1024 x 1024 RGBA picture to 256, 48 and 16 pixels: the
// engine's resampler beside Qt's smooth scaling of the same picture in the
// same run. x_qt is our time over Qt's.

#include <benchmark/benchmark.h>

#include <QImage>
#include <algorithm>
#include <chrono>
#include <cmath>

#include "imaging/Resample.h"

using namespace sigil;

namespace {

constexpr int kSide = 1024;

// Smooth shapes, partial alpha and some noise, straight RGBA.
const RgbaImage& picture()
{
    static const RgbaImage image = [] {
        RgbaImage p{kSide, kSide, int64_t(kSide) * 4, std::vector<uint8_t>(size_t(kSide) * kSide * 4)};
        uint32_t seed = 1;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                seed = seed * 1664525u + 1013904223u;
                uint8_t* px = &p.bytes[(size_t(y) * kSide + size_t(x)) * 4];
                px[0] = uint8_t(127.5 + 127 * std::sin(x / 50.0));
                px[1] = uint8_t(127.5 + 127 * std::cos(y / 70.0));
                px[2] = uint8_t(seed >> 24);
                px[3] = uint8_t(std::hypot(x - 512, y - 512) < 480 ? 255 : 0);
            }
        return p;
    }();
    return image;
}

const QImage& qtPicture()
{
    static const QImage image = QImage(picture().bytes.data(), kSide, kSide, QImage::Format_RGBA8888).copy();
    return image;
}

void qtShrink(int side)
{
    benchmark::DoNotOptimize(qtPicture().scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

// Seconds of one Qt shrink, the best of a few.
double qtSeconds(int side)
{
    double best = 1e9;
    for (int k = 0; k < 5; ++k) {
        const auto start = std::chrono::steady_clock::now();
        qtShrink(side);
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

void BM_QtSmoothScaled(benchmark::State& state)
{
    const int side = int(state.range(0));
    for (auto _ : state)
        qtShrink(side);
    state.SetItemsProcessed(int64_t(state.iterations()) * kSide * kSide);
}

void BM_Resample(benchmark::State& state)
{
    const int side = int(state.range(0));
    const double qt = qtSeconds(side);
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(resampled(picture().view(), side, side));
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kSide * kSide);
    state.counters["x_qt"] = total / double(state.iterations()) / qt;
}

}  // namespace

BENCHMARK(BM_QtSmoothScaled)->Arg(256)->Arg(48)->Arg(16)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Resample)->Arg(256)->Arg(48)->Arg(16)->Unit(benchmark::kMillisecond);
