#pragma once
// Carries the load job's notices into the GUI thread. A read icon is
// appended to the library on the GUI thread, followed at once by the
// view's addedMessage handling, while the job waits; so painting never
// meets a half-done append. finishedMessage arrives queued.

#include <QObject>
#include <condition_variable>
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

    // GUI side: wakes a job that waits for its icon to be taken, after the
    // control was told to stop; the icon is dropped.
    void releaseWaitingJob();

signals:
    void added(int index);
    void finished();

private:
    void drain();

    const LoadControl& control_;
    std::mutex mutex_;
    std::condition_variable answered_;
    const std::function<int()>* pending_ = nullptr;
    bool done_ = false;
    int result_ = -1;
};

}  // namespace sigil
