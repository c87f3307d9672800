// The buffer between the component and the files it reads and writes, so that
// the engine's 8 KiB reads and writes are not each a system call.
#pragma once

#include "framework/base/BufferedStream.h"
#include "framework/base/Exceptions.h"

#include <cstdint>

namespace zorp {

inline constexpr int32_t FileBufferSize = 64 * 1024;

// Runs Work on a buffered stream over File and flushes it. When Work fails,
// what it wrote still reaches File, as it would have without the buffer,
// before the error goes on.
template <class Work> void WriteThroughBuffer(fw::TStream& File, Work&& work) {
    fw::TBufferedStream buffered(File, FileBufferSize);
    try {
        work(buffered);
    } catch (...) {
        try {
            buffered.Flush();
        } catch (const fw::EWriteError&) {
            // The first error is the one to report.
        }
        throw;
    }
    buffered.Flush();
}

} // namespace zorp
