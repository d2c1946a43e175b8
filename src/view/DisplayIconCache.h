#pragma once
// Display images made when a cell is first painted, kept for the most
// recently painted icons within a memory budget. A library of 20 000 icons
// at display size 256 would need gigabytes if every icon kept its images.

#include <cstddef>
#include <list>
#include <unordered_map>

#include "model/DisplaySettings.h"
#include "model/IconEntry.h"
#include "ui/DisplayImages.h"

namespace sigil {

class DisplayIconCache {
public:
    explicit DisplayIconCache(size_t budgetBytes = size_t{256} << 20) : budget_(budgetBytes) {}

    // The entry's display images, made if they are not kept yet; the entry
    // becomes the most recently used, and older entries lose theirs beyond
    // the budget. Valid until the next call that changes the cache.
    // Images made for another device pixel ratio than the last asked for
    // are dropped first (the window moved to another screen).
    const DisplayIcons& ensure(const IconEntry& entry, const DisplaySettings& settings, qreal ratio = 1.0);
    bool has(const IconEntry* entry) const { return index_.count(entry) != 0; }
    // The images kept for the entry, or null.
    const DisplayIcons* find(const IconEntry* entry) const;
    // The entry is about to be destroyed or changed outside the cache.
    void forget(const IconEntry* entry);
    // Drops every image made so far (after a size or colour change): they
    // are made again for the cells painted next.
    void invalidate() { clear(); }
    // Forgets every entry (the library was emptied).
    void clear();

    size_t bytes() const { return bytes_; }
    size_t entries() const { return index_.size(); }

private:
    struct Slot {
        const IconEntry* entry;
        DisplayIcons icons;
    };
    void evict();

    size_t budget_;
    qreal ratio_ = 1.0;
    size_t bytes_ = 0;
    std::list<Slot> order_;  // most recent first
    std::unordered_map<const IconEntry*, std::list<Slot>::iterator> index_;
};

}  // namespace sigil
