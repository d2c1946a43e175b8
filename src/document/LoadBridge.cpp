#include "document/LoadBridge.h"

#include <QElapsedTimer>

namespace sigil {

namespace {
// Icons read ahead of the GUI: enough to keep both threads busy, few enough
// that a cancel ends the job soon after.
constexpr size_t kReadAhead = 8;
// One turn of the GUI thread appends icons for at most this long, so input
// is answered between turns.
constexpr qint64 kDrainSliceMs = 8;
}  // namespace

LoadBridge::LoadBridge(const LoadControl& control, QObject* parent) : QObject(parent), control_(control)
{}

int LoadBridge::deliverIcon(const std::function<int()>& append)
{
    std::unique_lock lock(mutex_);
    taken_.wait(lock, [this] { return queue_.size() < kReadAhead || control_.stopping(); });
    if (control_.stopping())
        return -1;
    const bool idle = queue_.empty();
    queue_.push_back(append);
    if (idle)
        QMetaObject::invokeMethod(this, &LoadBridge::drain, Qt::QueuedConnection);
    return 0;
}

void LoadBridge::drain()
{
    QElapsedTimer slice;
    slice.start();
    for (;;) {
        std::function<int()> append;
        {
            std::lock_guard lock(mutex_);
            if (queue_.empty())
                return;
            if (slice.elapsed() >= kDrainSliceMs) {
                QMetaObject::invokeMethod(this, &LoadBridge::drain, Qt::QueuedConnection);
                return;
            }
            append = std::move(queue_.front());
            queue_.pop_front();
        }
        taken_.notify_all();
        addedMessage(append());
    }
}

int LoadBridge::addedMessage(int index)
{
    emit added(index);
    return 0;
}

void LoadBridge::finishedMessage()
{
    // After the last icon: the job waits until the GUI has taken every one.
    std::unique_lock lock(mutex_);
    taken_.wait(lock, [this] { return queue_.empty() || control_.stopping(); });
    QMetaObject::invokeMethod(this, &LoadBridge::finished, Qt::QueuedConnection);
}

void LoadBridge::releaseWaitingJob()
{
    std::lock_guard lock(mutex_);
    queue_.clear();
    taken_.notify_all();
}

}  // namespace sigil
