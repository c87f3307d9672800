// zorp resource add / list / extract on copies of the test library.
#include "component/Zorp.h"
#include "framework/base/Exceptions.h"
#include "support/TestFiles.h"
#include "support/ToolRunner.h"

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

TEST_F(ResourceCommands, ListShowsNamesAndSizes) {
    const Outcome list = RunZorp("resource list " + Mod());
    ASSERT_EQ(list.Status, 0) << list.Output;
    for (const char* name : {"TEXT", "MixedCase", "RAW", "LOCKED", "EMPTY", "ARCHIVE"}) {
        const std::string size = std::to_string(
            fs::file_size(std::string(ZORP_TEST_MODULE_PACKED) + "/" + name + ".zorp"));
        EXPECT_NE(list.Output.find(size + "  " + name + "\n"), std::string::npos) << name << "\n"
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
    EXPECT_EQ(noKey.Output, "zorp: File locked -- valid key required\n");

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
    EXPECT_NE(list.Output.find(std::to_string(Text.size()) + "  text\n"), std::string::npos)
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
    EXPECT_NE(notElf.Output.find("zorp: Invalid module file"), std::string::npos) << notElf.Output;
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
    o = RunZorp("resource extract " + Mod() + " ARCHIVE");
    EXPECT_EQ(o.Output, "zorp: Expand can't handle caMulti archive type in compressed header\n");
    o = RunZorp("resource extract " + Quote(Dir / "nothing.so") + " TEXT");
    EXPECT_EQ(o.Status, 1);
    EXPECT_NE(o.Output.find("nothing.so"), std::string::npos) << o.Output;
    o = RunZorp("resource list " + Quote(Dir / "data.txt"));
    EXPECT_EQ(o.Status, 1);
}

TEST_F(ResourceCommands, HelpForEachCommand) {
    for (const char* command : {"resource", "resource add", "resource list", "resource extract"}) {
        const Outcome help = RunZorp(std::string(command) + " --help");
        EXPECT_EQ(help.Status, 0) << command;
        EXPECT_NE(help.Output.find("Usage"), std::string::npos) << command << help.Output;
    }
    EXPECT_EQ(RunZorp("resource").Status, 2);
}

} // namespace
} // namespace zorp::test
