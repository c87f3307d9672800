#include "component/WorkerPool.h"

#include "component/Zorp.h"

#include <utility>

namespace zorp {

TWorkerPool::TWorkerPool(int Count, const std::function<std::unique_ptr<TZorp>()>& Make) {
    FWorkers.reserve(static_cast<size_t>(Count));
    for (int i = 0; i < Count; ++i)
        FWorkers.push_back(Make());
    FThreads.reserve(FWorkers.size());
    try {
        for (const std::unique_ptr<TZorp>& worker : FWorkers)
            FThreads.emplace_back([this, w = worker.get()] { Run(*w); });
    } catch (...) {
        Stop(); // the threads already started
        throw;
    }
}

TWorkerPool::~TWorkerPool() {
    Stop();
}

void TWorkerPool::Stop() {
    {
        const std::lock_guard<std::mutex> lock(FLock);
        FStopping = true;
        FJobs.clear();
    }
    FWake.notify_all();
    for (std::thread& thread : FThreads)
        if (thread.joinable())
            thread.join();
}

std::future<void> TWorkerPool::Submit(std::function<void(TZorp&)> Job,
                                      std::exception_ptr& Failure) {
    std::packaged_task<void(TZorp&)> task([Job = std::move(Job), &Failure](TZorp& Worker) {
        try {
            Job(Worker);
        } catch (...) {
            Failure = std::current_exception();
        }
    });
    std::future<void> done = task.get_future();
    {
        const std::lock_guard<std::mutex> lock(FLock);
        FJobs.push_back(std::move(task));
    }
    FWake.notify_one();
    return done;
}

void TWorkerPool::Run(TZorp& Worker) {
    for (;;) {
        std::packaged_task<void(TZorp&)> task;
        {
            std::unique_lock<std::mutex> lock(FLock);
            FWake.wait(lock, [this] { return FStopping || !FJobs.empty(); });
            if (FStopping)
                return;
            task = std::move(FJobs.front());
            FJobs.pop_front();
        }
        task(Worker);
    }
}

} // namespace zorp
