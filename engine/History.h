// The history of recent output that both LZ decoders keep: matches are
// copied from earlier in the same buffer, and before the first byte it holds
// the fill the formats start from.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zorp {

// The byte both formats' history holds before any data: a space.
inline constexpr uint8_t HistoryFill = 0x20;

// The copies below write whole 16-byte pieces, at least two: up to 31 bytes
// past the end of what they copy, always fewer than MatchOverrun. Every
// buffer they write into has that much room past its last byte; what lands
// there is not counted and is overwritten later.
inline constexpr unsigned MatchOverrun = 32;

// Reads len bytes from from in whole 16-byte pieces, at least two, and hands
// each to store(k, piece) for offset k; two pieces whatever the length, so
// that most matches take no loop branch. A store into the same buffer must
// lie at least 16 bytes after from: each piece is read after the bytes it
// takes are final.
template <class Store> void ForEachPiece(const uint8_t* from, unsigned len, Store&& store) {
    auto piece = [&](unsigned k) {
        uint8_t bytes[16];
        std::memcpy(bytes, from + k, sizeof bytes);
        store(k, bytes);
    };
    piece(0);
    piece(16);
    for (unsigned k = 32; k < len; k += 16)
        piece(k);
}

// Copies len bytes from from to to, from at least 16 bytes before to or in
// another buffer.
inline void CopyPieces(uint8_t* to, const uint8_t* from, unsigned len) {
    ForEachPiece(from, len,
                 [to](unsigned k, const uint8_t* bytes) { std::memcpy(to + k, bytes, 16); });
}

// Copies a match of len bytes from distance back (at least 1) in the same
// buffer, byte after byte in effect: a match overlapping its own output
// repeats it. Writes fewer than MatchOverrun bytes past the match.
inline void CopyMatch(uint8_t* to, unsigned distance, unsigned len) {
    assert(distance >= 1);
    const uint8_t* from = to - distance;
    if (distance >= 16) {
        CopyPieces(to, from, len);
    } else if (distance >= 8) {
        for (unsigned k = 0; k < len; k += 8)
            std::memcpy(to + k, from + k, 8);
    } else if (distance == 1) {
        std::memset(to, *from, len);
    } else {
        for (unsigned k = 0; k < len; ++k)
            to[k] = from[k];
    }
}

// The buffer of a decoder's history: one window of earlier output in front
// of the write position, room for three more behind it, and the copies'
// overrun past that. The decoder keeps the write position; when less room
// than it needs is left, the last window moves to the front.
template <unsigned Window> class THistory {
public:
    // Fills the first window and returns the write position after it.
    uint8_t* Start() {
        std::memset(FBuffer, HistoryFill, Window);
        return FBuffer + Window;
    }

    // Bytes that may be written from pos on, the overrun not counted.
    ptrdiff_t RoomAfter(const uint8_t* pos) const { return FBuffer + Size - pos; }

    // The write position, after moving the last window to the front when
    // fewer than room bytes (at most three windows) are left behind pos.
    uint8_t* KeepRoom(uint8_t* pos, ptrdiff_t room) {
        assert(room <= static_cast<ptrdiff_t>(Size - Window));
        if (pos <= FBuffer + Size - room) [[likely]]
            return pos;
        std::memmove(FBuffer, pos - Window, Window);
        return FBuffer + Window;
    }

private:
    static constexpr unsigned Size = 4 * Window;
    uint8_t FBuffer[Size + MatchOverrun];
};

} // namespace zorp
