// One codec run over a byte string, the engine set up as the driver sets it
// up: Compress* return the compressed bytes, Expand* the expanded bytes.
#pragma once

#include "engine/EngineRun.h"

#include <string>

namespace zorp::test {

inline std::string CompressRLE(const std::string& Input, int32_t Budget = 0x7FFFFFFF) {
    EngineRun run(Input, Budget);
    run.Engine.CompressRLE();
    run.Flush();
    return run.Dest.DataString();
}

inline std::string ExpandRLE(const std::string& Packed) {
    EngineRun run(Packed);
    run.Engine.ExpandRLE();
    run.Flush();
    return run.Dest.DataString();
}

inline std::string CompressLZH(const std::string& Input, int32_t Budget = 0x7FFFFFFF) {
    EngineRun run(Input, Budget);
    run.Engine.CompressLZH();
    run.Flush();
    return run.Dest.DataString();
}

inline std::string ExpandLZH(const std::string& Packed, int32_t Count) {
    EngineRun run(Packed);
    run.Engine.ExpandLZH(Count);
    run.Flush();
    return run.Dest.DataString();
}

// Byte string from a list of byte values.
inline std::string Bytes(std::initializer_list<int> Values) {
    std::string s;
    for (int v : Values)
        s += static_cast<char>(v);
    return s;
}

} // namespace zorp::test
