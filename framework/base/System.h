// Time and scheduling services: a millisecond tick counter and Sleep, whose
// 0 gives up the rest of the thread's time slice.
#pragma once

#include <cstdint>

namespace zorp::fw {

// Milliseconds from a monotonic clock; wraps like a 32-bit counter.
uint32_t GetTickCount();

// Sleeps for Milliseconds; 0 yields the processor to other threads.
void Sleep(uint32_t Milliseconds);

} // namespace zorp::fw
