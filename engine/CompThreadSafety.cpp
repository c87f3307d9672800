#include "engine/CompThreadSafety.h"

#include "common/Errors.h"
#include "framework/base/System.h"

#include <algorithm>
#include <cstring>

namespace zorp {

bool TCompThreadSafety::RefillInput() {
    EndOfInput = true;
    if (InRemaining == 0)
        return false;
    if (InRemaining < ReadChunk)
        ReadChunk = InRemaining;
    const int32_t n = Source->Read(InBuffer, ReadChunk);
    if (n == 0)
        throw fw::EReadError(SDataEndedEarly);
    InRemaining -= n;
    InEnd = InBuffer + n;
    InPos = InBuffer;
    if (Progress) {
        InDone += n;
        int32_t percent = PercentOf(InDone, InDone + InRemaining);
        Progress(percent);
        if (percent == -1)
            return false;
    }
    fw::Sleep(0);
    EndOfInput = false;
    return true;
}

void TCompThreadSafety::FlushFullBuffer() {
    fw::Sleep(0);
    Dest->WriteBuffer(OutBuffer, BufferSize);
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
        if (EndOfInput)
            return;
        PutChar(b);
    }
}

// Copies whole stretches at a time: each stretch ends where the input buffer
// runs dry, the output buffer fills or the budget ends, so refills, flushes,
// progress events, the budget exception, the sums and the key positions come
// exactly as they would byte by byte.
void TCompThreadSafety::CopyWithCRC() {
    if (DescrambleInput && ScrambleOutput) {
        CopyByteByByte();
        return;
    }
    const bool keyed = DescrambleInput || ScrambleOutput;
    for (;;) {
        if (InPos == InEnd && !RefillInput())
            return;
        if (OutBudget <= 0)
            RaiseBudgetExhausted();
        if (OutPos == OutEnd)
            FlushFullBuffer();
        const int32_t n = std::min({static_cast<int32_t>(InEnd - InPos),
                                    static_cast<int32_t>(OutEnd - OutPos), OutBudget});
        const auto k = static_cast<size_t>(n);
        const uint32_t inSum = ByteSum(InPos, k);
        uint32_t outSum = inSum;
        if (keyed) {
            CopyScrambled(OutPos, InPos, k, KeyBytes, KeyIndex);
            KeyIndex = static_cast<int16_t>((KeyIndex + n) & 3);
            outSum = ByteSum(OutPos, k);
        } else {
            std::memcpy(OutPos, InPos, k);
        }
        InSum += inSum;
        OutSum += outSum;
        InPos += n;
        OutPos += n;
        OutBudget -= n;
        OutCount += n;
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
