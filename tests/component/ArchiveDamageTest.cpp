// Archives cut off or damaged at every byte: listing and expansion end
// cleanly, never hang, never write outside the target directory, and never
// report a cut-off archive as sound.
#include "component/Zorp.h"
#include "framework/base/Exceptions.h"
#include "framework/base/MemoryStream.h"
#include "support/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zorp::test {
namespace {

namespace fs = std::filesystem;

std::string BuildArchive(TZorp& zorp) {
    fw::TMemoryStream archive;
    fw::TStringList none;
    zorp.CompressFilesToStream(archive, none, coLZH5);
    archive.Seek(0, fw::soEnd);
    const std::pair<const char*, TZorpMethod> entries[] = {
        {"a.txt", coLZH5}, {"dir/b.txt", coLZH}, {"c.bin", coRLE}, {"d", coNone}};
    std::string total;
    for (const auto& [name, method] : entries) {
        std::string data;
        while (data.size() < 300)
            data += std::string(name) + " content, content, content; ";
        fw::TMemoryStream source;
        source.WriteBuffer(data.data(), static_cast<int32_t>(data.size()));
        source.SetPosition(0);
        std::string id = "LH5";
        zorp.CompressStreamToArchiveStream(archive, source, name, TZorpFileHeader{}, id, method);
        total += data;
    }
    // Patch the archive total as the writers do.
    std::string raw = archive.DataString();
    TZorpHeader h = TZorpHeader::Decode(reinterpret_cast<const uint8_t*>(raw.data()));
    h.Size = static_cast<int32_t>(total.size());
    const auto bytes = h.Encode();
    raw.replace(0, 21, std::string(bytes.begin(), bytes.end()));
    return raw;
}

// Lists and expands Raw into Out; true when it raised a documented error.
bool ListAndExpand(TZorp& zorp, const std::string& raw, const std::string& out) {
    try {
        fw::TMemoryStream s;
        s.WriteBuffer(raw.data(), static_cast<int32_t>(raw.size()));
        s.SetPosition(0);
        fw::TStringList list;
        try {
            zorp.ScanCompressedStream(s, list);
        } catch (...) {
            zorp.FreeFileList(&list); // the entries in front of the damage
            throw;
        }
        zorp.FreeFileList(&list);
        s.SetPosition(0);
        zorp.ExpandFilesFromStream(s, nullptr);
        return false;
    } catch (const EArchiveDamaged&) {
    } catch (const EInvalidHeader&) {
    } catch (const EInvalidHeaderArchiveType&) {
    } catch (const EUnrecognizedCompressionMethod&) {
    } catch (const EBadChecksum&) {
    } catch (const ELZHBadDecodeTable&) {
    } catch (const EInvalidKey&) {
    } catch (const fw::EReadError&) {
    }
    (void)out;
    return true;
}

// Every path under Root, relative to it.
std::vector<std::string> Tree(const fs::path& root) {
    std::vector<std::string> paths;
    for (const auto& e : fs::recursive_directory_iterator(root))
        paths.push_back(fs::relative(e.path(), root).string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

TEST(ArchiveDamage, CutOffAtEveryByte) {
    TempDir dir;
    TZorp zorp(nullptr);
    const std::string raw = BuildArchive(zorp);
    fs::create_directories(dir.Path() / "out");
    zorp.SetTargetPath(dir / "out");
    zorp.SetMakeDirectories(true);
    // Up to a header's bytes are no archive at all (an empty one); any cut
    // after that is reported.
    for (size_t cut = 0; cut < raw.size(); ++cut)
        EXPECT_EQ(ListAndExpand(zorp, raw.substr(0, cut), dir / "out"),
                  cut >= TZorpHeader::RecordSize)
            << cut;
    // Only the archive's own names ever appeared.
    for (const std::string& p : Tree(dir.Path() / "out"))
        EXPECT_TRUE(p == "a.txt" || p == "dir" || p == "dir/b.txt" || p == "c.bin" || p == "d")
            << p;
    EXPECT_FALSE(ListAndExpand(zorp, raw, dir / "out"));
}

TEST(ArchiveDamage, EveryByteChanged) {
    TempDir dir;
    TZorp zorp(nullptr);
    const std::string raw = BuildArchive(zorp);
    fs::create_directories(dir.Path() / "target");
    zorp.SetTargetPath(dir / "target");
    for (size_t at = 0; at < raw.size(); ++at) {
        for (const uint8_t flip : {0x01, 0x80, 0xFF}) {
            std::string damaged = raw;
            damaged[at] = static_cast<char>(damaged[at] ^ flip);
            ListAndExpand(zorp, damaged, dir / "target");
        }
    }
    // Nothing appeared beside the target directory.
    EXPECT_EQ(Tree(dir.Path()).front(), "target");
    for (const std::string& p : Tree(dir.Path()))
        EXPECT_EQ(p.rfind("target", 0), 0u) << p;
}

} // namespace
} // namespace zorp::test
