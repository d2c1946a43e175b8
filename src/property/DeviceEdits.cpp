#include "property/DeviceEdits.h"

#include "imaging/Conversions.h"
#include "platform/StringTable.h"

namespace sigil {

namespace {

bool hasDevice(const IconEntry& work, int width, int height, int bitCount)
{
    for (const IconDevice& d : work.devices)
        if (d.width == width && d.height == height && d.bitCount == bitCount)
            return true;
    return false;
}

EditOutcome changed(IconEntry& work, int selected)
{
    work.current = selected;
    return {EditResult::Changed, selected};
}

// A blank device of that shape, or the reason there is none; `at` is its
// place in the icon's order.
EditResult addShape(IconEntry& work, int width, int height, int bitCount, int& at)
{
    if (hasDevice(work, width, height, bitCount))
        return EditResult::Duplicate;
    at = work.addDevice(width, height, bitCount);
    return at < 0 ? EditResult::Unchanged : EditResult::Changed;
}

}  // namespace

DisplayMode ViewMode::displayMode() const
{
    if (showMask && showImage)
        return DisplayMode::Normal;
    return showMask ? DisplayMode::Mask : DisplayMode::Image;
}

QString colourClassText(int bitCount)
{
    int label = str::ColourClassUnknown;
    switch (bitCount) {
    case 1:
        label = str::ColourClassMono;
        break;
    case 4:
        label = str::ColourClass16;
        break;
    case 8:
        label = str::ColourClass256;
        break;
    case 16:
        label = str::ColourClassHigh;
        break;
    case 24:
        label = str::ColourClassTrue;
        break;
    case 32:
        label = str::ColourClassXp;
        break;
    default:
        break;
    }
    return loadString(label);
}

QString deviceLineText(const IconDevice& device)
{
    return QString::asprintf("%d x %d - ", device.width, device.height) + colourClassText(device.bitCount);
}

int selectionAfterDelete(int deleted, int count)
{
    return deleted < count - 1 ? deleted : count - 2;
}

IconEntry copyOfDevices(const IconEntry& icon)
{
    IconEntry copy;
    copy.devices.reserve(icon.devices.size());
    for (const IconDevice& device : icon.devices) {
        copy.devices.emplace_back();
        copy.devices.back().copyFrom(device);
    }
    copy.current = icon.current;
    return copy;
}

bool sameDevices(const IconEntry& a, const IconEntry& b)
{
    if (a.deviceCount() != b.deviceCount())
        return false;
    for (int i = 0; i < a.deviceCount(); ++i) {
        const IconDevice& x = a.devices[static_cast<size_t>(i)];
        const IconDevice& y = b.devices[static_cast<size_t>(i)];
        if (x.allocatedBytes() != y.allocatedBytes() || !x.sameDevice(y))
            return false;
    }
    return true;
}

EditOutcome deleteDevice(IconEntry& work, int selected)
{
    const int count = work.deviceCount();
    if (selected < 0 || selected >= count || count < 2)
        return {EditResult::Unchanged, selected};
    work.removeDevice(selected);
    return changed(work, selectionAfterDelete(selected, count));
}

EditOutcome addBlankDevice(IconEntry& work, int width, int height, int bitCount)
{
    if (bitCount == 0)
        return {EditResult::Unchanged, work.current};
    int at = -1;
    const EditResult result = addShape(work, width, height, bitCount, at);
    return result == EditResult::Changed ? changed(work, at) : EditOutcome{result, work.current};
}

EditOutcome placePicture(IconEntry& work, int selected, const IconDevice& picture, ViewMode mode)
{
    if (selected < 0 || selected >= work.deviceCount() || !picture.hasBlock())
        return {EditResult::Unchanged, selected};
    if (picture.width > kMaxDeviceSide || picture.height > kMaxDeviceSide)
        return {EditResult::TooLarge, selected};
    const IconDevice& shown = work.devices[static_cast<size_t>(selected)];
    const int width = shown.width;
    const int height = shown.height;
    const int bitCount = shown.bitCount;
    int at = -1;

    // Another width: the picture joins the icon as it is.
    if (picture.width != width) {
        const EditResult result = addShape(work, picture.width, picture.height, picture.bitCount, at);
        if (result != EditResult::Changed)
            return {result, selected};
        work.devices[static_cast<size_t>(at)].copyFrom(picture);
        return changed(work, at);
    }

    if (mode.showImage) {
        if (picture.bitCount == bitCount) {
            // The image-only mode keeps the device's own mask. A picture of
            // another height is refused here and changes nothing.
            if (!replaceFrom(work.devices[static_cast<size_t>(selected)], picture, mode.showMask))
                return {EditResult::Unchanged, selected};
            return changed(work, selected);
        }
        const EditResult result = addShape(work, picture.width, picture.height, picture.bitCount, at);
        if (result != EditResult::Changed)
            return {result, selected};
        if (!replaceFrom(work.devices[static_cast<size_t>(at)], picture, true)) {
            work.removeDevice(at);
            return {EditResult::Unchanged, selected};
        }
        return changed(work, at);
    }

    // Mask only: the picture is a mask. A 24-bit device has no room for an
    // alpha channel, so a 32-bit copy of it takes the mask and both stay.
    if (bitCount == 24) {
        if (hasDevice(work, width, height, 32))
            return {EditResult::Duplicate, selected};
        IconDevice copy;
        copy.copyFrom(shown);
        if (!applyMask(copy, picture))
            return {EditResult::Unchanged, selected};
        const EditResult result = addShape(work, width, height, 32, at);
        if (result != EditResult::Changed)
            return {result, selected};
        work.devices[static_cast<size_t>(at)] = std::move(copy);
        return changed(work, at);
    }
    if (!applyMask(work.devices[static_cast<size_t>(selected)], picture))
        return {EditResult::Unchanged, selected};
    return changed(work, selected);
}

}  // namespace sigil
