#pragma once
// The engine's RGBA pixels as Qt images and back, for tests that check them
// against Qt's own readers and scaling.

#include <QImage>
#include <cstring>

#include "imaging/RgbaImage.h"

namespace sigil::test {

// Straight-alpha ARGB32; null for an empty image.
inline QImage qimageOf(const RgbaImage& pixels)
{
    if (pixels.empty())
        return {};
    return QImage(pixels.bytes.data(), pixels.width, pixels.height, qsizetype(pixels.stride), QImage::Format_RGBA8888)
        .convertToFormat(QImage::Format_ARGB32);
}

inline RgbaImage rgbaOf(const QImage& image)
{
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    RgbaImage out = RgbaImage::blank(rgba.width(), rgba.height());
    for (int y = 0; y < out.height; ++y)
        std::memcpy(out.row(y), rgba.constScanLine(y), size_t(out.width) * 4);
    return out;
}

}  // namespace sigil::test
