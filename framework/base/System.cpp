#include "framework/base/System.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace zorp::fw {

namespace {

using std::chrono::nanoseconds;

nanoseconds ThreadCpuTime() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return std::chrono::seconds(t.tv_sec) + nanoseconds(t.tv_nsec);
}

} // namespace

uint32_t GetTickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

// Long operations call Sleep(0) every few kilobytes so that other threads get
// the processor. The scheduler preempts at about the slice length anyway, so
// yielding more often gains them nothing, while on a busy machine each yield
// can cost the caller a whole scheduling period. So a thread yields only once
// it has used a slice of processor time. The monotonic clock is cheap to read
// and gates the dearer reading of the thread's processor time to once a slice.
void Sleep(uint32_t Milliseconds) {
    using Clock = std::chrono::steady_clock;
    if (Milliseconds != 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds));
        return;
    }
    constexpr auto slice = std::chrono::milliseconds(YieldSliceMilliseconds);
    thread_local Clock::time_point lastLook{};
    thread_local nanoseconds lastYield{};
    const Clock::time_point now = Clock::now();
    if (now - lastLook < slice)
        return;
    lastLook = now;
    const nanoseconds used = ThreadCpuTime();
    if (used - lastYield < slice)
        return;
    lastYield = used;
    std::this_thread::yield();
}

} // namespace zorp::fw
