// Counts the bytes the process holds from operator new, so the harness can
// report how much heap one run of a codec takes at its peak. The counting
// replaces the global operator new and delete for the whole program.
#pragma once

#include <cstddef>

namespace zorpbench {

// Bytes currently allocated through operator new.
size_t HeapInUse();
// Starts a new peak measurement at the current level.
void ResetHeapPeak();
// Highest level since the last ResetHeapPeak, less the level at that time.
size_t HeapPeakSinceReset();

} // namespace zorpbench
