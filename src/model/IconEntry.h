#pragma once
// One icon (or cursor, or animation frame): its devices in canonical order,
// a name and where it came from.

#include <QRect>
#include <string>
#include <vector>

#include "model/IconDevice.h"

namespace sigil {

// Where an icon of display size dw x dh is drawn into a cell of w x h at
// (x, y): fitted, proportions kept, centred. Empty when nothing is drawn.
QRect iconDrawRect(int displayWidth, int displayHeight, int w, int h, int x, int y);

class IconEntry {
public:
    IconEntry() = default;
    IconEntry(const IconEntry&) = delete;
    IconEntry& operator=(const IconEntry&) = delete;
    IconEntry(IconEntry&&) = default;
    IconEntry& operator=(IconEntry&&) = default;

    std::string source;  // UTF-8
    std::string name;    // UTF-8
    int32_t current = 0;
    std::vector<IconDevice> devices;

    int deviceCount() const { return static_cast<int>(devices.size()); }

    void clearEntry();
    // Frees device `index`, or all devices for -1.
    void removeDevice(int index);
    // Inserts a blank device at the position that keeps the order; -1 when
    // one of that size and depth exists or it cannot be made.
    int addDevice(int32_t w, int32_t h, int32_t bits);
    void sortDevices();
    // The device a cell of display size `size` shows: the smallest at least
    // that size (the deepest of those), else the largest; -1 without devices.
    int displayDevice(int size) const;
    bool sameIcon(const IconEntry& other) const;
};

}  // namespace sigil
