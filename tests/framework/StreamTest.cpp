// Streams: short reads, exact transfers, seeking, sizing and copying.
#include "framework/base/Exceptions.h"
#include "framework/base/MemoryStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace zorp::fw {
namespace {

void Fill(TMemoryStream& s, const std::string& data) {
    s.WriteBuffer(data.data(), static_cast<int32_t>(data.size()));
    s.SetPosition(0);
}

TEST(TMemoryStream, ReadDeliversShortAtTheEnd) {
    TMemoryStream s;
    s.WriteBuffer("hello", 5);
    s.Seek(-2, soEnd);
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, 8), 2);
    EXPECT_EQ(std::string(buf, 2), "lo");
    EXPECT_EQ(s.Read(buf, 8), 0);
}

TEST(TMemoryStream, ExactTransfersRaiseWhenShort) {
    TMemoryStream s;
    s.WriteBuffer("abc", 3);
    s.SetPosition(1);
    char buf[4];
    EXPECT_THROW(s.ReadBuffer(buf, 4), EReadError);
    s.SetPosition(0);
    EXPECT_NO_THROW(s.ReadBuffer(buf, 3));
    EXPECT_EQ(std::string(buf, 3), "abc");
}

TEST(TMemoryStream, SeekFromEachOriginAndSizeAhead) {
    TMemoryStream s;
    s.SetSize(10); // size set ahead of writing
    EXPECT_EQ(s.Size(), 10);
    EXPECT_EQ(s.Position(), 0);
    s.WriteBuffer("xy", 2);
    EXPECT_EQ(s.Size(), 10);
    EXPECT_EQ(s.Seek(3, soCurrent), 5);
    EXPECT_EQ(s.Seek(-1, soEnd), 9);
    EXPECT_EQ(s.Seek(4, soBeginning), 4);
    EXPECT_THROW(s.Seek(-1, soBeginning), EStreamError);
    s.SetSize(1); // shrinking pulls the position back
    EXPECT_EQ(s.Position(), 1);
    EXPECT_EQ(s.DataString(), "x");
}

TEST(TMemoryStream, CapacityIsReservedWithoutChangingTheSize) {
    TMemoryStream s;
    s.WriteBuffer("ab", 2);
    s.SetCapacity(100000);
    EXPECT_EQ(s.Size(), 2);
    EXPECT_EQ(s.DataString(), "ab");
    const char* memory = s.Memory();
    const std::string more(99998, 'q');
    s.WriteBuffer(more.data(), 99998);
    EXPECT_EQ(s.Memory(), memory); // the data did not move
    EXPECT_EQ(s.DataString(), "ab" + more);
}

TEST(TMemoryStream, WritingPastTheEndFillsTheGapWithZeros) {
    TMemoryStream s;
    s.SetPosition(3);
    s.WriteBuffer("z", 1);
    EXPECT_EQ(s.DataString(), std::string("\0\0\0z", 4));
}

// Storage is reused and not cleared when it grows: whatever a stream held
// before must never show through bytes that a resize or a gap exposes.
TEST(TMemoryStream, BytesExposedByGrowingReadAsZerosAfterAShrink) {
    TMemoryStream s;
    Fill(s, "abcdefgh");
    s.SetSize(2);
    s.SetSize(6);
    EXPECT_EQ(s.DataString(), std::string("ab\0\0\0\0", 6));
    s.SetSize(1);
    s.SetPosition(4);
    s.WriteBuffer("Z", 1);
    EXPECT_EQ(s.DataString(), std::string("a\0\0\0Z", 5));
    s.SetSize(3);
    s.SetSize(8);
    s.SetPosition(0);
    char buf[8];
    s.ReadBuffer(buf, 8);
    EXPECT_EQ(std::string(buf, 8), std::string("a\0\0\0\0\0\0\0", 8));
}

TEST(TMemoryStream, SizeSetAheadReadsAsZerosAroundWhatIsWritten) {
    TMemoryStream s;
    s.SetSize(100000);
    s.SetPosition(40000);
    s.WriteBuffer("mid", 3);
    s.SetPosition(39999);
    char buf[5];
    s.ReadBuffer(buf, 5);
    EXPECT_EQ(std::string(buf, 5), std::string("\0mid\0", 5));
    const char* memory = s.Memory();
    EXPECT_EQ(std::count(memory, memory + 100000, '\0'), 100000 - 3);
    EXPECT_EQ(std::string(memory + 40000, 3), "mid");
}

TEST(TMemoryStream, ManySmallWritesAndReloadingKeepTheContent) {
    TMemoryStream s;
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        const std::string piece = std::to_string(i) + ",";
        s.WriteBuffer(piece.data(), static_cast<int32_t>(piece.size()));
        expected += piece;
    }
    EXPECT_EQ(s.DataString(), expected);
    s.SetPosition(0);
    s.WriteBuffer("#", 1); // overwriting in place keeps the size
    expected[0] = '#';
    EXPECT_EQ(s.Size(), static_cast<int64_t>(expected.size()));
    TMemoryStream copy;
    copy.WriteBuffer("old content that is longer than nothing", 39);
    copy.LoadFromStream(s);
    EXPECT_EQ(copy.DataString(), expected);
    EXPECT_EQ(copy.Position(), 0);
}

TEST(TStream, CopyFromWithCountStartsAtTheSourcePosition) {
    TMemoryStream source;
    Fill(source, "0123456789");
    source.SetPosition(4);
    TMemoryStream dest;
    EXPECT_EQ(dest.CopyFrom(source, 3), 3);
    EXPECT_EQ(dest.DataString(), "456");
    EXPECT_EQ(source.Position(), 7);
    EXPECT_THROW(dest.CopyFrom(source, 10), EReadError);
}

TEST(TStream, CopyFromZeroCopiesTheWholeSourceFromItsBeginning) {
    const std::string big(200000, 'q');
    TMemoryStream source;
    Fill(source, big + "end");
    source.SetPosition(100);
    TMemoryStream dest;
    dest.WriteBuffer(">", 1);
    EXPECT_EQ(dest.CopyFrom(source, 0), 200003);
    EXPECT_EQ(dest.DataString(), ">" + big + "end");
}

} // namespace
} // namespace zorp::fw
