// Compress and Expand on standard streams: seekable ones and pipes, on
// either side, give the bytes of the framework streams.
#include "component/Zorp.h"
#include "framework/base/MemoryStream.h"
#include "framework/base/ReadOnlyMemoryStream.h"
#include "support/PipeBuffers.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zorp::test {
namespace {

std::string FrameworkCompress(TZorp& Zorp, const std::string& Data, TZorpMethod Method) {
    fw::TReadOnlyMemoryStream source{std::string_view(Data)};
    fw::TMemoryStream dest;
    Zorp.Compress(dest, source, Method);
    return dest.DataString();
}

// Runs Work with an istream over Data (a pipe or a string stream) and an
// ostream (a pipe or a string stream), and returns what was written.
template <class Work>
std::string Through(bool PipeIn, bool PipeOut, const std::string& Data, Work&& work) {
    PipeSource pipeIn(Data, 777);
    std::istringstream textIn(Data);
    std::istream in(PipeIn ? static_cast<std::streambuf*>(&pipeIn) : textIn.rdbuf());
    PipeSink pipeOut;
    std::ostringstream textOut;
    std::ostream out(PipeOut ? static_cast<std::streambuf*>(&pipeOut) : textOut.rdbuf());
    work(out, in);
    return PipeOut ? pipeOut.Data : textOut.str();
}

TEST(StdStreamCompress, GivesTheBytesOfTheFrameworkStreamsEitherSide) {
    struct Case {
        std::string Data;
        TZorpMethod Method;
        int32_t Key;
    };
    const std::string text = RandomBytes(64, 3) + std::string(20000, 'z');
    const std::vector<Case> cases = {
        {"", coLZH5, 0},
        {"short", coLZH, 0},
        {text, coLZH5, 0},
        {text, coRLE, 0x1234},
        {RandomBytes(9000, 5), coLZH, 0},     // stored instead, no header
        {RandomBytes(9000, 6), coLZH5, 0x77}, // stored instead, behind a header
    };
    for (const Case& c : cases) {
        for (const bool pipeIn : {false, true}) {
            for (const bool pipeOut : {false, true}) {
                SCOPED_TRACE(testing::Message() << c.Data.size() << " bytes, method " << c.Method
                                                << ", pipe in " << pipeIn << ", out " << pipeOut);
                TZorp zorp(nullptr);
                zorp.SetKey(c.Key);
                const std::string packed =
                    Through(pipeIn, pipeOut, c.Data, [&](std::ostream& out, std::istream& in) {
                        zorp.Compress(out, in, c.Method);
                    });
                EXPECT_EQ(packed, FrameworkCompress(zorp, c.Data, c.Method));
                const std::string back =
                    Through(pipeIn, pipeOut, packed,
                            [&](std::ostream& out, std::istream& in) { zorp.Expand(out, in); });
                EXPECT_EQ(back, c.Data);
            }
        }
    }
}

TEST(StdStreamCompress, StartsWhereTheStreamStands) {
    TZorp zorp(nullptr);
    const std::string data = std::string(3000, 'q');
    std::istringstream in("skip" + data);
    in.seekg(4);
    std::ostringstream out("old!", std::ios::ate);
    zorp.Compress(out, in, coLZH);
    const std::string packed = out.str();
    EXPECT_EQ(packed.substr(0, 4), "old!");
    EXPECT_EQ(zorp.ExpandString(std::string_view(packed).substr(4)), data);
}

TEST(StdStreamCompress, AFailedWriteRaises) {
    TZorp zorp(nullptr);
    PipeSink sink(10);
    std::ostream out(&sink);
    std::istringstream in(std::string(5000, 'w'));
    EXPECT_THROW(zorp.Compress(out, in, coLZH5), fw::EWriteError);
}

} // namespace
} // namespace zorp::test
