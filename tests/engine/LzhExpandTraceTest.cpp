// The LZH expander takes its input up to 8 bytes at a time and counts the
// adaptive code on the way down the tree. It must leave exactly the trace of
// the plain expander below, which asks GetChar for one byte whenever 8 bits
// or fewer are left at the start of a read and hands every byte to PutChar:
// the same reads, writes and progress events in the same order, the same
// output, sums, counts, budget, key position and input position, also when
// the input is cut short, cancelled, keyed or refilled a few bytes at a time,
// and when the budget runs out.
#include "engine/EngineRun.h"

#include "common/Errors.h"
#include "engine/lzh/AdaptiveHuffman.h"
#include "engine/lzh/DistanceCode.h"
#include "engine/lzh/MatchTrees.h"
#include "framework/base/MemoryStream.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace zorp::test {
namespace {

// A reader holding at most 16 bits, one GetChar per byte; zero bits past the
// end of the input.
class PlainBits {
public:
    explicit PlainBits(TCompThreadSafety& Engine) : FEngine(Engine) {}

    unsigned Get(unsigned n) {
        if (FLen <= 8) {
            unsigned b = 0;
            if (FMadeUp == 0) {
                b = FEngine.GetChar();
                if (FEngine.EndOfInput())
                    b = 0;
            }
            if (FMadeUp != 0 || FEngine.EndOfInput())
                ++FMadeUp;
            FBuf |= b << (8 - FLen);
            FLen += 8;
        }
        const unsigned bits = (FBuf & 0xFFFF) >> (16 - n);
        FBuf = (FBuf << n) & 0xFFFF;
        FLen -= n;
        return bits;
    }

    bool OverRead() const { return FLen < 8 * FMadeUp; }

private:
    TCompThreadSafety& FEngine;
    unsigned FBuf = 0;
    unsigned FLen = 0;
    unsigned FMadeUp = 0;
};

void PlainExpand(TCompThreadSafety& e, int32_t count) {
    using namespace lzh;
    auto tree = std::make_unique<THuffTree>();
    tree->StartHuff();
    std::vector<uint8_t> ring(RingSize, 0x20);
    PlainBits bits(e);
    unsigned r = StartPosition;
    for (int32_t produced = 0; produced < count;) {
        unsigned k = tree->hufSon[Root];
        while (k < TreeSize)
            k = tree->hufSon[k + bits.Get(1)];
        const int v = static_cast<int>(k) - TreeSize;
        tree->update(v);
        if (v < 256) {
            if (bits.OverRead())
                return;
            e.PutChar(static_cast<uint8_t>(v));
            ring[r] = static_cast<uint8_t>(v);
            r = (r + 1) & RingMask;
            ++produced;
            continue;
        }
        const unsigned b = bits.Get(8);
        const unsigned l = distanceLenTable[b] - 2u;
        const unsigned x = bits.Get(l);
        const unsigned p = (distanceCodeTable[b] << 6) | (((b << l) | x) & 63);
        if (bits.OverRead())
            return;
        const unsigned from = r - p - 1;
        const int length = v - 255 + Threshold;
        for (int i = 0; i < length && produced + i < count; ++i) {
            const uint8_t c = ring[(from + static_cast<unsigned>(i)) & RingMask];
            ring[r] = c;
            r = (r + 1) & RingMask;
            e.PutChar(c);
        }
        produced += length;
    }
}

// A memory stream that notes each read and write in a log shared with the
// progress events, so their order shows.
class LoggingStream : public fw::TMemoryStream {
public:
    LoggingStream(std::vector<std::string>& Log, char Kind, const std::string& Data)
        : FLog(Log), FKind(Kind) {
        if (!Data.empty())
            WriteBuffer(Data.data(), static_cast<int32_t>(Data.size()));
        SetPosition(0);
    }
    int32_t Read(void* Buffer, int32_t Count) override {
        const int32_t n = fw::TMemoryStream::Read(Buffer, Count);
        FLog.push_back(FKind + std::to_string(n));
        return n;
    }
    int32_t Write(const void* Buffer, int32_t Count) override {
        FLog.push_back(FKind + std::to_string(Count));
        return fw::TMemoryStream::Write(Buffer, Count);
    }

private:
    std::vector<std::string>& FLog;
    char FKind;
};

struct Case {
    std::string Packed;
    int32_t Count = 0x7FFFFFFF;
    int32_t Chunk = BufferSize;
    int32_t Budget = 0x7FFFFFFF;
    int32_t Key = 0;
    int CancelAt = -1;
};

struct Outcome {
    std::vector<std::string> Log;
    std::string Out;
    uint32_t InSum, OutSum;
    int32_t InPos, InRemaining, OutCount, Budget;
    int16_t KeyIndex;
    bool EndOfInput, Raised;
    bool operator==(const Outcome&) const = default;
};

Outcome Expand(const Case& c, bool plain) {
    std::vector<std::string> log;
    LoggingStream source(log, 'R', c.Packed);
    LoggingStream dest(log, 'W', "");
    EngineRun run(c.Packed, c.Budget, c.Key, false, c.Key != 0);
    TCompThreadSafety& e = run.Engine;
    run.Settings.ReadChunk = c.Chunk;
    e.BeginRun(source, dest, run.Settings);
    int events = 0;
    e.Progress = [&](int32_t& percent) {
        log.push_back("P" + std::to_string(percent));
        if (events++ == c.CancelAt)
            percent = -1;
    };
    bool raised = false;
    try {
        if (plain)
            PlainExpand(e, c.Count);
        else
            e.ExpandLZH(c.Count);
    } catch (const EUnableToCompress&) {
        raised = true;
    }
    e.FinishRun();
    return {log,
            dest.DataString(),
            e.InSum(),
            e.OutSum(),
            static_cast<int32_t>(e.InPos - e.InBuffer),
            e.InRemaining(),
            e.OutCount(),
            e.OutBudget(),
            e.KeyIndex(),
            e.EndOfInput(),
            raised};
}

void ExpectSameTrace(const Case& c) {
    const Outcome fast = Expand(c, false);
    const Outcome plain = Expand(c, true);
    EXPECT_EQ(fast.Out.size(), plain.Out.size());
    EXPECT_TRUE(fast == plain);
}

// Text from a small vocabulary, with matches of all lengths and distances.
std::string Text(size_t Size, uint32_t Seed) {
    static const char* const words[] = {"ring ", "tree ", "node\n", "of ",  "a ",     "match ",
                                        "4096 ", "x",     "\t",     "the ", "(bit) ", "zz"};
    std::mt19937 random(Seed);
    std::string out;
    while (out.size() < Size)
        out += random() % 8 == 0 ? RandomBytes(random() % 5, random())
                                 : std::string(words[random() % std::size(words)]);
    out.resize(Size);
    return out;
}

std::string Compress(const std::string& Input, int32_t Key = 0) {
    EngineRun run(Input, 0x7FFFFFFF, Key, Key != 0);
    run.Engine.CompressLZH();
    run.Flush();
    return run.Dest.DataString();
}

TEST(ExpandLZHTrace, RefillsOfEverySize) {
    const std::string data = Text(40000, 1);
    const std::string packed = Compress(data);
    for (const int32_t chunk : {1, 5, 7, 8, 9, 13, 100, 4096, BufferSize}) {
        SCOPED_TRACE(chunk);
        ExpectSameTrace({packed, static_cast<int32_t>(data.size()), chunk});
        EXPECT_EQ(Expand({packed, static_cast<int32_t>(data.size()), chunk}, false).Out, data);
    }
}

TEST(ExpandLZHTrace, CountsThatStopInTheMiddle) {
    const std::string packed = Compress(Text(30000, 2));
    for (const int32_t count : {1, 2, 61, 1000, 8191, 8192, 8193, 20000})
        for (const int32_t chunk : {3, BufferSize}) {
            SCOPED_TRACE(testing::Message() << "count " << count << " chunk " << chunk);
            ExpectSameTrace({packed, count, chunk});
        }
}

TEST(ExpandLZHTrace, InputCutShort) {
    const std::string packed = Compress(Text(30000, 3));
    for (const size_t keep : {size_t{0}, size_t{1}, size_t{2}, size_t{9}, size_t{8191},
                              size_t{8192}, size_t{8193}, packed.size() / 2, packed.size() - 1})
        for (const int32_t chunk : {7, BufferSize}) {
            SCOPED_TRACE(testing::Message() << "keep " << keep << " chunk " << chunk);
            ExpectSameTrace({packed.substr(0, keep), 0x7FFFFFFF, chunk});
        }
}

TEST(ExpandLZHTrace, CancelledAtARefill) {
    const std::string packed = Compress(Text(60000, 4));
    for (const int cancel : {0, 1, 2, 5, 40})
        for (const int32_t chunk : {11, 1000, BufferSize}) {
            SCOPED_TRACE(testing::Message() << "cancel " << cancel << " chunk " << chunk);
            Case c{packed, 0x7FFFFFFF, chunk};
            c.CancelAt = cancel;
            ExpectSameTrace(c);
        }
}

TEST(ExpandLZHTrace, BudgetRunsOut) {
    const std::string packed = Compress(Text(30000, 5));
    for (const int32_t budget : {0, 1, 100, 8191, 8192, 8193, 25000})
        for (const int32_t chunk : {13, BufferSize}) {
            SCOPED_TRACE(testing::Message() << "budget " << budget << " chunk " << chunk);
            Case c{packed, 0x7FFFFFFF, chunk, budget};
            ExpectSameTrace(c);
            EXPECT_TRUE(Expand(c, false).Raised);
        }
}

TEST(ExpandLZHTrace, KeyedInput) {
    const std::string data = Text(30000, 6);
    for (const int32_t key : {0x5A, 0x11223344, -7}) {
        const std::string packed = Compress(data, key);
        for (const int32_t chunk : {6, BufferSize}) {
            SCOPED_TRACE(testing::Message() << "key " << key << " chunk " << chunk);
            Case c{packed, static_cast<int32_t>(data.size()), chunk, 0x7FFFFFFF, key};
            ExpectSameTrace(c);
            EXPECT_EQ(Expand(c, false).Out, data);
            c.Count = 5000;
            ExpectSameTrace(c);
        }
    }
}

TEST(ExpandLZHTrace, Garbage) {
    for (uint32_t seed = 0; seed < 30; ++seed) {
        const std::string garbage = RandomBytes(50 + seed * 301, seed);
        for (const int32_t chunk : {9, BufferSize}) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << " chunk " << chunk);
            ExpectSameTrace({garbage, 0x7FFFFFFF, chunk});
        }
    }
}

// Long enough for the counts to be halved many times, with long codes.
TEST(ExpandLZHTrace, ManyRebuilds) {
    std::string data = RandomBytes(150000, 9);
    data += Text(150000, 10);
    ExpectSameTrace({Compress(data), static_cast<int32_t>(data.size())});
}

} // namespace
} // namespace zorp::test
