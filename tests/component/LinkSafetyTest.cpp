// Extraction writes only inside the target and never through a link: links
// planted in the target directory, as an attacker would plant them, change
// nothing outside it.
#include "component/Zorp.h"
#include "framework/base/Exceptions.h"
#include "framework/base/FileUtils.h"
#include "framework/base/MemoryStream.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zorp::test {
namespace {

namespace fs = std::filesystem;

class LinkSafety : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(Dir.Path() / "out");
        fs::create_directories(Dir.Path() / "outside");
        WriteWholeFile(Dir / "outside/victim.txt", "victim");
        Zorp.SetTargetPath(Dir / "out");
    }
    // An archive of the given entries, each holding its own name as data.
    void Archive(const std::vector<std::string>& names) {
        fs::remove(Dir / "a.zrp");
        for (const std::string& name : names) {
            fw::TMemoryStream data;
            data.WriteBuffer(name.data(), static_cast<int32_t>(name.size()));
            data.SetPosition(0);
            Zorp.CompressStreamToArchive(Dir / "a.zrp", data, name, coNone);
        }
    }
    // Everything under outside/, with contents, as a snapshot.
    std::vector<std::string> Outside() {
        std::vector<std::string> seen;
        for (const auto& e : fs::recursive_directory_iterator(Dir.Path() / "outside")) {
            std::string line = fs::relative(e.path(), Dir.Path()).string();
            if (fs::is_regular_file(fs::symlink_status(e.path())))
                line += "=" + ReadWholeFile(e.path()) + " mode " +
                        std::to_string(static_cast<int>(fs::status(e.path()).permissions()));
            seen.push_back(line);
        }
        std::sort(seen.begin(), seen.end());
        return seen;
    }

    TempDir Dir;
    TZorp Zorp{nullptr};
};

TEST_F(LinkSafety, PlantedLinksAreReplacedOrRefusedNeverFollowed) {
    fs::create_symlink("../outside/victim.txt", Dir.Path() / "out/a.txt");
    fs::create_symlink("../outside", Dir.Path() / "out/sub");
    fs::create_hard_link(Dir.Path() / "outside/victim.txt", Dir.Path() / "out/hard.txt");
    fs::create_symlink(Dir.Path() / "outside", Dir.Path() / "out/made");
    const auto before = Outside();
    Archive({"a.txt", "sub/keep.txt", "hard.txt", "made/new/deep.txt"});

    for (const bool makeDirectories : {false, true}) {
        SCOPED_TRACE(makeDirectories);
        Zorp.SetMakeDirectories(makeDirectories);
        Zorp.SetExceptionOnFileError(false);
        fw::TStringList all{"a.txt", "sub/keep.txt", "hard.txt", "made/new/deep.txt"};
        Zorp.ExpandFiles(Dir / "a.zrp", &all);
        // The link and the hard link at an entry's own name are replaced by
        // new files; the entries below linked directories are skipped.
        EXPECT_EQ(all.Count(), 2);
        EXPECT_FALSE(fs::is_symlink(Dir.Path() / "out/a.txt"));
        EXPECT_EQ(ReadWholeFile(Dir / "out/a.txt"), "a.txt");
        EXPECT_EQ(ReadWholeFile(Dir / "out/hard.txt"), "hard.txt");
        EXPECT_EQ(Outside(), before);

        Zorp.SetExceptionOnFileError(true);
        fw::TStringList one{"sub/keep.txt"};
        try {
            Zorp.ExpandFiles(Dir / "a.zrp", &one);
            ADD_FAILURE() << "a directory link was followed";
        } catch (const fw::EFCreateError& e) {
            EXPECT_NE(std::string(e.what()).find("\"sub\" is a symbolic link"), std::string::npos)
                << e.what();
        }
        EXPECT_EQ(Outside(), before);
    }
}

TEST_F(LinkSafety, AttributesAndDatesAreSetOnTheNewFileOnly) {
    fs::create_symlink("../outside/victim.txt", Dir.Path() / "out/ro.txt");
    fw::TMemoryStream data;
    data.WriteBuffer("read only", 9);
    data.SetPosition(0);
    Zorp.CompressStreamToArchive(Dir / "a.zrp", data, "ro.txt", coNone);
    // Mark the entry read-only and date it 1999.
    std::string raw = ReadWholeFile(Dir / "a.zrp");
    TZorpFileHeader h = TZorpFileHeader::Decode(reinterpret_cast<const uint8_t*>(&raw[21]));
    h.Attributes = fw::faReadOnly | fw::faArchive;
    h.Date = static_cast<int32_t>((19u << 25 | 1u << 21 | 2u << 16) | (3u << 11));
    const auto bytes = h.Encode();
    raw.replace(21, bytes.size(), std::string(bytes.begin(), bytes.end()));
    WriteWholeFile(Dir / "a.zrp", raw);
    const auto before = Outside();
    const auto victimTime = fs::last_write_time(Dir.Path() / "outside/victim.txt");

    Zorp.ExpandFiles(Dir / "a.zrp", nullptr);
    EXPECT_EQ(ReadWholeFile(Dir / "out/ro.txt"), "read only");
    EXPECT_EQ(fw::FileGetAttr(Dir / "out/ro.txt"), fw::faReadOnly | fw::faArchive);
    EXPECT_EQ(Outside(), before);
    EXPECT_EQ(fs::last_write_time(Dir.Path() / "outside/victim.txt"), victimTime);
    // Nor does the library's attribute setter reach through a link.
    fs::create_symlink("../outside/victim.txt", Dir.Path() / "out/link.txt");
    EXPECT_NE(fw::FileSetAttr(Dir / "out/link.txt", fw::faReadOnly), 0);
    EXPECT_EQ(Outside(), before);
}

TEST_F(LinkSafety, AbsoluteNamesTakeTheSameRules) {
    // An absolute entry name under a path with a planted link.
    fs::create_symlink(Dir.Path() / "outside", Dir.Path() / "out/abs");
    const std::string name = Dir / "out/abs/evil.txt";
    Archive({name});
    const auto before = Outside();
    Zorp.SetExceptionOnFileError(true);
    Zorp.SetMakeDirectories(true);
    EXPECT_THROW(Zorp.ExpandFiles(Dir / "a.zrp", nullptr), fw::EFCreateError);
    EXPECT_EQ(Outside(), before);
    // The target directory itself may be reached through a link.
    fs::create_symlink(Dir.Path() / "out", Dir.Path() / "via");
    Archive({"fine.txt"});
    Zorp.SetTargetPath(Dir / "via");
    Zorp.ExpandFiles(Dir / "a.zrp", nullptr);
    EXPECT_EQ(ReadWholeFile(Dir / "out/fine.txt"), "fine.txt");
}

} // namespace
} // namespace zorp::test
