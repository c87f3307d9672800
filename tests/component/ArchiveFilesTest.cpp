// Archives written to and read from files go through a buffer: the files and
// archives that come out are the same as through memory streams, and an
// expansion that fails leaves no file, and an existing one as it was.
#include "component/Zorp.h"
#include "framework/base/FileStream.h"
#include "framework/base/MemoryStream.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zorp::test {
namespace {

namespace fs = std::filesystem;

std::string Text(size_t n) {
    std::string s;
    while (s.size() < n)
        s += "entry text, line " + std::to_string(s.size() % 977) + " of the buffered archive\n";
    return s.substr(0, n);
}

// Files larger and smaller than the buffer, one that does not shrink (so the
// writer goes back to store it) and an empty one.
struct Sources {
    explicit Sources(const TempDir& Dir) {
        const std::pair<std::string, std::string> files[] = {{"big.txt", Text(300000)},
                                                             {"noise.bin", RandomBytes(150000, 7)},
                                                             {"small.txt", Text(1000)},
                                                             {"empty", ""},
                                                             {"exact.txt", Text(64 * 1024)}};
        for (const auto& [name, data] : files) {
            WriteWholeFile(Dir / name, data);
            Paths.push_back(Dir / name);
            Data.push_back(data);
        }
    }
    void Fill(fw::TStringList& List) const {
        for (const std::string& p : Paths)
            List.Add(p);
    }
    std::vector<std::string> Paths;
    std::vector<std::string> Data;
};

TEST(ArchiveFiles, FileArchivesAreTheStreamArchivesByteForByte) {
    TempDir dir;
    const Sources sources(dir);
    for (const TZorpMethod method : {coNone, coRLE, coLZH, coLZH5}) {
        TZorp zorp(nullptr);
        zorp.SetTargetPath(dir.Path().string() + "/");
        fw::TStringList forFile;
        sources.Fill(forFile);
        zorp.CompressFiles(dir / "a.zrp", forFile, method);
        fw::TStringList forStream;
        sources.Fill(forStream);
        fw::TMemoryStream memory;
        zorp.CompressFilesToStream(memory, forStream, method);
        EXPECT_EQ(ReadWholeFile(dir / "a.zrp"), memory.DataString()) << method;

        fs::create_directories(dir.Path() / "out");
        zorp.SetTargetPath((dir.Path() / "out").string() + "/");
        zorp.ExpandFiles(dir / "a.zrp", nullptr);
        for (size_t i = 0; i < sources.Paths.size(); ++i)
            EXPECT_EQ(ReadWholeFile((dir.Path() / "out" / fs::path(sources.Paths[i]).filename())),
                      sources.Data[i])
                << method << " " << sources.Paths[i];
        fs::remove_all(dir.Path() / "out");
        fs::remove(dir / "a.zrp");
    }
}

TEST(ArchiveFiles, AFailedExpansionLeavesTheOldFileAsItWas) {
    TempDir dir;
    const std::string data = Text(300000);
    WriteWholeFile(dir / "big.txt", data);
    TZorp zorp(nullptr);
    zorp.SetTargetPath(dir.Path().string() + "/");
    fw::TStringList list{dir / "big.txt"};
    fw::TMemoryStream memory;
    zorp.CompressFilesToStream(memory, list, coLZH5);
    const std::string raw = memory.DataString();
    const size_t entry = TZorpHeader::RecordSize;
    const size_t dataStart = entry + TZorpFileHeader::RecordSize + std::string("big.txt").size();

    // A wrong checksum fails after the whole output; damaged data on the way.
    std::vector<std::string> damaged;
    TZorpFileHeader h = TZorpFileHeader::Decode(reinterpret_cast<const uint8_t*>(&raw[entry]));
    h.Checksum += 1;
    const auto bytes = h.Encode();
    damaged.push_back(raw);
    damaged.back().replace(entry, bytes.size(), std::string(bytes.begin(), bytes.end()));
    for (const double at : {0.3, 0.6, 0.9}) {
        damaged.push_back(raw);
        auto& b = damaged.back()[dataStart + static_cast<size_t>(at * (raw.size() - dataStart))];
        b = static_cast<char>(b ^ 0x5A);
    }

    const fs::path out = dir.Path() / "out";
    fs::create_directories(out);
    zorp.SetTargetPath(out.string() + "/");
    for (size_t i = 0; i < damaged.size(); ++i) {
        for (const bool existing : {false, true}) {
            if (existing)
                WriteWholeFile(out / "big.txt", "the user's own file");
            fw::TMemoryStream archive;
            archive.WriteBuffer(damaged[i].data(), static_cast<int32_t>(damaged[i].size()));
            archive.SetPosition(0);
            EXPECT_ANY_THROW(zorp.ExpandFilesFromStream(archive, nullptr)) << i;
            if (existing) {
                EXPECT_EQ(ReadWholeFile(out / "big.txt"), "the user's own file") << i;
            } else {
                EXPECT_TRUE(fs::is_empty(out)) << i;
            }
            fs::remove(out / "big.txt");
        }
    }
}

} // namespace
} // namespace zorp::test
