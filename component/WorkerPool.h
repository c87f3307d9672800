// TWorkerPool: a few threads, each with a component of its own (and so an
// engine and buffers of its own), running the jobs handed to them.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace zorp {

class TZorp;

class TWorkerPool {
public:
    // Starts Count threads, each with a component Make makes; a thread runs
    // every job on its own component. The components are made and freed on
    // the caller's thread; the workers share nothing else.
    TWorkerPool(int Count, const std::function<std::unique_ptr<TZorp>()>& Make);
    // Drops the jobs not yet started and waits for the running ones.
    ~TWorkerPool();
    TWorkerPool(const TWorkerPool&) = delete;
    TWorkerPool& operator=(const TWorkerPool&) = delete;

    // Queues Job; the future is ready once it has run, carrying what it raised.
    std::future<void> Submit(std::function<void(TZorp&)> Job);

private:
    void Run(TZorp& Worker);
    // Drops the queued jobs and joins the threads.
    void Stop();

    std::mutex FLock;
    std::condition_variable FWake;
    std::deque<std::packaged_task<void(TZorp&)>> FJobs;
    bool FStopping = false;
    std::vector<std::unique_ptr<TZorp>> FWorkers;
    std::vector<std::thread> FThreads;
};

} // namespace zorp
