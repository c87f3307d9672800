// Reads an LZH stream back as its tokens (literal bytes and matches with
// their distances), for tests that check which tokens the compressor chose.
#pragma once

#include "engine/EngineRun.h"
#include "engine/lzh/LzhDecoder.h"

#include <memory>
#include <string>
#include <vector>

namespace zorp::test {

struct LzhToken {
    int Symbol = 0;   // 0..255 a literal byte, 256..313 a match of Symbol - 253 bytes
    int Distance = 0; // for a match: 1..4096 bytes back
    int Length() const { return Symbol < 256 ? 1 : Symbol - 253; }
};

// The tokens that produce Count bytes.
inline std::vector<LzhToken> LzhTokens(const std::string& Packed, size_t Count) {
    EngineRun run(Packed);
    auto decoder = std::make_unique<lzh::TDecoder>(run.Engine);
    std::vector<LzhToken> tokens;
    size_t produced = 0;
    while (produced < Count) {
        LzhToken token;
        token.Symbol = decoder->DecodeChar();
        if (token.Symbol >= 256)
            token.Distance = decoder->DecodePosition() + 1;
        produced += static_cast<size_t>(token.Length());
        tokens.push_back(token);
    }
    return tokens;
}

} // namespace zorp::test
