#include "formats/FileReadPool.h"

#include <algorithm>

#include "model/IconLibrary.h"
#include "platform/ImageMemory.h"

namespace sigil {

FileReadPool::FileReadPool(const IconLibrary& library, int workers) : library_(library)
{
    for (int i = 0; i < workers; ++i)
        workers_.emplace_back([this] { work(); });
}

FileReadPool::~FileReadPool()
{
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
        tasks_.clear();
    }
    wake_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
}

int FileReadPool::defaultWorkers()
{
    const unsigned cores = std::thread::hardware_concurrency();
    return cores < 2 ? 0 : static_cast<int>(std::min(cores, 4u));
}

FileReadResult FileReadPool::run(const Read& read) const
{
    IconLibrary into;
    into.setDisplaySettings(&library_.displaySettings());
    FileReadResult result;
    // Readers answer failures; what escapes them (memory running out) must
    // not end the worker, so the file counts as unread.
    try {
        result.read = read(into);
    } catch (const std::exception&) {
        result.read = false;
    }
    result.icons.reserve(static_cast<size_t>(into.size()));
    while (!into.empty())
        result.icons.push_back(into.takeIcon(into.size() - 1));
    std::reverse(result.icons.begin(), result.icons.end());
    return result;
}

void FileReadPool::submit(Read read)
{
    if (workers_.empty()) {
        results_.push_back(std::async(std::launch::deferred, [this, read = std::move(read)] { return run(read); }));
        return;
    }
    std::packaged_task<FileReadResult()> task([this, read = std::move(read)] { return run(read); });
    results_.push_back(task.get_future());
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    wake_.notify_one();
}

FileReadResult FileReadPool::takeNext()
{
    if (results_.empty())
        return {};
    std::future<FileReadResult> next = std::move(results_.front());
    results_.pop_front();
    return next.get();
}

void FileReadPool::dropPending()
{
    {
        std::lock_guard lock(mutex_);
        tasks_.clear();
    }
    // Reads under way finish on their own; their results go nowhere.
    results_.clear();
}

void FileReadPool::work()
{
    const ReadingImages reading;
    for (;;) {
        std::packaged_task<FileReadResult()> task;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return closing_ || !tasks_.empty(); });
            if (tasks_.empty())
                return;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
    }
}

}  // namespace sigil
