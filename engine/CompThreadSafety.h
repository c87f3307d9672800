// TCompThreadSafety: the working state of one compression or expansion run.
//
// Every codec is a member of this class and sees the outside world only
// through GetChar (next input byte), PutChar (next output byte), emit (an RLE
// run tail) and Encrypt (key scrambling). Input and output each go through one
// 8192-byte buffer; the byte I/O keeps the byte-sum checksums, applies the key,
// enforces the output budget, reports progress at every refill and yields the
// processor at every refill and every flush of a full output buffer.
//
// The stream driver (TZorp::ProcessStreams) sets the fields, binds the buffers
// with TRunBuffers, runs exactly one codec and flushes what is left.
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

class TCompThreadSafety : public fw::TObject {
public:
    // Byte-I/O state, in the order the driver documents it.
    bool rleFirstByte = false;
    bool EndOfInput = false;
    bool rleInRun = false;
    uint8_t* InBuffer = nullptr;
    uint8_t* OutBuffer = nullptr;
    uint8_t* InEnd = nullptr;
    uint8_t* InPos = nullptr;
    uint8_t* OutEnd = nullptr;
    uint8_t* OutPos = nullptr;
    fw::TStream* Source = nullptr;
    fw::TStream* Dest = nullptr;
    uint8_t rleLastByte = 0;
    int32_t rleRunCount = 0;
    uint32_t InSum = 0;  // wraps modulo 2^32
    uint32_t OutSum = 0; // wraps modulo 2^32
    int32_t InRemaining = 0;
    int32_t ReadChunk = 0;
    int32_t InDone = 0;
    int32_t OutCount = 0;
    bool DescrambleInput = false;
    bool ScrambleOutput = false;
    uint8_t KeyBytes[4] = {0, 0, 0, 0};
    int16_t KeyIndex = 0;
    int32_t OutBudget = 0;
    TShowProgressEvent Progress;

    // Next input byte. At the end of the input (or when a progress handler
    // cancels) it returns 0 and sets EndOfInput; callers test EndOfInput
    // after every call. A source that ends early raises fw::EReadError.
    uint8_t GetChar() {
        if (InPos == InEnd) [[unlikely]] {
            if (!RefillInput())
                return 0;
        }
        uint8_t b = *InPos;
        InSum += b;
        if (DescrambleInput)
            b = Encrypt(b);
        ++InPos;
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
        InSum += ByteSum(InPos, n);
        if (DescrambleInput) {
            CopyScrambled(Target, InPos, n, KeyBytes, KeyIndex);
            KeyIndex = static_cast<int16_t>((KeyIndex + k) & 3);
        } else {
            std::memcpy(Target, InPos, n);
        }
        InPos += k;
        return k;
    }

    // Appends one byte to the output. Raises EUnableToCompress when the
    // budget is used up; a full buffer is written when the next byte arrives.
    void PutChar(uint8_t b) {
        if (OutBudget <= 0) [[unlikely]]
            RaiseBudgetExhausted();
        --OutBudget;
        if (OutPos == OutEnd) [[unlikely]]
            FlushFullBuffer();
        if (ScrambleOutput)
            b = Encrypt(b);
        *OutPos++ = b;
        OutSum += b;
        ++OutCount;
    }

    // Appends p[0 .. n-1] exactly as n calls of PutChar would (budget,
    // flushes, key, sums), a stretch at a time.
    void PutBytes(const uint8_t* p, int32_t n) {
        while (n > 0) {
            if (OutBudget <= 0) [[unlikely]]
                RaiseBudgetExhausted();
            if (OutPos == OutEnd) [[unlikely]]
                FlushFullBuffer();
            int32_t k = static_cast<int32_t>(OutEnd - OutPos);
            if (k > n)
                k = n;
            if (k > OutBudget)
                k = OutBudget;
            StoreStretch(p, k);
            p += k;
            n -= k;
        }
    }

    // Appends n copies of b, as n calls of PutChar would.
    void PutRepeated(uint8_t b, int32_t n) {
        while (n > 0) {
            if (OutBudget <= 0) [[unlikely]]
                RaiseBudgetExhausted();
            if (OutPos == OutEnd) [[unlikely]]
                FlushFullBuffer();
            int32_t k = static_cast<int32_t>(OutEnd - OutPos);
            if (k > n)
                k = n;
            if (k > OutBudget)
                k = OutBudget;
            std::memset(OutPos, b, static_cast<size_t>(k));
            StoreStretch(OutPos, k);
            n -= k;
        }
    }

    // XORs b with the next key byte, lowest byte of the key first.
    uint8_t Encrypt(uint8_t b) {
        const uint8_t r = b ^ KeyBytes[KeyIndex];
        KeyIndex = static_cast<int16_t>((KeyIndex + 1) & 3);
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
    // Stores k bytes (k fits the buffer and the budget; p may be OutPos
    // itself) with the key applied, and counts them.
    void StoreStretch(const uint8_t* p, int32_t k) {
        const auto n = static_cast<size_t>(k);
        if (k <= 16 && !ScrambleOutput) {
            // Short stretches (most matches): a plain loop beats the calls.
            uint32_t sum = 0;
            for (size_t i = 0; i < n; ++i) {
                OutPos[i] = p[i];
                sum += p[i];
            }
            OutSum += sum;
        } else if (ScrambleOutput) {
            CopyScrambled(OutPos, p, n, KeyBytes, KeyIndex);
            KeyIndex = static_cast<int16_t>((KeyIndex + k) & 3);
            OutSum += ByteSum(OutPos, n);
        } else {
            if (p != OutPos)
                std::memcpy(OutPos, p, n);
            OutSum += ByteSum(OutPos, n);
        }
        OutPos += k;
        OutBudget -= k;
        OutCount += k;
    }

    // Reads the next chunk into InBuffer; false (EndOfInput left true) when
    // the input is exhausted or the progress handler cancelled. Raises
    // fw::EReadError when the source ends before InRemaining bytes came.
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
