// The LZH5 expander on hand-made streams: the documented single-byte stream,
// zero-bit codes, the end of the input and the count, and damaged streams,
// which must raise ELZHBadDecodeTable or end, never touching memory outside
// the tables.
#include "common/Errors.h"
#include "engine/BitStrings.h"
#include "engine/EngineRun.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace zorp::test {
namespace {

// Block header pieces.
const std::string OneToken = BitField(1, 16);
// Code-length code with the single symbol S (5-bit count 0).
std::string LenCodeSingle(unsigned S) {
    return BitField(0, 5) + BitField(S, 5);
}
std::string CharSingle(unsigned S) {
    return BitField(0, 9) + BitField(S, 9);
}
std::string PositionSingle(unsigned S) {
    return BitField(0, 4) + BitField(S, 4);
}

void ExpectBadTable(const std::string& Bits, int32_t Count = 10) {
    EXPECT_THROW(ExpandLZH5(BitsToBytes(Bits), Count), ELZHBadDecodeTable) << Bits;
}

TEST(Lzh5Expand, SingleByteStream) {
    const std::string stream("\x00\x01\x00\x00\x04\x10\x00", 7);
    EXPECT_EQ(BitsToBytes(OneToken + LenCodeSingle(0) + CharSingle(0x41) + PositionSingle(0)),
              stream);
    EXPECT_EQ(ExpandLZH5(stream, 1), "A");
}

TEST(Lzh5Expand, CountZeroReadsAndWritesNothing) {
    EngineRun run("\x00\x01\x00\x00\x04\x10\x00");
    run.Engine.ExpandLZH5(0);
    run.Flush();
    EXPECT_TRUE(run.Source.Reads.empty());
    EXPECT_EQ(run.Dest.Size(), 0);
}

// Two one-bit character symbols, 'a' and the match length 10, sent through a
// code-length code of two one-bit symbols (2: long zero run, 3: length 1).
std::string LiteralAndMatchHeader(unsigned Tokens, const std::string& PositionCode) {
    return BitField(Tokens, 16) +
           // code-length code: n = 4, lengths 0 0 1, no zero run, 1
           BitField(4, 5) + "000 000 001 00 001 " +
           // character code: n = 264; 97 zeros, length 1 ('a'), 165 zeros,
           // length 1 (symbol 263, match length 10)
           BitField(264, 9) + "0" + BitField(97 - 20, 9) + "1 " + "0" + BitField(165 - 20, 9) +
           "1 " + PositionCode;
}

TEST(Lzh5Expand, MatchIsCutAtCount) {
    // 'a', then a match of 10 at distance 1 overlapping its own output.
    const std::string stream = BitsToBytes(LiteralAndMatchHeader(2, PositionSingle(0)) + "0 1");
    EXPECT_EQ(ExpandLZH5(stream, 11), std::string(11, 'a'));
    EXPECT_EQ(ExpandLZH5(stream, 2), "aa");
    EXPECT_EQ(ExpandLZH5(stream, 1), "a");
}

TEST(Lzh5Expand, WindowStartsAsSpacesAndPositionExtraBitsCount) {
    // A match at distance code 4 + 3 (position symbol 3, extra bits 11):
    // distance 8 reaches back before the start, into the initial spaces.
    const std::string stream = BitsToBytes(LiteralAndMatchHeader(2, PositionSingle(3)) + "0 1 11");
    EXPECT_EQ(ExpandLZH5(stream, 11), "a" + std::string(7, ' ') + "a  ");
}

TEST(Lzh5Expand, NothingIsDecodedFromBitsPastTheEnd) {
    EXPECT_EQ(ExpandLZH5("", 1000), "");
    // The single token, then a block header that would need bits past the end.
    EXPECT_EQ(ExpandLZH5(std::string("\x00\x01\x00\x00\x04\x10\x00", 7), 3), "A");
    // 52 zero bits are a block header of 65536 tokens, each the literal 0 in
    // zero bits: 31 zero bytes hold four such headers, not a fifth.
    EXPECT_EQ(ExpandLZH5(std::string(31, '\0'), 1 << 24), std::string(4 * 65536, '\0'));
}

TEST(Lzh5Expand, UnaryLengthsInPositionCode) {
    // Position code with lengths 1 2 3 4 5 6 7 8 8 for symbols 0 to 8; 7 is
    // sent as 1110 and 8 as 11110. Codes: 0 for symbol 0 (distance code 0),
    // 111110 for symbol 5 (16 + 4 extra bits), 11111111 for symbol 8
    // (128 + 7 extra bits).
    const std::string header =
        LiteralAndMatchHeader(2, BitField(9, 4) + "001 010 011 100 101 110 1110 11110 11110 ");
    EXPECT_EQ(ExpandLZH5(BitsToBytes(header + "0 1 0"), 11), std::string(11, 'a'));
    // Distance 16 + 3 + 1 = 20 and 128 + 1 = 129 reach into the initial spaces.
    EXPECT_EQ(ExpandLZH5(BitsToBytes(header + "0 1 111110 0011"), 11), "a" + std::string(10, ' '));
    EXPECT_EQ(ExpandLZH5(BitsToBytes(header + "0 1 11111111 0000000"), 11),
              "a" + std::string(10, ' '));
}

TEST(Lzh5Expand, EmptyCodeDecodesAsSymbolZeroInZeroBits) {
    // Character code: single symbol 256 (match length 3); position code sent
    // with one zero length: no symbols, so every distance code is 0.
    const std::string stream =
        BitsToBytes(BitField(3, 16) + LenCodeSingle(0) + CharSingle(256) + BitField(1, 4) + "000");
    EXPECT_EQ(ExpandLZH5(stream, 9), std::string(9, ' '));
}

TEST(Lzh5Expand, CountFieldsLargerThanTheirTableRaise) {
    ExpectBadTable(OneToken + BitField(20, 5));                                     // 19 symbols
    ExpectBadTable(OneToken + LenCodeSingle(0) + BitField(511, 9));                 // 510 symbols
    ExpectBadTable(OneToken + LenCodeSingle(0) + CharSingle(65) + BitField(15, 4)); // 14 symbols
}

TEST(Lzh5Expand, SingleSymbolsOutsideTheirCodeRaise) {
    ExpectBadTable(OneToken + LenCodeSingle(19));
    ExpectBadTable(OneToken + LenCodeSingle(31));
    ExpectBadTable(OneToken + LenCodeSingle(0) + CharSingle(510));
    ExpectBadTable(OneToken + LenCodeSingle(0) + CharSingle(65) + PositionSingle(14));
}

TEST(Lzh5Expand, LengthsAbove16Raise) {
    // 111 followed by ten ones and a zero: 17. The unary form reaches 20.
    ExpectBadTable(OneToken + BitField(1, 5) + "111 1111111111 0");
    ExpectBadTable(OneToken + BitField(1, 5) + "111 1111111111111 0");
    ExpectBadTable(OneToken + LenCodeSingle(0) + CharSingle(65) + BitField(1, 4) +
                   "111 11111111110");
    // 16 itself is fine as far as the field goes (the code is incomplete).
    ExpectBadTable(OneToken + BitField(1, 5) + "111 111111111 0");
}

TEST(Lzh5Expand, ZeroRunPastTheTableRaises) {
    // Code-length code: the single symbol 2 (a run of 20 + 9 bits zeros).
    const std::string header = OneToken + LenCodeSingle(2) + BitField(510, 9);
    ExpectBadTable(header + BitField(511, 9));                    // 531 zeros
    ExpectBadTable(header + BitField(400, 9) + BitField(100, 9)); // 420 + 120
    // A run that ends exactly at 510 is allowed (an empty character code).
    EXPECT_EQ(ExpandLZH5(BitsToBytes(header + BitField(490, 9) + PositionSingle(0)), 4),
              std::string(1, '\0'));
}

TEST(Lzh5Expand, IncompleteAndOverfullCodesRaise) {
    ExpectBadTable(OneToken + BitField(1, 5) + "001");            // one 1-bit code
    ExpectBadTable(OneToken + BitField(3, 5) + "001 001 001 00"); // three 1-bit codes
    // Four 1-bit codes add up to 2 * 65536, which a check modulo 65536 would
    // take for complete; filling the table from it would run past its end.
    ExpectBadTable(OneToken + BitField(4, 5) + "001 001 001 00 001");
    ExpectBadTable(OneToken + LenCodeSingle(3) + BitField(4, 9) + BitField(0, 4));
    // Fourteen 1-bit position codes add up to 7 * 65536.
    ExpectBadTable(OneToken + LenCodeSingle(0) + CharSingle(65) + BitField(14, 4) +
                   "001 001 001 001 001 001 001 001 001 001 001 001 001 001");
}

// One block of Tokens tokens that each take 41 bits, the most a token can
// take: a 16-bit literal 'p' (every 64th token) or a 16-bit match of 3 with
// a 13-bit position code and 12 extra bits. Returns the stream and sets Size
// to the number of bytes it expands to.
std::string LongestTokens(unsigned Tokens, int32_t& Size) {
    std::string bits = BitField(Tokens, 16);
    // Code-length code: symbols 2 to 16 in 4 bits, 17 and 18 in 5 (lengths
    // 0 0 4, no zero run, then 4 x 14 and 5 5), so a char length L is sent
    // as symbol L + 2 and a long zero run as symbol 2 (code 0000).
    bits += BitField(19, 5) + "000 000 100 00 ";
    for (int i = 3; i <= 16; ++i)
        bits += "100 ";
    bits += "101 101 ";
    auto lengthSymbol = [](unsigned symbol) {
        return symbol <= 16 ? BitField(symbol - 2, 4) : BitField(symbol == 17 ? 30 : 31, 5);
    };
    // Character code: 'a' to 'o' (97 to 111) lengths 1 to 15, 'p' and the
    // match of 3 (symbol 256) length 16; 'p' is 1111111111111110 and the match
    // sixteen ones.
    bits += BitField(257, 9) + lengthSymbol(2) + BitField(97 - 20, 9);
    for (unsigned len = 1; len <= 16; ++len)
        bits += lengthSymbol(len + 2);
    bits += lengthSymbol(2) + BitField(256 - 113 - 20, 9) + lengthSymbol(18);
    // Position code: symbols 0 to 11 lengths 1 to 12, 12 and 13 length 13
    // (7 and up in unary after 111); symbol 13 is thirteen ones.
    bits += BitField(14, 4);
    for (int symbol = 0; symbol < 14; ++symbol) {
        const int len = std::min(symbol + 1, 13);
        bits += len < 7 ? BitField(static_cast<unsigned>(len), 3)
                        : "111" + std::string(static_cast<size_t>(len - 7), '1') + "0 ";
    }
    std::mt19937 random(3);
    Size = 0;
    for (unsigned t = 0; t < Tokens; ++t) {
        if (t % 64 == 0) {
            bits += "1111111111111110";
            Size += 1;
        } else {
            bits += std::string(29, '1') + BitField(random() & 0xFFF, 12);
            Size += 3;
        }
    }
    return BitsToBytes(bits);
}

// The decoder takes its input 8 bytes at a time; tokens of the longest codes
// must not take it past the input buffer, and leave the trace of the
// byte-at-a-time path.
TEST(Lzh5Expand, TokensOfTheLongestCodesStayWithinTheInputBuffer) {
    int32_t size = 0;
    RunSetup setup{LongestTokens(30000, size)};
    ASSERT_GT(setup.Input.size(), 120000u); // some 16 input buffers
    setup.ReadChunk = 4096;
    const RunTrace fast = EngineRun(setup).Run(Codec::ExpandLZH5, size);
    EXPECT_EQ(fast.Raised, "");
    EXPECT_EQ(fast.OutCount, size);
    setup.ByteAtATime = true;
    EXPECT_TRUE(SameTrace(fast, EngineRun(setup).Run(Codec::ExpandLZH5, size), IgnoreTakenAhead));
}

// Damaged input of every kind ends: it either decodes to at most Count
// bytes or raises ELZHBadDecodeTable.
void ExpectEndsOrRaises(const std::string& Input, int32_t Count, int& Decoded, int& Raised) {
    try {
        const std::string out = ExpandLZH5(Input, Count);
        EXPECT_LE(out.size(), static_cast<size_t>(Count));
        ++Decoded;
    } catch (const ELZHBadDecodeTable&) {
        ++Raised;
    }
}

TEST(Lzh5Expand, GarbageEndsOrRaises) {
    std::mt19937 random(7);
    int raised = 0;
    int decoded = 0;
    for (int round = 0; round < 200; ++round) {
        const std::string garbage = RandomBytes(random() % 3000, random());
        ExpectEndsOrRaises(garbage, static_cast<int32_t>(random() % 70000), decoded, raised);
    }
    EXPECT_GT(raised, 150);
}

TEST(Lzh5Expand, DamagedStreamsEndOrRaise) {
    // A real stream with bytes changed, cut short, or read for a wrong count.
    const std::vector<std::string> files = CorpusFiles();
    ASSERT_FALSE(files.empty()) << "corpus missing";
    const std::string original = ReadWholeFile(files[0]).substr(0, 40000);
    EngineRun packer(original);
    packer.Engine.CompressLZH5();
    packer.Flush();
    const std::string packed = packer.Dest.DataString();
    std::mt19937 random(9);
    int raised = 0;
    int decoded = 0;
    for (int round = 0; round < 300; ++round) {
        std::string damaged = packed;
        const int kind = round % 3;
        if (kind == 0) {
            for (int k = 0; k < 3; ++k)
                damaged[random() % damaged.size()] = static_cast<char>(random());
        } else if (kind == 1) {
            damaged.resize(random() % damaged.size());
        } else {
            damaged[random() % 40] = static_cast<char>(random()); // in the first header
        }
        const auto count = static_cast<int32_t>(random() % 90000);
        ExpectEndsOrRaises(damaged, count, decoded, raised);
    }
    EXPECT_GT(raised, 0);
    EXPECT_GT(decoded, 0);
}

} // namespace
} // namespace zorp::test
