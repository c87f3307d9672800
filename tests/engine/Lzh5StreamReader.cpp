#include "engine/Lzh5StreamReader.h"

#include <stdexcept>

namespace zorp::test {
namespace {

class BitReader {
public:
    explicit BitReader(const std::string& Data) : FData(Data) {}

    int Bit() {
        if (FPos >= FData.size() * 8)
            throw std::runtime_error("stream ends early");
        const auto byte = static_cast<unsigned char>(FData[FPos / 8]);
        const int bit = (byte >> (7 - FPos % 8)) & 1;
        ++FPos;
        return bit;
    }
    unsigned Bits(int n) {
        unsigned v = 0;
        for (int i = 0; i < n; ++i)
            v = (v << 1) | static_cast<unsigned>(Bit());
        return v;
    }
    size_t Position() const { return FPos; }

private:
    const std::string& FData;
    size_t FPos = 0;
};

// Canonical code: shorter codes first, equal lengths in symbol order.
class CanonicalCode {
public:
    explicit CanonicalCode(const Lzh5CodeHeader& Header) : FSingle(Header.Single) {
        if (FSingle >= 0)
            return;
        unsigned long kraft = 0;
        for (size_t s = 0; s < Header.Lengths.size(); ++s) {
            const int len = Header.Lengths[s];
            if (len > 0) {
                kraft += 1ul << (16 - len);
                FSymbols[len].push_back(static_cast<int>(s));
            }
        }
        if (kraft != 1ul << 16)
            throw std::runtime_error("code lengths do not form a complete code");
    }

    int Decode(BitReader& in) const {
        if (FSingle >= 0)
            return FSingle;
        unsigned code = 0;  // the bits read so far
        unsigned first = 0; // the first code of the current length
        for (int len = 1; len <= 16; ++len) {
            code = (code << 1) | static_cast<unsigned>(in.Bit());
            const auto& symbols = FSymbols[len];
            if (code - first < symbols.size())
                return symbols[code - first];
            first = (first + static_cast<unsigned>(symbols.size())) << 1;
        }
        throw std::runtime_error("no code matches");
    }

private:
    int FSingle;
    std::vector<int> FSymbols[17]; // per length, in symbol order
};

// The code-length code or the position code.
void ReadSmallCode(BitReader& in, int nn, int nbit, int special, Lzh5CodeHeader& code,
                   std::vector<Lzh5LengthField>& fields, int* zeroRun) {
    code.Lengths.assign(static_cast<size_t>(nn), 0);
    code.Count = static_cast<int>(in.Bits(nbit));
    if (code.Count == 0) {
        code.Single = static_cast<int>(in.Bits(nbit));
        if (code.Single >= nn)
            throw std::runtime_error("single symbol out of range");
        return;
    }
    if (code.Count > nn)
        throw std::runtime_error("count out of range");
    int i = 0;
    while (i < code.Count) {
        Lzh5LengthField field;
        int len = static_cast<int>(in.Bits(3));
        field.Bits = std::string(len >> 2 & 1 ? "1" : "0") + (len >> 1 & 1 ? "1" : "0") +
                     (len & 1 ? "1" : "0");
        if (len == 7) {
            while (in.Bit() == 1) {
                ++len;
                field.Bits += '1';
            }
            field.Bits += '0';
        }
        if (len > 16)
            throw std::runtime_error("length above 16");
        field.Length = len;
        fields.push_back(field);
        code.Lengths[static_cast<size_t>(i++)] = len;
        if (i == special) {
            *zeroRun = static_cast<int>(in.Bits(2));
            i += *zeroRun;
        }
    }
}

void ReadCharCode(BitReader& in, const CanonicalCode& lenCode, Lzh5Block& block) {
    Lzh5CodeHeader& code = block.CharCode;
    code.Lengths.assign(510, 0);
    code.Count = static_cast<int>(in.Bits(9));
    if (code.Count == 0) {
        code.Single = static_cast<int>(in.Bits(9));
        if (code.Single >= 510)
            throw std::runtime_error("single character symbol out of range");
        return;
    }
    if (code.Count > 510)
        throw std::runtime_error("character count out of range");
    int i = 0;
    while (i < code.Count) {
        const int t = lenCode.Decode(in);
        int extra = -1;
        int zeros = 0;
        if (t == 0) {
            zeros = 1;
        } else if (t == 1) {
            extra = static_cast<int>(in.Bits(4));
            zeros = extra + 3;
        } else if (t == 2) {
            extra = static_cast<int>(in.Bits(9));
            zeros = extra + 20;
        } else {
            code.Lengths[static_cast<size_t>(i++)] = t - 2;
        }
        block.CharLenSymbols.emplace_back(t, extra);
        if (i + zeros > 510)
            throw std::runtime_error("zero run past the table");
        i += zeros;
    }
}

} // namespace

Lzh5Parse ReadLzh5Stream(const std::string& Stream, size_t ExpandedSize) {
    Lzh5Parse parse;
    BitReader in(Stream);
    std::string& out = parse.Output;
    while (out.size() < ExpandedSize) {
        Lzh5Block block;
        block.Tokens = in.Bits(16);
        if (block.Tokens == 0)
            throw std::runtime_error("block without tokens");
        ReadSmallCode(in, 19, 5, 3, block.LenCode, block.LenCodeFields, &block.ZeroRun);
        const CanonicalCode lenCode(block.LenCode);
        ReadCharCode(in, lenCode, block);
        ReadSmallCode(in, 14, 4, -1, block.PositionCode, block.PositionFields, nullptr);
        const CanonicalCode charCode(block.CharCode);
        const CanonicalCode positionCode(block.PositionCode);
        for (unsigned k = 0; k < block.Tokens && out.size() < ExpandedSize; ++k) {
            const int c = charCode.Decode(in);
            if (c < 256) {
                out += static_cast<char>(c);
                ++block.Literals;
                continue;
            }
            const int j = positionCode.Decode(in);
            unsigned distance = j == 0 ? 0 : j == 1 ? 1 : (1u << (j - 1)) + in.Bits(j - 1);
            ++distance;
            const size_t length = static_cast<size_t>(c) - 253;
            for (size_t n = 0; n < length; ++n) {
                // Before the start the window holds spaces.
                const size_t size = out.size();
                out += size >= distance ? out[size - distance] : ' ';
            }
            ++block.Matches;
        }
        parse.Blocks.push_back(std::move(block));
    }
    parse.BitsRead = in.Position();
    return parse;
}

} // namespace zorp::test
