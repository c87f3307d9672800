// The run-length codec. A run of three or more equal bytes is written as its
// first byte followed by the marker 0x94 and the run length (3 to 255); the
// marker itself is escaped as 0x94 0x00 and never starts or continues a run.
//
// Both directions work a stretch at a time on the bytes already in the input
// buffer, for as long as the output buffer and the budget have room for the
// most an item can write; at the edges of the buffers, and when a key is in
// use, they go through GetChar and PutChar byte by byte. Refills, flushes,
// progress events, the budget exception, sums and counts therefore come at
// exactly the same bytes either way.
#include "engine/CompThreadSafety.h"

#include <algorithm>
#include <cstring>

namespace zorp {

namespace {

// Bytes that can be written without a flush or running out of budget.
int32_t OutputRoom(const TCompThreadSafety& e) {
    return std::max(0, std::min(static_cast<int32_t>(e.OutEnd - e.OutPos), e.OutBudget()));
}

} // namespace

// The run coder's fast path over a stretch of the input buffer: its states
// mirror CompressRLE's one for one, and keeping them in one loop keeps the
// order of the bytes it writes visible (and the loop fast).
// NOLINTNEXTLINE(readability-function-cognitive-complexity)
void TCompThreadSafety::CompressRLEStretch() {
    // An input byte writes at most 4 bytes: the tail of a run and an escaped
    // marker.
    constexpr int32_t MostPerByte = 4;
    const uint8_t* in = InPos;
    const uint8_t* const inEnd = InEnd;
    uint8_t* out = OutPos;
    const int32_t room = OutputRoom(*this);
    if (FEndOfInput || in == inEnd || room < MostPerByte)
        return;
    uint8_t* const safeEnd = out + (room - MostPerByte) + 1; // out below it: room for 4
    bool inRun = FRleInRun;
    bool first = FRleFirstByte;
    uint8_t last = FRleLastByte;
    int32_t count = FRleRunCount;
    while (in < inEnd && out < safeEnd) {
        // Sixteen bytes that neither repeat their predecessor nor hold the
        // marker are sixteen literals.
        if (!inRun && in > InBuffer) {
            while (inEnd - in >= 16 && safeEnd - out >= 16 && NoRunNorMarker16(in, RLEMarker)) {
                std::memcpy(out, in, 16);
                in += 16;
                out += 16;
                last = in[-1];
                first = false;
            }
            if (in == inEnd || out >= safeEnd)
                break;
        }
        const uint8_t b = *in++;
        if (inRun) {
            if (b == last && count < 255) {
                ++count;
            } else {
                if (count == 2) {
                    *out++ = last;
                } else {
                    *out++ = RLEMarker;
                    *out++ = static_cast<uint8_t>(count);
                }
                last = b;
                *out++ = b;
                if (b == RLEMarker)
                    *out++ = 0;
                inRun = false;
            }
        } else {
            if (b == RLEMarker) {
                *out++ = RLEMarker;
                *out++ = 0;
            } else if (b == last && !first) {
                count = 2;
                inRun = true;
            } else {
                *out++ = b;
            }
            last = b;
        }
        first = false;
    }
    FRleInRun = inRun;
    FRleFirstByte = first;
    FRleLastByte = last;
    FRleRunCount = count;
    const auto taken = static_cast<int32_t>(in - InPos);
    InputConsumed(taken, ByteSum(InPos, static_cast<size_t>(taken)));
    const auto written = static_cast<int32_t>(out - OutPos);
    OutputCommitted(written, ByteSum(OutPos, static_cast<size_t>(written)));
}

// The byte-at-a-time run coder: one loop over its run states, whose order
// of outputs is the format.
// NOLINTNEXTLINE(readability-function-cognitive-complexity)
void TCompThreadSafety::CompressRLE() {
    const bool plain = BulkInput() && BulkOutput();
    for (;;) {
        if (plain)
            CompressRLEStretch();
        const uint8_t b = GetChar();
        if (FEndOfInput) {
            if (FRleInRun)
                emit(FRleRunCount, FRleLastByte);
            return;
        }
        if (FRleInRun) {
            if (b == FRleLastByte && FRleRunCount < 255) {
                ++FRleRunCount;
            } else {
                emit(FRleRunCount, FRleLastByte);
                FRleLastByte = b;
                if (b == RLEMarker)
                    emit(0, b);
                else
                    PutChar(b);
                FRleInRun = false;
            }
        } else {
            if (b == RLEMarker) {
                emit(0, b);
            } else if (b == FRleLastByte && !FRleFirstByte) {
                FRleRunCount = 2;
                FRleInRun = true;
            } else {
                PutChar(b);
            }
            FRleLastByte = b;
        }
        FRleFirstByte = false;
    }
}

void TCompThreadSafety::ExpandRLEStretch() {
    const uint8_t* in = InPos;
    const uint8_t* const inEnd = InEnd;
    uint8_t* out = OutPos;
    int32_t room = OutputRoom(*this);
    if (FEndOfInput)
        return;
    uint8_t last = FRleLastByte;
    while (in < inEnd) {
        if (*in != RLEMarker) {
            // Literals up to the next marker.
            const void* marker = std::memchr(in, RLEMarker, static_cast<size_t>(inEnd - in));
            const uint8_t* stop = marker ? static_cast<const uint8_t*>(marker) : inEnd;
            const auto k = static_cast<int32_t>(std::min<ptrdiff_t>(stop - in, room));
            if (k == 0)
                break;
            std::memcpy(out, in, static_cast<size_t>(k));
            in += k;
            out += k;
            room -= k;
            last = in[-1];
            continue;
        }
        if (inEnd - in < 2)
            break; // the count byte needs a refill
        const uint8_t n = in[1];
        const int32_t need = n == 0 ? 1 : n - 1;
        if (need > room)
            break;
        if (n == 0)
            *out = RLEMarker;
        else
            std::memset(out, last, static_cast<size_t>(need));
        out += need;
        room -= need;
        in += 2;
        last = RLEMarker;
    }
    FRleLastByte = last;
    const auto taken = static_cast<int32_t>(in - InPos);
    InputConsumed(taken, ByteSum(InPos, static_cast<size_t>(taken)));
    const auto written = static_cast<int32_t>(out - OutPos);
    OutputCommitted(written, ByteSum(OutPos, static_cast<size_t>(written)));
}

void TCompThreadSafety::ExpandRLE() {
    const bool plain = BulkInput() && BulkOutput();
    for (;;) {
        if (plain)
            ExpandRLEStretch();
        const uint8_t a = GetChar();
        if (FEndOfInput)
            return;
        if (a != RLEMarker) {
            PutChar(a);
        } else {
            // At the end of the data the count reads as 0: a final lone marker
            // stands for itself.
            const uint8_t n = GetChar();
            if (n == 0) {
                PutChar(RLEMarker);
            } else {
                for (FRleRunCount = n - 1; FRleRunCount > 0; --FRleRunCount)
                    PutChar(FRleLastByte);
            }
        }
        FRleLastByte = a;
    }
}

} // namespace zorp
