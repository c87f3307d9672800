// The LZH5 compressor's working state for one call of CompressLZH5: the
// match finder with its text buffer and the block encoder. Allocated once per
// call and released when the call ends, however it ends (the output budget's
// EUnableToCompress included).
#pragma once

#include "engine/CompThreadSafety.h"
#include "engine/lzh5/Lzh5BlockEncoder.h"
#include "engine/lzh5/Lzh5MatchFinder.h"

namespace zorp::lzh5 {

class TCompressor {
public:
    explicit TCompressor(TCompThreadSafety& Engine) : FFinder(Engine), FEncoder(Engine) {}

    // Compresses the whole input; an empty input writes nothing.
    void Run();

private:
    TMatchFinder FFinder;
    TBlockEncoder FEncoder;
};

} // namespace zorp::lzh5
