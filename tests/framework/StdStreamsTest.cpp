// Standard streams seen as framework streams, bytes read where they are, and
// string lists walked with range-for.
#include "framework/base/StdStreams.h"
#include "framework/base/Exceptions.h"
#include "framework/base/MemoryStream.h"
#include "framework/base/ReadOnlyMemoryStream.h"
#include "framework/base/StringList.h"
#include "support/PipeBuffers.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace zorp::fw {
namespace {

std::string ReadAll(TStream& S) {
    std::string out(100, '\0');
    std::string all;
    for (int32_t n; (n = S.Read(out.data(), 7)) > 0;)
        all.append(out.data(), static_cast<size_t>(n));
    return all;
}

TEST(TStdInputStream, SeeksWhereTheStandardStreamSeeks) {
    std::istringstream text("0123456789");
    text.seekg(2);
    TStdInputStream s(text);
    ASSERT_TRUE(s.Seekable());
    EXPECT_EQ(s.Position(), 2);
    EXPECT_EQ(s.Size(), 10);
    EXPECT_EQ(s.Position(), 2); // Size() leaves the position
    EXPECT_EQ(ReadAll(s), "23456789");
    EXPECT_EQ(s.Seek(-3, soEnd), 7);
    EXPECT_EQ(ReadAll(s), "789");
    s.SetPosition(1);
    EXPECT_EQ(static_cast<std::streamoff>(text.tellg()), 1);
    EXPECT_THROW(s.WriteBuffer("x", 1), EStreamError);
}

TEST(TStdInputStream, CountsWhatAPipeDelivers) {
    test::PipeSource pipe(std::string(2500, 'p'), 300);
    std::istream in(&pipe);
    TStdInputStream s(in);
    ASSERT_FALSE(s.Seekable());
    EXPECT_EQ(ReadAll(s).size(), 2500u);
    EXPECT_EQ(s.Position(), 2500);
    EXPECT_NO_THROW(s.SetPosition(2500)); // where it stands
    EXPECT_THROW(s.SetPosition(0), EStreamError);
    EXPECT_THROW(s.Size(), EStreamError);
}

TEST(TStdOutputStream, OverwritesInASeekableStream) {
    std::ostringstream out;
    TStdOutputStream s(out);
    ASSERT_TRUE(s.Seekable());
    s.WriteBuffer("header-data", 11);
    s.SetPosition(0);
    s.WriteBuffer("HEADER", 6);
    EXPECT_EQ(s.Seek(0, soEnd), 11);
    EXPECT_EQ(out.str(), "HEADER-data");
    char c;
    EXPECT_THROW(s.Read(&c, 1), EStreamError);
}

TEST(TStdOutputStream, PipeTakesOnlyForwardWritesAndReportsShortOnes) {
    test::PipeSink sink(5);
    std::ostream out(&sink);
    TStdOutputStream s(out);
    ASSERT_FALSE(s.Seekable());
    s.WriteBuffer("abc", 3);
    EXPECT_EQ(s.Position(), 3);
    EXPECT_THROW(s.SetPosition(0), EStreamError);
    EXPECT_THROW(s.WriteBuffer("defg", 4), EWriteError); // the sink takes 2 more
    EXPECT_EQ(sink.Data, "abcde");
}

TEST(CopyToEnd, CopiesFromThePositionToTheEndOfAPipe) {
    test::PipeSource pipe("skip:" + std::string(70000, 'x'), 4096);
    std::istream in(&pipe);
    TStdInputStream source(in);
    char skip[5];
    source.ReadBuffer(skip, 5);
    TMemoryStream dest;
    EXPECT_EQ(CopyToEnd(dest, source), 70000);
    EXPECT_EQ(dest.DataString(), std::string(70000, 'x'));
}

TEST(TReadOnlyMemoryStream, ReadsTheBytesWhereTheyAre) {
    const std::string bytes = "in place";
    TReadOnlyMemoryStream s{std::string_view(bytes)};
    EXPECT_EQ(static_cast<const void*>(s.Bytes().data()), static_cast<const void*>(bytes.data()));
    EXPECT_EQ(s.Size(), 8);
    s.Seek(3, soBeginning);
    EXPECT_EQ(ReadAll(s), "place");
    s.Seek(4, soEnd);
    char c;
    EXPECT_EQ(s.Read(&c, 1), 0);
    EXPECT_THROW(s.Seek(-1, soBeginning), EStreamError);
    EXPECT_THROW(s.WriteBuffer("x", 1), EStreamError);
    EXPECT_EQ(bytes, "in place");
}

TEST(TStrings, RangeForWalksTheLinesInOrder) {
    const std::vector<std::vector<std::string>> cases = {{}, {"one"}, {"a", "", "c"}};
    for (const auto& lines : cases) {
        TStringList list;
        for (const std::string& line : lines)
            list.Add(line);
        std::vector<std::string> seen;
        for (const std::string& line : list)
            seen.push_back(line);
        EXPECT_EQ(seen, lines);
        EXPECT_EQ(std::vector<std::string>(list.begin(), list.end()), lines);
    }
}

} // namespace
} // namespace zorp::fw
