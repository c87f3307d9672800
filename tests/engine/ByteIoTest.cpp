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
    EXPECT_EQ(run.Engine.GetChar(), 0);
    EXPECT_TRUE(run.Engine.EndOfInput());
    EXPECT_TRUE(run.Source.Reads.empty());
    EXPECT_TRUE(run.Events.empty());
}

TEST(GetChar, RefillEventsReportPercentOfAnnouncedSize) {
    const std::string data = RandomBytes(20000, 1);
    EngineRun run(data);
    EXPECT_EQ(ReadAll(run), data);
    EXPECT_EQ(run.Events, (std::vector<int32_t>{40, 81, 100}));
    EXPECT_EQ(run.Source.Reads, (std::vector<int32_t>{8192, 8192, 3616}));
    EXPECT_EQ(run.Engine.InSum(), ByteSum(data));
}

TEST(GetChar, ExactBufferReadsOnceAndStops) {
    EngineRun run(std::string(8192, 'x'));
    EXPECT_EQ(ReadAll(run).size(), 8192u);
    EXPECT_EQ(run.Events, (std::vector<int32_t>{100}));
    EXPECT_EQ(run.Source.Reads, (std::vector<int32_t>{8192})); // no read after the last byte
}

TEST(GetChar, LargeSourceUsesDivisionForPercent) {
    EngineRun run(std::string(1000000, 'a'));
    ReadAll(run);
    ASSERT_GE(run.Events.size(), 3u);
    EXPECT_EQ(run.Events[0], 0);
    EXPECT_EQ(run.Events[1], 1);
    EXPECT_EQ(run.Events.back(), 100);
}

TEST(GetChar, SourceShorterThanAnnouncedRaises) {
    EngineRun run(RunSetup{.Input = "abc", .SourceSize = 10});
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
    EngineRun run(RunSetup{.Input = data, .CancelAt = 1});
    EXPECT_EQ(ReadAll(run), data.substr(0, 8192));
    EXPECT_EQ(run.Events, (std::vector<int32_t>{40, 81}));
    EXPECT_EQ(run.Engine.InSum(), ByteSum(data.substr(0, 8192)));
}

TEST(GetChar, NoEventsWithoutHandler) {
    EngineRun run(std::string(20000, 'q'));
    run.Engine.Progress = nullptr;
    ReadAll(run);
    EXPECT_EQ(run.Engine.InDone(), 0);
}

TEST(PutChar, BudgetAdmitsExactlyBBytes) {
    EngineRun run(RunSetup{.Input = "", .Budget = 100});
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
    EngineRun run(RunSetup{.Key = 0x11223344});
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

// The stored copy raises where the budget ends; only the full buffers written
// before reach the destination.
TEST(CopyWithCRC, BudgetStopKeepsOnlyFlushedBytes) {
    EngineRun run(RunSetup{.Input = RandomBytes(20000, 1), .Budget = 10000});
    EXPECT_THROW(run.Engine.CopyWithCRC(), EUnableToCompress);
    EXPECT_EQ(run.Dest.DataString().size(), 8192u);
    EXPECT_EQ(run.Engine.OutCount(), 10000);
}

// GetStretch hands out what the same number of GetChar calls would: the same
// bytes with the same EndOfInput, sums, key position, events and reads, also
// past a cancelled refill, whose buffered bytes GetChar still returns.
struct StretchCase {
    size_t Size;
    int32_t ReadChunk;
    uint32_t Key;
    int CancelAt;
    int32_t Stretch; // largest Count asked of GetStretch
};

// Reads through GetStretch (or GetChar), noting each byte handed out (or the
// 0 of the end) with EndOfInput in the log, past the end or a cancel.
RunTrace Reads(const StretchCase& c, bool Stretches) {
    EngineRun run(RunSetup{.Input = RandomBytes(c.Size, static_cast<uint32_t>(c.Size + 3)),
                           .Key = c.Key,
                           .Descramble = c.Key != 0,
                           .ReadChunk = c.ReadChunk,
                           .CancelAt = c.CancelAt});
    const size_t calls = c.Size + 3 * static_cast<size_t>(c.ReadChunk) + 5;
    std::vector<uint8_t> buf(static_cast<size_t>(c.Stretch));
    size_t made = 0;
    const auto note = [&](uint8_t b) {
        run.Note(std::to_string(b) + (run.Engine.EndOfInput() ? " end" : ""));
        ++made;
    };
    return run.Run([&](TCompThreadSafety& e) {
        while (made < calls) {
            if (!Stretches) {
                note(e.GetChar());
                continue;
            }
            const auto want = static_cast<int32_t>(
                std::min<size_t>(calls - made, static_cast<size_t>(c.Stretch)));
            const int32_t k = e.GetStretch(buf.data(), want);
            if (k == 0)
                note(0);
            for (int32_t i = 0; i < k; ++i)
                note(buf[static_cast<size_t>(i)]);
        }
    });
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
        EXPECT_TRUE(SameTrace(Reads(c, true), Reads(c, false)));
    }
}

} // namespace
} // namespace zorp::test
