// The editing commands of the library document. Each checks its own
// conditions (keys call it directly), changes the library by one step on
// the undo stack, and leaves the selection where the user expects it.

#include <QHash>
#include <unordered_map>

#include "document/LibraryDocument.h"
#include "document/UndoSteps.h"
#include "formats/IconMaker.h"
#include "imaging/DevicePixels.h"
#include "model/TransientPixels.h"
#include "platform/StringTable.h"
#include "settings/GeneralSettings.h"

namespace sigil {

namespace {

std::unique_ptr<IconEntry> copyOfIcon(const IconEntry& icon)
{
    auto copy = std::make_unique<IconEntry>();
    copy->devices.reserve(icon.devices.size());
    for (const IconDevice& device : icon.devices) {
        copy->devices.emplace_back();
        copy->devices.back().copyFrom(device);
    }
    copy->name = icon.name;
    copy->source = icon.source;
    copy->current = icon.current;
    return copy;
}

// Whether the batch delete boxes take this device: by colour class (16-bit
// devices have none) or by size.
bool deviceMatches(const IconDevice& d, const BatchDeleteBoxes& boxes)
{
    static constexpr int kBits[] = {1, 4, 8, 24, 32};
    for (int i = 0; i < 5; ++i)
        if (boxes[static_cast<size_t>(i)] && d.bitCount == kBits[i])
            return true;
    if (boxes[5] && d.width != d.height)
        return true;
    static constexpr int kSides[] = {16, 24, 32, 48, 64, 72, 128};
    for (int i = 0; i < 7; ++i)
        if (boxes[static_cast<size_t>(6 + i)] && d.width == kSides[i] && d.height == kSides[i])
            return true;
    return false;
}

// The shape of an icon's devices (sizes, depths, block sizes) and a hash of
// their bytes: icons that differ here are never the same, so each icon is
// compared with the few kept icons that share its key.
struct IconKey {
    std::vector<int64_t> shape;
    size_t contents = 0;
    bool operator==(const IconKey& other) const = default;
};

struct IconKeyHash {
    size_t operator()(const IconKey& key) const { return qHashRange(key.shape.begin(), key.shape.end(), key.contents); }
};

IconKey keyOf(const IconEntry& icon)
{
    IconKey key;
    for (const IconDevice& d : icon.devices) {
        key.shape.insert(key.shape.end(), {d.width, d.height, d.bitCount, d.allocatedBytes()});
        // A PNG image not decoded yet is hashed from a decoded copy, so a
        // large library is not left holding every image decoded.
        IconDevice scratch;
        const IconDevice& pixels = transientPixels(d, scratch);
        const auto* bytes = reinterpret_cast<const char*>(pixels.blockData());
        key.contents = qHash(QByteArrayView(bytes, static_cast<qsizetype>(d.allocatedBytes())), key.contents);
    }
    return key;
}

// Icons of equal shape whose blocks differ in size (a short block compares
// as its leading bytes) fall outside the key; they are rare and compared
// one by one.
bool blocksOfOneSize(const IconEntry& icon)
{
    for (const IconDevice& d : icon.devices)
        if (d.allocatedBytes() != d.blockBytes())
            return false;
    return true;
}

}  // namespace

void LibraryDocument::addIcon()
{
    if (loading_ || !host_)
        return;
    NewIconChoice choice{general_.defaultWidth, general_.defaultHeight, general_.defaultBitCount};
    if (!host_->chooseNewIcon(choice))
        return;
    general_.defaultWidth = choice.width;
    general_.defaultHeight = choice.height;
    general_.defaultBitCount = choice.bitCount;
    // No colour class chosen: nothing to make, and the library stays as it is.
    if (choice.bitCount == 0)
        return;
    auto entry = std::make_unique<IconEntry>();
    if (entry->addDevice(choice.width, choice.height, choice.bitCount) < 0)
        return;
    nameUntitled();
    const int index = library_.size();
    std::vector<IconsStep::Slot> places;
    places.push_back({index, std::move(entry)});
    push(new IconsStep(*this, IconsStep::Kind::Insert, std::move(places), loadString(str::StepAdd), index, selection_));
}

void LibraryDocument::deleteSelected()
{
    if (loading_ || !hasSelection())
        return;
    const int k = selection_;
    const int count = library_.size();
    std::vector<IconsStep::Slot> places;
    places.push_back({k, nullptr});
    push(new IconsStep(*this, IconsStep::Kind::Remove, std::move(places), loadString(str::StepDelete),
                       k < count - 1 ? k : count - 2, k));
}

void LibraryDocument::duplicateSelected()
{
    if (loading_ || !hasSelection())
        return;
    std::vector<IconsStep::Slot> places;
    places.push_back({library_.size(), copyOfIcon(library_.at(selection_))});
    push(new IconsStep(*this, IconsStep::Kind::Insert, std::move(places), loadString(str::StepDuplicate), selection_,
                       selection_));
}

void LibraryDocument::renameSelected()
{
    if (loading_ || !hasSelection() || !host_)
        return;
    std::string name = library_.at(selection_).name;
    if (!host_->chooseName(name))
        return;
    push(new RenameStep(*this, selection_, std::move(name), loadString(str::StepRename)));
}

void LibraryDocument::deleteSameIcons()
{
    if (loading_)
        return;
    int removed = 0;
    {
        // Comparing thousands of icons takes seconds.
        WaitGuard wait(host_);
        emit statusMessage(loadString(str::SearchingSameIcons));
        removed = removeSameIcons();
        emit statusMessage(QString());
    }
    if (!host_)
        return;
    if (removed == 0)
        host_->inform(loadString(str::NoSameIcons));
    else
        host_->inform(loadString(str::SameIconsDeleted).replace(QLatin1String("%d"), QString::number(removed)));
}

int LibraryDocument::removeSameIcons()
{
    // Each icon that equals an earlier kept icon goes; the earlier one stays.
    std::unordered_map<IconKey, std::vector<int>, IconKeyHash> kept;
    std::vector<int> oddBlocks;  // kept icons with short blocks
    std::vector<IconsStep::Slot> places;
    for (int j = 0; j < library_.size(); ++j) {
        const IconEntry& candidate = library_.at(j);
        auto same = [&](int i) { return library_.at(i).sameIcon(candidate); };
        IconKey key = keyOf(candidate);
        std::vector<int>& group = kept[key];
        const bool found =
            std::any_of(group.begin(), group.end(), same) || std::any_of(oddBlocks.begin(), oddBlocks.end(), same);
        if (found) {
            places.push_back({j, nullptr});
            continue;
        }
        group.push_back(j);
        if (!blocksOfOneSize(candidate))
            oddBlocks.push_back(j);
    }
    const int removed = static_cast<int>(places.size());
    if (removed == 0)
        return 0;
    const int n = library_.size() - removed;
    push(new IconsStep(*this, IconsStep::Kind::Remove, std::move(places), loadString(str::StepDeleteSameIcons),
                       selection_ < n ? selection_ : n - 1, selection_));
    return removed;
}

void LibraryDocument::batchDeleteDevices()
{
    if (loading_ || !host_)
        return;
    BatchDeleteBoxes boxes{};
    if (!host_->chooseDevicesToDelete(boxes))
        return;
    WaitGuard wait(host_);
    emit statusMessage(loadString(str::DeletingDevices));
    std::vector<DevicesStep::Change> changes;
    for (int i = 0; i < library_.size(); ++i) {
        const IconEntry& icon = library_.at(i);
        // An icon keeps at least one device: the walk stops when one is left.
        std::vector<const IconDevice*> left;
        for (const IconDevice& d : icon.devices)
            left.push_back(&d);
        bool changed = false;
        for (size_t pos = 0; pos < left.size() && left.size() > 1;) {
            if (deviceMatches(*left[pos], boxes)) {
                left.erase(left.begin() + static_cast<std::ptrdiff_t>(pos));
                changed = true;
            } else {
                ++pos;
            }
        }
        if (!changed)
            continue;
        DevicesStep::Change change{i, {}, std::min(icon.current, static_cast<int32_t>(left.size()) - 1)};
        for (const IconDevice* d : left) {
            change.devices.emplace_back();
            change.devices.back().copyFrom(*d);
        }
        changes.push_back(std::move(change));
    }
    if (!changes.empty())
        push(new DevicesStep(*this, std::move(changes), loadString(str::StepBatchDelete)));
    emit statusMessage(QString());
}

void LibraryDocument::makeSizes()
{
    if (loading_ || !hasSelection() || !host_)
        return;
    std::vector<int> chosen(general_.makeSizes.begin(), general_.makeSizes.end());
    if (!host_->chooseSizesToMake(chosen))
        return;
    general_.makeSizes.assign(chosen.begin(), chosen.end());
    const IconEntry& icon = library_.at(selection_);
    const IconDevice* largest = nullptr;
    for (const IconDevice& d : icon.devices)
        if (!largest || int64_t{d.width} * d.height > int64_t{largest->width} * largest->height ||
            (d.width == largest->width && d.height == largest->height && d.bitCount > largest->bitCount))
            largest = &d;
    if (!largest)
        return;
    WaitGuard wait(host_);
    MakeInput input;
    input.pixels = devicePixels(*largest);
    std::vector<int> sizes;
    for (const int size : chosen) {
        const bool had = std::any_of(icon.devices.begin(), icon.devices.end(), [size](const IconDevice& d) {
            return d.width == size && d.height == size && d.bitCount == 32;
        });
        if (!had && size <= std::max(input.pixels.width, input.pixels.height))
            sizes.push_back(size);
    }
    std::vector<MadeImage> images;
    std::string reason;
    IconEntry made;
    if (sizes.empty() || input.pixels.empty() ||
        !makeImages({&input, 1}, sizes, MadeFormat::Ico, false, images, reason) ||
        !iconEntryOfImages(images, false, made))
        return;
    IconEntry result;
    for (const IconDevice& d : icon.devices) {
        result.devices.emplace_back();
        result.devices.back().copyFrom(d);
    }
    for (IconDevice& d : made.devices)
        result.devices.push_back(std::move(d));
    result.sortDevices();
    // The image shown stays the one shown, wherever the sort put it.
    int32_t current = icon.current;
    if (current >= 0 && current < icon.deviceCount()) {
        const IconDevice& shown = icon.devices[size_t(current)];
        for (int i = 0; i < result.deviceCount(); ++i)
            if (result.devices[size_t(i)].sameDevice(shown)) {
                current = i;
                break;
            }
    }
    replaceDevices(selection_, std::move(result.devices), current, loadString(str::StepMakeSizes));
}

bool LibraryDocument::replaceDevices(int icon, std::vector<IconDevice> devices, int32_t current, const QString& text)
{
    if (loading_ || icon < 0 || icon >= library_.size())
        return false;
    std::vector<DevicesStep::Change> changes;
    changes.push_back({icon, std::move(devices), current});
    push(new DevicesStep(*this, std::move(changes), text));
    return true;
}

void LibraryDocument::undo()
{
    if (!loading_)
        undo_.undo();
}

void LibraryDocument::redo()
{
    if (!loading_)
        undo_.redo();
}

void LibraryDocument::moveSelected(int to)
{
    if (loading_ || !hasSelection() || to < 0 || to >= library_.size() || to == selection_)
        return;
    push(new MoveStep(*this, selection_, to, false, loadString(str::StepMove)));
}

void LibraryDocument::dropSelected(int to, bool copy, bool swap)
{
    if (loading_ || !hasSelection())
        return;
    const int n = library_.size();
    if (copy) {
        if (to < 0 || to > n)
            to = n;
        const int selectionAfter = to < selection_ ? selection_ + 1 : selection_;
        std::vector<IconsStep::Slot> places;
        places.push_back({to, copyOfIcon(library_.at(selection_))});
        push(new IconsStep(*this, IconsStep::Kind::Insert, std::move(places), loadString(str::StepCopy), selectionAfter,
                           selection_));
    } else if (to != selection_ && to >= 0 && to < n) {
        push(new MoveStep(*this, selection_, to, swap, swap ? loadString(str::StepSwap) : loadString(str::StepMove)));
    }
    emit commandStateChanged();
}

}  // namespace sigil
