// The LZH5 expander decodes most tokens in stretches straight from the input
// buffer, but a keyed input always goes token by token through GetChar. Both
// ways must leave the same trace: the same output, progress events at the
// same output counts and buffer writes, the budget exception at the same
// byte, the same sums and the same reads of the source. (How many bytes of
// the input buffer sit in the bit buffer ahead of use is not part of it.)
#include "common/Errors.h"
#include "engine/Lzh5Run.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace zorp::test {
namespace {

constexpr int32_t Key = 0x1F2E3D4C;

struct Trace {
    std::string Output;
    std::vector<std::string> Events; // percent, output count, buffer writes
    std::optional<int32_t> RaisedAtCount;
    bool BadTable = false;
    uint32_t OutSum = 0;
    int32_t OutCount = 0;
    int32_t OutBudget = 0;
    std::vector<int32_t> Reads;     // of the source
    bool InSumOfTakenBytes = false; // InSum adds up exactly the bytes taken
};

std::string Scrambled(const std::string& Data) {
    std::string out = Data;
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char>(out[i] ^ static_cast<uint8_t>(Key >> (8 * (i & 3))));
    return out;
}

// Expands Packed, read through the key when Keyed, recording the trace.
Trace Expand(const std::string& Packed, int32_t Count, bool Keyed, int32_t Budget = 0x7FFFFFFF,
             int CancelAt = -1) {
    const std::string input = Keyed ? Scrambled(Packed) : Packed;
    EngineRun run(input, Budget, Key, false, Keyed);
    run.Settings.ReadChunk = 4096; // several refills even for the smaller samples
    run.Begin();
    Trace trace;
    int events = 0;
    run.Engine.Progress = [&](int32_t& percent) {
        trace.Events.push_back(std::to_string(percent) + " " +
                               std::to_string(run.Engine.OutCount()) + " " +
                               std::to_string(run.Dest.Writes.size()));
        if (events++ == CancelAt)
            percent = -1;
    };
    try {
        run.Engine.ExpandLZH5(Count);
    } catch (const EUnableToCompress&) {
        trace.RaisedAtCount = run.Engine.OutCount();
    } catch (const ELZHBadDecodeTable&) {
        trace.BadTable = true;
    }
    run.Flush();
    trace.Output = run.Dest.DataString();
    trace.OutSum = run.Engine.OutSum();
    trace.OutCount = run.Engine.OutCount();
    trace.OutBudget = run.Engine.OutBudget();
    trace.Reads = run.Source.Reads;
    const int64_t taken = run.Source.Position() - (run.Engine.InEnd - run.Engine.InPos);
    trace.InSumOfTakenBytes =
        run.Engine.InSum() == ByteSum(input.substr(0, static_cast<size_t>(taken)));
    return trace;
}

void ExpectSameTrace(const Trace& stretches, const Trace& tokens) {
    EXPECT_EQ(stretches.Output, tokens.Output);
    EXPECT_EQ(stretches.Events, tokens.Events);
    EXPECT_EQ(stretches.RaisedAtCount, tokens.RaisedAtCount);
    EXPECT_EQ(stretches.BadTable, tokens.BadTable);
    EXPECT_EQ(stretches.OutSum, tokens.OutSum);
    EXPECT_EQ(stretches.OutCount, tokens.OutCount);
    EXPECT_EQ(stretches.OutBudget, tokens.OutBudget);
    EXPECT_EQ(stretches.Reads, tokens.Reads);
    EXPECT_TRUE(stretches.InSumOfTakenBytes);
    EXPECT_TRUE(tokens.InSumOfTakenBytes);
}

// Text, binary and highly repetitive data, each over several buffers.
std::vector<std::string> Samples() {
    std::vector<std::string> samples;
    for (const std::string& file : CorpusFiles()) {
        if (file.find("alice29") != std::string::npos || file.find("kppkn") != std::string::npos ||
            file.find("fireworks") != std::string::npos)
            samples.push_back(ReadWholeFile(file));
    }
    std::string runs;
    for (int i = 0; i < 3000; ++i)
        runs += std::string(static_cast<size_t>(1 + i % 300), static_cast<char>('a' + i % 3));
    samples.push_back(runs);
    samples.push_back(RandomBytes(70000, 5));
    return samples;
}

TEST(Lzh5Trace, StretchesLeaveTheTraceOfTokenByTokenDecoding) {
    const auto samples = Samples();
    ASSERT_EQ(samples.size(), 5u);
    for (const std::string& sample : samples) {
        const std::string packed = CompressLzh5(sample);
        const auto size = static_cast<int32_t>(sample.size());
        const Trace plain = Expand(packed, size, false);
        EXPECT_EQ(plain.Output, sample);
        EXPECT_GE(plain.Events.size(), 2u);
        ExpectSameTrace(plain, Expand(packed, size, true));
        // A count past the end of the data: both stop where the data end.
        ExpectSameTrace(Expand(packed, size + 1000, false), Expand(packed, size + 1000, true));
        ExpectSameTrace(Expand(packed, size / 2 + 7, false), Expand(packed, size / 2 + 7, true));
    }
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

TEST(Lzh5Trace, TokensOfTheLongestCodesStayWithinTheInputBuffer) {
    int32_t size = 0;
    const std::string packed = LongestTokens(30000, size);
    ASSERT_GT(packed.size(), 120000u); // some 16 input buffers
    const Trace plain = Expand(packed, size, false);
    EXPECT_FALSE(plain.BadTable);
    EXPECT_EQ(plain.OutCount, size);
    ExpectSameTrace(plain, Expand(packed, size, true));
}

TEST(Lzh5Trace, BudgetEndsAtTheSameByte) {
    const std::string sample = Samples().front();
    const std::string packed = CompressLzh5(sample);
    const auto size = static_cast<int32_t>(sample.size());
    for (const int32_t budget : {1, 255, 8191, 8192, 8193, 20000, size - 1}) {
        SCOPED_TRACE(budget);
        const Trace plain = Expand(packed, size, false, budget);
        ASSERT_TRUE(plain.RaisedAtCount.has_value());
        EXPECT_EQ(*plain.RaisedAtCount, budget);
        ExpectSameTrace(plain, Expand(packed, size, true, budget));
    }
}

TEST(Lzh5Trace, CancellingStopsBothAlike) {
    const std::string sample = Samples().front();
    const std::string packed = CompressLzh5(sample);
    const auto size = static_cast<int32_t>(sample.size());
    for (const int cancelAt : {0, 1, 3}) {
        SCOPED_TRACE(cancelAt);
        ExpectSameTrace(Expand(packed, size, false, 0x7FFFFFFF, cancelAt),
                        Expand(packed, size, true, 0x7FFFFFFF, cancelAt));
    }
}

TEST(Lzh5Trace, OutputKeyAppliesToStretches) {
    const std::string sample = Samples().front();
    const std::string packed = CompressLzh5(sample);
    EngineRun run(packed, 0x7FFFFFFF, Key, true, false);
    run.Engine.ExpandLZH5(static_cast<int32_t>(sample.size()));
    run.Flush();
    EXPECT_EQ(run.Dest.DataString(), Scrambled(sample));
    EXPECT_EQ(run.Engine.OutSum(), ByteSum(Scrambled(sample)));
}

} // namespace
} // namespace zorp::test
