#include "component/OperationProgress.h"
#include "component/Zorp.h"

#include "engine/CompThreadSafety.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace zorp {

namespace {

// Runs Method's codec in the direction asked on the engine's run. Returns
// the bytes an expansion decoded past ExpandedSize (not written).
int32_t RunCodec(TCompThreadSafety& e, TZorpMethod Method, bool Compress, int32_t ExpandedSize) {
    switch (Method) {
    case coNone:
        e.CopyWithCRC();
        return 0;
    case coRLE:
        Compress ? e.CompressRLE() : e.ExpandRLE();
        return 0;
    case coLZH:
        if (Compress) {
            e.CompressLZH();
            return 0;
        }
        return e.ExpandLZH(ExpandedSize);
    case coLZH5:
        if (Compress) {
            e.CompressLZH5();
            return 0;
        }
        return e.ExpandLZH5(ExpandedSize);
    case coCustom:
        return 0; // the application's handlers do the work
    }
    return 0;
}

} // namespace

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
        pastSize = RunCodec(e, Method, compress, ExpandedSize);
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
