// The edits of the library document: icons moved, swapped and copied by
// keys and drags.

#include "document/LibraryDocument.h"

namespace sigil {

void LibraryDocument::moveSelected(int to)
{
    modified_ = true;
    if (hasSelection())
        library_.moveIcon(selection_, to);
    emit iconsChanged();
    emit titleChanged();
}

void LibraryDocument::dropSelected(int to, bool copy, bool swap)
{
    if (!hasSelection())
        return;
    const int n = library_.size();
    if (copy) {
        if (to < 0 || to > n)
            to = n;
        const IconEntry& dragged = library_.at(selection_);
        auto entry = std::make_unique<IconEntry>();
        for (const IconDevice& device : dragged.devices) {
            entry->devices.emplace_back();
            entry->devices.back().copyFrom(device);
        }
        entry->name = dragged.name;
        entry->source = dragged.source;
        entry->current = dragged.current;
        library_.appendIcon(std::move(entry));
        if (to != n)
            library_.moveIcon(n, to);
        if (to < selection_)
            ++selection_;
        emit iconsChanged();
        emit countChangedMessage();
        markModified();
    } else if (to != selection_ && to >= 0 && to < n) {
        modified_ = true;
        if (swap)
            library_.swapIcons(selection_, to);
        else
            library_.moveIcon(selection_, to);
        selection_ = to;
        emit iconsChanged();
        emit titleChanged();
    }
    emit commandStateChanged();
}

}  // namespace sigil
