#pragma once
// Carries the load job's notices into the GUI thread. Read icons queue up,
// a few at most, while the job reads on; the GUI thread appends them to the
// library one at a time, in order, each followed at once by the view's
// addedMessage handling, so painting never meets a half-done append.
// finishedMessage arrives after the last icon.

#include <QObject>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "formats/LoadControl.h"
#include "model/IconLibrary.h"

namespace sigil {

class LoadBridge : public QObject, public LoadObserver {
    Q_OBJECT
public:
    explicit LoadBridge(const LoadControl& control, QObject* parent = nullptr);

    // Load job side.
    int deliverIcon(const std::function<int()>& append) override;
    void finishedMessage() override;
    int addedMessage(int index) override;

    // GUI side: wakes a job that waits for room in the queue or for the
    // queue to empty, after the control was told to stop; the icons still
    // queued are dropped.
    void releaseWaitingJob();

signals:
    void added(int index);
    void finished();

private:
    void drain();

    const LoadControl& control_;
    std::mutex mutex_;
    std::condition_variable taken_;  // an icon left the queue, or a stop
    std::deque<std::function<int()>> queue_;
};

}  // namespace sigil
