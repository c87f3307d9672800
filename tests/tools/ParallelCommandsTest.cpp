// zorp add, extract and test on several threads: the archive, the files, the
// names reported and the errors are those of -j 1.
#include "support/TestFiles.h"
#include "support/ToolRunner.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace zorp::test {
namespace {

namespace fs = std::filesystem;

class ParallelCommands : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(Dir.Path() / "src/many");
        WriteWholeFile(Dir / "src/empty", "");
        WriteWholeFile(Dir / "src/small.txt", "a small file\n");
        std::string large;
        while (large.size() < 600000)
            large += "a large file, line " + std::to_string(large.size() % 1013) + "\n";
        WriteWholeFile(Dir / "src/large.txt", large);
        WriteWholeFile(Dir / "src/noise.bin", RandomBytes(120000, 11));
        for (int i = 0; i < 30; ++i)
            WriteWholeFile(
                Dir / ("src/many/f" + std::to_string(i)),
                std::string(static_cast<size_t>(50 + 37 * i), static_cast<char>('a' + i % 26)));
    }
    // Adds src with -j Jobs (and Extra options) to a new archive; returns the
    // outcome and the archive's bytes.
    std::pair<Outcome, std::string> Add(int Jobs, const std::string& Extra) {
        const std::string archive = Dir / ("j" + std::to_string(Jobs) + ".zrp");
        fs::remove(archive);
        const Outcome add =
            RunZorp("add -q -v -j " + std::to_string(Jobs) + " " + Extra + " -C " +
                    Quote(Dir / "src") + " " + Quote(archive) + " " + Quote(Dir / "src"));
        return {add, fs::exists(archive) ? ReadWholeFile(archive) : std::string()};
    }
    // Writes sound.zrp, src added with -j 1 (and Extra), and damaged.zrp, the
    // same with a byte changed within an entry's data.
    void WriteSoundAndDamaged(const std::string& Extra) {
        const auto [added, archive] = Add(1, Extra);
        ASSERT_EQ(added.Status, 0) << added.Output;
        std::string damaged = archive;
        damaged[damaged.size() / 2] ^= 0x3C;
        WriteWholeFile(Dir / "damaged.zrp", damaged);
        WriteWholeFile(Dir / "sound.zrp", archive);
    }
    TempDir Dir;
};

TEST_F(ParallelCommands, AddWritesTheSameArchiveForEveryJobCount) {
    for (const char* extra : {"", "-m lzh -k 0x77", "-m none"}) {
        const auto [one, archive] = Add(1, extra);
        ASSERT_EQ(one.Status, 0) << one.Output;
        EXPECT_GT(archive.size(), 1000U);
        for (const int jobs : {2, 4}) {
            const auto [many, same] = Add(jobs, extra);
            EXPECT_EQ(many.Status, 0) << many.Output;
            EXPECT_EQ(many.Output, one.Output) << extra << " -j " << jobs;
            EXPECT_TRUE(same == archive) << extra << " -j " << jobs;
        }
    }
}

// A read error in a file in the middle: the same message, and no archive.
TEST_F(ParallelCommands, AReadErrorFailsAsOnOneThread) {
    if (!CanInjectFaults())
        GTEST_SKIP() << "strace cannot inject faults here";
    const std::string bad = Dir / "src/many/f7";
    const auto add = [&](int Jobs) {
        const std::string archive = Dir / ("bad" + std::to_string(Jobs) + ".zrp");
        const Outcome out =
            RunZorpInjected("read:error=EIO",
                            "add -q -j " + std::to_string(Jobs) + " -C " + Quote(Dir / "src") +
                                " " + Quote(archive) + " " + Quote(Dir / "src"),
                            "-P " + Quote(bad));
        EXPECT_FALSE(fs::exists(archive)) << "-j " << Jobs;
        return out;
    };
    const Outcome one = add(1);
    EXPECT_EQ(one.Status, 1) << one.Output;
    EXPECT_NE(one.Output.find("f7"), std::string::npos) << one.Output;
    for (const int jobs : {2, 4}) {
        const Outcome many = add(jobs);
        EXPECT_EQ(many.Status, one.Status);
        EXPECT_EQ(many.Output, one.Output) << "-j " << jobs;
    }
}

// The files below Dir, by path, with their bytes.
std::map<std::string, std::string> FilesBelow(const fs::path& Dir) {
    std::map<std::string, std::string> files;
    if (!fs::exists(Dir))
        return files;
    for (const auto& file : fs::recursive_directory_iterator(Dir))
        if (file.is_regular_file())
            files[file.path().lexically_relative(Dir).string()] =
                ReadWholeFile(file.path().string());
    return files;
}

TEST_F(ParallelCommands, ExtractGivesTheSameFilesAndReportsForEveryJobCount) {
    WriteSoundAndDamaged("");
    int run = 0;
    for (const char* args : {"-v sound.zrp", "-v damaged.zrp", "--stop-on-error damaged.zrp",
                             "-v sound.zrp many/f3 noise.bin 'many/f2*'"}) {
        const auto extract = [&](int Jobs) {
            const fs::path out = Dir.Path() / ("out" + std::to_string(run++));
            const Outcome o = RunCommand("cd " + Quote(Dir.Path().string()) + " && " + ZORP_TOOL +
                                         " extract -q -j " + std::to_string(Jobs) + " -C " +
                                         Quote(out.string()) + " " + args);
            return std::make_pair(o, FilesBelow(out));
        };
        const auto [one, oneFiles] = extract(1);
        EXPECT_FALSE(oneFiles.empty()) << args;
        for (const int jobs : {2, 4}) {
            const auto [many, manyFiles] = extract(jobs);
            EXPECT_EQ(many.Status, one.Status) << args << " -j " << jobs;
            EXPECT_EQ(many.Output, one.Output) << args << " -j " << jobs;
            EXPECT_TRUE(manyFiles == oneFiles) << args << " -j " << jobs;
        }
        const bool damagedArchive = std::string(args).find("damaged") != std::string::npos;
        EXPECT_EQ(one.Status, damagedArchive ? 1 : 0) << args << "\n" << one.Output;
    }
}

// zorp test names the same entries, failures and summary for every -j.
TEST_F(ParallelCommands, TestReportsTheSameForEveryJobCount) {
    WriteSoundAndDamaged("-m lzh");
    for (const char* name : {"sound.zrp", "damaged.zrp"}) {
        const auto test = [&](int Jobs) {
            return RunZorp("test -v -j " + std::to_string(Jobs) + " " + Quote(Dir / name));
        };
        const Outcome one = test(1);
        const bool sound = std::string(name) == "sound.zrp";
        EXPECT_EQ(one.Status, sound ? 0 : 1) << one.Output;
        EXPECT_NE(one.Output.find(sound ? "34 entries OK" : "1 of 34 entries failed"),
                  std::string::npos)
            << one.Output;
        for (const int jobs : {2, 4}) {
            const Outcome many = test(jobs);
            EXPECT_EQ(many.Status, one.Status) << name << " -j " << jobs;
            EXPECT_EQ(many.Output, one.Output) << name << " -j " << jobs;
        }
    }
}

TEST_F(ParallelCommands, JobsMustBePositive) {
    const Outcome zero = RunZorp("add -j 0 " + Quote(Dir / "x.zrp") + " " + Quote(Dir / "src"));
    EXPECT_NE(zero.Status, 0);
    EXPECT_FALSE(fs::exists(Dir / "x.zrp"));
    for (const char* command : {"add", "extract", "test"})
        EXPECT_NE(RunZorp(std::string(command) + " --help").Output.find("--jobs"),
                  std::string::npos)
            << command;
}

} // namespace
} // namespace zorp::test
