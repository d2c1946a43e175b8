#include "model/IconLibrary.h"

#include <algorithm>

namespace sigil {

IconLibrary::IconLibrary() = default;
IconLibrary::~IconLibrary() = default;

int IconLibrary::appendIcon(std::unique_ptr<IconEntry> entry)
{
    return insertIcon(size(), std::move(entry));
}

int IconLibrary::addReadIcon(std::unique_ptr<IconEntry> entry)
{
    if (!entry)
        return -1;
    entry->current = entry->deviceCount() - 1;
    // The observer may keep the append to run later: it owns the entry.
    auto held = std::make_shared<std::unique_ptr<IconEntry>>(std::move(entry));
    auto append = [this, held] { return appendIcon(std::move(*held)); };
    if (!loadObserver_)
        return append();
    return loadObserver_->deliverIcon(append);
}

int IconLibrary::insertIcon(int index, std::unique_ptr<IconEntry> entry)
{
    if (!entry)
        return -1;
    index = std::clamp(index, 0, size());
    deviceTotal_ += entry->deviceCount();
    icons_.insert(icons_.begin() + index, std::move(entry));
    return index;
}

void IconLibrary::removeIcon(int index)
{
    if (index < 0) {
        icons_.clear();
        deviceTotal_ = 0;
    } else if (index < size()) {
        deviceTotal_ -= icons_[static_cast<size_t>(index)]->deviceCount();
        icons_.erase(icons_.begin() + index);
    }
}

std::unique_ptr<IconEntry> IconLibrary::takeIcon(int index)
{
    if (index < 0 || index >= size())
        return nullptr;
    auto entry = std::move(icons_[static_cast<size_t>(index)]);
    icons_.erase(icons_.begin() + index);
    deviceTotal_ -= entry->deviceCount();
    return entry;
}

bool IconLibrary::addBlankIcon(int32_t w, int32_t h, int32_t bits)
{
    auto entry = std::make_unique<IconEntry>();
    if (entry->addDevice(w, h, bits) < 0)
        return false;
    appendIcon(std::move(entry));
    return true;
}

void IconLibrary::moveIcon(int from, int to)
{
    if (from < 0 || from >= size() || to < 0 || to >= size() || from == to)
        return;
    auto entry = std::move(icons_[static_cast<size_t>(from)]);
    icons_.erase(icons_.begin() + from);
    icons_.insert(icons_.begin() + to, std::move(entry));
}

void IconLibrary::swapIcons(int a, int b)
{
    if (a < 0 || a >= size() || b < 0 || b >= size())
        return;
    std::swap(icons_[static_cast<size_t>(a)], icons_[static_cast<size_t>(b)]);
}

int IconLibrary::addDevice(int icon, int32_t w, int32_t h, int32_t bits)
{
    if (icon < 0 || icon >= size())
        return -1;
    const int index = at(icon).addDevice(w, h, bits);
    if (index >= 0)
        ++deviceTotal_;
    return index;
}

void IconLibrary::removeDevice(int icon, int device)
{
    if (icon < 0 || icon >= size())
        return;
    IconEntry& entry = at(icon);
    const int before = entry.deviceCount();
    entry.removeDevice(device);
    deviceTotal_ -= before - entry.deviceCount();
}

void IconLibrary::recountDevices()
{
    int32_t total = 0;
    for (const auto& icon : icons_)
        total += icon->deviceCount();
    deviceTotal_ = total;
}

int IconLibrary::notifyAdded(int index)
{
    return loadObserver_ ? loadObserver_->addedMessage(index) : 0;
}

void IconLibrary::notifyFinished()
{
    if (loadObserver_)
        loadObserver_->finishedMessage();
}

void IconLibrary::notifyProgress(int phase, int percent)
{
    if (progressObserver_)
        progressObserver_->progressMessage(phase, percent);
}

}  // namespace sigil
