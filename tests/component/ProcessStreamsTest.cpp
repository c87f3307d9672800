// The stream driver: events of a run, cancellation, the budget behind the
// header reserve, the final flush, key scrambling and the checksum.
#include "component/Zorp.h"
#include "support/CountingStream.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace zorp::test {
namespace {

struct DriverRun {
    TZorp Zorp{nullptr};
    CountingStream Dest;
    std::vector<int32_t> Events;
    int32_t Checksum = -12345;

    // Records every event; CancelAt (0-based event number) answers -1.
    void RecordProgress(int CancelAt = -1) {
        Zorp.OnShowProgress = [this, CancelAt](int32_t& percent) {
            Events.push_back(percent);
            if (static_cast<int>(Events.size()) - 1 == CancelAt)
                percent = -1;
        };
    }

    int32_t Run(CountingStream& Source, TZorpMethod Method, TCProcessMode Mode,
                bool Scrambled = false) {
        return Zorp.ProcessStreams(Dest, Source, static_cast<int32_t>(Source.Size()), 0, Method,
                                   Checksum, Mode, Scrambled);
    }
};

TEST(ProcessStreams, StoredRunReportsProgressSumAndSize) {
    const std::string data = RandomBytes(20000, 7);
    CountingStream source(data);
    DriverRun run;
    run.RecordProgress();
    EXPECT_EQ(run.Run(source, coNone, cmCompress), 20000);
    // Opening 0, one event per refill, closing 100.
    EXPECT_EQ(run.Events, (std::vector<int32_t>{0, 40, 81, 100, 100}));
    EXPECT_EQ(run.Dest.DataString(), data);
    EXPECT_EQ(static_cast<uint32_t>(run.Checksum), ByteSum(data));
}

TEST(ProcessStreams, ReadsAndWritesFromTheStreamsCurrentPositions) {
    CountingStream source("headerPAYLOAD");
    source.SetPosition(6);
    DriverRun run;
    run.Dest.WriteBuffer("xx", 2);
    EXPECT_EQ(
        run.Zorp.ProcessStreams(run.Dest, source, 7, 0, coNone, run.Checksum, cmCompress, false),
        7);
    EXPECT_EQ(run.Dest.DataString(), "xxPAYLOAD");
}

TEST(ProcessStreams, CancelAtOpeningEventDoesNothing) {
    CountingStream source(std::string(100, 'a'));
    DriverRun run;
    run.RecordProgress(0);
    EXPECT_EQ(run.Run(source, coNone, cmCompress), 0);
    EXPECT_EQ(run.Events, (std::vector<int32_t>{0})); // no 100 event
    EXPECT_EQ(run.Checksum, -12345);                  // untouched
    EXPECT_TRUE(source.Reads.empty());
    EXPECT_TRUE(run.Dest.Writes.empty());
}

TEST(ProcessStreams, CancelAtFirstRefillCompletesWithNothingWritten) {
    CountingStream source(std::string(20000, 'a'));
    DriverRun run;
    run.RecordProgress(1);
    EXPECT_EQ(run.Run(source, coNone, cmCompress), 0);
    EXPECT_EQ(run.Events, (std::vector<int32_t>{0, 40, 100}));
    EXPECT_EQ(run.Checksum, 0);
    EXPECT_TRUE(run.Dest.Writes.empty());
}

TEST(ProcessStreams, ExactBufferOfOutputIsFlushedOnceByTheDriver) {
    CountingStream source(RandomBytes(8192, 3));
    DriverRun run;
    run.RecordProgress();
    EXPECT_EQ(run.Run(source, coNone, cmCompress), 8192);
    EXPECT_EQ(run.Dest.Writes, (std::vector<int32_t>{8192}));
    EXPECT_EQ(source.Reads, (std::vector<int32_t>{8192}));
    EXPECT_EQ(run.Events, (std::vector<int32_t>{0, 100, 100}));
}

TEST(ProcessStreams, HeaderReserveShrinksTheBudget) {
    CountingStream source(RandomBytes(100, 4));
    DriverRun run;
    run.RecordProgress();
    run.Zorp.SetHeaderReserve(21);
    try {
        run.Run(source, coNone, cmCompress);
        FAIL() << "the stored copy fitted a budget smaller than itself";
    } catch (const EUnableToCompress& e) {
        EXPECT_STREQ(e.what(), "Could not compress data, will store instead");
    }
    EXPECT_TRUE(run.Dest.Writes.empty());
    EXPECT_EQ(run.Events, (std::vector<int32_t>{0, 100})); // no closing event
    EXPECT_EQ(run.Checksum, -12345);
    // The component stays usable; expansion ignores the reserve.
    source.SetPosition(0);
    EXPECT_EQ(run.Run(source, coNone, cmExpand), 100);
}

// One component, run after run: whatever a run leaves behind (the key's
// position after an odd count, the run-length coder in the middle of a run,
// sums and counts, a run that failed half-way) must not reach the next, whose
// bytes and checksum are a fresh component's.
TEST(ProcessStreams, EachRunStartsAfreshOnAComponentUsedBefore) {
    // Runs of letters, which every method shrinks.
    const auto runs = [](int Count, int Seed) {
        std::string text;
        for (int i = 0; i < Count; ++i)
            text.append(static_cast<size_t>((i * Seed) % 13 + 1), static_cast<char>('a' + i % 7));
        return text;
    };
    const std::string first = runs(40, 3) + std::string(37, 'x');
    const std::string second = runs(900, 5);
    const auto run = [](TZorp& Zorp, const std::string& Input, int32_t ExpandedSize,
                        TZorpMethod Method, TCProcessMode Mode, int32_t& Checksum) {
        CountingStream source(Input);
        CountingStream dest;
        Zorp.ProcessStreams(dest, source, static_cast<int32_t>(Input.size()), ExpandedSize, Method,
                            Checksum, Mode, Zorp.Key() != 0);
        return dest.DataString();
    };
    for (const TZorpMethod method : {coNone, coRLE, coLZH, coLZH5}) {
        SCOPED_TRACE(testing::Message() << "method " << static_cast<int>(method));
        TZorp fresh(nullptr);
        TZorp used(nullptr);
        for (TZorp* zorp : {&fresh, &used})
            zorp->SetKey(0x01020304);
        int32_t sum = 0;
        run(used, first, 0, method, cmCompress, sum);
        used.SetHeaderReserve(static_cast<int32_t>(second.size()) - 1);
        EXPECT_THROW(run(used, second, 0, method, cmCompress, sum), EUnableToCompress);
        used.SetHeaderReserve(0);

        int32_t freshSum = 0;
        int32_t usedSum = 0;
        const std::string packed = run(fresh, second, 0, method, cmCompress, freshSum);
        EXPECT_EQ(run(used, second, 0, method, cmCompress, usedSum), packed);
        EXPECT_EQ(usedSum, freshSum);
        const auto size = static_cast<int32_t>(second.size());
        EXPECT_EQ(run(used, packed, size, method, cmExpand, usedSum), second);
        EXPECT_EQ(run(fresh, packed, size, method, cmExpand, freshSum), second);
        EXPECT_EQ(usedSum, freshSum);
    }
}

TEST(ProcessStreams, KeyWithZeroUpperBytesScramblesEveryFourthByte) {
    const std::string data(12, 'A');
    CountingStream source(data);
    DriverRun run;
    run.Zorp.SetKey(0x5A);
    run.Run(source, coNone, cmCompress);
    const std::string out = run.Dest.DataString();
    for (size_t i = 0; i < out.size(); ++i)
        EXPECT_EQ(static_cast<uint8_t>(out[i]), i % 4 == 0 ? ('A' ^ 0x5A) : 'A') << i;
    // The checksum is the sum of the plain bytes, whatever the key.
    EXPECT_EQ(static_cast<uint32_t>(run.Checksum), ByteSum(data));
}

TEST(ProcessStreams, FullKeyCyclesThroughAllFourBytesAndRoundTrips) {
    const std::string data = RandomBytes(20001, 5);
    CountingStream source(data);
    DriverRun run;
    run.Zorp.SetKey(static_cast<int32_t>(0x8899AABBu));
    run.Run(source, coNone, cmCompress);
    const std::string out = run.Dest.DataString();
    const uint8_t key[] = {0xBB, 0xAA, 0x99, 0x88};
    for (size_t i = 0; i < data.size(); i += 997)
        EXPECT_EQ(static_cast<uint8_t>(out[i]), static_cast<uint8_t>(data[i]) ^ key[i % 4]) << i;

    // Expanding descrambles only when the data says it was scrambled.
    CountingStream stored(out);
    DriverRun back;
    back.Zorp.SetKey(static_cast<int32_t>(0x8899AABBu));
    back.Run(stored, coNone, cmExpand, true);
    EXPECT_EQ(back.Dest.DataString(), data);
    EXPECT_EQ(static_cast<uint32_t>(back.Checksum), ByteSum(data));

    stored.SetPosition(0);
    DriverRun plain;
    plain.Zorp.SetKey(static_cast<int32_t>(0x8899AABBu));
    plain.Run(stored, coNone, cmExpand, false);
    EXPECT_EQ(plain.Dest.DataString(), out);
}

TEST(ProcessStreams, ChecksumWrapsModulo2To32) {
    // 16843010 bytes of 0xFF sum to 2^32 + 254.
    CountingStream source(std::string(16843010, '\xFF'));
    DriverRun run;
    run.Run(source, coNone, cmCompress);
    EXPECT_EQ(run.Checksum, 254);
}

TEST(ProcessStreams, CustomMethodRunsNoCodec) {
    CountingStream source(std::string(5000, 'c'));
    DriverRun run;
    run.RecordProgress();
    EXPECT_EQ(run.Run(source, coCustom, cmCompress), 0);
    EXPECT_EQ(run.Checksum, 0);
    EXPECT_EQ(run.Events, (std::vector<int32_t>{0, 100}));
    EXPECT_TRUE(source.Reads.empty());
    EXPECT_TRUE(run.Dest.Writes.empty());
    EXPECT_EQ(source.Position(), 0);
}

TEST(ProcessStreams, WriteFailurePassesThrough) {
    struct FullDisk : CountingStream {
        int32_t Write(const void*, int32_t) override { return 0; }
    };
    CountingStream source(std::string(9000, 'w'));
    TZorp zorp(nullptr);
    FullDisk dest;
    int32_t checksum = 0;
    EXPECT_THROW(zorp.ProcessStreams(dest, source, 9000, 0, coNone, checksum, cmCompress, false),
                 fw::EWriteError);
}

} // namespace
} // namespace zorp::test
