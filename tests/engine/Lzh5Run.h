// Running the LZH5 codec on byte strings in tests, and writing hand-made
// bit streams.
#pragma once

#include "engine/EngineRun.h"

#include <string>

namespace zorp::test {

// The raw LZH5 stream of Input, written through the engine's byte I/O.
inline std::string CompressLzh5(const std::string& Input, int32_t Budget = 0x7FFFFFFF) {
    EngineRun run(Input, Budget);
    run.Engine.CompressLZH5();
    run.Flush();
    return run.Dest.DataString();
}

// Everything ExpandLZH5(Count) writes for Packed.
inline std::string ExpandLzh5(const std::string& Packed, int32_t Count) {
    EngineRun run(Packed);
    run.Engine.ExpandLZH5(Count);
    run.Flush();
    return run.Dest.DataString();
}

// Bytes from a string of '0' and '1' (other characters are ignored), most
// significant bit first, the last byte completed with zero bits.
inline std::string BitsToBytes(const std::string& Bits) {
    std::string out;
    int count = 0;
    unsigned byte = 0;
    for (const char c : Bits) {
        if (c != '0' && c != '1')
            continue;
        byte = (byte << 1) | (c == '1' ? 1u : 0u);
        if (++count == 8) {
            out += static_cast<char>(byte);
            byte = 0;
            count = 0;
        }
    }
    if (count > 0)
        out += static_cast<char>(byte << (8 - count));
    return out;
}

// Value as a field of Width bits.
inline std::string BitField(unsigned Value, int Width) {
    std::string bits;
    for (int i = Width - 1; i >= 0; --i)
        bits += (Value >> i & 1) ? '1' : '0';
    return bits + ' ';
}

} // namespace zorp::test
