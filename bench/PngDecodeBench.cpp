// PNG decoding (decodePng, its fast path for 8-bit RGBA taken) beside Qt's
// image reader and beside decodePng's general path through libspng alone,
// on the same set of 256 x 256 RGBA icons made in memory. Each decodes
// every icon per iteration; the ratios of the best times to Qt's are
// printed at the end.

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <vector>

#include "imaging/PngCodec.h"

using namespace sigil;

namespace {

// Icons with smooth shading, hard edges and a soft alpha rim, as drawn
// icons have: neither flat (too easy to inflate) nor noise.
std::vector<QByteArray> makeIcons()
{
    std::vector<QByteArray> icons;
    for (int n = 0; n < 24; ++n) {
        QImage image(256, 256, QImage::Format_ARGB32);
        for (int y = 0; y < 256; ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < 256; ++x) {
                const int dx = x - 128, dy = y - 128;
                const int r2 = dx * dx + dy * dy;
                const int alpha = r2 < 100 * 100 ? 255 : r2 < 120 * 120 ? 255 - (r2 - 10000) * 255 / 4400 : 0;
                const int stripe = ((x + n * 7) / 16 + y / 16) % 2;
                row[x] = qRgba((x + n * 9) & 0xFF, stripe ? 200 : (y * 3) & 0xFF, (x ^ y) & 0xFF, alpha);
            }
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        icons.push_back(png);
    }
    return icons;
}

const std::vector<QByteArray>& icons()
{
    static const std::vector<QByteArray> set = makeIcons();
    return set;
}

ByteView viewOf(const QByteArray& bytes)
{
    return {reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())};
}

double best[3] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
                  std::numeric_limits<double>::max()};

template <typename Decode> void run(benchmark::State& state, int slot, Decode decode)
{
    int64_t bytes = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (const QByteArray& png : icons()) {
            if (!decode(png))
                state.SkipWithError("decode failed");
            bytes += png.size();
        }
        best[slot] =
            std::min(best[slot], std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.SetBytesProcessed(bytes);
}

void BM_QtReader(benchmark::State& state)
{
    run(state, 0, [](const QByteArray& png) {
        QByteArray bytes = png;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "png");
        QImage image = reader.read();
        benchmark::DoNotOptimize(image.constBits());
        return !image.isNull();
    });
}

template <bool (*Decode)(ByteView, RgbaImage&, const PngLimits&)> bool decodeWith(const QByteArray& png)
{
    RgbaImage pixels;
    const bool ok = Decode(viewOf(png), pixels, {});
    benchmark::DoNotOptimize(pixels.bytes.data());
    return ok;
}

void BM_DecodePng(benchmark::State& state)
{
    run(state, 1, decodeWith<decodePng>);
}

void BM_SpngPixels(benchmark::State& state)
{
    run(state, 2, decodeWith<decodePngThroughSpng>);
}

}  // namespace

BENCHMARK(BM_QtReader)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpngPixels)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("%zu icons, best of the runs: Qt reader %.2f ms\n", icons().size(), best[0] * 1e3);
    std::printf("decodePng to RGBA %.2f ms (%.2f x faster than Qt)\n", best[1] * 1e3, best[0] / best[1]);
    std::printf("libspng alone to RGBA %.2f ms (%.2f x faster than Qt)\n", best[2] * 1e3, best[0] / best[2]);
    return 0;
}
