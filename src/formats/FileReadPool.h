#pragma once
// Reads files on worker threads, each into a list of its own, while the
// caller takes the results in the order the files were handed in. A folder
// of many small icon files then keeps every core busy, and the icons still
// reach the library one at a time, in folder order.

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "model/IconEntry.h"

namespace sigil {

class IconLibrary;

struct FileReadResult {
    bool read = false;
    std::vector<std::unique_ptr<IconEntry>> icons;
};

class FileReadPool {
public:
    // Reads into a private library that takes `library`'s display settings.
    using Read = std::function<bool(IconLibrary& into)>;

    // No workers at all (workers < 1) runs every read on the caller's thread
    // when its result is taken.
    FileReadPool(const IconLibrary& library, int workers);
    ~FileReadPool();  // waits for the reads under way; unread ones are dropped
    FileReadPool(const FileReadPool&) = delete;
    FileReadPool& operator=(const FileReadPool&) = delete;

    // The number of workers for this machine: one per core, at most four;
    // none on a single core.
    static int defaultWorkers();

    // Queues a read; its result waits in line until taken.
    void submit(Read read);
    // Results submitted and not yet taken.
    size_t pending() const { return results_.size(); }
    // The oldest result, waiting for its read to finish.
    FileReadResult takeNext();
    // Drops every result not taken; reads not yet started are skipped.
    void dropPending();

private:
    FileReadResult run(const Read& read) const;
    void work();

    const IconLibrary& library_;
    std::deque<std::future<FileReadResult>> results_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::packaged_task<FileReadResult()>> tasks_;
    bool closing_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace sigil
