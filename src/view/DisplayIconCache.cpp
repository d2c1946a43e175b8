#include "view/DisplayIconCache.h"

namespace sigil {

const DisplayIcons& DisplayIconCache::ensure(const IconEntry& entry, const DisplaySettings& settings, qreal ratio)
{
    if (ratio != ratio_) {
        clear();
        ratio_ = ratio;
    }
    auto it = index_.find(&entry);
    if (it != index_.end()) {
        order_.splice(order_.begin(), order_, it->second);
        return order_.front().icons;
    }
    order_.push_front(Slot{&entry, makeDisplayIcons(entry, settings, ratio)});
    index_.emplace(&entry, order_.begin());
    bytes_ += order_.front().icons.bytes();
    evict();
    return order_.front().icons;
}

const DisplayIcons* DisplayIconCache::find(const IconEntry* entry) const
{
    const auto it = index_.find(entry);
    return it == index_.end() ? nullptr : &it->second->icons;
}

void DisplayIconCache::evict()
{
    // The entry just made is never evicted: it is about to be painted.
    while (bytes_ > budget_ && order_.size() > 1) {
        bytes_ -= order_.back().icons.bytes();
        index_.erase(order_.back().entry);
        order_.pop_back();
    }
}

void DisplayIconCache::forget(const IconEntry* entry)
{
    auto it = index_.find(entry);
    if (it == index_.end())
        return;
    bytes_ -= it->second->icons.bytes();
    order_.erase(it->second);
    index_.erase(it);
}

void DisplayIconCache::clear()
{
    order_.clear();
    index_.clear();
    bytes_ = 0;
}

}  // namespace sigil
