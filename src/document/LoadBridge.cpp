#include "document/LoadBridge.h"

namespace sigil {

LoadBridge::LoadBridge(const LoadControl& control, QObject* parent) : QObject(parent), control_(control)
{}

int LoadBridge::deliverIcon(const std::function<int()>& append)
{
    std::unique_lock lock(mutex_);
    pending_ = &append;
    done_ = false;
    QMetaObject::invokeMethod(this, &LoadBridge::drain, Qt::QueuedConnection);
    // Once the GUI has taken the icon it finishes with it; before that a
    // stop lets the job go on without it.
    answered_.wait(lock, [this] { return done_ || (pending_ && control_.stopping()); });
    if (!done_) {
        pending_ = nullptr;
        return -1;
    }
    return result_;
}

void LoadBridge::drain()
{
    const std::function<int()>* append = nullptr;
    {
        std::lock_guard lock(mutex_);
        append = pending_;
        pending_ = nullptr;
    }
    if (!append)
        return;
    const int index = (*append)();
    addedMessage(index);
    {
        std::lock_guard lock(mutex_);
        result_ = index;
        done_ = true;
    }
    answered_.notify_all();
}

int LoadBridge::addedMessage(int index)
{
    emit added(index);
    return 0;
}

void LoadBridge::finishedMessage()
{
    QMetaObject::invokeMethod(this, &LoadBridge::finished, Qt::QueuedConnection);
}

void LoadBridge::releaseWaitingJob()
{
    std::lock_guard lock(mutex_);
    answered_.notify_all();
}

}  // namespace sigil
