// The buffered stream over a recording memory stream: the bytes that
// arrive, where they arrive, and how few calls carry them.
#include "framework/base/BufferedStream.h"
#include "framework/base/Exceptions.h"
#include "support/CountingStream.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>

namespace zorp::test {
namespace {

using fw::TBufferedStream;

constexpr int32_t Capacity = 64;

std::string Pattern(size_t Size, uint32_t Seed) {
    return RandomBytes(Size, Seed);
}

std::string Contents(CountingStream& Stream) {
    return Stream.DataString();
}

// Takes only the first Limit bytes of all it is given, as a full disk does.
class FullStream : public fw::TMemoryStream {
public:
    explicit FullStream(int64_t Limit) : FLimit(Limit) {}
    int32_t Write(const void* Buffer, int32_t Count) override {
        const auto room = static_cast<int32_t>(std::max<int64_t>(FLimit - Position(), 0));
        return fw::TMemoryStream::Write(Buffer, std::min(Count, room));
    }

private:
    int64_t FLimit;
};

TEST(TBufferedStream, GathersSmallWritesStraddlingTheBufferIntoFullBlocks) {
    CountingStream inner;
    const std::string data = Pattern(1000, 1);
    {
        TBufferedStream s(inner, Capacity);
        for (size_t at = 0; at < data.size(); at += 7)
            s.WriteBuffer(data.data() + at,
                          static_cast<int32_t>(std::min<size_t>(7, data.size() - at)));
        EXPECT_EQ(s.Position(), 1000);
        EXPECT_EQ(s.Size(), 1000); // pending bytes count before they are written
        s.Flush();
    }
    EXPECT_EQ(Contents(inner), data);
    for (size_t i = 0; i + 1 < inner.Writes.size(); ++i)
        EXPECT_GT(inner.Writes[i], Capacity - 7) << "write " << i;
    EXPECT_EQ(std::accumulate(inner.Writes.begin(), inner.Writes.end(), 0), 1000);
    EXPECT_LE(inner.Writes.size(), 1000u / (Capacity - 7) + 1);
}

TEST(TBufferedStream, LargeWritesGoStraightThroughAfterWhatIsPending) {
    CountingStream inner;
    const std::string data = Pattern(500, 2);
    TBufferedStream s(inner, Capacity);
    s.WriteBuffer(data.data(), 10);
    s.WriteBuffer(data.data() + 10, 300);
    s.WriteBuffer(data.data() + 310, 190);
    s.Flush();
    EXPECT_EQ(Contents(inner), data);
    EXPECT_EQ(inner.Writes, (std::vector<int32_t>{10, 300, 190}));
}

TEST(TBufferedStream, SeekingBackRewritesEarlierBytesAsAHeaderIs) {
    CountingStream inner;
    std::string data = Pattern(300, 3);
    TBufferedStream s(inner, Capacity);
    s.WriteBuffer(data.data(), 300);
    s.WriteBuffer("tail", 4);
    const int64_t end = s.Position();
    s.SetPosition(0);
    s.WriteBuffer("HEAD", 4);
    s.SetPosition(end);
    s.WriteBuffer("more", 4);
    EXPECT_EQ(s.Size(), 308);
    s.Flush();
    data.replace(0, 4, "HEAD");
    EXPECT_EQ(Contents(inner), data + "tailmore");
}

TEST(TBufferedStream, ReadsInBlocksAndDeliversEveryByteOnce) {
    const std::string data = Pattern(1000, 4);
    CountingStream inner(data);
    TBufferedStream s(inner, Capacity);
    std::string got;
    char chunk[13];
    for (int32_t n; (n = s.Read(chunk, sizeof chunk)) > 0;)
        got.append(chunk, static_cast<size_t>(n));
    EXPECT_EQ(got, data);
    EXPECT_EQ(s.Position(), 1000);
    EXPECT_EQ(s.Read(chunk, sizeof chunk), 0);
    // Full blocks but the last; the end is asked for again at every read there.
    const auto filled =
        std::count_if(inner.Reads.begin(), inner.Reads.end(), [](int32_t n) { return n > 0; });
    EXPECT_EQ(filled, (1000 + Capacity - 1) / Capacity);
}

TEST(TBufferedStream, ReadFillsTheWholeCountAcrossRefillsUntilTheEnd) {
    const std::string data = Pattern(150, 5);
    CountingStream inner(data);
    TBufferedStream s(inner, Capacity);
    std::string buffer(100, '\0');
    ASSERT_EQ(s.Read(buffer.data(), 5), 5);
    EXPECT_EQ(s.Read(buffer.data(), 100), 100); // more than the buffer holds
    EXPECT_EQ(buffer, data.substr(5, 100));
    EXPECT_EQ(s.Read(buffer.data(), 100), 45);
    EXPECT_EQ(buffer.substr(0, 45), data.substr(105));
}

TEST(TBufferedStream, SeeksInsideWhatWasReadAheadWithoutTouchingTheFile) {
    const std::string data = Pattern(200, 6);
    CountingStream inner(data);
    TBufferedStream s(inner, Capacity);
    char b[10];
    s.ReadBuffer(b, 10);
    const size_t reads = inner.Reads.size();
    s.SetPosition(3);
    s.ReadBuffer(b, 10);
    EXPECT_EQ(std::string(b, 10), data.substr(3, 10));
    EXPECT_EQ(inner.Reads.size(), reads);
    s.SetPosition(150); // outside: the file moves
    s.ReadBuffer(b, 10);
    EXPECT_EQ(std::string(b, 10), data.substr(150, 10));
    EXPECT_EQ(s.Seek(-20, fw::soCurrent), 140);
    s.ReadBuffer(b, 10);
    EXPECT_EQ(std::string(b, 10), data.substr(140, 10));
    EXPECT_EQ(s.Seek(-5, fw::soEnd), 195);
    s.ReadBuffer(b, 5);
    EXPECT_EQ(std::string(b, 5), data.substr(195));
}

TEST(TBufferedStream, WritesAfterReadingLandWhereTheReadingStopped) {
    std::string data = Pattern(200, 7);
    CountingStream inner(data);
    TBufferedStream s(inner, Capacity);
    char b[10];
    s.ReadBuffer(b, 10); // the file itself is Capacity bytes further on
    s.WriteBuffer("XYZ", 3);
    s.ReadBuffer(b, 4); // flushes first
    EXPECT_EQ(std::string(b, 4), data.substr(13, 4));
    data.replace(10, 3, "XYZ");
    EXPECT_EQ(Contents(inner), data);
    EXPECT_EQ(s.Position(), 17);
}

TEST(TBufferedStream, SetSizeCutsThroughPendingAndReadAheadBytes) {
    const std::string data = Pattern(200, 8);
    CountingStream inner(data);
    TBufferedStream s(inner, Capacity);
    s.SetPosition(150);
    s.WriteBuffer("abc", 3);
    s.SetSize(100);
    EXPECT_EQ(s.Size(), 100);
    EXPECT_EQ(s.Position(), 100);
    EXPECT_EQ(Contents(inner), data.substr(0, 100));
}

TEST(TBufferedStream, DropsWhatWasNotFlushedWhenDestroyed) {
    CountingStream inner;
    {
        TBufferedStream s(inner, Capacity);
        s.WriteBuffer("lost", 4);
    }
    EXPECT_TRUE(inner.Writes.empty());
    EXPECT_EQ(inner.Size(), 0);
}

TEST(TBufferedStream, AFlushThatTheFileRefusesRaisesAWriteError) {
    FullStream inner(100);
    TBufferedStream s(inner, Capacity);
    const std::string data = Pattern(60, 9);
    s.WriteBuffer(data.data(), 60);
    s.WriteBuffer(data.data(), 30); // sends the first 60
    s.WriteBuffer(data.data(), 30);
    EXPECT_THROW(s.WriteBuffer(data.data(), 30), fw::EWriteError); // 60 more do not fit
    EXPECT_NO_THROW(s.Flush());                                    // nothing is left to write
}

TEST(TBufferedStream, AWriteErrorReadsAsWriteBufferReportsIt) {
    FullStream inner(10);
    TBufferedStream s(inner, Capacity);
    s.WriteBuffer("0123456789abc", 13);
    try {
        s.Flush();
        FAIL() << "no error";
    } catch (const fw::EWriteError& e) {
        EXPECT_STREQ(e.what(), "Stream write error");
    }
}

} // namespace
} // namespace zorp::test
