#include "formats/FirstIcon.h"

#include <QFileInfo>
#include <QPainter>
#include <algorithm>

#include "formats/LoadJob.h"
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
QImage deviceImage(const IconDevice& device)
{
    DisplaySettings settings;
    settings.xpDisplay = 0;
    return device.makeDisplayIcon(DisplayMode::Normal, settings.backColor, settings);
}

}  // namespace

std::unique_ptr<IconEntry> readFirstIcon(const std::string& path)
{
    if (!QFileInfo(toQtPath(path)).isFile())
        return nullptr;
    IconLibrary library;
    library.setDisplayIconsOnDemand(true);
    LoadControl control;
    StopAfterFirst observer(control);
    library.setLoadObserver(&observer);
    openFile(library, path, &control);
    library.setLoadObserver(nullptr);
    if (library.empty())
        return nullptr;
    return library.takeIcon(0);
}

QImage iconImage(const IconEntry& icon, int size)
{
    if (size <= 0 || icon.devices.empty())
        return {};
    QImage image;
    const int best = icon.displayDevice(size);
    if (best >= 0)
        image = deviceImage(icon.devices[static_cast<size_t>(best)]);
    // A device that cannot be drawn gives way to the largest one that can.
    for (auto it = icon.devices.rbegin(); image.isNull() && it != icon.devices.rend(); ++it)
        image = deviceImage(*it);
    if (image.isNull())
        return {};
    if (image.width() > size || image.height() > size) {
        image = resampledImage(image, image.size().scaled(size, size, Qt::KeepAspectRatio));
    } else {
        const int factor = std::max(1, std::min(size / image.width(), size / image.height()));
        if (factor > 1)
            image = image.scaled(image.width() * factor, image.height() * factor, Qt::IgnoreAspectRatio,
                                 Qt::FastTransformation);
    }
    QImage square(size, size, QImage::Format_ARGB32);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.drawImage((size - image.width()) / 2, (size - image.height()) / 2, image);
    painter.end();
    return square;
}

}  // namespace sigil
