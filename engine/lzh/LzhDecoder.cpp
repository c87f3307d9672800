#include "engine/lzh/LzhDecoder.h"

#include "engine/DirectOutput.h"

#include <cstring>
#include <memory>

namespace zorp {

int32_t TCompThreadSafety::ExpandLZH(int32_t count) {
    if (count <= 0)
        return 0;
    auto decoder = std::make_unique<lzh::TDecoder>(*this);
    return decoder->Expand(count);
}

namespace lzh {

int32_t TDecoder::Expand(int32_t count) {
    // The ring the format starts from, oldest byte first: 60 zeros (its
    // positions 4036 to 4095), then 4036 spaces.
    uint8_t* at = FHistory.Start();
    std::memset(at - RingSize, 0, RingSize - StartPosition);
    TDirectOutput out(FEngine, count); // cuts a last match at count
    int64_t produced = 0;
    while (produced < count) {
        at = FHistory.KeepRoom(at, MaxMatch);
        const int v = DecodeChar();
        if (v < 256) {
            if (FBits.OverRead())
                return 0;
            out.Put(static_cast<uint8_t>(v));
            *at++ = static_cast<uint8_t>(v);
            ++produced;
        } else {
            // Position p of the code is the byte p + 1 back.
            const auto distance = static_cast<unsigned>(DecodePosition() + 1);
            if (FBits.OverRead())
                return 0;
            const int length = v - 255 + Threshold;
            out.PutMatch(at, distance, static_cast<unsigned>(length));
            at += length;
            produced += length;
        }
    }
    return static_cast<int32_t>(produced - count);
}

} // namespace lzh
} // namespace zorp
