#include "ui/IconResources.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include "formats/PeModuleReader.h"
#include "formats/PeResources.h"
#include "model/IconEntry.h"
#include "platform/FileBytes.h"
#include "ui/DisplayImages.h"
#include "ui/IconIds.h"

namespace sigil {

namespace {

const QString kIconFolder = QStringLiteral(":/sigil/icons");

// The compiled-in SVG files by resource number. Each file is named
// "<number>-<what it shows>.svg", so the number is all the program needs.
const std::map<int, QString>& ownFiles()
{
    static const std::map<int, QString> files = [] {
        std::map<int, QString> out;
        const QDir folder(kIconFolder);
        for (const QString& name : folder.entryList({QStringLiteral("*.svg")}, QDir::Files)) {
            bool ok = false;
            const int id = name.section(QLatin1Char('-'), 0, 0).toInt(&ok);
            if (ok)
                out.emplace(id, folder.filePath(name));
        }
        return out;
    }();
    return files;
}

QImage renderSvg(const QString& file, int width, int height)
{
    QSvgRenderer renderer(file);
    if (!renderer.isValid() || width <= 0 || height <= 0)
        return {};
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, width, height));
    return image;
}

QString ownIconFile(int id)
{
    if (id == icons::kLogoBitmap)
        return {};
    const auto& files = ownFiles();
    const auto it = files.find(id);
    return it == files.end() ? QString() : it->second;
}

// Drawn as a platform without a display blend would draw it: alpha honoured.
QImage deviceImage(const IconDevice& device, int width, int height)
{
    DisplaySettings settings;
    settings.xpDisplay = 0;
    return makeDisplayIcon(device, DisplayMode::Normal, settings.backColor, settings, width, height);
}

}  // namespace

IconResources::IconResources() = default;
IconResources::~IconResources() = default;

bool IconResources::loadLibrary(const QString& executableDir)
{
    releaseLibrary();
    FileBytes file;
    if (!file.open(fromQtPath(QDir(executableDir).filePath(QString::fromLatin1(kLibraryFileName)))))
        return false;
    PeResources resources;
    if (!resources.load(file.bytes()))
        return false;
    usingRuneset_ = true;
    for (const ResourceName& name : resources.names(kResourceGroupIcon)) {
        if (!name.isId || !icons::replaceableByLibrary(name.id) || libraryIcons_.count(name.id))
            continue;
        // A group none of whose images can be drawn is as good as missing.
        if (auto entry = readGroupIcon(resources, name.id)) {
            std::erase_if(entry->devices, [](const IconDevice& d) { return deviceImage(d, 1, 1).isNull(); });
            entry->sortDevices();
            if (!entry->devices.empty())
                libraryIcons_.emplace(name.id, std::move(entry));
        }
    }
    return true;
}

void IconResources::releaseLibrary()
{
    libraryIcons_.clear();
    usingRuneset_ = false;
}

const IconEntry* IconResources::libraryIcon(int id) const
{
    const auto it = libraryIcons_.find(id);
    return it == libraryIcons_.end() ? nullptr : it->second.get();
}

bool IconResources::hasIcon(int id) const
{
    return libraryIcon(id) || !ownIconFile(id).isEmpty();
}

QIcon IconResources::icon(int id) const
{
    QIcon result;
    if (const IconEntry* entry = libraryIcon(id)) {
        for (const IconDevice& device : entry->devices)
            result.addPixmap(QPixmap::fromImage(deviceImage(device, -1, -1)));
        return result;
    }
    const QString file = ownIconFile(id);
    if (file.isEmpty())
        return result;
    for (const int size : kIconSizes)
        result.addPixmap(QPixmap::fromImage(renderSvg(file, size, size)));
    return result;
}

QPixmap IconResources::pixmap(int id, int size) const
{
    if (size <= 0)
        return {};
    if (const IconEntry* entry = libraryIcon(id))
        return QPixmap::fromImage(deviceImage(entry->devices[entry->displayDevice(size)], size, size));
    const QString file = ownIconFile(id);
    return file.isEmpty() ? QPixmap() : QPixmap::fromImage(renderSvg(file, size, size));
}

QPixmap IconResources::logo() const
{
    const auto& files = ownFiles();
    const auto it = files.find(icons::kLogoBitmap);
    if (it == files.end())
        return {};
    return QPixmap::fromImage(renderSvg(it->second, kLogoWidth, kLogoHeight));
}

std::vector<int> IconResources::ownIconIds()
{
    std::vector<int> ids;
    for (const auto& [id, file] : ownFiles()) {
        if (id != icons::kLogoBitmap)
            ids.push_back(id);
    }
    return ids;
}

}  // namespace sigil
