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

#include "BenchFiles.h"
#include "formats/ModuleReader.h"
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

// The PNG images of the large module: for Wine's shell32.dll, the 256-pixel
// images the scale benchmark's folder is made of.
std::vector<QByteArray> moduleImages()
{
    IconLibrary library;
    std::vector<QByteArray> images;
    if (!readModule(library, bench::largeModulePath(), "module"))
        return images;
    for (int i = 0; i < library.size(); ++i) {
        for (const IconDevice& device : library.at(i).devices) {
            if (device.keepsPng()) {
                const ByteView png = device.pngData();
                images.emplace_back(reinterpret_cast<const char*>(png.data()), qsizetype(png.size()));
            }
        }
    }
    return images;
}

// Set 0: the generated icons; set 1: the module's images.
const std::vector<QByteArray>& icons(int set)
{
    static const std::vector<QByteArray> sets[2] = {makeIcons(), moduleImages()};
    return sets[set];
}

ByteView viewOf(const QByteArray& bytes)
{
    return {reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())};
}

constexpr double kNever = std::numeric_limits<double>::max();
double best[2][3] = {{kNever, kNever, kNever}, {kNever, kNever, kNever}};

template <typename Decode> void run(benchmark::State& state, int slot, Decode decode)
{
    const int set = int(state.range(0));
    if (icons(set).empty()) {
        state.SkipWithError("no PNG images in the module");
        return;
    }
    int64_t bytes = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (const QByteArray& png : icons(set)) {
            if (!decode(png))
                state.SkipWithError("decode failed");
            bytes += png.size();
        }
        best[set][slot] =
            std::min(best[set][slot], std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
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

BENCHMARK(BM_QtReader)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePng)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpngPixels)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const char* names[2] = {"generated 256 x 256 icons", "PNG images of the large module"};
    for (int set = 0; set < 2; ++set) {
        const double* b = best[set];
        if (icons(set).empty() || b[0] == kNever)
            continue;
        std::printf("%zu %s, best of the runs: Qt reader %.2f ms\n", icons(set).size(), names[set], b[0] * 1e3);
        std::printf("  decodePng to RGBA %.2f ms (%.2f x faster than Qt)\n", b[1] * 1e3, b[0] / b[1]);
        std::printf("  libspng alone to RGBA %.2f ms (%.2f x faster than Qt)\n", b[2] * 1e3, b[0] / b[2]);
    }
    return 0;
}
