// Sizes of the LZH5 format (the method data of LHA's -lh5-): an 8192-byte
// window, matches of 3 to 256 bytes, and three static Huffman codes per block.
#pragma once

#include <bit>
#include <cstdint>

namespace zorp::lzh5 {

inline constexpr int WindowSize = 8192; // distances 1 to 8192
inline constexpr int WindowMask = WindowSize - 1;
inline constexpr int MaxMatch = 256; // longest match
inline constexpr int Threshold = 3;  // shortest match written

// Character symbols: 0 to 255 literal bytes, 256 to 509 match lengths 3 to 256.
inline constexpr int CharSymbols = 510;
inline constexpr int LengthBias = 253; // symbol = match length + 253
// Position symbols: j stands for distance codes 2^(j-1) to 2^j - 1 (j = 0: 0).
inline constexpr int PositionSymbols = 14;
// Symbols of the code that sends the character code lengths.
inline constexpr int LenCodeSymbols = 19;

inline constexpr int CharCountBits = 9;     // count field of the character code
inline constexpr int PositionCountBits = 4; // count field of the position code
inline constexpr int LenCodeCountBits = 5;  // count field of the code-length code
inline constexpr int LenCodeSpecial = 3;    // a 2-bit zero run follows symbol 2

inline constexpr int CharTableBits = 12;    // direct lookup width for characters
inline constexpr int PositionTableBits = 8; // direct lookup width for positions and lengths
inline constexpr int MaxCodeLength = 16;

// Nodes of the decoding overflow trees and of the Huffman tree building:
// symbols below the symbol count, internal nodes from there up.
inline constexpr int TreeNodes = 2 * CharSymbols;

// Token buffer of the compressor: a flag byte per group of 8 tokens, a byte
// per literal, three per match. A block is sent when a new group would start
// at or beyond BlockFlushPoint, so a full group of matches always fits.
inline constexpr int BlockBufferSize = 16384;
inline constexpr int BlockFlushPoint = 16360;

// The number of significant bits of a distance code: its position symbol.
inline int PositionSymbol(unsigned p) {
    return static_cast<int>(std::bit_width(p));
}

} // namespace zorp::lzh5
