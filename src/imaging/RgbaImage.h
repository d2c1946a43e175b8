#pragma once
// The engine's own pixels: plain RGBA bytes, with no GUI type behind them.

#include <cstdint>
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
};

// The same layout owning its bytes, rows packed (stride = width * 4).
struct RgbaImage {
    int width = 0;
    int height = 0;
    int64_t stride = 0;
    std::vector<uint8_t> bytes;

    bool empty() const { return width <= 0 || height <= 0; }
    RgbaView view() const { return {bytes.data(), width, height, stride}; }
};

}  // namespace sigil
