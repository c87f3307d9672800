// The LZH5 compressor: the exact bytes and block layout it writes, the form
// of each code in a block header, round trips over the corpus and generated
// data, and the output budget.
#include "common/Errors.h"
#include "engine/EngineRun.h"
#include "engine/Lzh5StreamReader.h"
#include "engine/lzh5/Lzh5BlockEncoder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>

namespace zorp::test {
namespace {

// Bytes in which no pair of consecutive bytes occurs twice (the pairs of a
// de Bruijn sequence), so the match finder never finds 2 bytes to match.
std::string NoRepeatedPairs(size_t Size) {
    std::string s;
    for (int a = 0; a < 256 && s.size() < Size; ++a) {
        s += static_cast<char>(a);
        for (int b = a + 1; b < 256; ++b) {
            s += static_cast<char>(a);
            s += static_cast<char>(b);
        }
    }
    s.resize(Size);
    return s;
}

// Text-like data with many matches of all lengths and distances.
std::string Words(size_t Size, uint32_t Seed) {
    static const char* const words[] = {"the ",   "quick ", "brown ",  "fox ",  "jumps ",
                                        "over ",  "lazy ",  "dog ",    "and ",  "then ",
                                        "runs, ", "far ",   "away.\n", "Zorp ", "packs "};
    std::mt19937 random(Seed);
    std::string s;
    while (s.size() < Size) {
        s += words[random() % 15];
        if (random() % 50 == 0)
            s += RandomBytes(random() % 40, random());
    }
    s.resize(Size);
    return s;
}

std::string Runs(size_t Size, uint32_t Seed) {
    std::mt19937 random(Seed);
    std::string s;
    while (s.size() < Size)
        s.append(random() % 600 + 1, static_cast<char>(random() % 4));
    s.resize(Size);
    return s;
}

// Compresses Input and checks that the engine and the independent reader
// both expand it to exactly Input (no match may run past its end).
std::string ExpectRoundTrip(const std::string& Input) {
    const std::string packed = CompressLZH5(Input);
    EXPECT_EQ(ExpandLZH5(packed, static_cast<int32_t>(Input.size())), Input);
    if (!Input.empty()) {
        EXPECT_EQ(ReadLzh5Stream(packed, Input.size()).Output, Input);
    }
    return packed;
}

TEST(Lzh5Compress, EmptySourceWritesNothing) {
    EXPECT_EQ(CompressLZH5(""), "");
}

TEST(Lzh5Compress, SingleByte) {
    EXPECT_EQ(CompressLZH5("A"), std::string("\x00\x01\x00\x00\x04\x10\x00", 7));
}

TEST(Lzh5Compress, SingleSymbolCodesUseTheirShortForms) {
    // Two literals of one symbol: character code with one symbol, position
    // code with none, code-length code with one.
    const Lzh5Parse two = ReadLzh5Stream(CompressLZH5("AA"), 2);
    ASSERT_EQ(two.Blocks.size(), 1u);
    EXPECT_EQ(two.Blocks[0].Tokens, 2u);
    EXPECT_EQ(two.Blocks[0].LenCode.Single, 0);
    EXPECT_EQ(two.Blocks[0].CharCode.Single, 'A');
    EXPECT_EQ(two.Blocks[0].PositionCode.Single, 0);
    // A run: a literal, then matches at distance 1 (position symbol 0, the
    // only one: its single-symbol form).
    const Lzh5Parse run = ReadLzh5Stream(ExpectRoundTrip(std::string(1000, 'x')), 1000);
    ASSERT_EQ(run.Blocks.size(), 1u);
    EXPECT_EQ(run.Blocks[0].Literals, 1u);
    EXPECT_EQ(run.Blocks[0].Matches, 4u); // 256 + 256 + 256 + 231
    EXPECT_EQ(run.Blocks[0].PositionCode.Single, 0);
    EXPECT_EQ(run.Blocks[0].CharCode.Single, -1);
}

TEST(Lzh5Compress, AllLiteralBlocksHold14544Tokens) {
    // 1818 groups of 9 bytes fill the block buffer to 16362 > 16360.
    for (const size_t size : {14544u, 14545u, 30000u}) {
        const std::string input = NoRepeatedPairs(size);
        const Lzh5Parse parse = ReadLzh5Stream(ExpectRoundTrip(input), size);
        std::vector<unsigned> tokens;
        for (const Lzh5Block& block : parse.Blocks) {
            tokens.push_back(block.Tokens);
            EXPECT_EQ(block.Matches, 0u);
            EXPECT_EQ(block.PositionCode.Single, 0);
        }
        if (size == 14544)
            EXPECT_EQ(tokens, (std::vector<unsigned>{14544}));
        else if (size == 14545)
            EXPECT_EQ(tokens, (std::vector<unsigned>{14544, 1}));
        else
            EXPECT_EQ(tokens, (std::vector<unsigned>{14544, 14544, 912}));
    }
}

// Drives the block encoder directly with chosen tokens.
struct BlockRun {
    explicit BlockRun() : Encoder(std::make_unique<lzh5::TBlockEncoder>(Run.Engine)) {}
    std::string Finish() {
        Encoder->Finish();
        Run.Flush();
        return Run.Dest.DataString();
    }
    EngineRun Run{""};
    std::unique_ptr<lzh5::TBlockEncoder> Encoder;
};

TEST(Lzh5Compress, ZeroRunsOfEachLengthUseTheirForm) {
    // Literals 0, 2, 5, 9, 28, 48, 69, 200 equally often: all length 3, with
    // zero runs of 1, 2, 3, 18, 19, 20 and 130 between them.
    const int used[] = {0, 2, 5, 9, 28, 48, 69, 200};
    BlockRun block;
    std::string expected;
    for (int round = 0; round < 10; ++round)
        for (const int c : used) {
            block.Encoder->OutputCodes(static_cast<unsigned>(c), 0);
            expected += static_cast<char>(c);
        }
    const Lzh5Parse parse = ReadLzh5Stream(block.Finish(), expected.size());
    EXPECT_EQ(parse.Output, expected);
    ASSERT_EQ(parse.Blocks.size(), 1u);
    EXPECT_EQ(parse.Blocks[0].CharCode.Count, 201);
    const std::vector<std::pair<int, int>> symbols = {
        {5, -1}, {0, -1}, {5, -1}, {0, -1}, {0, -1}, {5, -1}, {1, 0},   {5, -1}, {1, 15},
        {5, -1}, {0, -1}, {1, 15}, {5, -1}, {2, 0},  {5, -1}, {2, 110}, {5, -1}};
    EXPECT_EQ(parse.Blocks[0].CharLenSymbols, symbols);
}

TEST(Lzh5Compress, DeepTreesAreLimitedTo16Bits) {
    // Fibonacci counts over 19 symbols give a Huffman tree 18 deep.
    std::vector<unsigned> tokens;
    unsigned a = 1;
    unsigned b = 1;
    for (unsigned c = 'a'; c < 'a' + 19; ++c) {
        tokens.insert(tokens.end(), a, c);
        const unsigned next = a + b;
        a = b;
        b = next;
    }
    std::shuffle(tokens.begin(), tokens.end(), std::mt19937(3));
    BlockRun block;
    std::string expected;
    for (const unsigned c : tokens) {
        block.Encoder->OutputCodes(c, 0);
        expected += static_cast<char>(c);
    }
    const std::string packed = block.Finish();
    const Lzh5Parse parse = ReadLzh5Stream(packed, expected.size()); // checks completeness
    EXPECT_EQ(parse.Output, expected);
    EXPECT_EQ(ExpandLZH5(packed, static_cast<int32_t>(expected.size())), expected);
    const std::vector<int>& lengths = parse.Blocks.at(0).CharCode.Lengths;
    EXPECT_EQ(*std::max_element(lengths.begin(), lengths.end()), 16);
    EXPECT_EQ(std::count(lengths.begin(), lengths.end(), 16), 4);
    EXPECT_EQ(lengths['a' + 18], 1); // the most frequent
}

TEST(Lzh5Compress, LongLengthsAreSentInUnaryForm) {
    // Matches of length 3 whose position symbols 0 to 9 occur 256, 128, ...,
    // 1 and 1 times: position lengths 1 to 9 and 9.
    BlockRun block;
    for (int i = 0; i < 300; ++i)
        block.Encoder->OutputCodes(static_cast<unsigned>('a' + i % 26), 0);
    std::vector<unsigned> positions;
    for (unsigned j = 0; j < 10; ++j) {
        const unsigned count = j == 9 ? 1 : 256u >> j;
        const unsigned code = j == 0 ? 0 : 1u << (j - 1);
        positions.insert(positions.end(), count, code);
    }
    std::shuffle(positions.begin(), positions.end(), std::mt19937(5));
    for (const unsigned p : positions)
        block.Encoder->OutputCodes(256, p);
    const std::string packed = block.Finish();
    const size_t size = 300 + 3 * positions.size();
    const Lzh5Parse parse = ReadLzh5Stream(packed, size);
    EXPECT_EQ(ExpandLZH5(packed, static_cast<int32_t>(size)), parse.Output);
    ASSERT_EQ(parse.Blocks.size(), 1u);
    const Lzh5Block& b = parse.Blocks[0];
    EXPECT_EQ(b.PositionCode.Lengths, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 0, 0, 0, 0}));
    ASSERT_EQ(b.PositionFields.size(), 10u);
    EXPECT_EQ(b.PositionFields[5].Bits, "110");
    EXPECT_EQ(b.PositionFields[6].Bits, "1110");
    EXPECT_EQ(b.PositionFields[7].Bits, "11110");
    EXPECT_EQ(b.PositionFields[8].Bits, "111110");
}

TEST(Lzh5Compress, RoundTripsAtWindowAndBufferBoundaries) {
    for (const size_t size : {1u, 2u, 3u, 4u, 60u, 255u, 256u, 257u, 4096u, 7936u, 7937u, 8192u,
                              8193u, 16384u, 16385u, 24577u, 70000u}) {
        SCOPED_TRACE(size);
        ExpectRoundTrip(RandomBytes(size, static_cast<uint32_t>(size)));
        ExpectRoundTrip(Words(size, static_cast<uint32_t>(size)));
        ExpectRoundTrip(Runs(size, static_cast<uint32_t>(size)));
        ExpectRoundTrip(std::string(size, '\x94'));
        ExpectRoundTrip(std::string(size, ' ')); // the same byte as the fill
    }
}

TEST(Lzh5Compress, RoundTripsOfRepeatedLongStrings) {
    // Identical 256-byte strings make newer leaves replace older ones.
    const std::string block = RandomBytes(256, 11);
    std::string input;
    for (int i = 0; i < 80; ++i)
        input += block + (i % 3 == 0 ? RandomBytes(7, static_cast<uint32_t>(i)) : "");
    ExpectRoundTrip(input);
    ExpectRoundTrip(block + block);
    // Period 257 and 8191 to 8193 at distances around the window size.
    ExpectRoundTrip(Words(40000, 2) + Words(40000, 2));
    const std::string wide = RandomBytes(8192, 4);
    ExpectRoundTrip(wide + wide + wide);
    ExpectRoundTrip(wide + "x" + wide + "xy" + wide);
    // Text ending in spaces: the fill after the end repeats it.
    ExpectRoundTrip(Words(5000, 9) + std::string(300, ' '));
    ExpectRoundTrip(Words(20000, 9) + std::string(600, ' '));
}

TEST(Lzh5Compress, RoundTripsOfCorpus) {
    const std::vector<std::string> files = CorpusFiles();
    ASSERT_FALSE(files.empty()) << "corpus missing";
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const std::string data = ReadWholeFile(file);
        const std::string packed = CompressLZH5(data);
        EXPECT_EQ(ExpandLZH5(packed, static_cast<int32_t>(data.size())), data);
    }
}

TEST(Lzh5Compress, BudgetRaisesEUnableToCompress) {
    const std::string text = Words(30000, 1);
    const std::string packed = CompressLZH5(text);
    const auto size = static_cast<int32_t>(packed.size());
    EXPECT_EQ(CompressLZH5(text, size), packed);
    EXPECT_THROW(CompressLZH5(text, size - 1), EUnableToCompress);
    const std::string random = RandomBytes(20000, 8);
    EXPECT_THROW(CompressLZH5(random, 20000), EUnableToCompress);
}

TEST(Lzh5Compress, BudgetStopsAtTheSameByteAsAByteAtATimeWriter) {
    // The bit output hands its bytes over in groups; when the budget runs out
    // the bytes already out must be exactly the first Budget bytes.
    const std::string text = Words(60000, 4);
    const std::string packed = CompressLZH5(text);
    for (const int32_t budget : {1, 2, 255, 256, 257, 1000, 4096, 8191, 8192, 8193, 12345}) {
        SCOPED_TRACE(budget);
        ASSERT_LT(budget, static_cast<int32_t>(packed.size()));
        EngineRun run(RunSetup{.Input = text, .Budget = budget});
        EXPECT_THROW(run.Engine.CompressLZH5(), EUnableToCompress);
        EXPECT_EQ(run.Engine.OutCount(), budget);
        run.Flush();
        EXPECT_EQ(run.Dest.DataString(), packed.substr(0, static_cast<size_t>(budget)));
    }
}

} // namespace
} // namespace zorp::test
