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

// Runs the tokens through a history that keeps all output behind 4096
// spaces, the output going either through TDirectOutput or byte by byte
// through PutChar; the log notes the token at which the budget ran out.
RunTrace RunTokens(const std::vector<Token>& tokens, bool direct, int32_t budget, uint32_t key) {
    EngineRun run(RunSetup{.Budget = budget, .Key = key, .Scramble = key != 0});
    size_t total = 0;
    for (const Token& t : tokens)
        total += t.Length == 0 ? 1 : t.Length;
    std::vector<uint8_t> history(Window + total + 32, 0x20);
    uint8_t* at = history.data() + Window;
    size_t token = 0;
    return run.Run([&](TCompThreadSafety& e) {
        try {
            // While it exists, the direct output owns the buffer position.
            std::optional<TDirectOutput> out;
            if (direct)
                out.emplace(e);
            for (; token < tokens.size(); ++token) {
                const Token& t = tokens[token];
                if (t.Length == 0) {
                    *at++ = t.Literal;
                    direct ? out->Put(t.Literal) : e.PutChar(t.Literal);
                    continue;
                }
                if (direct) {
                    out->PutMatch(at, t.Distance, t.Length);
                } else {
                    const uint8_t* from = at - t.Distance;
                    for (unsigned k = 0; k < t.Length; ++k) {
                        at[k] = from[k];
                        e.PutChar(at[k]);
                    }
                }
                at += t.Length;
            }
        } catch (const EUnableToCompress&) {
            run.Note("budget ended at token " + std::to_string(token));
            throw;
        }
    });
}

TEST(TDirectOutput, LeavesTheTraceOfPutChar) {
    struct Case {
        unsigned Seed;
        int Bytes;
        int32_t Budget;
        uint32_t Key;
    };
    std::vector<Case> cases;
    for (unsigned seed = 1; seed <= 4; ++seed)
        cases.push_back({seed, 60000, NoLimit, 0});
    for (const int32_t budget : {0, 1, 8191, 8192, 8193, 20000, 33333})
        cases.push_back({7, 40000, budget, 0});
    cases.push_back({11, 30000, NoLimit, 0x5A00C3});
    cases.push_back({11, 30000, 12345, 0xFFFFFFF9});
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "seed " << c.Seed << " budget " << c.Budget << " key " << c.Key);
        const std::vector<Token> tokens = MakeTokens(c.Seed, c.Bytes);
        const RunTrace bytewise = RunTokens(tokens, false, c.Budget, c.Key);
        EXPECT_TRUE(SameTrace(RunTokens(tokens, true, c.Budget, c.Key), bytewise));
        // All the output over several buffer writes, or the budget ends within it.
        if (c.Budget == NoLimit)
            EXPECT_GE(bytewise.Output.size(), static_cast<size_t>(c.Bytes));
        else
            EXPECT_FALSE(bytewise.Raised.empty());
    }
}

} // namespace
} // namespace zorp::test
