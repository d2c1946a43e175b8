#include "imaging/JpegCodec.h"

#include <turbojpeg.h>

#include <algorithm>
#include <atomic>
#include <limits>
#include <memory>

namespace sigil {

namespace {

std::atomic<int64_t> decodeBudget{std::numeric_limits<int64_t>::max()};

struct HandleCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

struct Header {
    int width = 0;
    int height = 0;
    int colorspace = 0;
};

bool readHeader(tjhandle handle, ByteView jpeg, Header& header)
{
    int subsampling = 0;
    if (jpeg.size() < 4 || jpeg.size() > 0xFFFFFFFFu)
        return false;
    if (tjDecompressHeader3(handle, jpeg.data(), static_cast<unsigned long>(jpeg.size()), &header.width, &header.height,
                            &subsampling, &header.colorspace) != 0)
        return false;
    return header.width > 0 && header.height > 0;
}

// The smallest scaled size the decoder offers that is still at least
// minWidth x minHeight.
tjscalingfactor chooseFactor(const Header& header, int minWidth, int minHeight)
{
    tjscalingfactor best{1, 1};
    if (minWidth <= 0 && minHeight <= 0)
        return best;
    int count = 0;
    const tjscalingfactor* factors = tjGetScalingFactors(&count);
    int64_t bestPixels = int64_t{header.width} * header.height;
    for (int i = 0; factors && i < count; ++i) {
        const tjscalingfactor f = factors[i];
        const int w = TJSCALED(header.width, f);
        const int h = TJSCALED(header.height, f);
        if (w < minWidth || h < minHeight || f.num > f.denom)
            continue;
        if (int64_t{w} * h < bestPixels) {
            best = f;
            bestPixels = int64_t{w} * h;
        }
    }
    return best;
}

}  // namespace

void setJpegDecodeBudget(int64_t maxPixels)
{
    decodeBudget = maxPixels;
}

JpegSize jpegSize(ByteView jpeg)
{
    Handle handle(tjInitDecompress());
    Header header;
    if (!handle || !readHeader(handle.get(), jpeg, header))
        return {};
    return {header.width, header.height};
}

RgbaImage decodeJpeg(ByteView jpeg, int minWidth, int minHeight, int64_t maxPixels)
{
    Handle handle(tjInitDecompress());
    Header header;
    if (!handle || !readHeader(handle.get(), jpeg, header))
        return {};
    const tjscalingfactor factor = chooseFactor(header, minWidth, minHeight);
    const int w = TJSCALED(header.width, factor);
    const int h = TJSCALED(header.height, factor);
    if (w <= 0 || h <= 0 || int64_t{w} * h > std::min(maxPixels, decodeBudget.load()))
        return {};
    RgbaImage image = RgbaImage::blank(w, h);
    if (image.empty())
        return {};
    const bool cmyk = header.colorspace == TJCS_CMYK || header.colorspace == TJCS_YCCK;
    const int format = cmyk ? TJPF_CMYK : TJPF_RGBA;
    // A warning (a damaged or cut-short picture) still leaves the rows that
    // could be read; only an error refuses the picture.
    if (tjDecompress2(handle.get(), jpeg.data(), static_cast<unsigned long>(jpeg.size()), image.bytes.data(), w,
                      static_cast<int>(image.stride), h, format, 0) != 0 &&
        tjGetErrorCode(handle.get()) != TJERR_WARNING)
        return {};
    uint8_t* p = image.bytes.data();
    for (size_t i = 0, n = size_t(w) * size_t(h); i < n; ++i, p += 4) {
        if (cmyk) {
            const int k = p[3];
            p[0] = uint8_t(p[0] * k / 255);
            p[1] = uint8_t(p[1] * k / 255);
            p[2] = uint8_t(p[2] * k / 255);
        }
        p[3] = 255;
    }
    return image;
}

}  // namespace sigil
