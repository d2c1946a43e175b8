#pragma once
// What a load job shares with whoever started it: the paths to read, the
// requests to end it early, and what it found worth telling afterwards.
// cancelRequested is looked at between paths, folder entries and NE icons;
// the job then ends after the file in hand. stopRequested (a second request
// while a cancellation is pending) is also looked at inside every reader
// loop: the reader then drops the icon it is building and returns, so
// nothing is left half-added.

#include <atomic>
#include <string>
#include <vector>

namespace sigil {

struct LoadControl {
    std::vector<std::string> pendingPaths;
    std::atomic<bool> cancelRequested{false};
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> gifRefused{false};
    // Paths given that do not exist, and files that were tried and gave
    // nothing readable (inside folders only those named as icon files or
    // pictures: a folder may hold anything else). Written by the job's
    // thread, read once it has ended; whoever tells the user clears it.
    std::vector<std::string> refusedFiles;

    // The user's cancel: the first request cancels, a second one stops.
    void requestCancel()
    {
        if (cancelRequested.exchange(true))
            stopRequested = true;
    }
    bool cancelled() const { return cancelRequested.load(); }
    bool stopping() const { return stopRequested.load(std::memory_order_relaxed); }
    // Clears the requests and gifRefused before a job.
    void resetFlags()
    {
        cancelRequested = false;
        stopRequested = false;
        gifRefused = false;
    }
};

// Readers take an optional control; without one nothing ends them early.
inline bool cancelled(const LoadControl* control)
{
    return control && control->cancelled();
}
inline bool stopping(const LoadControl* control)
{
    return control && control->stopping();
}
// The flag the image readers below the formats look at.
inline const std::atomic<bool>* stopFlag(const LoadControl* control)
{
    return control ? &control->stopRequested : nullptr;
}

}  // namespace sigil
