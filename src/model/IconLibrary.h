#pragma once
// The ordered list of icons that the document holds and the view shows,
// with the running device total and the notices of readers and writers.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/DisplaySettings.h"
#include "model/IconEntry.h"

namespace sigil {

// Receives the load job's notices. The GUI keeps each icon handed over by
// deliverIcon and appends it on its own thread; finishedMessage reaches it
// queued.
class LoadObserver {
public:
    virtual ~LoadObserver() = default;
    // An icon was appended at `index`; the caller waits for the answer.
    virtual int addedMessage(int index) = 0;
    // The load job has ended.
    virtual void finishedMessage() = 0;
    // Hands a read icon over: runs `append`, which adds it to the list and
    // answers its index, then addedMessage for that index. An observer may
    // keep `append` (it owns the icon) and run both later on another thread,
    // in the order the icons came, while the job reads on; it answers -1
    // when the icon was dropped instead (the job is being stopped), else the
    // index, or 0 when the append is still to come.
    virtual int deliverIcon(const std::function<int()>& append)
    {
        const int index = append();
        addedMessage(index);
        return index;
    }
};

// Receives the library writer's progress: phase 0 to 3 and a percentage.
class ProgressObserver {
public:
    virtual ~ProgressObserver() = default;
    virtual void progressMessage(int phase, int percent) = 0;
};

// The list belongs to the thread that uses the library (the window's, or
// sigil's only one) and is neither read nor changed anywhere else while it
// goes on: a load job on a thread of its own hands every icon over through
// the load observer, which appends it on the owner's thread, or runs alone
// while its starter waits for it. So the list needs no lock.
class IconLibrary {
public:
    IconLibrary();
    ~IconLibrary();
    IconLibrary(const IconLibrary&) = delete;
    IconLibrary& operator=(const IconLibrary&) = delete;

    int size() const { return static_cast<int>(icons_.size()); }
    bool empty() const { return icons_.empty(); }
    IconEntry& at(int index) { return *icons_[static_cast<size_t>(index)]; }
    const IconEntry& at(int index) const { return *icons_[static_cast<size_t>(index)]; }
    int deviceTotal() const { return deviceTotal_; }

    // Appends an entry and adds its device count to the total; the new index.
    int appendIcon(std::unique_ptr<IconEntry> entry);
    // Hands over an icon a reader has finished: `current` on its last device, appended and announced through the load
    // observer (which may run the append on its own thread).
    int addReadIcon(std::unique_ptr<IconEntry> entry);
    // Inserts an entry at `index` (clamped to the list).
    int insertIcon(int index, std::unique_ptr<IconEntry> entry);
    // Frees icon `index`, or every icon for -1.
    void removeIcon(int index);
    // Takes icon `index` out of the list and hands it over; null when there
    // is no such icon.
    std::unique_ptr<IconEntry> takeIcon(int index);
    // Appends an unnamed icon with one blank device.
    bool addBlankIcon(int32_t w, int32_t h, int32_t bits);
    // Moves an entry to another position; the device total is unchanged.
    void moveIcon(int from, int to);
    // Exchanges two entries.
    void swapIcons(int a, int b);
    // Device edits on an icon of the library, keeping the device total.
    int addDevice(int icon, int32_t w, int32_t h, int32_t bits);
    void removeDevice(int icon, int device);
    // Re-derives the total after an icon's devices were changed in place.
    void recountDevices();

    // Notices; each does nothing when nobody registered.
    int notifyAdded(int index);
    void notifyFinished();
    void notifyProgress(int phase, int percent);

    void setLoadObserver(LoadObserver* observer) { loadObserver_ = observer; }
    void setProgressObserver(ProgressObserver* observer) { progressObserver_ = observer; }

    // The settings readers import with (automatic transparency, Mac
    // elements). The library keeps its own defaults until the application
    // hands it its loaded settings.
    void setDisplaySettings(const DisplaySettings* settings) { settings_ = settings ? settings : &defaults_; }
    const DisplaySettings& displaySettings() const { return *settings_; }

private:
    std::vector<std::unique_ptr<IconEntry>> icons_;
    int32_t deviceTotal_ = 0;
    LoadObserver* loadObserver_ = nullptr;
    ProgressObserver* progressObserver_ = nullptr;
    DisplaySettings defaults_;
    const DisplaySettings* settings_ = &defaults_;
};

}  // namespace sigil
