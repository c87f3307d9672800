// Time and scheduling services: a millisecond tick counter and Sleep, whose
// 0 gives up the rest of the thread's time slice.
#pragma once

#include "Export.h"

#include <cstdint>

namespace zorp::fw {

/// Milliseconds from a monotonic clock; wraps like a 32-bit counter.
ZORP_API uint32_t GetTickCount();

/// Sleeps for Milliseconds. 0 ends the thread's time slice, handing the
/// processor to other threads that are ready to run: the thread yields once
/// it has had YieldSliceMilliseconds of processor time since it last did, and
/// otherwise keeps the processor.
ZORP_API void Sleep(uint32_t Milliseconds);

/// Processor time a thread may use between two yields of Sleep(0).
inline constexpr uint32_t YieldSliceMilliseconds = 10;

} // namespace zorp::fw
