#pragma once
// What the property window does to an icon's set of devices, as plain
// functions on a working copy of the icon: the window copies the shown
// icon, edits the copy here and hands the result to the document as one
// undo step. No widget is involved, so every rule is testable alone.

#include <QString>

#include "imaging/DevicePixels.h"
#include "model/DisplaySettings.h"
#include "model/IconDevice.h"
#include "model/IconEntry.h"

namespace sigil {

// How the picture shows the device: the mask, the image, or both.
struct ViewMode {
    bool showMask = true;
    bool showImage = true;
    bool operator==(const ViewMode&) const = default;

    DisplayMode displayMode() const;
    // Only the normal mode makes the settings' colour transparent in a
    // picture taken in, so an image or a mask arrives as it is.
    bool automaticTransparency() const { return showMask && showImage; }
};

constexpr ViewMode kNormalView{true, true};
constexpr ViewMode kMaskOnlyView{true, false};
constexpr ViewMode kImageOnlyView{false, true};

// A device's line in the list: "32 x 32 - 256 colors" (its colour class in
// the interface language).
QString deviceLineText(const IconDevice& device);
// The colour class of a bit count as the list shows it ("256 colors").
QString colourClassText(int bitCount);
// The bit counts whose classes the list may show, the unknown one last.
constexpr int kColourClassBitCounts[] = {1, 4, 8, 16, 24, 32, 0};

// The line selected after line `deleted` of `count` lines was deleted: the
// one that took its place, or the new last line.
int selectionAfterDelete(int deleted, int count);

// The devices and current device of `icon`, in an icon of their own.
IconEntry copyOfDevices(const IconEntry& icon);

// The largest side a device of an icon may have.
constexpr int kMaxDeviceSide = 256;

enum class EditResult {
    Changed,    // the working copy differs from the icon
    Unchanged,  // nothing to do, or the conversion refused
    Duplicate,  // the icon already has a device of that size and depth
    TooLarge,   // a picture wider or taller than kMaxDeviceSide
};

struct EditOutcome {
    EditResult result = EditResult::Unchanged;
    int selected = -1;  // the line to select afterwards; the work's current device
};

// Deletes device `selected`; an icon keeps at least one device.
EditOutcome deleteDevice(IconEntry& work, int selected);

// Adds a blank device; bitCount 0 (no colour chosen) adds nothing.
EditOutcome addBlankDevice(IconEntry& work, int width, int height, int bitCount);

// Puts a picture into the icon with device `selected` shown in `mode`:
// - a picture of another width becomes a new device;
// - with the image shown, one of the same width and depth replaces the
//   device's colours (and its mask too in the normal mode), one of another
//   depth becomes a new device;
// - in the mask-only mode the picture is the device's mask; a 24-bit device
//   gets a new 32-bit copy with that alpha and is kept as it is.
EditOutcome placePicture(IconEntry& work, int selected, const IconDevice& picture, ViewMode mode);

// Whether two sets of devices are the same, byte for byte.
bool sameDevices(const IconEntry& a, const IconEntry& b);

}  // namespace sigil
