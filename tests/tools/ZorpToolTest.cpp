// The zorp tool as a user runs it: a subprocess with files and pipes.
#include "component/Zorp.h"
#include "framework/base/MemoryStream.h"
#include "support/TestFiles.h"
#include "support/ToolRunner.h"
#include "tools/zorp/KeyOption.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zorp::test {
namespace {

Outcome Zorp(const std::string& args) {
    return RunZorp(args);
}

std::vector<std::string> Entries(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ZorpTool, RoundTripsEveryMethodAndWritesWhatCompressWrites) {
    TempDir dir;
    const std::string data = ReadWholeFile(CorpusFiles().at(0));
    WriteWholeFile(dir / "in", data);
    const std::pair<const char*, TZorpMethod> methods[] = {
        {"none", coNone}, {"rle", coRLE}, {"lzh", coLZH}, {"lh5", coLZH5}};
    for (const auto& [name, method] : methods) {
        SCOPED_TRACE(name);
        const Outcome c = Zorp(std::string("compress -q -f -m ") + name + " -k 0x1234ABCD -o " +
                               Quote(dir / "packed") + " " + Quote(dir / "in"));
        ASSERT_EQ(c.Status, 0) << c.Output;
        EXPECT_EQ(c.Output, "");
        TZorp zorp(nullptr);
        zorp.SetKey(0x1234ABCD);
        EXPECT_EQ(ReadWholeFile(dir / "packed"), zorp.CompressString(data, method));
        const Outcome e =
            Zorp("expand -f -k 305441741 -o " + Quote(dir / "out") + " " + Quote(dir / "packed"));
        ASSERT_EQ(e.Status, 0) << e.Output;
        EXPECT_EQ(ReadWholeFile(dir / "out"), data);
    }
}

TEST(ZorpTool, DefaultsToLh5AndPipesThroughStandardStreams) {
    TempDir dir;
    const std::string data = ReadWholeFile(CorpusFiles().at(1));
    WriteWholeFile(dir / "in", data);
    const Outcome o = Zorp("compress -k -5 - < " + Quote(dir / "in") +
                           " | " ZORP_TOOL " expand -k -5 -o " + Quote(dir / "out") + " -");
    ASSERT_EQ(o.Status, 0) << o.Output;
    EXPECT_EQ(ReadWholeFile(dir / "out"), data);
    ASSERT_EQ(Zorp("compress " + Quote(dir / "in")).Status, 0);
    EXPECT_EQ(ReadWholeFile(dir / "in.zrp").substr(5, 3), "LH5");
}

TEST(ZorpTool, WrongKeyFailsAndLeavesNoFile) {
    TempDir dir;
    WriteWholeFile(dir / "in", ReadWholeFile(CorpusFiles().at(2)));
    ASSERT_EQ(Zorp("compress -k 77 -o " + Quote(dir / "packed") + " " + Quote(dir / "in")).Status,
              0);
    for (const char* key : {"0", "78"}) {
        const Outcome o = Zorp(std::string("expand -k ") + key + " -o " + Quote(dir / "out") + " " +
                               Quote(dir / "packed"));
        EXPECT_EQ(o.Status, 1);
        EXPECT_EQ(o.Output, "zorp: " + (dir / "packed") + ": File locked -- valid key required\n");
    }
    EXPECT_EQ(Entries(dir), (std::vector<std::string>{"in", "packed"}));
}

TEST(ZorpTool, CorruptInputFailsAndKeepsAnExistingTarget) {
    TempDir dir;
    WriteWholeFile(dir / "in", std::string(50000, 'a') + "tail");
    ASSERT_EQ(Zorp("compress -m rle -o " + Quote(dir / "packed") + " " + Quote(dir / "in")).Status,
              0);
    std::string packed = ReadWholeFile(dir / "packed");
    packed[packed.size() / 2] ^= 0x01;
    WriteWholeFile(dir / "packed", packed);
    WriteWholeFile(dir / "out", "previous");
    const Outcome o = Zorp("expand -f -o " + Quote(dir / "out") + " " + Quote(dir / "packed"));
    EXPECT_EQ(o.Status, 1);
    EXPECT_EQ(o.Output, "zorp: " + (dir / "packed") +
                            ": Bad checksum during expansion -- data may be invalid\n");
    EXPECT_EQ(ReadWholeFile(dir / "out"), "previous");
    EXPECT_EQ(Entries(dir), (std::vector<std::string>{"in", "out", "packed"}));
}

// Writes fail once the file reaches 128 KiB (ulimit -f counts 512-byte
// blocks in sh; the command line starts with a harmless call of the tool so
// that the limit can come before the real one). The error names the file
// the user asked for, never a temporary one, with the system's reason, and
// nothing is left behind.
TEST(ZorpTool, AFailedWriteIsReportedAndLeavesNoFile) {
    TempDir dir;
    std::string data;
    for (const std::string& file : CorpusFiles())
        data += ReadWholeFile(file);
    ASSERT_GT(data.size(), 1000000u);
    WriteWholeFile(dir / "in", data);
    ASSERT_EQ(Zorp("compress -q -o " + Quote(dir / "packed") + " " + Quote(dir / "in")).Status, 0);
    WriteWholeFile(dir / "out", "previous");
    for (const char* target : {"out", "new"}) {
        SCOPED_TRACE(target);
        const Outcome o = Zorp("--version >/dev/null; trap '' XFSZ; ulimit -f 256; " ZORP_TOOL
                               " expand -q -f -o " +
                               Quote(dir / target) + " " + Quote(dir / "packed"));
        EXPECT_EQ(o.Status, 1);
        EXPECT_EQ(o.Output, "zorp: " + (dir / target) + ": File too large\n");
    }
    EXPECT_EQ(ReadWholeFile(dir / "out"), "previous");
    EXPECT_EQ(Entries(dir), (std::vector<std::string>{"in", "out", "packed"}));
}

TEST(ZorpTool, ReportsMissingFilesAndBadOptionValues) {
    TempDir dir;
    const Outcome missing = Zorp("compress " + Quote(dir / "nothing"));
    EXPECT_EQ(missing.Status, 1);
    EXPECT_EQ(missing.Output, "zorp: " + (dir / "nothing") + ": No such file or directory\n");
    EXPECT_TRUE(Entries(dir).empty());

    EXPECT_EQ(Zorp("compress -m zip a").Status, 2);
    EXPECT_EQ(Zorp("compress -k 0x100000000 a").Status, 2);
    for (const char* help : {"--help", "compress --help", "expand --help"}) {
        const Outcome o = Zorp(help);
        EXPECT_EQ(o.Status, 0) << help;
        EXPECT_NE(o.Output.find("Usage"), std::string::npos) << help;
    }
}

TEST(KeyOption, MethodNamesInAnyCase) {
    using tool::ParseMethod;
    const std::pair<const char*, TZorpMethod> names[] = {
        {"none", coNone}, {"NONE", coNone}, {"rle", coRLE},  {"Rle", coRLE},
        {"lzh", coLZH},   {"LZH", coLZH},   {"lh5", coLZH5}, {"LH5", coLZH5}};
    for (const auto& [name, method] : names)
        EXPECT_EQ(ParseMethod(name), method) << name;
    for (const char* bad : {"", "lh", "lh55", "zip", "custom"})
        EXPECT_THROW(ParseMethod(bad), std::invalid_argument) << bad;
}

TEST(KeyOption, DecimalHexAndNegativeKeys) {
    using tool::ParseKey;
    EXPECT_EQ(ParseKey("0"), 0);
    EXPECT_EQ(ParseKey("-5"), -5);
    EXPECT_EQ(ParseKey("0x1234ABCD"), 0x1234ABCD);
    EXPECT_EQ(ParseKey("0xFFFFFFFF"), -1);
    EXPECT_EQ(ParseKey("4294967295"), -1);
    EXPECT_EQ(ParseKey("-2147483648"), INT32_MIN);
    for (const char* bad :
         {"", "-", "0x", "12a", "0x123456789", "-2147483649", "4294967296", "--5", "0x-1", " 5"})
        EXPECT_THROW(ParseKey(bad), std::invalid_argument) << bad;
}

} // namespace
} // namespace zorp::test
