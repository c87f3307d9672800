// Cancelling through OnShowProgress: every kind of operation raises
// EOperationCancelled and leaves nothing half-made: a caller's stream as it
// was, no new archive, an old archive byte for byte, no partly expanded file.
#include "component/Zorp.h"
#include "framework/base/FileStream.h"
#include "framework/base/MemoryStream.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace zorp::test {
namespace {

namespace fs = std::filesystem;

// Compresses to about half: several 8 KiB refills both ways.
std::string HalfCompressible(size_t Size, uint32_t Seed) {
    std::string data = RandomBytes(Size, Seed);
    for (char& c : data)
        c = static_cast<char>('a' + (static_cast<unsigned char>(c) & 15));
    return data;
}

struct Files {
    Files() {
        fs::create_directories(Dir / "src");
        WriteWholeFile(A, HalfCompressible(60000, 1));
        WriteWholeFile(B, HalfCompressible(50000, 2));
        TZorp zorp(nullptr);
        zorp.SetTargetPath(Dir / "src");
        fw::TStringList list{A, B};
        zorp.CompressFiles(Old, list, coLZH5);
        Dest.WriteBuffer("prefix", 6);
    }
    // Every file under the directory with its content.
    std::map<std::string, std::string> Snapshot() const {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(Dir.Path()))
            if (e.is_regular_file())
                files[e.path().string()] = ReadWholeFile(e.path().string());
        return files;
    }

    TempDir Dir;
    const std::string A = Dir / "src/a.txt";
    const std::string B = Dir / "src/b.txt";
    const std::string Old = Dir / "old.zrp";
    fw::TMemoryStream Dest; // a caller's stream holding "prefix", at its end
};

struct Operation {
    const char* Name;
    std::function<void(TZorp&, Files&)> Run;
};

const Operation Operations[] = {
    {"CompressString", [](TZorp& z, Files& f) { z.CompressString(ReadWholeFile(f.A), coLZH5); }},
    {"Compress",
     [](TZorp& z, Files& f) {
         fw::TFileStream source(f.A, fw::fmOpenRead);
         z.Compress(f.Dest, source, coRLE);
     }},
    {"Expand",
     [](TZorp& z, Files& f) {
         TZorp plain(nullptr);
         const std::string data = plain.CompressString(ReadWholeFile(f.A), coLZH5);
         fw::TMemoryStream packed;
         packed.WriteBuffer(data.data(), static_cast<int32_t>(data.size()));
         packed.SetPosition(0);
         z.Expand(f.Dest, packed);
     }},
    {"CompressFilesNew",
     [](TZorp& z, Files& f) {
         fw::TStringList list{f.A, f.B};
         z.CompressFiles(f.Dir / "new.zrp", list, coLZH5);
     }},
    {"CompressFilesMerging",
     [](TZorp& z, Files& f) {
         fw::TStringList list{f.B, f.A};
         z.CompressFiles(f.Old, list, coLZH);
     }},
    {"CompressFilesToStream",
     [](TZorp& z, Files& f) {
         fw::TStringList list{f.A, f.B};
         z.CompressFilesToStream(f.Dest, list, coLZH5);
     }},
    {"ExpandFiles",
     [](TZorp& z, Files& f) {
         z.SetTargetPath(f.Dir / "out");
         z.SetMakeDirectories(true);
         z.ExpandFiles(f.Old, nullptr);
     }},
    {"ExpandStreamFromArchive",
     [](TZorp& z, Files& f) { z.ExpandStreamFromArchive(f.Old, f.Dest, "b.txt"); }},
};

// Where the handler answers -1: the Event-th event (0 is the opening one)
// of the Run-th driver run (from 1) of the operation.
struct CancelPoint {
    int Run, Event;
};

TEST(Cancel, EveryOperationRaisesAndLeavesNothingHalfMade) {
    for (const Operation& op : Operations) {
        for (const CancelPoint at : {CancelPoint{1, 0}, CancelPoint{1, 2}, CancelPoint{2, 2}}) {
            SCOPED_TRACE(testing::Message()
                         << op.Name << " run " << at.Run << " event " << at.Event);
            Files f;
            const auto before = f.Snapshot();
            TZorp zorp(nullptr);
            int run = 0, event = 0;
            bool answered = false;
            zorp.OnShowProgress = [&](int32_t& percent) {
                if (percent == 0) {
                    ++run;
                    event = 0;
                } else {
                    ++event;
                }
                if (run == at.Run && event == at.Event) {
                    percent = -1;
                    answered = true;
                }
            };
            bool cancelled = false;
            try {
                op.Run(zorp, f);
            } catch (const EOperationCancelled& e) {
                cancelled = true;
                EXPECT_STREQ(e.what(), "Operation cancelled");
            }
            // Operations of one run never reach the second.
            EXPECT_EQ(cancelled, answered);
            if (!cancelled)
                continue;
            EXPECT_EQ(f.Dest.DataString(), "prefix");
            EXPECT_EQ(f.Dest.Position(), 6);
            // Old files as they were; new ones only whole extracted files.
            const auto after = f.Snapshot();
            for (const auto& [path, data] : before)
                EXPECT_TRUE(after.contains(path) && after.at(path) == data) << path;
            for (const auto& [path, data] : after) {
                if (before.contains(path))
                    continue;
                const fs::path file(path);
                ASSERT_EQ(file.parent_path(), fs::path(f.Dir / "out")) << path;
                EXPECT_EQ(data, before.at(f.Dir / ("src/" / file.filename()).string())) << path;
            }
        }
    }
}

// Cancelling in a stored fallback's place: a run that gives up for lack of
// room after the cancel does not start a second, stored run.
TEST(Cancel, NoStoredRunAfterACancel) {
    // Cancelled at the last refill: the 16384 bytes read before it do not
    // fit in 16390 - 21, which the encoder finds out only after the cancel.
    TZorp zorp(nullptr);
    int events = 0;
    zorp.OnShowProgress = [&](int32_t& percent) {
        if (++events == 4)
            percent = -1;
    };
    EXPECT_THROW(zorp.CompressString(RandomBytes(16390, 4), coLZH5), EOperationCancelled);
    EXPECT_EQ(events, 4); // no second run
}

} // namespace
} // namespace zorp::test
