// The fixed prefix code for the upper 6 bits of an LZH match distance.
//
// A distance d (1..4096) is coded as p = d - 1: the upper 6 bits u = p >> 6
// get a canonical prefix code of 3 to 8 bits (shorter for nearer matches),
// the lower 6 bits follow plainly. The encoder uses positionLenTable and
// positionCodeTable (code left-aligned in 8 bits); the decoder looks the
// next 8 input bits up in distanceCodeTable / distanceLenTable.
#pragma once

#include <array>
#include <cstdint>

namespace zorp::lzh {

// The lower bits of a distance code, sent plainly after the prefix code.
inline constexpr int DistanceLowBits = 6;
inline constexpr int DistanceLowMask = (1 << DistanceLowBits) - 1;

namespace detail {

constexpr uint8_t CodeLength(int u) {
    return u == 0 ? 3 : u < 4 ? 4 : u < 12 ? 5 : u < 24 ? 6 : u < 48 ? 7 : 8;
}

// Codes assigned in increasing order of u: each next code is the previous one
// plus 2^(8 - length of the previous one).
constexpr std::array<uint8_t, 64> MakeCodes() {
    std::array<uint8_t, 64> codes{};
    unsigned code = 0;
    for (int u = 0; u < 64; ++u) {
        codes[u] = static_cast<uint8_t>(code);
        code += 1u << (8 - CodeLength(u));
    }
    return codes;
}

constexpr std::array<uint8_t, 64> MakeLengths() {
    std::array<uint8_t, 64> lengths{};
    for (int u = 0; u < 64; ++u)
        lengths[u] = CodeLength(u);
    return lengths;
}

// For every byte value b, the u whose code is a prefix of b.
constexpr std::array<uint8_t, 256> MakeInverse(bool Lengths) {
    const auto codes = MakeCodes();
    std::array<uint8_t, 256> table{};
    for (int u = 0; u < 64; ++u) {
        const int span = 1 << (8 - CodeLength(u));
        for (int b = codes[u]; b < codes[u] + span; ++b)
            table[b] = Lengths ? CodeLength(u) : static_cast<uint8_t>(u);
    }
    return table;
}

} // namespace detail

inline constexpr std::array<uint8_t, 64> positionLenTable = detail::MakeLengths();
inline constexpr std::array<uint8_t, 64> positionCodeTable = detail::MakeCodes();
inline constexpr std::array<uint8_t, 256> distanceCodeTable = detail::MakeInverse(false);
inline constexpr std::array<uint8_t, 256> distanceLenTable = detail::MakeInverse(true);

static_assert(positionCodeTable[1] == 0x20 && positionCodeTable[4] == 0x50);
static_assert(positionCodeTable[12] == 0x90 && positionCodeTable[24] == 0xC0);
static_assert(positionCodeTable[48] == 0xF0 && positionCodeTable[63] == 0xFF);

} // namespace zorp::lzh
