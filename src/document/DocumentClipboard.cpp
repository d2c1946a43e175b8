// The clipboard commands of the library document.

#include "document/Clipboard.h"
#include "document/LibraryDocument.h"
#include "document/UndoSteps.h"
#include "imaging/Conversions.h"
#include "platform/StringTable.h"

namespace sigil {

void LibraryDocument::copyDisplayedDevice()
{
    if (loading_ || !hasSelection())
        return;
    const IconEntry& icon = library_.at(selection_);
    const int device = icon.displayDevice(display_.iconSize);
    if (device < 0 || device >= icon.deviceCount())
        return;
    copyToClipboard(icon.devices[static_cast<size_t>(device)], false);
}

void LibraryDocument::paste()
{
    if (loading_)
        return;
    IconDevice picture;
    if (!pasteFromClipboard(picture, true, display_))
        return;
    auto entry = std::make_unique<IconEntry>();
    if (entry->addDevice(picture.width, picture.height, picture.bitCount) < 0 ||
        !replaceFrom(entry->devices[0], picture, true))
        return;
    nameUntitled();
    const int index = library_.size();
    std::vector<IconsStep::Slot> places;
    places.push_back({index, std::move(entry)});
    push(new IconsStep(*this, IconsStep::Kind::Insert, std::move(places), loadString(str::StepPaste), index,
                       selection_));
}

}  // namespace sigil
