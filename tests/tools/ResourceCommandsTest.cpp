// zorp resource add / list / extract on copies of the test library.
#include "component/Zorp.h"
#include "framework/base/Exceptions.h"
#include "support/TestFiles.h"
#include "support/ToolRunner.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zorp::test {
namespace {

namespace fs = std::filesystem;

class ResourceCommands : public testing::Test {
protected:
    void SetUp() override {
        fs::copy_file(ZORP_TEST_MODULE, Module());
        WriteWholeFile(Dir / "data.txt", Text);
    }
    std::string Module() const { return Dir / "libmod.so"; }
    std::string Mod() const { return Quote(Module()); }
    // Names in the directory other than the module and the data.
    std::vector<std::string> Leftovers() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(Dir.Path()))
            if (e.path().filename() != "libmod.so" && e.path().filename() != "data.txt")
                names.push_back(e.path().filename().string());
        return names;
    }
    TempDir Dir;
    std::string Text = [] {
        std::string s;
        for (int i = 0; i < 500; ++i)
            s += "line " + std::to_string(i % 37) + " of the resource text\n";
        return s;
    }();
};

// One line of resource list.
std::string ListLine(uint64_t Stored, int64_t Expanded, const char* Method, bool Locked,
                     const std::string& Name) {
    char line[128];
    std::snprintf(line, sizeof line, "%12llu %12lld  %-8s %-6s  ",
                  static_cast<unsigned long long>(Stored), static_cast<long long>(Expanded), Method,
                  Locked ? "yes" : "no");
    return line + Name + "\n";
}

// Each resource with its stored size, and what its header tells: the
// expanded size, the method and the lock. Data without a header are stored
// and unlocked.
TEST_F(ResourceCommands, ListShowsStoredAndExpandedSizeMethodAndLock) {
    const auto sample = static_cast<int64_t>(fs::file_size(ZORP_TEST_SAMPLE_FILE));
    const struct {
        const char* Name;
        const char* Method;
        bool Locked;
        int64_t Expanded;
    } cases[] = {
        {"TEXT", "lh5", false, sample},
        {"MixedCase", "none", false, sample}, // did not shrink: stored without a header
        {"RAW", "none", false, sample},
        {"LOCKED", "lzh", true, sample},
        {"EMPTY", "none", false, 0},
        {"ARCHIVE", "archive", false, sample}, // the files it holds
    };
    const Outcome list = RunZorp("resource list " + Mod());
    ASSERT_EQ(list.Status, 0) << list.Output;
    EXPECT_EQ(list.Output.substr(0, list.Output.find('\n')),
              "      stored     expanded  method   locked  name");
    for (const auto& c : cases) {
        const uint64_t stored =
            fs::file_size(std::string(ZORP_TEST_MODULE_PACKED) + "/" + c.Name + ".zorp");
        EXPECT_NE(list.Output.find(ListLine(stored, c.Expanded, c.Method, c.Locked, c.Name)),
                  std::string::npos)
            << c.Name << "\n"
            << list.Output;
    }
    EXPECT_NE(list.Output.find("6 resources"), std::string::npos) << list.Output;
}

TEST_F(ResourceCommands, AddThenExtractAndLoad) {
    struct stat before {};
    ASSERT_EQ(stat(Module().c_str(), &before), 0);
    const Outcome add = RunZorp("resource add -q -m lzh -k 0x55 " + Mod() + " \"Notes 1=x\" " +
                                Quote(Dir / "data.txt"));
    ASSERT_EQ(add.Status, 0) << add.Output;
    EXPECT_TRUE(Leftovers().empty());
    struct stat after {};
    ASSERT_EQ(stat(Module().c_str(), &after), 0);
    EXPECT_EQ(after.st_mode, before.st_mode);

    const Outcome list = RunZorp("resource list " + Mod());
    EXPECT_NE(list.Output.find("Notes 1=x\n"), std::string::npos) << list.Output;
    EXPECT_NE(list.Output.find("7 resources"), std::string::npos) << list.Output;

    EXPECT_EQ(RunZorp("resource extract -q -k 0x55 " + Mod() + " 'NOTES 1=X'").Output, Text);
    ASSERT_EQ(
        RunZorp("resource extract -q -k 0x55 " + Mod() + " 'notes 1=x' " + Quote(Dir / "out.txt"))
            .Status,
        0);
    EXPECT_EQ(ReadWholeFile(Dir / "out.txt"), Text);
    const Outcome noKey = RunZorp("resource extract -q " + Mod() + " 'Notes 1=x'");
    EXPECT_EQ(noKey.Status, 1);
    EXPECT_EQ(noKey.Output,
              "zorp: " + Module() + ": resource Notes 1=x: File locked -- valid key required\n");

    // The changed library still loads, and the component reads the resource.
    TZorp zorp(nullptr);
    zorp.SetKey(0x55);
    EXPECT_EQ(zorp.LoadExpandedResource("notes 1=X", Module())->DataString(), Text);
    EXPECT_EQ(zorp.LoadExpandedResource("TEXT", Module())->Size(),
              static_cast<int64_t>(fs::file_size(ZORP_TEST_SAMPLE_FILE)));
}

TEST_F(ResourceCommands, AddIsExactlyCompress) {
    ASSERT_EQ(RunZorp("resource add -q -m rle " + Mod() + " R " + Quote(Dir / "data.txt")).Status,
              0);
    ASSERT_EQ(
        RunZorp("compress -q --raw -m rle -o " + Quote(Dir / "c") + " " + Quote(Dir / "data.txt"))
            .Status,
        0);
    TZorp zorp(nullptr);
    const std::unique_ptr<fw::TStream> stream = zorp.LoadCompressedResource("R", Module());
    std::string bytes(static_cast<size_t>(stream->Size()), '\0');
    stream->ReadBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    EXPECT_EQ(bytes, ReadWholeFile(Dir / "c"));
}

TEST_F(ResourceCommands, AddReplacesAResourceOfTheSameName) {
    ASSERT_EQ(
        RunZorp("resource add -q -m none " + Mod() + " text " + Quote(Dir / "data.txt")).Status, 0);
    const Outcome list = RunZorp("resource list " + Mod());
    EXPECT_NE(list.Output.find(
                  ListLine(Text.size(), static_cast<int64_t>(Text.size()), "none", false, "text")),
              std::string::npos)
        << list.Output;
    EXPECT_EQ(list.Output.find("TEXT"), std::string::npos) << list.Output;
    EXPECT_NE(list.Output.find("6 resources"), std::string::npos) << list.Output;
    EXPECT_EQ(RunZorp("resource extract " + Mod() + " TEXT").Output, Text);
}

TEST_F(ResourceCommands, FailedAddLeavesTheModuleAlone) {
    const std::string original = ReadWholeFile(Module());
    setenv("OBJCOPY", "false", 1);
    const Outcome failed = RunZorp("resource add -q " + Mod() + " NEW " + Quote(Dir / "data.txt"));
    unsetenv("OBJCOPY");
    EXPECT_EQ(failed.Status, 1);
    EXPECT_EQ(failed.Output, "zorp: false failed\n");
    EXPECT_EQ(ReadWholeFile(Module()), original);
    EXPECT_TRUE(Leftovers().empty());

    const Outcome notElf =
        RunZorp("resource add -q " + Quote(Dir / "data.txt") + " X " + Quote(Dir / "data.txt"));
    EXPECT_EQ(notElf.Status, 1);
    EXPECT_EQ(notElf.Output, "zorp: " + Dir / "data.txt" +
                                 ": cannot read executable or shared library: not an ELF file\n");
    EXPECT_EQ(ReadWholeFile(Dir / "data.txt"), Text);

    const Outcome noInput =
        RunZorp("resource add -q " + Mod() + " X " + Quote(Dir / "missing.txt"));
    EXPECT_EQ(noInput.Status, 1);
    EXPECT_EQ(ReadWholeFile(Module()), original);
    EXPECT_TRUE(Leftovers().empty());
    EXPECT_EQ(RunZorp("resource add -q " + Mod() + " '' " + Quote(Dir / "data.txt")).Status, 1);
}

TEST_F(ResourceCommands, ExtractErrors) {
    Outcome o = RunZorp("resource extract " + Mod() + " NOPE");
    EXPECT_EQ(o.Status, 1);
    EXPECT_EQ(o.Output, "zorp: Resource NOPE not found\n");
    o = RunZorp("resource extract " + Mod() + " empty");
    EXPECT_EQ(o.Output, "zorp: Could not load resource: empty\n");
}

// A module that cannot be read is reported as such, naming it, by every
// command; no command loads one.
TEST_F(ResourceCommands, ModuleThatCannotBeReadIsNamed) {
    const std::string missing = Dir / "nothing.so";
    const std::string text = Dir / "data.txt";
    const std::string cannot = ": cannot read executable or shared library: ";
    const struct {
        std::string Args;
        std::string Message;
    } cases[] = {
        {"list " + Quote(missing), missing + cannot + "No such file or directory"},
        {"extract " + Quote(missing) + " TEXT", missing + cannot + "No such file or directory"},
        {"add -q " + Quote(missing) + " X " + Quote(text),
         missing + cannot + "No such file or directory"},
        {"list " + Quote(text), text + cannot + "not an ELF file"},
        {"extract " + Quote(text) + " TEXT", text + cannot + "not an ELF file"},
    };
    for (const auto& c : cases) {
        const Outcome o = RunZorp("resource " + c.Args);
        EXPECT_EQ(o.Status, 1) << c.Args;
        EXPECT_EQ(o.Output, "zorp: " + c.Message + "\n") << c.Args;
    }
    EXPECT_FALSE(fs::exists(missing));
}

// Errors that say a resource cannot be expanded name the module and the
// resource.
TEST_F(ResourceCommands, DecodeErrorsNameModuleAndResource) {
    const struct {
        const char* Args;
        const char* Name;
        const char* Message;
    } cases[] = {
        {"", "LOCKED", "File locked -- valid key required"},
        {"-k 0x1234ABCE ", "locked", "File locked -- valid key required"},
        {"", "ARCHIVE", "Expand can't handle caMulti archive type in compressed header"},
    };
    for (const auto& c : cases) {
        const Outcome o =
            RunZorp(std::string("resource extract -q ") + c.Args + Mod() + " " + c.Name);
        EXPECT_EQ(o.Status, 1) << c.Name;
        EXPECT_EQ(o.Output, "zorp: " + Module() + ": resource " + c.Name + ": " + c.Message + "\n")
            << c.Args;
    }
    EXPECT_EQ(RunZorp("resource extract -q -k 0x1234ABCD " + Mod() + " LOCKED").Output,
              ReadWholeFile(ZORP_TEST_SAMPLE_FILE));
}

// Every option and positional shows what it takes.
TEST_F(ResourceCommands, HelpForEachCommand) {
    const struct {
        const char* Command;
        std::vector<std::string> Shown;
    } cases[] = {
        {"resource", {}},
        {"resource add", {"MODULE MODULE", "NAME NAME", "FILE FILE", "METHOD=lh5", "KEY=0"}},
        {"resource list", {"MODULE MODULE"}},
        {"resource extract", {"MODULE MODULE", "NAME NAME", "OUTPUT FILE", "KEY=0"}},
    };
    for (const auto& c : cases) {
        const Outcome help = RunZorp(std::string(c.Command) + " --help");
        EXPECT_EQ(help.Status, 0) << c.Command;
        EXPECT_NE(help.Output.find("Usage"), std::string::npos) << c.Command << help.Output;
        EXPECT_EQ(help.Output.find(" TEXT"), std::string::npos) << help.Output; // CLI11's default
        for (const std::string& shown : c.Shown)
            EXPECT_NE(help.Output.find(shown), std::string::npos) << shown << "\n" << help.Output;
    }
    EXPECT_EQ(RunZorp("resource").Status, 2);
}

} // namespace
} // namespace zorp::test
