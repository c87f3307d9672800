// TWorkerPool: a few threads, each with a component of its own (and so an
// engine and buffers of its own), running the jobs handed to them.
#pragma once

#include <condition_variable>
#include <deque>
#include <exception>
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

    // Queues Job; the future is ready once it has run. What Job raised is
    // put in Failure, which the caller owns and reads once the future is
    // ready: the exception is then freed on the caller's thread, never on a
    // worker's while the caller may still be using it.
    std::future<void> Submit(std::function<void(TZorp&)> Job, std::exception_ptr& Failure);

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
