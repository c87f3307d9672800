// Streams: short reads, exact transfers, seeking, sizing and copying.
#include "framework/base/Exceptions.h"
#include "framework/base/MemoryStream.h"

#include <gtest/gtest.h>

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

TEST(TMemoryStream, WritingPastTheEndFillsTheGapWithZeros) {
    TMemoryStream s;
    s.SetPosition(3);
    s.WriteBuffer("z", 1);
    EXPECT_EQ(s.DataString(), std::string("\0\0\0z", 4));
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
