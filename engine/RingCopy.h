// Match copies of the LZ expanders: a match is copied inside the ring of
// recent output first and then handed to the output as one or two stretches,
// which puts out the same bytes, in the same order, as copying and writing
// byte by byte.
#pragma once

#include "engine/CompThreadSafety.h"

#include <cstdint>
#include <cstring>

namespace zorp {

// ring[to + k] = ring[from + k] for k = 0 .. len - 1, in that order (so a
// match overlapping its own output repeats it), positions modulo mask + 1.
inline void CopyMatch(uint8_t* ring, unsigned mask, unsigned from, unsigned to, unsigned len) {
    const unsigned size = mask + 1;
    if (from + len <= size && to + len <= size) {
        if (from + len <= to || to + len <= from) {
            std::memcpy(ring + to, ring + from, len);
        } else {
            for (unsigned k = 0; k < len; ++k)
                ring[to + k] = ring[from + k];
        }
        return;
    }
    for (unsigned k = 0; k < len; ++k)
        ring[(to + k) & mask] = ring[(from + k) & mask];
}

// Puts out the len ring bytes from position at on (wrapping at size).
inline void PutRingBytes(TCompThreadSafety& engine, const uint8_t* ring, unsigned size, unsigned at,
                         unsigned len) {
    const unsigned first = len < size - at ? len : size - at;
    engine.PutBytes(ring + at, static_cast<int32_t>(first));
    if (first < len)
        engine.PutBytes(ring, static_cast<int32_t>(len - first));
}

} // namespace zorp
