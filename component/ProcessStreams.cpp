#include "component/OperationProgress.h"
#include "component/Zorp.h"

#include "engine/CompThreadSafety.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace zorp {

// Returns the bytes written, and when LZH or LZH5 data expand past
// ExpandedSize, the bytes decoded past it too (which are not written), so
// that the caller sees the size the data hold.
int32_t TZorp::ProcessStreams(fw::TStream& Dest, fw::TStream& Source, int32_t SourceSize,
                              int32_t ExpandedSize, TZorpMethod Method, int32_t& Checksum,
                              TCProcessMode Mode, bool Scrambled) {
    TCompThreadSafety& e = *FEngine;
    FRunCancelled = false;
    e.Progress = nullptr;
    // The engine reports each refill here: to the application's handler,
    // noting a cancel, and to the archive operation being followed.
    if (OnShowProgress || FOperation != nullptr)
        e.Progress = [this, &e](int32_t& percent) {
            if (OnShowProgress) {
                OnShowProgress(percent);
                if (percent == -1)
                    FRunCancelled = true;
            }
            if (FOperation != nullptr)
                FOperation->Advance(e.InDone(), int64_t{e.InDone()} + e.InRemaining());
        };
    if (OnShowProgress) {
        int32_t percent = 0;
        OnShowProgress(percent);
        if (percent == -1) {
            FRunCancelled = true;
            return 0;
        }
    }
    int32_t pastSize = 0; // decoded past ExpandedSize, not written
    {
        TRunBuffers buffers(e);
        TRunSettings run;
        run.SourceSize = SourceSize;
        run.OutBudget = Mode == cmExpand ? 0x7FFFFFFF : SourceSize - FHeaderReserve;
        run.Key = static_cast<uint32_t>(FKey);
        run.ScrambleOutput = Mode == cmCompress && FKey != 0;
        run.DescrambleInput = Mode == cmExpand && FKey != 0 && Scrambled;
        e.BeginRun(Source, Dest, run);

        const bool compress = Mode == cmCompress;
        switch (Method) {
        case coNone:
            e.CopyWithCRC();
            break;
        case coRLE:
            compress ? e.CompressRLE() : e.ExpandRLE();
            break;
        case coLZH:
            if (compress)
                e.CompressLZH();
            else
                pastSize = e.ExpandLZH(ExpandedSize);
            break;
        case coLZH5:
            if (compress)
                e.CompressLZH5();
            else
                pastSize = e.ExpandLZH5(ExpandedSize);
            break;
        case coCustom:
            break; // the application's handlers do the work
        }
        Checksum = static_cast<int32_t>(compress ? e.InSum() : e.OutSum());
        e.FinishRun();
    }
    if (OnShowProgress) {
        int32_t percent = 100;
        OnShowProgress(percent);
    }
    return static_cast<int32_t>(
        std::min<int64_t>(int64_t{e.OutCount()} + pastSize, std::numeric_limits<int32_t>::max()));
}

} // namespace zorp
