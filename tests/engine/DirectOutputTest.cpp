// The expanders' direct output must leave the same trace as PutChar byte by
// byte: the same bytes in the same buffer writes, sums, counts and budget,
// and the budget exception at the same byte, with or without a key.
#include "engine/EngineRun.h"

#include "common/Errors.h"
#include "engine/DirectOutput.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace zorp::test {
namespace {

constexpr size_t Window = 4096;

// A literal (Length 0) or a match of Length bytes from Distance back.
struct Token {
    uint8_t Literal;
    unsigned Distance;
    unsigned Length;
};

// Literals and matches of every length and distance the expanders produce,
// short overlapping ones included, for about Bytes bytes of output.
std::vector<Token> MakeTokens(unsigned seed, int Bytes) {
    std::mt19937 random(seed);
    std::vector<Token> tokens;
    for (int made = 0; made < Bytes;) {
        const unsigned kind = random() % 4;
        if (kind == 0) {
            tokens.push_back({static_cast<uint8_t>(random()), 0, 0});
            ++made;
            continue;
        }
        const unsigned length = kind == 1 ? 3 + random() % 254 : 3 + random() % 30;
        const unsigned distance = kind == 3 ? 1 + random() % 12 : 1 + random() % 4096;
        tokens.push_back({0, distance, length});
        made += static_cast<int>(length);
    }
    return tokens;
}

struct Trace {
    std::string Output;
    std::vector<int32_t> Writes;
    uint32_t Sum = 0;
    int32_t Count = 0;
    int32_t Budget = 0;
    int16_t KeyIndex = 0;
    size_t RaisedAtToken = SIZE_MAX;
};

// Runs the tokens through a history that keeps all output behind 4096
// spaces, the output going either byte by byte through PutChar or through
// TDirectOutput.
Trace RunTokens(const std::vector<Token>& tokens, bool direct, int32_t budget, int32_t key) {
    EngineRun run("", budget, key, key != 0);
    size_t total = 0;
    for (const Token& t : tokens)
        total += t.Length == 0 ? 1 : t.Length;
    std::vector<uint8_t> history(Window + total + 32, 0x20);
    uint8_t* at = history.data() + Window;
    Trace trace;
    try {
        // While it exists, the direct output owns the buffer position.
        std::optional<TDirectOutput> out;
        if (direct)
            out.emplace(run.Engine);
        for (size_t i = 0; i < tokens.size(); ++i) {
            trace.RaisedAtToken = i;
            const Token& t = tokens[i];
            if (t.Length == 0) {
                *at++ = t.Literal;
                direct ? out->Put(t.Literal) : run.Engine.PutChar(t.Literal);
                continue;
            }
            if (direct) {
                out->PutMatch(at, t.Distance, t.Length);
            } else {
                const uint8_t* from = at - t.Distance;
                for (unsigned k = 0; k < t.Length; ++k) {
                    at[k] = from[k];
                    run.Engine.PutChar(at[k]);
                }
            }
            at += t.Length;
        }
        trace.RaisedAtToken = SIZE_MAX;
    } catch (const EUnableToCompress&) {
    }
    run.Flush();
    trace.Output = run.Dest.DataString();
    trace.Writes = run.Dest.Writes;
    trace.Sum = run.Engine.OutSum();
    trace.Count = run.Engine.OutCount();
    trace.Budget = run.Engine.OutBudget();
    trace.KeyIndex = run.Engine.KeyIndex();
    return trace;
}

void ExpectSameTrace(const Trace& direct, const Trace& bytewise) {
    EXPECT_EQ(direct.Output, bytewise.Output);
    EXPECT_EQ(direct.Writes, bytewise.Writes);
    EXPECT_EQ(direct.Sum, bytewise.Sum);
    EXPECT_EQ(direct.Count, bytewise.Count);
    EXPECT_EQ(direct.Budget, bytewise.Budget);
    EXPECT_EQ(direct.KeyIndex, bytewise.KeyIndex);
    EXPECT_EQ(direct.RaisedAtToken, bytewise.RaisedAtToken);
}

TEST(TDirectOutput, LeavesTheTraceOfPutCharAcrossBufferWrites) {
    for (unsigned seed = 1; seed <= 4; ++seed) {
        const std::vector<Token> tokens = MakeTokens(seed, 60000);
        const Trace bytewise = RunTokens(tokens, false, 0x7FFFFFFF, 0);
        ExpectSameTrace(RunTokens(tokens, true, 0x7FFFFFFF, 0), bytewise);
        EXPECT_GE(bytewise.Writes.size(), 6u);
    }
}

TEST(TDirectOutput, RaisesAtTheSameByteWhenTheBudgetEnds) {
    const std::vector<Token> tokens = MakeTokens(7, 40000);
    for (const int32_t budget : {0, 1, 8191, 8192, 8193, 20000, 33333}) {
        SCOPED_TRACE(budget);
        const Trace bytewise = RunTokens(tokens, false, budget, 0);
        ASSERT_NE(bytewise.RaisedAtToken, SIZE_MAX);
        ExpectSameTrace(RunTokens(tokens, true, budget, 0), bytewise);
    }
}

TEST(TDirectOutput, ScramblesAsPutCharDoes) {
    const std::vector<Token> tokens = MakeTokens(11, 30000);
    ExpectSameTrace(RunTokens(tokens, true, 0x7FFFFFFF, 0x5A00C3),
                    RunTokens(tokens, false, 0x7FFFFFFF, 0x5A00C3));
    ExpectSameTrace(RunTokens(tokens, true, 12345, -7), RunTokens(tokens, false, 12345, -7));
}

} // namespace
} // namespace zorp::test
