// TCompThreadSafety: the working state of one compression or expansion run.
//
// Every codec is a member of this class and sees the outside world only
// through GetChar (next input byte), PutChar (next output byte), emit (an RLE
// run tail) and Encrypt (key scrambling). Input and output each go through one
// 8192-byte buffer; the byte I/O keeps the byte-sum checksums, applies the key,
// enforces the output budget, reports progress at every refill and yields the
// processor at every refill and every flush of a full output buffer.
//
// The stream driver (TZorp::ProcessStreams) binds the buffers with
// TRunBuffers, starts the run with BeginRun, runs exactly one codec and ends
// it with FinishRun.
#pragma once

#include "common/ZorpTypes.h"
#include "engine/ByteBlocks.h"
#include "framework/base/Object.h"
#include "framework/base/Stream.h"

#include <cstdint>
#include <cstring>
#include <memory>

namespace zorp {

// The escape byte of the run-length format.
inline constexpr uint8_t RLEMarker = 0x94;

// Size of the input and of the output buffer of a run.
inline constexpr int32_t BufferSize = 8192;

// Integer percentage: part * 100 / whole while whole is at most 100000 (so the
// product stays within 32 bits), otherwise part / (whole / 100). whole > 0.
inline int32_t PercentOf(int32_t part, int32_t whole) {
    if (whole <= 100000)
        return part * 100 / whole;
    return part / (whole / 100);
}

// What one run is set up with (TCompThreadSafety::BeginRun).
struct TRunSettings {
    int32_t SourceSize = 0;         // bytes the source holds for this run
    int32_t OutBudget = 0x7FFFFFFF; // most bytes the output may take
    uint32_t Key = 0;               // applied lowest byte first
    bool ScrambleOutput = false;    // key applied to every byte put out
    bool DescrambleInput = false;   // key applied to every byte taken in
    int32_t ReadChunk = BufferSize; // bytes asked of the source per refill
    // Test hook: every codec takes its byte-at-a-time path (GetChar and
    // PutChar only), so that tests can hold its fast paths against it.
    bool ByteAtATime = false;
};

// The central rule: every fast path of a codec (whole stretches, a bit
// window filled 8 bytes at a time, a direct output pointer) must leave every
// observable effect (the sums, the counts, the output budget, progress
// events, EndOfInput, the key position and the source and destination
// calls) exactly as byte-at-a-time GetChar/PutChar I/O would produce it.
// InputConsumed and OutputCommitted are the one place where the sums, counts
// and budget move.
class TCompThreadSafety : public fw::TObject {
public:
    // Starts a run: binds the streams and resets every piece of per-run
    // state, the run-length codec's included. The buffers must be bound
    // (TRunBuffers); both are emptied.
    void BeginRun(fw::TStream& Source, fw::TStream& Dest, const TRunSettings& Settings);
    // Ends a run: writes what is left in the output buffer.
    void FinishRun();

    // The buffer window, bound by TRunBuffers. The codecs' helpers (bit
    // readers, direct output) read and move these positions themselves and
    // account for the bytes through InputConsumed and OutputCommitted.
    uint8_t* InBuffer = nullptr;
    uint8_t* OutBuffer = nullptr;
    uint8_t* InEnd = nullptr;
    uint8_t* InPos = nullptr;
    uint8_t* OutEnd = nullptr;
    uint8_t* OutPos = nullptr;
    // Called at every refill with the percentage of the input read; setting
    // it to -1 cancels (the input then ends).
    TShowProgressEvent Progress;

    // The state of the run, read-only outside the engine.
    bool EndOfInput() const { return FEndOfInput; }
    uint32_t InSum() const { return FInSum; }   // of the bytes taken in, modulo 2^32
    uint32_t OutSum() const { return FOutSum; } // of the bytes put out, modulo 2^32
    int32_t InDone() const { return FInDone; }  // read from the source, counted with Progress
    int32_t InRemaining() const { return FInRemaining; } // not yet read from the source
    int32_t OutCount() const { return FOutCount; }
    int32_t OutBudget() const { return FOutBudget; }
    int16_t KeyIndex() const { return FKeyIndex; }
    bool DescrambleInput() const { return FDescrambleInput; }
    bool ScrambleOutput() const { return FScrambleOutput; }
    // Whether a fast path may take bytes straight from the input buffer, or
    // store them straight into the output buffer: not while the key applies
    // to that side, nor under the ByteAtATime test hook.
    bool BulkInput() const { return !FDescrambleInput && !FByteAtATime; }
    bool BulkOutput() const { return !FScrambleOutput && !FByteAtATime; }
    bool ByteAtATime() const { return FByteAtATime; }

    // Count bytes from InPos on, whose byte sum (before any key) is Sum,
    // have been taken from the input buffer.
    void InputConsumed(int32_t Count, uint32_t Sum) {
        InPos += Count;
        FInSum += Sum;
    }

    // Gives the last Count bytes taken back to the input buffer, as if they
    // had not been taken: a reader that took bytes ahead hands them back.
    void InputGivenBack(int32_t Count) {
        InPos -= Count;
        FInSum -= ByteSum(InPos, static_cast<size_t>(Count));
        if (FDescrambleInput)
            FKeyIndex = static_cast<int16_t>((FKeyIndex - Count) & 3);
    }

    // Count bytes from OutPos on, whose byte sum (after any key) is Sum, are
    // in the output buffer: they count, take budget and are committed.
    void OutputCommitted(int32_t Count, uint32_t Sum) {
        OutPos += Count;
        FOutSum += Sum;
        FOutBudget -= Count;
        FOutCount += Count;
    }

    // Next input byte. At the end of the input (or when a progress handler
    // cancels) it returns 0 and sets EndOfInput; callers test EndOfInput
    // after every call. A source that ends early raises fw::EReadError.
    uint8_t GetChar() {
        if (InPos == InEnd) [[unlikely]] {
            if (!RefillInput())
                return 0;
        }
        uint8_t b = *InPos;
        InputConsumed(1, b);
        if (FDescrambleInput)
            b = Encrypt(b);
        return b;
    }

    // The next input bytes, stored at Target exactly as that many GetChar calls
    // return them (sum, key): up to Count, but no further than the bytes in
    // the input buffer, which is refilled first when it is empty. Returns 0
    // where GetChar would return 0 for the end (EndOfInput set); otherwise
    // EndOfInput stays as it was before, as it does through GetChar.
    int32_t GetStretch(uint8_t* Target, int32_t Count) {
        if (InPos == InEnd && !RefillInput())
            return 0;
        int32_t k = static_cast<int32_t>(InEnd - InPos);
        if (k > Count)
            k = Count;
        const auto n = static_cast<size_t>(k);
        const uint32_t sum = ByteSum(InPos, n);
        if (FDescrambleInput) {
            CopyScrambled(Target, InPos, n, FKeyBytes, FKeyIndex);
            FKeyIndex = static_cast<int16_t>((FKeyIndex + k) & 3);
        } else {
            std::memcpy(Target, InPos, n);
        }
        InputConsumed(k, sum);
        return k;
    }

    // Appends one byte to the output. Raises EUnableToCompress when the
    // budget is used up; a full buffer is written when the next byte arrives.
    void PutChar(uint8_t b) {
        if (FOutBudget <= 0) [[unlikely]]
            RaiseBudgetExhausted();
        if (OutPos == OutEnd) [[unlikely]]
            FlushFullBuffer();
        if (FScrambleOutput)
            b = Encrypt(b);
        *OutPos = b;
        OutputCommitted(1, b);
    }

    // Appends p[0 .. n-1] exactly as n calls of PutChar would (budget,
    // flushes, key, sums), a stretch at a time.
    void PutBytes(const uint8_t* p, int32_t n) {
        while (n > 0) {
            if (FOutBudget <= 0) [[unlikely]]
                RaiseBudgetExhausted();
            if (OutPos == OutEnd) [[unlikely]]
                FlushFullBuffer();
            int32_t k = static_cast<int32_t>(OutEnd - OutPos);
            if (k > n)
                k = n;
            if (k > FOutBudget)
                k = FOutBudget;
            StoreStretch(p, k);
            p += k;
            n -= k;
        }
    }

    // Appends n copies of b, as n calls of PutChar would.
    void PutRepeated(uint8_t b, int32_t n) {
        while (n > 0) {
            if (FOutBudget <= 0) [[unlikely]]
                RaiseBudgetExhausted();
            if (OutPos == OutEnd) [[unlikely]]
                FlushFullBuffer();
            int32_t k = static_cast<int32_t>(OutEnd - OutPos);
            if (k > n)
                k = n;
            if (k > FOutBudget)
                k = FOutBudget;
            std::memset(OutPos, b, static_cast<size_t>(k));
            StoreStretch(OutPos, k);
            n -= k;
        }
    }

    // XORs b with the next key byte, lowest byte of the key first.
    uint8_t Encrypt(uint8_t b) {
        const uint8_t r = b ^ FKeyBytes[FKeyIndex];
        FKeyIndex = static_cast<int16_t>((FKeyIndex + 1) & 3);
        return r;
    }

    // Writes the tail of an RLE run: nothing for count 1, b once for count 2,
    // otherwise the marker and the low 8 bits of count (0 escapes a marker).
    void emit(int32_t count, uint8_t b);

    // The stored method: copies the input to the output unchanged apart from
    // the key, in either direction.
    void CopyWithCRC();

    // The codecs. Each reads through GetChar and writes through PutChar/emit.
    // The LZH and LZH5 expanders write count bytes, fewer when the input ends
    // first (nothing is decoded from bits past its end); a last match that
    // runs past count is cut there, and they return how many of its bytes
    // were decoded past count and not written.
    void CompressRLE();
    void ExpandRLE();
    void CompressLZH();
    int32_t ExpandLZH(int32_t count);
    void CompressLZH5();
    int32_t ExpandLZH5(int32_t count);

private:
    bool FEndOfInput = false;
    fw::TStream* FSource = nullptr;
    fw::TStream* FDest = nullptr;
    uint32_t FInSum = 0;
    uint32_t FOutSum = 0;
    int32_t FInRemaining = 0;
    int32_t FReadChunk = 0;
    int32_t FInDone = 0;
    int32_t FOutCount = 0;
    int32_t FOutBudget = 0;
    bool FDescrambleInput = false;
    bool FScrambleOutput = false;
    bool FByteAtATime = false;
    uint8_t FKeyBytes[4] = {0, 0, 0, 0};
    int16_t FKeyIndex = 0;
    // The run-length codec's state between calls of its byte loop.
    bool FRleFirstByte = false;
    bool FRleInRun = false;
    uint8_t FRleLastByte = 0;
    int32_t FRleRunCount = 0;

    // Stores k bytes (k fits the buffer and the budget; p may be OutPos
    // itself) with the key applied, and commits them.
    void StoreStretch(const uint8_t* p, int32_t k) {
        const auto n = static_cast<size_t>(k);
        uint32_t sum = 0;
        if (k <= 16 && !FScrambleOutput) {
            // Short stretches (most matches): a plain loop beats the calls.
            for (size_t i = 0; i < n; ++i) {
                OutPos[i] = p[i];
                sum += p[i];
            }
        } else if (FScrambleOutput) {
            CopyScrambled(OutPos, p, n, FKeyBytes, FKeyIndex);
            FKeyIndex = static_cast<int16_t>((FKeyIndex + k) & 3);
            sum = ByteSum(OutPos, n);
        } else {
            if (p != OutPos)
                std::memcpy(OutPos, p, n);
            sum = ByteSum(OutPos, n);
        }
        OutputCommitted(k, sum);
    }

    // Reads the next chunk into InBuffer; false (EndOfInput left true) when
    // the input is exhausted or the progress handler cancelled. Raises
    // fw::EReadError when the source ends before InRemaining() bytes came.
    bool RefillInput();
    // Writes the full OutBuffer and starts it again.
    void FlushFullBuffer();
    [[noreturn]] static void RaiseBudgetExhausted();
    // The run-length codec on the bytes already in the input buffer, while
    // the output has room; without a key only.
    void CompressRLEStretch();
    void ExpandRLEStretch();
    // Per-byte stored copy, used when both scrambling directions are on.
    void CopyByteByByte();
};

// The two buffers of one run: allocated and bound to the engine on
// construction, unbound and freed on destruction however the run ends.
class TRunBuffers {
public:
    explicit TRunBuffers(TCompThreadSafety& Engine);
    ~TRunBuffers();
    TRunBuffers(const TRunBuffers&) = delete;
    TRunBuffers& operator=(const TRunBuffers&) = delete;

private:
    TCompThreadSafety& FEngine;
    std::unique_ptr<uint8_t[]> FIn;
    std::unique_ptr<uint8_t[]> FOut;
};

} // namespace zorp
