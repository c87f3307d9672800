// Match copies of the LZH expander inside its ring of recent output, with
// the result of copying byte by byte. TDirectOutput::PutMatch uses it for the
// matches it does not copy and put out in one pass.
#pragma once

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

} // namespace zorp
