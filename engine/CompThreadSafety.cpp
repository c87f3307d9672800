#include "engine/CompThreadSafety.h"

#include "common/Errors.h"
#include "framework/base/System.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace zorp {

void TCompThreadSafety::BeginRun(fw::TStream& Source, fw::TStream& Dest,
                                 const TRunSettings& Settings) {
    assert(InBuffer != nullptr && OutBuffer != nullptr);
    InEnd = InPos = InBuffer;
    OutEnd = OutBuffer + BufferSize;
    OutPos = OutBuffer;
    FEndOfInput = false;
    FSource = &Source;
    FDest = &Dest;
    FInSum = 0;
    FOutSum = 0;
    FInRemaining = Settings.SourceSize;
    FReadChunk = Settings.ReadChunk;
    FInDone = 0;
    FOutCount = 0;
    FOutBudget = Settings.OutBudget;
    FDescrambleInput = Settings.DescrambleInput;
    FScrambleOutput = Settings.ScrambleOutput;
    FByteAtATime = Settings.ByteAtATime;
    for (int i = 0; i < 4; ++i)
        FKeyBytes[i] = static_cast<uint8_t>(Settings.Key >> (8 * i));
    FKeyIndex = 0;
    FRleFirstByte = true;
    FRleInRun = false;
    FRleLastByte = 0;
    FRleRunCount = 0;
}

void TCompThreadSafety::FinishRun() {
    if (OutPos > OutBuffer)
        FDest->WriteBuffer(OutBuffer, static_cast<int32_t>(OutPos - OutBuffer));
    OutPos = OutBuffer;
}

bool TCompThreadSafety::RefillInput() {
    FEndOfInput = true;
    if (FInRemaining == 0)
        return false;
    if (FInRemaining < FReadChunk)
        FReadChunk = FInRemaining;
    const int32_t n = FSource->Read(InBuffer, FReadChunk);
    if (n == 0)
        throw fw::EReadError(SDataEndedEarly);
    FInRemaining -= n;
    InEnd = InBuffer + n;
    InPos = InBuffer;
    if (Progress) {
        FInDone += n;
        int32_t percent = PercentOf(FInDone, FInDone + FInRemaining);
        Progress(percent);
        if (percent == -1)
            return false;
    }
    fw::Sleep(0);
    FEndOfInput = false;
    return true;
}

void TCompThreadSafety::FlushFullBuffer() {
    fw::Sleep(0);
    FDest->WriteBuffer(OutBuffer, BufferSize);
    OutPos = OutBuffer;
}

void TCompThreadSafety::RaiseBudgetExhausted() {
    throw EUnableToCompress();
}

void TCompThreadSafety::emit(int32_t count, uint8_t b) {
    if (count == 1 || count == 2) {
        if (count == 2)
            PutChar(b);
        return;
    }
    PutChar(RLEMarker);
    PutChar(static_cast<uint8_t>(count & 0xFF));
}

void TCompThreadSafety::CopyByteByByte() {
    for (;;) {
        const uint8_t b = GetChar();
        if (FEndOfInput)
            return;
        PutChar(b);
    }
}

// Copies whole stretches at a time, each ending where the input buffer runs
// dry, the output buffer fills or the budget ends (the central rule).
void TCompThreadSafety::CopyWithCRC() {
    if (!BulkInput() && !BulkOutput()) {
        CopyByteByByte();
        return;
    }
    const bool keyed = FDescrambleInput || FScrambleOutput;
    for (;;) {
        if (InPos == InEnd && !RefillInput())
            return;
        if (FOutBudget <= 0)
            RaiseBudgetExhausted();
        if (OutPos == OutEnd)
            FlushFullBuffer();
        const int32_t n = std::min({static_cast<int32_t>(InEnd - InPos),
                                    static_cast<int32_t>(OutEnd - OutPos), FOutBudget});
        const auto k = static_cast<size_t>(n);
        const uint32_t inSum = ByteSum(InPos, k);
        uint32_t outSum = inSum;
        if (keyed) {
            CopyScrambled(OutPos, InPos, k, FKeyBytes, FKeyIndex);
            FKeyIndex = static_cast<int16_t>((FKeyIndex + n) & 3);
            outSum = ByteSum(OutPos, k);
        } else {
            std::memcpy(OutPos, InPos, k);
        }
        InputConsumed(n, inSum);
        OutputCommitted(n, outSum);
    }
}

TRunBuffers::TRunBuffers(TCompThreadSafety& Engine)
    : FEngine(Engine), FIn(std::make_unique<uint8_t[]>(BufferSize)),
      FOut(std::make_unique<uint8_t[]>(BufferSize)) {
    FEngine.InBuffer = FIn.get();
    FEngine.InEnd = FEngine.InBuffer;
    FEngine.InPos = FEngine.InBuffer;
    FEngine.OutBuffer = FOut.get();
    FEngine.OutEnd = FEngine.OutBuffer + BufferSize;
    FEngine.OutPos = FEngine.OutBuffer;
}

TRunBuffers::~TRunBuffers() {
    FEngine.InBuffer = FEngine.InEnd = FEngine.InPos = nullptr;
    FEngine.OutBuffer = FEngine.OutEnd = FEngine.OutPos = nullptr;
}

} // namespace zorp
