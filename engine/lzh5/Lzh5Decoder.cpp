#include "engine/lzh5/Lzh5Decoder.h"

#include "engine/ByteBlocks.h"

#include <algorithm>
#include <memory>

namespace zorp {

int32_t TCompThreadSafety::ExpandLZH5(int32_t count) {
    if (count <= 0)
        return 0;
    auto decoder = std::make_unique<lzh5::TDecoder>(*this);
    return decoder->Expand(count);
}

namespace lzh5 {

namespace {

// The most input a token can take: a character code and a position code of
// up to 16 bits each and 12 extra position bits, in whole bytes. The refill
// before each token leaves at least 56 bits.
constexpr unsigned MaxTokenBits = MaxCodeLength + MaxCodeLength + (PositionSymbols - 2);
constexpr unsigned MaxTokenBytes = (MaxTokenBits + 7) / 8;
static_assert(MaxTokenBits <= 56);

} // namespace

int32_t TDecoder::Expand(int32_t count) {
    FIn.Start();
    FHistPos = FHistory.Start();
    int64_t produced = 0;
    while (produced < count) {
        // Room for a token through the byte I/O; a stretch checks its own.
        FHistPos = FHistory.KeepRoom(FHistPos, WindowSize);
        int64_t n = ExpandStretch(count - produced);
        if (n == 0)
            n = ExpandToken(count - produced);
        if (n == 0)
            break; // the input has ended
        produced += n;
    }
    return static_cast<int32_t>(std::max<int64_t>(produced - count, 0));
}

unsigned TDecoder::ExpandToken(int64_t wanted) {
    if (blockSize == 0 && !StartBlock()) [[unlikely]]
        return 0;
    --blockSize;
    const auto [v, vLength] = CharAt(uint64_t{FIn.bitBuf} << 48);
    FIn.fillbuf(vLength);
    if (v <= 255) {
        if (FIn.OverRead())
            return 0;
        *FHistPos++ = static_cast<uint8_t>(v);
        FEngine.PutChar(static_cast<uint8_t>(v));
        return 1;
    }
    const auto [j, jLength] = PositionAt(uint64_t{FIn.bitBuf} << 48);
    FIn.fillbuf(jLength);
    const unsigned distance = (j <= 1 ? j : (1u << (j - 1)) + FIn.getbits(j - 1)) + 1;
    if (FIn.OverRead())
        return 0;
    const unsigned len = v - LengthBias;
    CopyMatch(FHistPos, distance, len);
    FEngine.PutBytes(FHistPos, static_cast<int32_t>(std::min<int64_t>(len, wanted)));
    FHistPos += len;
    return len;
}

// The decoder's inner loop (literals and matches straight into the output
// buffer); split, it loses its speed.
// NOLINTNEXTLINE(readability-function-cognitive-complexity)
int64_t TDecoder::ExpandStretch(int64_t wanted) {
    TCompThreadSafety& e = FEngine;
    if (blockSize == 0 || e.EndOfInput() || !e.BulkInput() || e.InEnd - e.InPos < 8)
        return 0;
    // Tokens are started while fewer than wanted bytes are written and the
    // history has room for the longest match. The
    // output buffer and the budget need no room: PutBytes below writes full
    // buffers and raises at the end of the budget on the same bytes as the
    // tokens one by one would, and the stretch reads nothing from the source.
    const int64_t historyRoom = FHistory.RoomAfter(FHistPos) - MaxMatch;
    // The loop below starts a token only before startStop, one byte short of
    // that room, so that a literal may always be followed by a second one.
    const int64_t startRoom = std::min(wanted, historyRoom) - 1;
    if (startRoom <= 0)
        return 0;
    uint8_t* const start = FHistPos;
    uint8_t* const startStop = start + startRoom;
    uint8_t* out = start;
    const uint8_t* in = e.InPos;
    const uint8_t* const inLimit = e.InEnd - 8;
    uint64_t bits = FIn.Bits();
    unsigned avail = FIn.Avail();
    unsigned tokens = blockSize;
    do {
        // The bits held take at most 8 bytes and each token MaxTokenBytes
        // more, so this many tokens can be decoded before a refill would
        // reach into the buffer's last 8 bytes.
        const ptrdiff_t spare = inLimit - in;
        unsigned batch = spare < 8 ? 1 : static_cast<unsigned>((spare - 8) / MaxTokenBytes + 1);
        batch = std::min(batch, tokens);
        tokens -= batch;
        for (; batch != 0 && out < startStop; --batch) {
            // Tops the bits up to 56 or more (at most 63) with whole bytes.
            // The bits below the available ones are the stream's own, so the
            // next refill may OR them in again.
            bits |= LoadBE64(in) >> avail;
            in += (63 - avail) >> 3;
            avail |= 56;

            const auto [v, vLength] = CharAt(bits);
            unsigned n = vLength;
            if (v <= 255) {
                bits <<= n;
                avail -= n;
                *out++ = static_cast<uint8_t>(v);
                // A literal takes at most 16 bits, so the bits left suffice
                // for another literal straight from the table.
                const unsigned c2 = charTable[bits >> (64 - CharTableBits)];
                if ((c2 & EntrySymbolMask) <= 255 && batch > 1) {
                    n = c2 >> EntryLengthShift;
                    bits <<= n;
                    avail -= n;
                    *out++ = static_cast<uint8_t>(c2);
                    --batch;
                }
                continue;
            }
            bits <<= n;
            avail -= n;
            const auto [j, jLength] = PositionAt(bits);
            bits <<= jLength;
            avail -= jLength;
            // Symbol j >= 1 stands for the j - 1 bits that follow with a one
            // bit in front of them: shifting a one in above the stream bits
            // reads both at once.
            unsigned distance = 1;
            if (j != 0) {
                const unsigned extra = j - 1;
                distance +=
                    static_cast<unsigned>(((bits >> 1) | uint64_t{1} << 63) >> (63 - extra));
                bits <<= extra;
                avail -= extra;
            }
            const unsigned len = v - LengthBias;
            CopyMatch(out, distance, len);
            out += len;
        }
        tokens += batch;
    } while (out < startStop && tokens != 0 && in <= inLimit);

    blockSize = static_cast<uint16_t>(tokens);
    const auto taken = static_cast<int32_t>(in - e.InPos);
    e.InputConsumed(taken, ByteSum(e.InPos, static_cast<size_t>(taken)));
    FIn.Resume(bits, avail);
    const int64_t decoded = out - start;
    // The last match may run past wanted; the count cuts it.
    e.PutBytes(start, static_cast<int32_t>(std::min(decoded, wanted)));
    FHistPos = out;
    return decoded;
}

} // namespace lzh5
} // namespace zorp
