#include "imaging/PngDefilter.h"

#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace sigil {

namespace {

uint8_t paeth(int a, int b, int c)
{
    const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
    if (pa <= pb && pa <= pc)
        return uint8_t(a);
    return uint8_t(pb <= pc ? b : c);
}

#if defined(__SSE2__)

// One pixel in the low bytes of a register. Loads and stores go through
// memcpy so a three-byte pixel never touches the byte after it.
template <int Bpp> __m128i load(const uint8_t* p)
{
    uint32_t v = 0;
    std::memcpy(&v, p, Bpp);
    return _mm_cvtsi32_si128(int(v));
}

template <int Bpp> void store(uint8_t* p, __m128i v)
{
    const uint32_t x = uint32_t(_mm_cvtsi128_si32(v));
    std::memcpy(p, &x, Bpp);
}

__m128i select(__m128i mask, __m128i yes, __m128i no)
{
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

__m128i abs16(__m128i v)
{
    return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v));
}

void up(const uint8_t* in, const uint8_t* prev, uint8_t* out, size_t bytes)
{
    size_t i = 0;
    for (; i + 16 <= bytes; i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(prev + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_add_epi8(x, b));
    }
    for (; i < bytes; ++i)
        out[i] = uint8_t(in[i] + prev[i]);
}

// Sub, Average and Paeth depend on the pixel to the left, so they go a
// pixel at a time, each pixel's bytes together.
template <int Bpp> void sub(const uint8_t* in, uint8_t* out, size_t bytes)
{
    __m128i a = _mm_setzero_si128();
    for (size_t i = 0; i < bytes; i += Bpp) {
        a = _mm_add_epi8(load<Bpp>(in + i), a);
        store<Bpp>(out + i, a);
    }
}

template <int Bpp> void average(const uint8_t* in, const uint8_t* prev, uint8_t* out, size_t bytes)
{
    const __m128i one = _mm_set1_epi8(1);
    __m128i a = _mm_setzero_si128();
    for (size_t i = 0; i < bytes; i += Bpp) {
        const __m128i b = load<Bpp>(prev + i);
        // avg_epu8 rounds up; the filter rounds down.
        const __m128i mean = _mm_sub_epi8(_mm_avg_epu8(a, b), _mm_and_si128(_mm_xor_si128(a, b), one));
        a = _mm_add_epi8(load<Bpp>(in + i), mean);
        store<Bpp>(out + i, a);
    }
}

template <int Bpp> void paethRow(const uint8_t* in, const uint8_t* prev, uint8_t* out, size_t bytes)
{
    const __m128i zero = _mm_setzero_si128();
    __m128i a = zero, c = zero;  // 16-bit lanes
    for (size_t i = 0; i < bytes; i += Bpp) {
        const __m128i b = _mm_unpacklo_epi8(load<Bpp>(prev + i), zero);
        const __m128i pa0 = _mm_sub_epi16(b, c), pb0 = _mm_sub_epi16(a, c);
        const __m128i pa = abs16(pa0), pb = abs16(pb0), pc = abs16(_mm_add_epi16(pa0, pb0));
        const __m128i smallest = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
        // Ties go to a, then b.
        const __m128i predictor = select(_mm_cmpeq_epi16(smallest, pa), a, select(_mm_cmpeq_epi16(smallest, pb), b, c));
        const __m128i x = _mm_add_epi8(load<Bpp>(in + i), _mm_packus_epi16(predictor, predictor));
        store<Bpp>(out + i, x);
        a = _mm_unpacklo_epi8(x, zero);
        c = b;
    }
}

template <int Bpp> void defilterSse2(uint8_t filter, const uint8_t* in, const uint8_t* prev, uint8_t* out, size_t bytes)
{
    switch (filter) {
    case 1:
        sub<Bpp>(in, out, bytes);
        break;
    case 2:
        up(in, prev, out, bytes);
        break;
    case 3:
        average<Bpp>(in, prev, out, bytes);
        break;
    case 4:
        paethRow<Bpp>(in, prev, out, bytes);
        break;
    default:
        if (in != out)
            std::memcpy(out, in, bytes);
    }
}

#endif

}  // namespace

void defilterRowPortable(uint8_t filter, int bpp, const uint8_t* in, const uint8_t* prev, uint8_t* out, size_t bytes)
{
    const size_t step = size_t(bpp);
    for (size_t i = 0; i < bytes; ++i) {
        const int a = i >= step ? out[i - step] : 0;
        const int b = prev[i];
        const int c = i >= step ? prev[i - step] : 0;
        int predictor = 0;
        switch (filter) {
        case 1:
            predictor = a;
            break;
        case 2:
            predictor = b;
            break;
        case 3:
            predictor = (a + b) / 2;
            break;
        case 4:
            predictor = paeth(a, b, c);
            break;
        default:
            break;
        }
        out[i] = uint8_t(in[i] + predictor);
    }
}

void defilterRow(uint8_t filter, int bpp, const uint8_t* in, const uint8_t* prev, uint8_t* out, size_t bytes)
{
#if defined(__SSE2__)
    if (bpp == 4)
        return defilterSse2<4>(filter, in, prev, out, bytes);
    if (bpp == 3)
        return defilterSse2<3>(filter, in, prev, out, bytes);
#endif
    defilterRowPortable(filter, bpp, in, prev, out, bytes);
}

}  // namespace sigil
