// A wrong command line is told in one sentence that names the command, what
// is wrong and the command's usage, with exit status 2; gzip's options that
// people type by reflex get a pointer to what zorp has instead; the help
// names what each option takes.
#include "support/ToolRunner.h"

#include <gtest/gtest.h>

namespace zorp::test {
namespace {

struct Case {
    std::string Args;
    std::string Message; // the whole of standard error
};

void ExpectUsageErrors(const std::vector<Case>& Cases) {
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.Args);
        const Outcome o = RunZorp(c.Args);
        EXPECT_EQ(o.Status, 2);
        EXPECT_EQ(o.Output, c.Message + "\n");
    }
}

TEST(UsageErrors, SayWhatIsWrongAndWhereToLook) {
    ExpectUsageErrors({
        {"frobnicate", "zorp: unknown command \"frobnicate\"; see zorp --help"},
        {"", "zorp: missing command; see zorp --help"},
        {"--frobnicate", "zorp: unknown option --frobnicate; see zorp --help"},
    });
}

TEST(UsageErrors, OfTheSingleFileCommands) {
    const std::string compress = "; usage: zorp compress [OPTIONS] [FILE...]";
    const std::string expand = "; usage: zorp expand [OPTIONS] [FILE...]";
    ExpectUsageErrors({
        {"compress -o x a b",
         "zorp: compress: -o names one output, but 2 files were given" + compress},
        {"compress -c a b",
         "zorp: compress: -c takes one file: streams written one after another cannot be told "
         "apart" +
             compress},
        {"compress --frobnicate a", "zorp: compress: unknown option --frobnicate" + compress},
        {"expand -k", "zorp: expand: --key needs a value" + expand},
        {"expand -c -o x a.zrp",
         "zorp: expand: --stdout and --output cannot be given together" + expand},
    });
}

// The same sentences for every command, made from CLI11's error and the
// command's own arguments (their names are the other commands' own).
TEST(UsageErrors, AreSentencesForEveryCommand) {
    const std::pair<const char*, const char*> cases[] = {
        {"cat a.zrp b c", "zorp: cat: too many arguments; usage: zorp cat [OPTIONS] ARCHIVE "},
        {"list", "zorp: list: missing ARCHIVE; usage: zorp list [OPTIONS] ARCHIVE"},
        {"resource list", "zorp: resource list: missing MODULE; usage: zorp resource list "},
        {"resource frobnicate", "zorp: resource: unknown command \"frobnicate\"; usage: zorp "
                                "resource "},
    };
    for (const auto& [args, start] : cases) {
        SCOPED_TRACE(args);
        const Outcome o = RunZorp(args);
        EXPECT_EQ(o.Status, 2);
        EXPECT_TRUE(o.Output.starts_with(start)) << o.Output;
        EXPECT_EQ(std::count(o.Output.begin(), o.Output.end(), '\n'), 1) << o.Output;
    }
}

TEST(UsageErrors, GzipReflexesPointToWhatZorpHas) {
    const std::string expand = "; to expand a file, use: zorp expand FILE.zrp";
    const std::string levels =
        "; zorp has no levels: choose a method with -m (none, rle, lzh, lh5)";
    ExpectUsageErrors({
        {"-d notes.zrp", "zorp: unknown option -d" + expand},
        {"--decompress notes.zrp", "zorp: unknown option --decompress" + expand},
        {"compress -d notes.zrp", "zorp: unknown option -d" + expand},
        {"-9 notes.txt", "zorp: unknown option -9" + levels},
        {"compress -1 notes.txt", "zorp: unknown option -1" + levels},
        {"compress --best notes.txt", "zorp: unknown option --best" + levels},
    });
    // A number that is the value of an option is no reflex.
    EXPECT_EQ(RunZorp("compress -k -9 --help").Status, 0);
}

// Option placeholders name what the option takes, never CLI11's TEXT.
TEST(UsageErrors, HelpNamesWhatOptionsTake) {
    for (const char* command : {"compress", "expand"}) {
        SCOPED_TRACE(command);
        const Outcome o = RunZorp(std::string(command) + " --help");
        ASSERT_EQ(o.Status, 0);
        EXPECT_EQ(o.Output.find("TEXT"), std::string::npos) << o.Output;
        EXPECT_NE(o.Output.find("-k,--key KEY"), std::string::npos) << o.Output;
        EXPECT_NE(o.Output.find("-o,--output FILE"), std::string::npos) << o.Output;
    }
    EXPECT_NE(RunZorp("compress --help").Output.find("-m,--method METHOD"), std::string::npos);
}

} // namespace
} // namespace zorp::test
