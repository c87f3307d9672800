// An archive is never missing and a user's file is never deleted: every
// way an archive rewrite can fail leaves the old archive byte for byte, or
// no new archive at all, and no temporary file.
#include "component/Zorp.h"
#include "framework/base/Exceptions.h"
#include "framework/base/MemoryStream.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>

namespace zorp::test {
namespace {

namespace fs = std::filesystem;

// The names in Dir, sorted.
std::vector<std::string> Entries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class ArchiveRewrite : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(Dir.Path() / "in");
        WriteWholeFile(Dir / "in/a.txt", std::string(3000, 'a'));
        WriteWholeFile(Dir / "in/b.txt", "bbb bbb bbb bbb bbb bbb bbb");
        Zorp.SetTargetPath(Dir / "in");
    }
    void Add(const std::string& archive, const std::vector<std::string>& files) {
        fw::TStringList list;
        for (const std::string& f : files)
            list.Add(Dir / ("in/" + f));
        Zorp.CompressFiles(archive, list, coLZH5);
    }
    TempDir Dir;
    TZorp Zorp{nullptr};
};

TEST_F(ArchiveRewrite, AUsersFilesBesideTheArchiveAreNeverTouched) {
    // The names an older scheme used for its temporary files.
    WriteWholeFile(Dir / "notes.$$$", "the user's notes");
    Add(Dir / "notes.zrp", {"a.txt"});
    Add(Dir / "notes.zrp", {"b.txt"});
    Add(Dir / "old.$$$", {"a.txt"});
    Add(Dir / "old.$$$", {"b.txt"});
    fw::TStringList gone{"a.txt"};
    Zorp.DeleteFiles(Dir / "notes.zrp", gone);
    EXPECT_EQ(ReadWholeFile(Dir / "notes.$$$"), "the user's notes");
    fw::TStringList names;
    Zorp.ScanCompressedFile(Dir / "old.$$$", names);
    EXPECT_EQ(names.Count(), 2);
    Zorp.FreeFileList(&names);
    EXPECT_EQ(Entries(Dir.Path()),
              (std::vector<std::string>{"in", "notes.$$$", "notes.zrp", "old.$$$"}));
}

TEST_F(ArchiveRewrite, AReplacedArchiveKeepsItsPermissionsAndLinks) {
    Add(Dir / "real.zrp", {"a.txt"});
    fs::permissions(Dir.Path() / "real.zrp",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real.zrp", Dir.Path() / "link.zrp");
    Add(Dir / "link.zrp", {"b.txt"});
    EXPECT_TRUE(fs::is_symlink(Dir.Path() / "link.zrp"));
    EXPECT_EQ(fs::status(Dir.Path() / "real.zrp").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fw::TStringList names;
    Zorp.ScanCompressedFile(Dir / "real.zrp", names);
    EXPECT_EQ(names.Count(), 2);
    Zorp.FreeFileList(&names);
}

// Every failure of a rewrite, on an existing archive and on a new one.
TEST_F(ArchiveRewrite, EveryFailureLeavesTheOldArchiveAndNoTemporaryFile) {
    const std::string archive = Dir / "a.zrp";
    struct Failure {
        const char* What;
        bool NewArchiveToo;            // the failure can happen when there is no archive yet
        std::function<void()> Prepare; // makes the next rewrite fail
        std::function<void()> Run;
    };
    auto addB = [&] { Add(archive, {"b.txt"}); };
    const Failure failures[] = {
        {"an input file that cannot be opened", true,
         [&] {
             Zorp.SetExceptionOnFileError(true);
             fs::remove(Dir.Path() / "in/b.txt");
         },
         addB},
        {"an exception from an event handler", true,
         [&] {
             Zorp.OnCheckFile = [](std::string&, TCProcessMode) {
                 throw std::runtime_error("stop");
             };
         },
         addB},
        {"a total of 2 GiB or more", false,
         [&] {
             // The existing archive claims an entry of almost 2 GiB.
             std::string raw = ReadWholeFile(archive);
             TZorpFileHeader h =
                 TZorpFileHeader::Decode(reinterpret_cast<const uint8_t*>(&raw[21]));
             h.Size = 0x7FFFFFF0;
             auto bytes = h.Encode();
             raw.replace(21, bytes.size(), std::string(bytes.begin(), bytes.end()));
             TZorpHeader a = TZorpHeader::Decode(reinterpret_cast<const uint8_t*>(raw.data()));
             a.Size = h.Size;
             const auto header = a.Encode();
             raw.replace(0, header.size(), std::string(header.begin(), header.end()));
             WriteWholeFile(archive, raw);
         },
         addB},
        {"an existing archive that is damaged", false,
         [&] { fs::resize_file(archive, fs::file_size(archive) - 1); }, addB},
        {"an entry appended from a stream that fails", true,
         [&] { Zorp.OnShowProgress = [](int32_t&) { throw std::runtime_error("cancelled"); }; },
         [&] {
             fw::TMemoryStream data;
             data.WriteBuffer("0123456789012345678901234567890123456789", 40);
             data.SetPosition(0);
             Zorp.CompressStreamToArchive(archive, data, "s", coLZH);
         }},
    };
    for (const Failure& f : failures) {
        for (const bool existing : {true, false}) {
            if (!existing && !f.NewArchiveToo)
                continue;
            SCOPED_TRACE(std::string(f.What) + (existing ? ", existing archive" : ", new archive"));
            fs::remove(archive);
            WriteWholeFile(Dir / "in/b.txt", "bbb bbb bbb bbb bbb bbb bbb");
            Zorp.OnCheckFile = nullptr;
            Zorp.OnShowProgress = nullptr;
            Zorp.SetExceptionOnFileError(false);
            if (existing)
                Add(archive, {"a.txt"});
            f.Prepare();
            const std::string old = existing ? ReadWholeFile(archive) : "";
            EXPECT_ANY_THROW(f.Run());
            EXPECT_EQ(fs::exists(archive), existing);
            if (existing) {
                EXPECT_EQ(ReadWholeFile(archive), old);
            }
            const std::vector<std::string> expected =
                existing ? std::vector<std::string>{"a.zrp", "in"} : std::vector<std::string>{"in"};
            EXPECT_EQ(Entries(Dir.Path()), expected);
        }
    }
}

} // namespace
} // namespace zorp::test
