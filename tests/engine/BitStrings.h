// Byte strings written by hand in tests: from byte values, and from bit
// strings most significant bit first.
#pragma once

#include <initializer_list>
#include <string>

namespace zorp::test {

// Byte string from a list of byte values.
inline std::string Bytes(std::initializer_list<int> Values) {
    std::string s;
    for (int v : Values)
        s += static_cast<char>(v);
    return s;
}

// Bytes from a string of '0' and '1' (other characters are ignored), most
// significant bit first, the last byte completed with zero bits.
inline std::string BitsToBytes(const std::string& Bits) {
    std::string out;
    int count = 0;
    unsigned byte = 0;
    for (const char c : Bits) {
        if (c != '0' && c != '1')
            continue;
        byte = (byte << 1) | (c == '1' ? 1u : 0u);
        if (++count == 8) {
            out += static_cast<char>(byte);
            byte = 0;
            count = 0;
        }
    }
    if (count > 0)
        out += static_cast<char>(byte << (8 - count));
    return out;
}

// Value as a field of Width bits.
inline std::string BitField(unsigned Value, int Width) {
    std::string bits;
    for (int i = Width - 1; i >= 0; --i)
        bits += (Value >> i & 1) ? '1' : '0';
    return bits + ' ';
}

} // namespace zorp::test
