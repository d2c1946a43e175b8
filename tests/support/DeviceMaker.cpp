#include "support/DeviceMaker.h"

#include <algorithm>
#include <cstdlib>

#include "imaging/DevicePixels.h"
#include "imaging/PixelAccess.h"

namespace sigil::test {

namespace {

PixelView<uint8_t> writable(IconDevice& device)
{
    auto px = writePixels(device);
    if (!px)
        std::abort();  // a test asked for a device the helpers cannot make
    return *px;
}

PixelView<const uint8_t> readable(const IconDevice& device)
{
    auto px = readPixels(device);
    if (!px)
        std::abort();
    return *px;
}

}  // namespace

IconDevice makeDevice(int w, int h, int bits, const PixelFn& pixel)
{
    IconDevice d;
    if (!d.makeBlank(w, h, bits))
        std::abort();
    const PixelView<uint8_t> px = writable(d);
    std::fill(px.maskStart(), px.maskStart() + px.maskBytes(), uint8_t{0});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t v = pixel(x, y);
            if (bits <= 8) {
                px.setIndex(x, y, int(v));
                continue;
            }
            uint8_t* p = px.row(y) + int64_t(bits / 8) * x;
            for (int i = 0; i < bits / 8; ++i)
                p[i] = uint8_t(v >> (8 * i));
        }
    return d;
}

void setTableEntry(IconDevice& device, int index, uint32_t rgb)
{
    uint8_t* e = writable(device).table() + 4 * index;
    e[0] = uint8_t(rgb);
    e[1] = uint8_t(rgb >> 8);
    e[2] = uint8_t(rgb >> 16);
    e[3] = 0;
}

void setMask(IconDevice& device, const std::function<bool(int x, int row)>& masked)
{
    const PixelView<uint8_t> px = writable(device);
    for (int y = 0; y < px.height; ++y)
        for (int x = 0; x < px.width; ++x) {
            const uint8_t bit = uint8_t(0x80 >> (x & 7));
            uint8_t& b = px.maskRow(y)[x >> 3];
            b = masked(x, y) ? uint8_t(b | bit) : uint8_t(b & ~bit);
        }
}

uint32_t pixelAt(const IconDevice& device, int x, int row)
{
    const PixelView<const uint8_t> px = readable(device);
    if (device.bitCount <= 8)
        return uint32_t(px.index(x, row));
    const uint8_t* p = px.row(row) + int64_t(device.bitCount / 8) * x;
    uint32_t v = 0;
    for (int i = 0; i < device.bitCount / 8; ++i)
        v |= uint32_t(p[i]) << (8 * i);
    return v;
}

bool maskedAt(const IconDevice& device, int x, int row)
{
    return readable(device).masked(x, row);
}

int maskedCount(const IconDevice& device)
{
    const PixelView<const uint8_t> px = readable(device);
    int n = 0;
    for (int y = 0; y < px.height; ++y)
        for (int x = 0; x < px.width; ++x)
            n += px.masked(x, y) ? 1 : 0;
    return n;
}

bool drawable(const IconEntry& icon, int size)
{
    const int index = icon.displayDevice(size);
    return index >= 0 && !displayPixels(icon.devices[size_t(index)], DisplayMode::Normal, 0, true).empty();
}

}  // namespace sigil::test
