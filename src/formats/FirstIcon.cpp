#include "formats/FirstIcon.h"

#include <QFileInfo>
#include <algorithm>
#include <cstring>

#include "formats/LoadJob.h"
#include "imaging/DevicePixels.h"
#include "imaging/Resample.h"
#include "model/DisplaySettings.h"
#include "model/IconLibrary.h"
#include "platform/FileBytes.h"

namespace sigil {

namespace {

// Stops the reader as soon as one icon was added: the reader drops whatever
// it is building next and returns.
class StopAfterFirst : public LoadObserver {
public:
    explicit StopAfterFirst(LoadControl& control) : control_(control) {}
    int addedMessage(int) override
    {
        // A second request turns the cancel into a stop.
        control_.requestCancel();
        control_.requestCancel();
        return 0;
    }
    void finishedMessage() override {}

private:
    LoadControl& control_;
};

// Drawn as a platform with alpha icons draws it: no simulated blend.
RgbaImage deviceImage(const IconDevice& device)
{
    return displayPixels(device, DisplayMode::Normal, DisplaySettings{}.backColor, false);
}

// The side lengths of a w x h picture fitted into size x size, proportions
// kept (the shorter side truncated).
void fitInto(int size, int& w, int& h)
{
    if (w <= h) {
        w = int(int64_t{size} * w / h);
        h = size;
    } else {
        h = int(int64_t{size} * h / w);
        w = size;
    }
}

// Each pixel repeated `factor` times each way.
RgbaImage enlarged(const RgbaImage& in, int factor)
{
    RgbaImage out = RgbaImage::blank(in.width * factor, in.height * factor);
    for (int y = 0; y < out.height; ++y) {
        const uint8_t* src = in.row(y / factor);
        uint8_t* dst = out.row(y);
        for (int x = 0; x < out.width; ++x)
            std::memcpy(dst + 4 * x, src + 4 * (x / factor), 4);
    }
    return out;
}

}  // namespace

std::unique_ptr<IconEntry> readFirstIcon(const std::string& path)
{
    if (!QFileInfo(toQtPath(path)).isFile())
        return nullptr;
    IconLibrary library;
    LoadControl control;
    StopAfterFirst observer(control);
    library.setLoadObserver(&observer);
    openFile(library, path, &control);
    library.setLoadObserver(nullptr);
    if (library.empty())
        return nullptr;
    return library.takeIcon(0);
}

RgbaImage iconImage(const IconEntry& icon, int size)
{
    if (size <= 0 || icon.devices.empty())
        return {};
    RgbaImage image;
    const int best = icon.displayDevice(size);
    if (best >= 0)
        image = deviceImage(icon.devices[static_cast<size_t>(best)]);
    // A device that cannot be drawn gives way to the largest one that can.
    for (auto it = icon.devices.rbegin(); image.empty() && it != icon.devices.rend(); ++it)
        image = deviceImage(*it);
    if (image.empty())
        return {};
    if (image.width > size || image.height > size) {
        int w = image.width;
        int h = image.height;
        fitInto(size, w, h);
        image = resampled(image.view(), std::max(w, 1), std::max(h, 1));
    } else {
        const int factor = std::max(1, std::min(size / image.width, size / image.height));
        if (factor > 1)
            image = enlarged(image, factor);
    }
    RgbaImage square = RgbaImage::blank(size, size);
    if (image.empty() || square.empty())
        return {};
    const int left = (size - image.width) / 2;
    const int top = (size - image.height) / 2;
    for (int y = 0; y < image.height; ++y)
        std::memcpy(square.row(top + y) + 4 * left, image.row(y), size_t(image.width) * 4);
    return square;
}

}  // namespace sigil
