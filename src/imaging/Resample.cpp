#include "imaging/Resample.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace sigil {

namespace {

constexpr double kLobes = 3.0;

double sinc(double x)
{
    if (x == 0.0)
        return 1.0;
    x *= std::numbers::pi;
    return std::sin(x) / x;
}

double lanczos(double x)
{
    return (x > -kLobes && x < kLobes) ? sinc(x) * sinc(x / kLobes) : 0.0;
}

// The input span and normalised weights of every output pixel along one
// axis. When shrinking, the kernel is stretched by the ratio so every input
// pixel counts; when enlarging it keeps its width and interpolates.
struct Taps {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<float> weights;  // `span` per output pixel
    int span = 0;
};

Taps tapsFor(int inSize, int outSize)
{
    const double scale = double(inSize) / double(outSize);
    const double stretch = std::max(scale, 1.0);
    const double support = kLobes * stretch;
    Taps t;
    t.span = int(std::ceil(support)) * 2 + 1;
    t.first.resize(size_t(outSize));
    t.count.resize(size_t(outSize));
    t.weights.assign(size_t(outSize) * size_t(t.span), 0.0f);
    std::vector<double> w(size_t(t.span));
    for (int o = 0; o < outSize; ++o) {
        const double center = (o + 0.5) * scale;
        const int lo = std::max(0, int(center - support + 0.5));
        const int hi = std::min(inSize, int(center + support + 0.5));
        const int n = std::min(hi - lo, t.span);
        double sum = 0.0;
        for (int i = 0; i < n; ++i) {
            w[size_t(i)] = lanczos((lo + i - center + 0.5) / stretch);
            sum += w[size_t(i)];
        }
        float* out = &t.weights[size_t(o) * size_t(t.span)];
        for (int i = 0; i < n; ++i)
            out[i] = float(sum != 0.0 ? w[size_t(i)] / sum : 0.0);
        t.first[size_t(o)] = lo;
        t.count[size_t(o)] = n;
    }
    return t;
}

// One input row as premultiplied floats (colour times alpha / 255).
void premultiplyRow(const uint8_t* src, int width, float* out)
{
    constexpr float kInv255 = 1.0f / 255.0f;
    for (int x = 0; x < width; ++x, src += 4, out += 4) {
        const float a = src[3];
        const float k = a * kInv255;
        out[0] = float(src[0]) * k;
        out[1] = float(src[1]) * k;
        out[2] = float(src[2]) * k;
        out[3] = a;
    }
}

uint8_t toByte(float v)
{
    return uint8_t(std::clamp(v, 0.0f, 255.0f) + 0.5f);
}

// Premultiplied floats back to straight bytes. Ringing past 0 or 255 is
// clamped in the premultiplied values first (alpha above 255 must not darken
// the colour), and what is fully transparent gets no colour.
void unpremultiplyRow(const float* in, int width, uint8_t* out)
{
    for (int x = 0; x < width; ++x, in += 4, out += 4) {
        const float a = std::min(in[3], 255.0f);
        if (a < 0.5f) {
            std::memset(out, 0, 4);
            continue;
        }
        const float k = 255.0f / a;
        out[0] = toByte(std::max(in[0], 0.0f) * k);
        out[1] = toByte(std::max(in[1], 0.0f) * k);
        out[2] = toByte(std::max(in[2], 0.0f) * k);
        out[3] = toByte(a);
    }
}

}  // namespace

RgbaImage resampled(const RgbaView& in, int width, int height)
{
    RgbaImage out;
    if (!in.data || in.width <= 0 || in.height <= 0 || width <= 0 || height <= 0)
        return out;
    out.width = width;
    out.height = height;
    out.stride = int64_t(width) * 4;
    out.bytes.resize(size_t(out.stride) * size_t(height));
    const size_t outRow = size_t(width) * 4;
    if (width == in.width && height == in.height) {
        for (int y = 0; y < height; ++y)
            std::memcpy(out.bytes.data() + size_t(y) * outRow, in.data + in.stride * y, outRow);
        return out;
    }

    // Rows first: every input row narrowed to the output width.
    std::vector<float> mid(outRow * size_t(in.height));
    std::vector<float> row(size_t(in.width) * 4);
    const Taps across = tapsFor(in.width, width);
    for (int y = 0; y < in.height; ++y) {
        float* dst = &mid[outRow * size_t(y)];
        if (width == in.width) {
            premultiplyRow(in.data + in.stride * y, in.width, dst);
            continue;
        }
        premultiplyRow(in.data + in.stride * y, in.width, row.data());
        for (int x = 0; x < width; ++x) {
            const float* w = &across.weights[size_t(x) * size_t(across.span)];
            const float* s = &row[size_t(across.first[size_t(x)]) * 4];
            float r = 0, g = 0, b = 0, a = 0;
            for (int i = 0; i < across.count[size_t(x)]; ++i, s += 4) {
                r += s[0] * w[i];
                g += s[1] * w[i];
                b += s[2] * w[i];
                a += s[3] * w[i];
            }
            // Clamped between the passes, as Pillow does: ringing of the
            // first pass is not carried into the second.
            dst[4 * x] = std::clamp(r, 0.0f, 255.0f);
            dst[4 * x + 1] = std::clamp(g, 0.0f, 255.0f);
            dst[4 * x + 2] = std::clamp(b, 0.0f, 255.0f);
            dst[4 * x + 3] = std::clamp(a, 0.0f, 255.0f);
        }
    }

    // Then columns, a whole output row at a time.
    std::vector<float> sum(outRow);
    const Taps down = tapsFor(in.height, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* dst = out.bytes.data() + outRow * size_t(y);
        if (height == in.height) {
            unpremultiplyRow(&mid[outRow * size_t(y)], width, dst);
            continue;
        }
        std::fill(sum.begin(), sum.end(), 0.0f);
        const float* w = &down.weights[size_t(y) * size_t(down.span)];
        for (int i = 0; i < down.count[size_t(y)]; ++i) {
            const float* s = &mid[outRow * size_t(down.first[size_t(y)] + i)];
            const float k = w[i];
            for (size_t j = 0; j < outRow; ++j)
                sum[j] += s[j] * k;
        }
        unpremultiplyRow(sum.data(), width, dst);
    }
    return out;
}

}  // namespace sigil
