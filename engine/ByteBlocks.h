// Whole-block forms of the per-byte work of the byte I/O: the byte sum of a
// stretch and a copy that XORs with the 4-byte key stream. The codecs' bulk
// paths use them so that a stretch costs what copying it costs.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zorp {

// Sum of the byte values of p[0 .. n-1], modulo 2^32.
inline uint32_t ByteSum(const uint8_t* p, size_t n) {
    uint32_t sum = 0;
    size_t i = 0;
#if defined(__SSE2__)
    // psadbw against zero adds up each group of 8 bytes into a 64-bit lane.
    __m128i acc = _mm_setzero_si128();
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        acc = _mm_add_epi64(acc, _mm_sad_epu8(v, zero));
    }
    sum = static_cast<uint32_t>(_mm_cvtsi128_si32(acc)) +
          static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_unpackhi_epi64(acc, acc)));
#endif
    for (; i < n; ++i)
        sum += p[i];
    return sum;
}

// Sum of the 8 bytes of the word v (at most 8 * 255, so no wrap).
inline uint32_t ByteSum(uint64_t v) {
    // Adds neighbouring bytes into 16-bit lanes, then the four lanes into the
    // top one with one multiply.
    const uint64_t pairs = (v & 0x00FF00FF00FF00FFull) + ((v >> 8) & 0x00FF00FF00FF00FFull);
    return static_cast<uint32_t>((pairs * 0x0001000100010001ull) >> 48);
}

// The key stream from position keyIndex on, repeated to 16 bytes.
inline void KeyPattern(const uint8_t key[4], int keyIndex, uint8_t pattern[16]) {
    for (int i = 0; i < 16; ++i)
        pattern[i] = key[(keyIndex + i) & 3];
}

// dst[i] = src[i] XOR key[(keyIndex + i) mod 4] for i below n. dst and src
// may be the same but must not overlap otherwise.
inline void CopyScrambled(uint8_t* dst, const uint8_t* src, size_t n, const uint8_t key[4],
                          int keyIndex) {
    uint8_t pattern[16];
    KeyPattern(key, keyIndex, pattern);
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i k = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern));
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_xor_si128(v, k));
    }
#endif
    // 16 is a multiple of 4, so the pattern lines up again here.
    for (; i < n; ++i)
        dst[i] = static_cast<uint8_t>(src[i] ^ pattern[i & 15]);
}

// The 8 bytes from p on as one number, the first byte most significant,
// whatever the host's byte order.
inline uint64_t LoadBE64(const uint8_t* p) {
    uint64_t w;
    std::memcpy(&w, p, sizeof w);
    if constexpr (std::endian::native == std::endian::little)
        return __builtin_bswap64(w);
    else
        return w;
}

// The 8 bytes from p on as one word in the host's byte order: for comparing
// bytes eight at a time where their order does not matter.
inline uint64_t LoadWord(const uint8_t* p) {
    uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

// The index (0 to 7) of the first differing byte of two unequal words
// loaded with LoadWord.
inline int FirstDifference(uint64_t x, uint64_t y) {
    if constexpr (std::endian::native == std::endian::little)
        return std::countr_zero(x ^ y) / 8;
    else
        return std::countl_zero(x ^ y) / 8;
}

// How far the strings at text[a] and text[b] agree: start (below limit,
// where they are known to agree up to) plus the number of equal bytes from
// there on, at most limit. Compares eight bytes at a time, so up to 7 bytes
// past limit must be readable at both (they do not count).
inline int CommonPrefix(const uint8_t* text, int a, int b, int start, int limit) {
    int i = start;
    do {
        const uint64_t x = LoadWord(text + a + i);
        const uint64_t y = LoadWord(text + b + i);
        if (x != y) {
            i += FirstDifference(x, y);
            return i < limit ? i : limit;
        }
        i += 8;
    } while (i < limit);
    return limit;
}

// True when none of the 16 bytes from p on equals the marker or the byte
// before it (p[-1] must be readable): sixteen run-length literals in a row.
inline bool NoRunNorMarker16(const uint8_t* p, uint8_t marker) {
#if defined(__SSE2__)
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 1));
    const __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(v, before),
                                      _mm_cmpeq_epi8(v, _mm_set1_epi8(static_cast<char>(marker))));
    return _mm_movemask_epi8(hits) == 0;
#else
    for (int i = 0; i < 16; ++i)
        if (p[i] == marker || p[i] == p[i - 1])
            return false;
    return true;
#endif
}

} // namespace zorp
