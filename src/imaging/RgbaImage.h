#pragma once
// The engine's own pixels: plain RGBA bytes, with no GUI type behind them.

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace sigil {

// Pixels as plain bytes: R, G, B, A of 8 bits each in that order, STRAIGHT
// alpha (colour not multiplied by alpha), rows top first and `stride` bytes
// apart. The view does not own its bytes.
struct RgbaView {
    const uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    int64_t stride = 0;

    const uint8_t* row(int y) const { return data + y * stride; }
};

// The same layout owning its bytes, rows packed (stride = width * 4).
struct RgbaImage {
    int width = 0;
    int height = 0;
    int64_t stride = 0;
    std::vector<uint8_t> bytes;

    // A zeroed (transparent black) image; empty when a side is not positive
    // or memory is short. Callers bound the size before asking.
    static RgbaImage blank(int w, int h)
    {
        RgbaImage image;
        if (w <= 0 || h <= 0)
            return image;
        try {
            image.bytes.assign(size_t(w) * size_t(h) * 4, 0);
        } catch (const std::bad_alloc&) {
            return image;
        }
        image.width = w;
        image.height = h;
        image.stride = int64_t{w} * 4;
        return image;
    }

    bool empty() const { return width <= 0 || height <= 0; }
    RgbaView view() const { return {bytes.data(), width, height, stride}; }
    uint8_t* row(int y) { return bytes.data() + y * stride; }
    const uint8_t* row(int y) const { return bytes.data() + y * stride; }
};

}  // namespace sigil
