#include "model/IconEntry.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace sigil {

QRect iconDrawRect(int displayWidth, int displayHeight, int w, int h, int x, int y)
{
    if (w <= 0 || h <= 0 || displayWidth <= 0 || displayHeight <= 0)
        return {};
    const double aspect = double(displayWidth) / double(displayHeight);
    int dw = 0;
    int dh = 0;
    if (aspect > double(w) / double(h)) {
        dw = w;
        dh = static_cast<int>(w / aspect);
    } else {
        dw = static_cast<int>(aspect * h);
        dh = h;
    }
    if (dw <= 0 || dh <= 0)
        return {};
    return QRect(x + (w - dw) / 2, y + (h - dh) / 2, dw, dh);
}

void IconEntry::clearEntry()
{
    devices.clear();
    name.clear();
    source.clear();
    current = 0;
}

void IconEntry::removeDevice(int index)
{
    if (index < 0)
        devices.clear();
    else if (index < deviceCount())
        devices.erase(devices.begin() + index);
}

int IconEntry::addDevice(int32_t w, int32_t h, int32_t bits)
{
    size_t pos = devices.size();
    for (size_t i = 0; i < devices.size(); ++i) {
        const IconDevice& d = devices[i];
        if (d.width == w && d.height == h) {
            if (d.bitCount == bits)
                return -1;
            if (bits < d.bitCount) {
                pos = i;
                break;
            }
        } else if (w < d.width || h < d.height) {
            pos = i;
            break;
        }
    }
    IconDevice device;
    if (!device.makeBlank(w, h, bits))
        return -1;
    devices.insert(devices.begin() + static_cast<std::ptrdiff_t>(pos), std::move(device));
    return static_cast<int>(pos);
}

namespace {

bool canonicallyBefore(const IconDevice& a, const IconDevice& b)
{
    return a.width < b.width || (a.width == b.width && a.bitCount < b.bitCount);
}

}  // namespace

void IconEntry::sortDevices()
{
    // The exchange order is kept as it is (rather than a stable sort): two
    // devices of the same width and depth swap places, and files written
    // after a sort reflect that order.
    const size_t n = devices.size();
    for (size_t i = 0; i + 1 < n; ++i) {
        for (size_t j = i + 1; j < n; ++j) {
            const IconDevice& a = devices[i];
            const IconDevice& b = devices[j];
            if (!canonicallyBefore(a, b))
                std::swap(devices[i], devices[j]);
        }
    }
}

int IconEntry::displayDevice(int size) const
{
    if (devices.empty())
        return -1;
    // The walk below assumes canonical order. Icons read from PE modules
    // keep their group's order (often largest first); they are walked as if
    // sorted, so a cell shows the icon's own image of its size rather than
    // the largest one shrunk.
    std::vector<int> order(devices.size());
    std::iota(order.begin(), order.end(), 0);
    const auto before = [this](int a, int b) { return canonicallyBefore(devices[size_t(a)], devices[size_t(b)]); };
    if (!std::is_sorted(order.begin(), order.end(), before))
        std::stable_sort(order.begin(), order.end(), before);
    int candidate = -1;
    int cw = 0;
    int ch = 0;
    for (const int i : order) {
        const IconDevice& d = devices[size_t(i)];
        if (d.width < size || d.height < size)
            continue;
        if (candidate < 0) {
            candidate = i;
            cw = d.width;
            ch = d.height;
        } else if (d.width == cw && d.height == ch) {
            candidate = i;
        } else {
            break;
        }
    }
    return candidate >= 0 ? candidate : order.back();
}

bool IconEntry::sameIcon(const IconEntry& other) const
{
    if (devices.size() != other.devices.size())
        return false;
    for (size_t i = 0; i < devices.size(); ++i)
        if (!devices[i].sameDevice(other.devices[i]))
            return false;
    return true;
}

}  // namespace sigil
