#include "engine/lzh5/Lzh5Compressor.h"

#include <memory>

namespace zorp {

void TCompThreadSafety::CompressLZH5() {
    auto compressor = std::make_unique<lzh5::TCompressor>(*this);
    compressor->Run();
}

namespace lzh5 {

void TCompressor::Run() {
    TMatchFinder& f = FFinder;
    if (!f.start())
        return;
    while (f.remaining > 0) {
        const int lastLen = f.matchLen;
        const int lastPos = f.matchPos;
        f.advance(1);
        if (f.matchLen > f.remaining)
            f.matchLen = f.remaining;
        // Lazy rule: the match from the previous position is written only if
        // the match here is not longer.
        if (f.matchLen > lastLen || lastLen < Threshold) {
            FEncoder.OutputCodes(f.slideText[f.slidePos - 1], 0);
        } else {
            FEncoder.OutputCodes(lastLen + LengthBias, (f.slidePos - lastPos - 2) & WindowMask);
            f.advance(lastLen - 1);
            if (f.matchLen > f.remaining)
                f.matchLen = f.remaining;
        }
    }
    FEncoder.Finish();
}

} // namespace lzh5
} // namespace zorp
