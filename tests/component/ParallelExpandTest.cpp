// Archives expanded on several threads: the same files, the same questions
// to OnCheckFile in the same order, the same progress events, the same
// reports and errors and the same list as on one thread, also with a damaged
// entry in the middle.
#include "component/Zorp.h"
#include "framework/base/MemoryStream.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace zorp::test {
namespace {

namespace fs = std::filesystem;

// The size of entry sub/fI: even ones large enough for a worker, odd ones
// expanded on the caller's thread.
size_t SizeOfF(int i) {
    return (i % 2 == 0 ? 70000 : 200) + 411 * static_cast<size_t>(i);
}

// An archive of many entries (empty, small, large, incompressible); with
// Damaged, the data of entry 6 have a byte changed.
std::string MakeArchive(const TempDir& Dir, bool Damaged) {
    fs::create_directories(Dir.Path() / "src/sub");
    std::vector<std::pair<std::string, std::string>> files = {
        {"empty", ""},
        {"small.txt", TextLines(300, 1)},
        {"sub/large.txt", TextLines(700000, 2)},
        {"noise.bin", RandomBytes(150000, 3)}};
    for (int i = 0; i < 12; ++i)
        files.emplace_back("sub/f" + std::to_string(i), TextLines(SizeOfF(i), i));
    TZorp zorp(nullptr);
    zorp.SetTargetPath(Dir.Path() / "src");
    fw::TStringList list;
    for (const auto& [name, data] : files) {
        WriteWholeFile(Dir / ("src/" + name), data);
        list.Add(Dir / ("src/" + name));
    }
    fw::TMemoryStream archive;
    zorp.CompressFilesToStream(archive, list, coLZH5);
    std::string bytes = archive.DataString();
    if (Damaged) {
        archive.SetPosition(0);
        const TZorpFileInfo entry = zorp.ScanCompressedStream(archive).at(6);
        const size_t data = static_cast<size_t>(entry.HeaderOffset) + TZorpFileHeader::RecordSize +
                            entry.Name.size();
        bytes[data + static_cast<size_t>(entry.CompressedSize) / 2] ^= 0x5A;
    }
    return bytes;
}

struct Case {
    const char* Title;
    bool Damaged = false;
    bool ReportErrors = false;           // OnExpandError bound
    std::vector<std::string> Names = {}; // the List (none: every entry)
    std::string SkipName = {};           // OnCheckFile answers "" for it
    std::string StopName = {};           // OnCheckFile answers "*" for it
    std::string CancelName = {};         // OnShowProgress cancels at its start
    bool Verify = false;                 // VerifyFilesFromStream, not ExpandFilesFromStream
};

struct Outcome {
    std::map<std::string, std::string> Files; // below the target, by path
    std::vector<std::string> Checks;
    std::vector<std::string> Events;
    std::vector<std::string> Reports;
    std::vector<std::string> List;
    std::string Error;
};

Outcome RunCase(const Case& c, const std::string& Archive, const fs::path& Target, int Threads) {
    fs::create_directories(Target);
    TZorp zorp(nullptr);
    zorp.SetThreads(Threads);
    zorp.SetTargetPath(Target);
    zorp.SetMakeDirectories(true);
    Outcome out;
    std::string running;
    zorp.OnCheckFile = [&](std::string& target, TCProcessMode) {
        const std::string name = target.substr(target.find_last_of('/') + 1);
        out.Checks.push_back(name);
        if (name == c.SkipName)
            target.clear();
        else if (name == c.StopName)
            target = "*";
    };
    zorp.OnShowProgress = [&](int32_t& percent) {
        out.Events.push_back("percent " + std::to_string(percent));
        if (!c.CancelName.empty() && running.ends_with(c.CancelName) && percent > 0 &&
            percent < 100)
            percent = -1;
    };
    zorp.OnOperationProgress = [&](const TOperationProgress& p) {
        running = p.Name;
        out.Events.push_back("op " + p.Name + " " + std::to_string(p.Index) + " " +
                             std::to_string(p.Done) + "/" + std::to_string(p.Total));
    };
    if (c.ReportErrors)
        zorp.OnExpandError = [&](const std::string& target, const std::exception& e) {
            out.Reports.push_back(fs::path(target).filename().string() + ": " + e.what());
        };
    fw::TStringList list;
    for (const std::string& name : c.Names)
        list.Add(name);
    fw::TMemoryStream stream;
    stream.WriteBuffer(Archive.data(), static_cast<int32_t>(Archive.size()));
    stream.SetPosition(0);
    try {
        if (c.Verify)
            zorp.VerifyFilesFromStream(stream, c.Names.empty() ? nullptr : &list);
        else
            zorp.ExpandFilesFromStream(stream, c.Names.empty() ? nullptr : &list);
    } catch (const std::exception& e) {
        out.Error = e.what();
    }
    for (int i = 0; i < list.Count(); ++i)
        out.List.push_back(c.Verify ? list.Get(i)
                                    : fs::path(list.Get(i)).lexically_relative(Target).string());
    for (const auto& file : fs::recursive_directory_iterator(Target))
        if (file.is_regular_file())
            out.Files[file.path().lexically_relative(Target).string()] =
                ReadWholeFile(file.path().string());
    return out;
}

TEST(ParallelExpand, EveryThreadCountShowsWhatOneThreadShows) {
    TempDir dir;
    const std::string sound = MakeArchive(dir, false);
    const std::string damaged = MakeArchive(dir, true);
    const std::vector<Case> cases = {
        {.Title = "every entry"},
        {.Title = "damaged entry, reported", .Damaged = true, .ReportErrors = true},
        {.Title = "damaged entry, raised", .Damaged = true},
        {.Title = "names, one missing", .Names = {"sub/f3", "noise.bin", "nothing", "empty"}},
        {.Title = "skip and stop", .SkipName = "f1", .StopName = "f9"},
        {.Title = "cancel", .CancelName = "noise.bin"},
        {.Title = "verify", .Verify = true},
        {.Title = "verify, reported", .Damaged = true, .ReportErrors = true, .Verify = true},
        {.Title = "verify, raised", .Damaged = true, .Verify = true},
        {.Title = "verify names", .Names = {"sub/f3", "nothing"}, .Verify = true},
    };
    int run = 0;
    for (const Case& c : cases) {
        const std::string& archive = c.Damaged ? damaged : sound;
        const Outcome one = RunCase(c, archive, dir.Path() / std::to_string(run++), 1);
        EXPECT_EQ(one.Files.empty(), c.Verify) << c.Title;
        for (const int threads : {2, 4}) {
            const Outcome many = RunCase(c, archive, dir.Path() / std::to_string(run++), threads);
            const std::string where = std::string(c.Title) + ", threads " + std::to_string(threads);
            EXPECT_EQ(one.Files, many.Files) << where;
            EXPECT_EQ(one.Events, many.Events) << where;
            EXPECT_EQ(one.Reports, many.Reports) << where;
            EXPECT_EQ(one.List, many.List) << where;
            EXPECT_EQ(one.Error, many.Error) << where;
            // Asked in the same order; an operation that ends early may have
            // asked about up to threads times ParallelAhead more entries.
            const size_t extra =
                many.Checks.size() - std::min(many.Checks.size(), one.Checks.size());
            EXPECT_LE(extra,
                      one.Error.empty() ? 0U : static_cast<size_t>(threads * TZorp::ParallelAhead))
                << where;
            EXPECT_EQ(one.Checks,
                      std::vector<std::string>(many.Checks.begin(),
                                               many.Checks.end() - static_cast<ptrdiff_t>(extra)))
                << where;
        }
    }
}

// The cases reach what they are meant to: a report, an error with files
// left before it only, a missing name, a cancel.
TEST(ParallelExpand, TheCasesReachTheirPaths) {
    TempDir dir;
    const std::string damaged = MakeArchive(dir, true);
    const Outcome reported = RunCase({.Title = "r", .Damaged = true, .ReportErrors = true}, damaged,
                                     dir.Path() / "r", 3);
    ASSERT_EQ(reported.Reports.size(), 1U);
    EXPECT_TRUE(reported.Reports[0].starts_with("f2: ")) << reported.Reports[0];
    EXPECT_EQ(reported.Files.size(), 15U);
    EXPECT_EQ(reported.Files.count("sub/f2"), 0U);
    EXPECT_EQ(reported.Files.at("sub/f11"), TextLines(SizeOfF(11), 11));

    const Outcome raised = RunCase({.Title = "e", .Damaged = true}, damaged, dir.Path() / "e", 3);
    EXPECT_FALSE(raised.Error.empty());
    EXPECT_EQ(raised.Files.size(), 6U); // the entries in front of the damaged one
    EXPECT_EQ(raised.Files.count("sub/f3"), 0U);

    const Outcome missing =
        RunCase({.Title = "m", .Names = {"noise.bin", "nothing"}}, damaged, dir.Path() / "m", 3);
    EXPECT_NE(missing.Error.find("nothing"), std::string::npos) << missing.Error;
    EXPECT_EQ(missing.List, std::vector<std::string>{"noise.bin"});

    // Verifying writes nothing, asks no OnCheckFile and reports entry names.
    const Outcome verified = RunCase({.Title = "v",
                                      .Damaged = true,
                                      .ReportErrors = true,
                                      .Names = {"sub/f1", "sub/f2", "small.txt"},
                                      .Verify = true},
                                     damaged, dir.Path() / "v", 3);
    EXPECT_TRUE(verified.Files.empty());
    EXPECT_TRUE(verified.Checks.empty());
    EXPECT_EQ(verified.Reports, std::vector<std::string>{"f2: Bad checksum during expansion -- "
                                                         "data may be invalid"});
    EXPECT_EQ(verified.List, (std::vector<std::string>{"small.txt", "sub/f1"}));

    const std::string sound = MakeArchive(dir, false);
    const Outcome cancelled =
        RunCase({.Title = "c", .CancelName = "noise.bin"}, sound, dir.Path() / "c", 3);
    EXPECT_EQ(cancelled.Error, "Operation cancelled");
    EXPECT_EQ(cancelled.Files.count("noise.bin"), 0U);
    EXPECT_EQ(cancelled.Files.count("sub/large.txt"), 1U);
}

} // namespace
} // namespace zorp::test
