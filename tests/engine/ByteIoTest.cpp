// Buffered byte I/O of the engine: refills and their progress events,
// cancellation, the output budget, flushing, key scrambling and checksums.
#include "engine/EngineRun.h"

#include "common/Errors.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zorp::test {
namespace {

std::string ReadAll(EngineRun& run) {
    std::string out;
    for (;;) {
        const uint8_t b = run.Engine.GetChar();
        if (run.Engine.EndOfInput())
            return out;
        out += static_cast<char>(b);
    }
}

TEST(PercentOf, SwitchesToDivisionAbove100000) {
    EXPECT_EQ(PercentOf(8192, 20000), 40);
    EXPECT_EQ(PercentOf(16384, 20000), 81);
    EXPECT_EQ(PercentOf(100000, 100000), 100);
    EXPECT_EQ(PercentOf(8192, 1000000), 0);
    EXPECT_EQ(PercentOf(16384, 1000000), 1);
    EXPECT_EQ(PercentOf(2000000000, 2000000000), 100); // no overflow
}

TEST(GetChar, EmptySourceEndsWithoutReading) {
    EngineRun run("");
    run.RecordProgress();
    EXPECT_EQ(run.Engine.GetChar(), 0);
    EXPECT_TRUE(run.Engine.EndOfInput());
    EXPECT_TRUE(run.Source.Reads.empty());
    EXPECT_TRUE(run.Events.empty());
}

TEST(GetChar, RefillEventsReportPercentOfAnnouncedSize) {
    const std::string data = RandomBytes(20000, 1);
    EngineRun run(data);
    run.RecordProgress();
    EXPECT_EQ(ReadAll(run), data);
    EXPECT_EQ(run.Events, (std::vector<int32_t>{40, 81, 100}));
    EXPECT_EQ(run.Source.Reads, (std::vector<int32_t>{8192, 8192, 3616}));
    EXPECT_EQ(run.Engine.InSum(), ByteSum(data));
}

TEST(GetChar, ExactBufferReadsOnceAndStops) {
    EngineRun run(std::string(8192, 'x'));
    run.RecordProgress();
    EXPECT_EQ(ReadAll(run).size(), 8192u);
    EXPECT_EQ(run.Events, (std::vector<int32_t>{100}));
    EXPECT_EQ(run.Source.Reads, (std::vector<int32_t>{8192})); // no read after the last byte
}

TEST(GetChar, LargeSourceUsesDivisionForPercent) {
    EngineRun run(std::string(1000000, 'a'));
    run.RecordProgress();
    ReadAll(run);
    ASSERT_GE(run.Events.size(), 3u);
    EXPECT_EQ(run.Events[0], 0);
    EXPECT_EQ(run.Events[1], 1);
    EXPECT_EQ(run.Events.back(), 100);
}

TEST(GetChar, SourceShorterThanAnnouncedRaises) {
    EngineRun run("abc");
    run.Settings.SourceSize = 10;
    run.Begin();
    try {
        ReadAll(run);
        FAIL() << "the end of the source passed for the end of the data";
    } catch (const fw::EReadError& e) {
        EXPECT_STREQ(e.what(), "Stream read error: the data ended before its stated size");
    }
    EXPECT_EQ(run.Source.Reads, (std::vector<int32_t>{3, 0}));
}

TEST(GetChar, CancelAtARefillEndsInputAndLeavesBytesUnread) {
    const std::string data = RandomBytes(20000, 2);
    EngineRun run(data);
    run.RecordProgress(1);
    EXPECT_EQ(ReadAll(run), data.substr(0, 8192));
    EXPECT_EQ(run.Events, (std::vector<int32_t>{40, 81}));
    EXPECT_EQ(run.Engine.InSum(), ByteSum(data.substr(0, 8192)));
}

TEST(GetChar, NoEventsWithoutHandler) {
    EngineRun run(std::string(20000, 'q'));
    ReadAll(run);
    EXPECT_EQ(run.Engine.InDone(), 0);
}

TEST(PutChar, BudgetAdmitsExactlyBBytes) {
    EngineRun run("", 100);
    for (int i = 0; i < 100; ++i)
        run.Engine.PutChar('z');
    try {
        run.Engine.PutChar('z');
        FAIL() << "the 101st byte was accepted";
    } catch (const EUnableToCompress& e) {
        EXPECT_STREQ(e.what(), "Could not compress data, will store instead");
    }
    EXPECT_EQ(run.Engine.OutCount(), 100);
    EXPECT_TRUE(run.Dest.Writes.empty()); // nothing of the buffer reaches Dest
}

TEST(PutChar, FullBufferIsWrittenOnlyWhenTheNextByteArrives) {
    EngineRun run("");
    for (int i = 0; i < BufferSize; ++i)
        run.Engine.PutChar(static_cast<uint8_t>(i));
    EXPECT_TRUE(run.Dest.Writes.empty());
    run.Engine.PutChar(7);
    EXPECT_EQ(run.Dest.Writes, (std::vector<int32_t>{8192}));
    run.Flush();
    EXPECT_EQ(run.Dest.Writes, (std::vector<int32_t>{8192, 1}));
    EXPECT_EQ(run.Dest.Size(), 8193);
}

TEST(Encrypt, CyclesThroughKeyBytesLowestFirst) {
    EngineRun run("", 0x7FFFFFFF, 0x11223344);
    const uint8_t expected[] = {0x44, 0x33, 0x22, 0x11, 0x44, 0x33};
    for (const uint8_t k : expected)
        EXPECT_EQ(run.Engine.Encrypt(0), k);
    EXPECT_EQ(run.Engine.KeyIndex(), 2);
}

TEST(Emit, WritesRunTailsAndEscapes) {
    const auto emitted = [](int32_t count) {
        EngineRun run("");
        run.Engine.emit(count, 'b');
        run.Flush();
        return run.Dest.DataString();
    };
    EXPECT_EQ(emitted(1), "");
    EXPECT_EQ(emitted(2), "b");
    EXPECT_EQ(emitted(0), std::string("\x94\x00", 2));
    EXPECT_EQ(emitted(3), "\x94\x03");
    EXPECT_EQ(emitted(255), "\x94\xFF");
    EXPECT_EQ(emitted(256), std::string("\x94\x00", 2)); // low 8 bits only
}

TEST(Checksums, WrapModulo2To32) {
    // 0xFFFFFFFF / 0xFF bytes of 0xFF sum to 2^32 - 1; one more wraps the sum.
    EngineRun run(std::string(0xFFFFFFFFu / 0xFF + 1, '\xFF'));
    ReadAll(run);
    EXPECT_EQ(run.Engine.InSum(), 0xFEu); // (2^32 - 1 + 0xFF) modulo 2^32
}

// The stored copy moves whole stretches at a time; every observable effect
// must match the plain byte loop: output, sums, key position, events, reads,
// writes and the budget exception.
struct CopyCase {
    size_t Size;
    int32_t Budget;
    int32_t Key;
    bool Scramble;
    bool Descramble;
    int CancelAt;
};

struct CopyOutcome {
    std::string Out;
    uint32_t InSum, OutSum;
    int32_t OutCount, Budget;
    int16_t KeyIndex;
    bool Raised;
    std::vector<int32_t> Events, Reads, Writes;
    bool operator==(const CopyOutcome&) const = default;
};

CopyOutcome RunCopy(const CopyCase& c, bool byteLoop) {
    EngineRun run(RandomBytes(c.Size, static_cast<uint32_t>(c.Size)), c.Budget, c.Key, c.Scramble,
                  c.Descramble);
    run.RecordProgress(c.CancelAt);
    bool raised = false;
    try {
        if (byteLoop) {
            for (;;) {
                const uint8_t b = run.Engine.GetChar();
                if (run.Engine.EndOfInput())
                    break;
                run.Engine.PutChar(b);
            }
        } else {
            run.Engine.CopyWithCRC();
        }
        run.Flush();
    } catch (const EUnableToCompress&) {
        raised = true;
    }
    const TCompThreadSafety& e = run.Engine;
    // After the budget exception the input sum and the key position are
    // reported to no one; the byte loop has read one byte more by then.
    return {run.Dest.DataString(),
            raised ? 0 : e.InSum(),
            e.OutSum(),
            e.OutCount(),
            e.OutBudget(),
            raised ? int16_t{0} : e.KeyIndex(),
            raised,
            run.Events,
            run.Source.Reads,
            run.Dest.Writes};
}

TEST(CopyWithCRC, MatchesTheByteLoopInEveryEffect) {
    const CopyCase cases[] = {
        {0, 0x7FFFFFFF, 0, false, false, -1},
        {1, 0x7FFFFFFF, 0, false, false, -1},
        {8192, 0x7FFFFFFF, 0, false, false, -1},
        {8193, 0x7FFFFFFF, 0x5A, true, false, -1},
        {20000, 0x7FFFFFFF, 0x11223344, true, false, -1},
        {20000, 0x7FFFFFFF, -5, false, true, -1},
        {20000, 0x7FFFFFFF, 0x01020304, true, true, -1},
        {20000, 10000, 0, false, false, -1},
        {20000, 8192, 0x77, true, false, -1},
        {20000, 0, 0, false, false, -1},
        {20000, 0x7FFFFFFF, 0, false, false, 0},
        {30000, 0x7FFFFFFF, 0x0BADF00D, true, false, 2},
    };
    for (const CopyCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "size " << c.Size << " budget " << c.Budget);
        EXPECT_EQ(RunCopy(c, false), RunCopy(c, true));
    }
}

TEST(CopyWithCRC, BudgetStopKeepsOnlyFlushedBytes) {
    const CopyOutcome o = RunCopy({20000, 10000, 0, false, false, -1}, false);
    EXPECT_TRUE(o.Raised);
    EXPECT_EQ(o.Out.size(), 8192u);
    EXPECT_EQ(o.OutCount, 10000);
}

// GetStretch hands out what the same number of GetChar calls would: the same
// bytes with the same EndOfInput, sums, key position, events and reads, also
// past a cancelled refill, whose buffered bytes GetChar still returns.
struct StretchCase {
    size_t Size;
    int32_t ReadChunk;
    int32_t Key;
    int CancelAt;
    int32_t Stretch; // largest Count asked of GetStretch
};

struct ReadOutcome {
    std::vector<std::pair<int, bool>> Calls; // byte (or 0) and EndOfInput per call
    uint32_t InSum;
    int16_t KeyIndex;
    std::vector<int32_t> Events, Reads;
    bool operator==(const ReadOutcome&) const = default;
};

ReadOutcome RunReads(const StretchCase& c, bool stretches) {
    EngineRun run(RandomBytes(c.Size, static_cast<uint32_t>(c.Size + 3)), 0x7FFFFFFF, c.Key, false,
                  c.Key != 0);
    run.Settings.ReadChunk = c.ReadChunk;
    run.Begin();
    run.RecordProgress(c.CancelAt);
    ReadOutcome o;
    // Enough calls to read everything and go on after the end or a cancel.
    const size_t calls = c.Size + 3 * static_cast<size_t>(c.ReadChunk) + 5;
    std::vector<uint8_t> buf(static_cast<size_t>(c.Stretch));
    while (o.Calls.size() < calls) {
        if (!stretches) {
            const uint8_t b = run.Engine.GetChar();
            o.Calls.emplace_back(b, run.Engine.EndOfInput());
            continue;
        }
        const auto want = static_cast<int32_t>(
            std::min<size_t>(calls - o.Calls.size(), static_cast<size_t>(c.Stretch)));
        const int32_t k = run.Engine.GetStretch(buf.data(), want);
        if (k == 0)
            o.Calls.emplace_back(0, run.Engine.EndOfInput());
        for (int32_t i = 0; i < k; ++i)
            o.Calls.emplace_back(buf[static_cast<size_t>(i)], run.Engine.EndOfInput());
    }
    o.InSum = run.Engine.InSum();
    o.KeyIndex = run.Engine.KeyIndex();
    o.Events = run.Events;
    o.Reads = run.Source.Reads;
    return o;
}

TEST(GetStretch, MatchesGetCharCallByCall) {
    const StretchCase cases[] = {
        {0, 8192, 0, -1, 100},      {1, 8192, 0, -1, 100},     {8192, 8192, 0, -1, 8192},
        {20000, 8192, 0, -1, 8192}, {20000, 3000, 0, -1, 777}, {20000, 3000, 0x12345678, -1, 1001},
        {20000, 3000, 0, 0, 8192},  {20000, 3000, 0, 1, 500},  {20000, 3000, 0x0BADF00D, 2, 8192},
        {100, 7, 0, 3, 5},          {100, 7, 0, 3, 1},
    };
    for (const StretchCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "size " << c.Size << " chunk " << c.ReadChunk
                                        << " cancel " << c.CancelAt << " stretch " << c.Stretch);
        EXPECT_EQ(RunReads(c, true), RunReads(c, false));
    }
}

} // namespace
} // namespace zorp::test
