#include "imaging/Resample.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <system_error>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define SIGIL_RESAMPLE_AVX2 1
#endif

namespace sigil {

namespace {

// Fixed point, as Pillow's ImagingResample: integer sums are exact, so the
// vector and the plain loops below give the same sums, and 16-bit samples
// times 16-bit weights are what SSE2's pmaddwd multiplies and adds, two
// taps at once.
//
// A sample is colour x alpha / 2 (alpha itself: 255 x alpha / 2), at most
// kTop = 32512: 15 bits, so it is a positive int16. A weight is a fraction
// of kOne = 2^14 (a tap of 1.0 still fits int16), and the weights of one
// output pixel add up to exactly kOne, so flat areas stay exact. A sum is at
// most kTop x kOne x (sum of |weights|, below 1.3 for Lanczos-3), under 2^30.
constexpr int kWeightBits = 14;
constexpr int kOne = 1 << kWeightBits;
constexpr int kTop = 255 * 255 / 2;

constexpr double kLobes = 3.0;

// sinc(x) x sinc(x / 3), given s = sin(pi x / 3): with sin(3t) = sin(t) (3 -
// 4 sin(t)^2), no other sine is needed. At the centre x and s are both
// rounding noise, and their ratio would be too; the value there is 1.
double lanczos(double x, double s)
{
    if (std::abs(x) < 1e-6)
        return 1.0;
    if (x <= -kLobes || x >= kLobes)
        return 0.0;
    return kLobes * s * s * (3.0 - 4.0 * s * s) / (std::numbers::pi * std::numbers::pi * x * x);
}

// The input span and weights of every output pixel along one axis. When
// shrinking, the kernel is stretched by the ratio so every input pixel
// counts; when enlarging it keeps its width and interpolates. Taps come in
// groups (pairs for pmaddwd, fours for its AVX2 form across a row), the
// count made whole with weights of 0.
struct Taps {
    std::vector<int> first;
    std::vector<int> count;        // a multiple of the group
    std::vector<int16_t> weights;  // `span` per output pixel
    int span = 0;                  // the most taps of any output pixel

    const int16_t* of(int o) const { return &weights[size_t(o) * size_t(span)]; }
};

Taps tapsFor(int inSize, int outSize, int group)
{
    const double scale = double(inSize) / double(outSize);
    const double stretch = std::max(scale, 1.0);
    const double support = kLobes * stretch;
    const int most = int(std::ceil(support)) * 2 + 1;
    Taps t;
    t.span = (most + group - 1) / group * group;
    t.first.resize(size_t(outSize));
    t.count.resize(size_t(outSize));
    t.weights.assign(size_t(outSize) * size_t(t.span), 0);
    std::vector<double> w(static_cast<size_t>(most));
    std::vector<int> q(static_cast<size_t>(most));
    // sin(pi x / 3) from one tap to the next by turning through a fixed
    // angle (sin(t + d) = sin t cos d + cos t sin d): one sine and cosine
    // per output pixel, not one per tap, which cost a tenth of the time
    // of a large shrink.
    const double step = std::numbers::pi / kLobes / stretch;
    const double cosStep = std::cos(step), sinStep = std::sin(step);
    for (int o = 0; o < outSize; ++o) {
        const double center = (o + 0.5) * scale;
        int lo = std::max(0, int(center - support + 0.5));
        const int hi = std::min(inSize, int(center + support + 0.5));
        int n = std::min(hi - lo, most);
        double sum = 0.0;
        const double x0 = (lo - center + 0.5) / stretch;
        double sine = std::sin(std::numbers::pi / kLobes * x0), cosine = std::cos(std::numbers::pi / kLobes * x0);
        for (int i = 0; i < n; ++i) {
            w[size_t(i)] = lanczos(x0 + i / stretch, sine);
            sum += w[size_t(i)];
            const double next = sine * cosStep + cosine * sinStep;
            cosine = cosine * cosStep - sine * sinStep;
            sine = next;
        }
        // Rounded to fixed point (half away from zero); what rounding lost
        // goes to the largest weight, so they add up to exactly kOne.
        int total = 0, largest = 0;
        const double norm = sum != 0.0 ? kOne / sum : 0.0;
        for (int i = 0; i < n; ++i) {
            const double v = w[size_t(i)] * norm;
            q[size_t(i)] = int(v < 0 ? v - 0.5 : v + 0.5);
            total += q[size_t(i)];
            if (std::abs(q[size_t(i)]) > std::abs(q[size_t(largest)]))
                largest = i;
        }
        q[size_t(largest)] += kOne - total;
        // Zero taps at the ends cost time for nothing (the same size keeps
        // one tap per pixel).
        int skip = 0;
        while (n > 1 && q[size_t(skip)] == 0)
            ++skip, --n, ++lo;
        while (n > 1 && q[size_t(skip + n - 1)] == 0)
            --n;
        int16_t* out = &t.weights[size_t(o) * size_t(t.span)];
        for (int i = 0; i < n; ++i)
            out[i] = int16_t(q[size_t(skip + i)]);
        t.first[size_t(o)] = lo;
        t.count[size_t(o)] = (n + group - 1) / group * group;
    }
    return t;
}

// Fixed point back to a sample: rounded, and clamped as Pillow clamps
// between its passes, so ringing past black or full is not carried on.
int16_t toSample(int32_t sum)
{
    return int16_t(std::clamp((sum + (kOne >> 1)) >> kWeightBits, 0, kTop));
}

#if defined(__SSE2__)
// Weights i and i + 1 (i even) in every 32-bit lane, as pmaddwd wants them.
__m128i pairOf(const int16_t* w)
{
    int32_t pair;
    std::memcpy(&pair, w, 4);
    return _mm_set1_epi32(pair);
}

__m128i load(const int16_t* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// toSample on eight sums at once (packs saturates what is out of int16).
__m128i samplesOf(__m128i lo, __m128i hi)
{
    const __m128i half = _mm_set1_epi32(kOne >> 1);
    lo = _mm_srai_epi32(_mm_add_epi32(lo, half), kWeightBits);
    hi = _mm_srai_epi32(_mm_add_epi32(hi, half), kWeightBits);
    const __m128i s = _mm_packs_epi32(lo, hi);
    return _mm_min_epi16(_mm_max_epi16(s, _mm_setzero_si128()), _mm_set1_epi16(kTop));
}
#endif

#if defined(SIGIL_RESAMPLE_AVX2)
// Processors with AVX2 get the three busiest loops twice as wide, chosen
// when the program runs: the build itself targets plain x86-64.
bool hasAvx2()
{
    static const bool yes = (__builtin_cpu_init(), __builtin_cpu_supports("avx2"));
    return yes;
}

// samplesOf on sixteen sums.
__attribute__((target("avx2"))) __m256i samplesOf(__m256i lo, __m256i hi)
{
    const __m256i half = _mm256_set1_epi32(kOne >> 1);
    lo = _mm256_srai_epi32(_mm256_add_epi32(lo, half), kWeightBits);
    hi = _mm256_srai_epi32(_mm256_add_epi32(hi, half), kWeightBits);
    const __m256i s = _mm256_packs_epi32(lo, hi);
    return _mm256_min_epi16(_mm256_max_epi16(s, _mm256_setzero_si256()), _mm256_set1_epi16(kTop));
}

// sumRows (below) on 32 samples a round; returns the samples done.
// Unpacking and packing both work within 128-bit halves, so the samples
// come out in order.
__attribute__((target("avx2"))) size_t sumRowsAvx2(const int16_t* const* rows, const int16_t* w, int taps, size_t n,
                                                   int16_t* out)
{
    size_t j = 0;
    for (; j + 32 <= n; j += 32) {
        __m256i s0 = _mm256_setzero_si256(), s1 = s0, s2 = s0, s3 = s0;
        for (int i = 0; i < taps; i += 2) {
            int32_t pair;
            std::memcpy(&pair, w + i, 4);
            const __m256i k = _mm256_set1_epi32(pair);
            const auto* a = reinterpret_cast<const __m256i*>(rows[i] + j);
            const auto* b = reinterpret_cast<const __m256i*>(rows[i + 1] + j);
            const __m256i a0 = _mm256_loadu_si256(a), b0 = _mm256_loadu_si256(b);
            const __m256i a1 = _mm256_loadu_si256(a + 1), b1 = _mm256_loadu_si256(b + 1);
            s0 = _mm256_add_epi32(s0, _mm256_madd_epi16(_mm256_unpacklo_epi16(a0, b0), k));
            s1 = _mm256_add_epi32(s1, _mm256_madd_epi16(_mm256_unpackhi_epi16(a0, b0), k));
            s2 = _mm256_add_epi32(s2, _mm256_madd_epi16(_mm256_unpacklo_epi16(a1, b1), k));
            s3 = _mm256_add_epi32(s3, _mm256_madd_epi16(_mm256_unpackhi_epi16(a1, b1), k));
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + j), samplesOf(s0, s1));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + j + 16), samplesOf(s2, s3));
    }
    return j;
}

// The horizontal pass over a row (see sumPixels), four taps a round: four
// pixels, two in each half, each half with its own pair of weights.
__attribute__((target("avx2"))) void narrowAvx2(const int16_t* src, const Taps& across, int width, int16_t* dst)
{
    const __m256i spread = _mm256_setr_epi32(0, 0, 0, 0, 1, 1, 1, 1);
    for (int x = 0; x < width; ++x, dst += 4) {
        const int16_t* in = src + size_t(across.first[size_t(x)]) * 4;
        const int16_t* w = across.of(x);
        __m256i acc = _mm256_setzero_si256();
        for (int i = 0; i < across.count[size_t(x)]; i += 4, in += 16) {
            const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in));
            const __m256i k = _mm256_permutevar8x32_epi32(
                _mm256_castsi128_si256(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(w + i))), spread);
            acc = _mm256_add_epi32(acc, _mm256_madd_epi16(_mm256_unpacklo_epi16(p, _mm256_srli_si256(p, 8)), k));
        }
        const __m128i sum = _mm_add_epi32(_mm256_castsi256_si128(acc), _mm256_extracti128_si256(acc, 1));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(dst), samplesOf(sum, sum));
    }
}

// premultiplyRow's vector loop on four pixels a round; returns the pixels done.
__attribute__((target("avx2"))) int premultiplyAvx2(const uint8_t* src, int width, int16_t* out)
{
    const __m256i keep = _mm256_set1_epi64x(0x0000FFFFFFFFFFFF);
    const __m256i full = _mm256_set1_epi64x(int64_t(255) << 48);
    int x = 0;
    for (; x + 4 <= width; x += 4, src += 16, out += 16) {
        const __m256i p = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src)));
        const __m256i a = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(p, 0xFF), 0xFF);
        const __m256i v = _mm256_or_si256(_mm256_and_si256(p, keep), full);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_srli_epi16(_mm256_mullo_epi16(v, a), 1));
    }
    return x;
}
#endif

// One straight RGBA row as samples (see above).
void premultiplyRow(const uint8_t* src, int width, int16_t* out)
{
    int x = 0;
#if defined(SIGIL_RESAMPLE_AVX2)
    if (hasAvx2()) {
        x = premultiplyAvx2(src, width, out);
        src += size_t(x) * 4, out += size_t(x) * 4;
    }
#endif
#if defined(__SSE2__)
    // Two pixels per half: bytes widened to 16 bits, alpha copied to all
    // four lanes, the alpha lane's own value made 255, multiplied (at most
    // 65025, which the unsigned shift takes right).
    const __m128i keep = _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1);
    const __m128i full = _mm_set_epi16(255, 0, 0, 0, 255, 0, 0, 0);
    const auto half = [&](__m128i p) {
        const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(p, 0xFF), 0xFF);
        return _mm_srli_epi16(_mm_mullo_epi16(_mm_or_si128(_mm_and_si128(p, keep), full), a), 1);
    };
    for (; x + 4 <= width; x += 4, src += 16, out += 16) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), half(_mm_unpacklo_epi8(p, _mm_setzero_si128())));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), half(_mm_unpackhi_epi8(p, _mm_setzero_si128())));
    }
#endif
    for (; x < width; ++x, src += 4, out += 4) {
        const int a = src[3];
        for (int c = 0; c < 3; ++c)
            out[c] = int16_t(src[c] * a >> 1);
        out[3] = int16_t(255 * a >> 1);
    }
}

// The vertical pass: out[j] = sum of w[i] x rows[i][j] over `taps` rows (an
// even count), for `n` samples, a whole row at a time.
void sumRows(const int16_t* const* rows, const int16_t* w, int taps, size_t n, int16_t* out)
{
    size_t j = 0;
#if defined(SIGIL_RESAMPLE_AVX2)
    if (hasAvx2())
        j = sumRowsAvx2(rows, w, taps, n, out);
#endif
#if defined(__SSE2__)
    // Samples of two rows interleaved, then multiplied by the pair of
    // weights and added in pairs: 8 multiply-adds an instruction. Sixteen
    // samples a round keep four sums in registers.
    for (; j + 16 <= n; j += 16) {
        __m128i s0 = _mm_setzero_si128(), s1 = s0, s2 = s0, s3 = s0;
        for (int i = 0; i < taps; i += 2) {
            const __m128i k = pairOf(w + i);
            const int16_t* a = rows[i] + j;
            const int16_t* b = rows[i + 1] + j;
            const __m128i a0 = load(a), b0 = load(b), a1 = load(a + 8), b1 = load(b + 8);
            s0 = _mm_add_epi32(s0, _mm_madd_epi16(_mm_unpacklo_epi16(a0, b0), k));
            s1 = _mm_add_epi32(s1, _mm_madd_epi16(_mm_unpackhi_epi16(a0, b0), k));
            s2 = _mm_add_epi32(s2, _mm_madd_epi16(_mm_unpacklo_epi16(a1, b1), k));
            s3 = _mm_add_epi32(s3, _mm_madd_epi16(_mm_unpackhi_epi16(a1, b1), k));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j), samplesOf(s0, s1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j + 8), samplesOf(s2, s3));
    }
#endif
    for (; j < n; ++j) {
        int32_t sum = 0;
        for (int i = 0; i < taps; ++i)
            sum += rows[i][j] * w[i];
        out[j] = toSample(sum);
    }
}

// The horizontal pass for one output pixel: `taps` samples (a multiple of 4)
// from `in`, which has zero pixels past its end, summed into `out`.
void sumPixels(const int16_t* in, const int16_t* w, int taps, int16_t* out)
{
#if defined(__SSE2__)
    // Two pixels r0 g0 b0 a0 r1 g1 b1 a1 become r0 r1 g0 g1 b0 b1 a0 a1,
    // multiplied by the pair of weights and added in pairs.
    __m128i acc = _mm_setzero_si128();
    for (int i = 0; i < taps; i += 2, in += 8) {
        const __m128i p = load(in);
        acc = _mm_add_epi32(acc, _mm_madd_epi16(_mm_unpacklo_epi16(p, _mm_srli_si128(p, 8)), pairOf(w + i)));
    }
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), samplesOf(acc, acc));
#else
    int32_t sums[4] = {};
    for (int i = 0; i < taps; ++i, in += 4)
        for (int c = 0; c < 4; ++c)
            sums[c] += in[c] * w[i];
    for (int c = 0; c < 4; ++c)
        out[c] = toSample(sums[c]);
#endif
}

// Samples back to straight bytes: colour x 255 / alpha sample, alpha
// sample / 127.5, rounded; one division a pixel. What is fully transparent
// (an alpha sample below 64 rounds to 0) gets no colour.
void unpremultiply(const int16_t* s, uint8_t* out)
{
    if (s[3] < 64) {
        std::memset(out, 0, 4);
        return;
    }
    const float k = 255.0f / float(s[3]), toAlpha = 1.0f / 127.5f;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128 v = _mm_cvtepi32_ps(_mm_unpacklo_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(s)), zero));
    const __m128 scaled = _mm_add_ps(_mm_mul_ps(v, _mm_setr_ps(k, k, k, toAlpha)), _mm_set1_ps(0.5f));
    const __m128i i = _mm_cvttps_epi32(_mm_min_ps(scaled, _mm_set1_ps(255.0f)));
    const int32_t bytes = _mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(i, i), zero));
    std::memcpy(out, &bytes, 4);
#else
    for (int c = 0; c < 4; ++c)
        out[c] = uint8_t(std::min(255.0f, float(s[c]) * (c < 3 ? k : toAlpha) + 0.5f));
#endif
}

// Output rows [top, bottom). Each input row is premultiplied once into a
// ring of `down.span` rows (row r in slot r % span), enough for any one
// output row. When the picture shrinks vertically, the vertical pass comes
// first, over whole input rows where the vector code is at its best, and
// the horizontal one then runs on only the rows that come out. Otherwise
// rows are narrowed first, as Pillow does; the order decides where ringing
// is clamped between the passes.
struct Band {
    const RgbaView& in;
    const Taps& across;
    const Taps& down;
    RgbaImage& out;
    bool acrossFirst;
    int top, bottom;
    size_t ringRow;     // samples in a ring row
    size_t ringStride;  // and from one to the next
    // Input rows, premultiplied (and narrowed when acrossFirst); not zeroed
    // first, as it can be megabytes and every row is written before it is read.
    std::unique_ptr<int16_t[]> ring;
    int16_t* ringStart;             // its first cache line
    std::vector<int16_t> padded;    // a whole input row, with zero pixels past its end for sumPixels
    std::vector<int16_t> narrowed;  // an output row of samples
    std::vector<int> held;          // the input row in each slot, or -1
    std::vector<const int16_t*> rows;

    Band(const RgbaView& input, const Taps& x, const Taps& y, RgbaImage& output, bool xFirst, int from, int to)
        : in(input),
          across(x),
          down(y),
          out(output),
          acrossFirst(xFirst),
          top(from),
          bottom(to),
          ringRow(size_t(acrossFirst ? out.width : in.width) * 4),
          // Rows start on cache lines, so that no load of the vertical pass
          // straddles two, and are a line more than whole lines apart: rows
          // a power of two apart fall on the same cache sets, and the
          // vertical pass reads dozens of them side by side.
          ringStride((ringRow + 31) / 32 * 32 + 32)
    {
        const int slots = std::min(down.span, in.height);
        ring = std::make_unique_for_overwrite<int16_t[]>(ringStride * size_t(slots) + 32);
        ringStart = ring.get() + (64 - reinterpret_cast<uintptr_t>(ring.get()) % 64) % 64 / 2;
        padded.resize(size_t(in.width) * 4 + 16);
        narrowed.resize(size_t(out.width) * 4);
        held.assign(size_t(slots), -1);
        rows.resize(size_t(down.span));
    }

    // The horizontal pass over a padded row.
    void narrow(const int16_t* src, int16_t* dst) const
    {
#if defined(SIGIL_RESAMPLE_AVX2)
        if (hasAvx2())
            return narrowAvx2(src, across, out.width, dst);
#endif
        for (int x = 0; x < out.width; ++x, dst += 4)
            sumPixels(src + size_t(across.first[size_t(x)]) * 4, across.of(x), across.count[size_t(x)], dst);
    }

    const int16_t* inputRow(int r)
    {
        const size_t slot = size_t(r) % held.size();
        int16_t* p = ringStart + slot * ringStride;
        if (held[slot] != r) {
            premultiplyRow(in.row(r), in.width, acrossFirst ? padded.data() : p);
            if (acrossFirst)
                narrow(padded.data(), p);
            held[slot] = r;
        }
        return p;
    }

    void run()
    {
        for (int y = top; y < bottom; ++y) {
            const int first = down.first[size_t(y)], taps = down.count[size_t(y)];
            const int16_t* w = down.of(y);
            for (int i = 0; i < taps; ++i)
                // A tap of weight 0 (padding one) reads the row before.
                rows[size_t(i)] = i > 0 && w[i] == 0 ? rows[size_t(i) - 1] : inputRow(first + i);
            if (acrossFirst) {
                sumRows(rows.data(), w, taps, ringRow, narrowed.data());
            } else {
                sumRows(rows.data(), w, taps, ringRow, padded.data());
                narrow(padded.data(), narrowed.data());
            }
            uint8_t* dst = out.row(y);
            for (int x = 0; x < out.width; ++x)
                unpremultiply(&narrowed[size_t(x) * 4], dst + size_t(x) * 4);
        }
    }
};

// The most bytes of input rows the vertical pass may hold at once: about
// what stays in cache.
constexpr size_t kRingBytes = size_t(4) << 20;

// Multiply-adds below which a thread costs more than it saves (a few tenths
// of a millisecond of work): icons and thumbnails stay on the calling
// thread.
constexpr double kWorkPerThread = 4e6;

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

    const Taps across = tapsFor(in.width, width, 4);
    const Taps down = tapsFor(in.height, height, 2);
    // The order of the passes (see Band). Rows are narrowed first as Pillow
    // does, so that alpha edges come out as its do (ringing is clamped at
    // the same stage), unless the picture shrinks vertically and is large:
    // then the vertical pass first over whole rows takes some 40 % less time.
    // Not when its ring of whole input rows would take much memory, though
    // (a big picture shrunk a lot), where narrowed rows take far less.
    const double downFirstWork = double(height) * down.span * in.width * 4 + double(height) * width * 4 * across.span;
    const size_t slots = size_t(std::min(down.span, in.height));
    const bool acrossFirst = height >= in.height || downFirstWork < kWorkPerThread ||
                             (width < in.width && slots * size_t(in.width) * 8 > kRingBytes);
    // Multiply-adds of both passes.
    const double work = acrossFirst
                            ? double(in.height) * width * 4 * across.span + double(height) * down.span * width * 4
                            : downFirstWork;
    const int threads = int(
        std::clamp(work / kWorkPerThread, 1.0,
                   double(std::min<unsigned>(std::max(1u, std::thread::hardware_concurrency()), unsigned(height)))));
    // Buffers are made here, so that running short of memory throws to the
    // caller and not inside a thread.
    std::vector<Band> bands;
    bands.reserve(size_t(threads));
    for (int t = 0; t < threads; ++t)
        bands.emplace_back(in, across, down, out, acrossFirst, int(int64_t(height) * t / threads),
                           int(int64_t(height) * (t + 1) / threads));
    std::vector<std::thread> helpers;
    for (size_t t = 1; t < bands.size(); ++t) {
        try {
            helpers.emplace_back(&Band::run, &bands[t]);
        } catch (const std::system_error&) {
            bands[t].run();  // no thread to be had: this one does it
        }
    }
    bands[0].run();
    for (std::thread& h : helpers)
        h.join();
    return out;
}

}  // namespace sigil
