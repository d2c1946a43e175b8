#include "view/DisplayIconCache.h"

namespace sigil {

namespace {
size_t imageBytes(const IconEntry& entry)
{
    return static_cast<size_t>(entry.normalIcon.sizeInBytes() + entry.selectedIcon.sizeInBytes());
}
void dropImages(IconEntry& entry)
{
    entry.normalIcon = QImage();
    entry.selectedIcon = QImage();
}
}  // namespace

void DisplayIconCache::ensure(IconEntry& entry, const DisplaySettings& settings)
{
    auto it = index_.find(&entry);
    if (it != index_.end()) {
        order_.splice(order_.begin(), order_, it->second);
        return;
    }
    entry.updateDisplayIcons(settings);
    const size_t bytes = imageBytes(entry);
    order_.push_front(Slot{&entry, bytes});
    index_.emplace(&entry, order_.begin());
    bytes_ += bytes;
    evict();
}

void DisplayIconCache::evict()
{
    // The entry just made is never evicted: it is about to be painted.
    while (bytes_ > budget_ && order_.size() > 1) {
        Slot& last = order_.back();
        dropImages(*last.entry);
        bytes_ -= last.bytes;
        index_.erase(last.entry);
        order_.pop_back();
    }
}

void DisplayIconCache::forget(const IconEntry* entry)
{
    auto it = index_.find(entry);
    if (it == index_.end())
        return;
    bytes_ -= it->second->bytes;
    order_.erase(it->second);
    index_.erase(it);
}

void DisplayIconCache::invalidate()
{
    for (Slot& slot : order_)
        dropImages(*slot.entry);
    clear();
}

void DisplayIconCache::clear()
{
    order_.clear();
    index_.clear();
    bytes_ = 0;
}

}  // namespace sigil
