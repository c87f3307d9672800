// IdentifyStream and IdentifyFile: what headers say, without expanding, and
// nothing believed that the bytes cannot back.
#include "component/Zorp.h"
#include "framework/base/Exceptions.h"
#include "framework/base/MemoryStream.h"
#include "framework/base/ReadOnlyMemoryStream.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace zorp::test {
namespace {

std::string Text(size_t Size) {
    return std::string(Size, 'i') + "dentify";
}

std::string Archive(TZorp& Zorp, const std::vector<std::string>& Contents) {
    fw::TMemoryStream archive;
    std::string methodID = MethodIDs[coLZH];
    TZorpHeader header;
    Zorp.SetHeader(header, methodID, caMulti, 0);
    for (const std::string& data : Contents)
        header.Size += static_cast<int32_t>(data.size());
    const auto bytes = header.Encode();
    archive.WriteBuffer(bytes.data(), TZorpHeader::RecordSize);
    for (size_t i = 0; i < Contents.size(); ++i) {
        fw::TReadOnlyMemoryStream source{std::string_view(Contents[i])};
        Zorp.CompressStreamToArchiveStream(archive, source, "entry" + std::to_string(i),
                                           TZorpFileHeader{}, methodID, coLZH);
    }
    return archive.DataString();
}

std::optional<TZorpStreamInfo> Identify(const std::string& Data) {
    fw::TReadOnlyMemoryStream stream{std::string_view(Data)};
    return IdentifyStream(stream);
}

TEST(IdentifyStream, ReadsSingleStreamHeaders) {
    struct Case {
        TZorpMethod Method;
        int32_t Key;
        size_t Size;
        const char* ID;
        TZorpMethod Named; // the method the header names
    };
    const std::vector<Case> cases = {
        {coRLE, 0, 1000, "RLE", coRLE},   {coLZH, 0, 1000, "LZH", coLZH},
        {coLZH5, 9, 1000, "LH5", coLZH5}, {coNone, 9, 50, "NON", coNone},
        {coLZH5, 9, 0, "NON", coNone}, // locked, nothing behind the header
    };
    for (const Case& c : cases) {
        TZorp zorp(nullptr);
        zorp.SetKey(c.Key);
        const std::string data = c.Size == 0 ? std::string() : Text(c.Size);
        const std::string packed = zorp.CompressString(data, c.Method);
        const auto info = Identify(packed);
        ASSERT_TRUE(info) << c.ID;
        EXPECT_EQ(info->ArchiveType, caSingle);
        EXPECT_EQ(info->MethodID, c.ID);
        EXPECT_EQ(info->Method, c.Named);
        EXPECT_EQ(info->Locked, c.Key != 0);
        EXPECT_EQ(info->ExpandedSize, static_cast<int32_t>(data.size()));
        EXPECT_EQ(info->StoredSize, static_cast<int64_t>(packed.size()));
    }
}

TEST(IdentifyStream, CountsArchiveEntriesAndSeesDamage) {
    TZorp zorp(nullptr);
    const std::string archive = Archive(zorp, {Text(500), Text(80), Text(3000)});
    const auto info = Identify(archive);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->ArchiveType, caMulti);
    EXPECT_EQ(info->MethodID, "LZH");
    EXPECT_EQ(info->EntryCount, 3);
    EXPECT_EQ(info->ExpandedSize, 500 + 80 + 3000 + 3 * 7);
    EXPECT_TRUE(info->Intact);

    const auto cut = Identify(archive.substr(0, archive.size() - 1));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->EntryCount, 2);
    EXPECT_FALSE(cut->Intact);

    // Forged fields of the first entry header: a name and data far beyond
    // the end, a negative size, a size beyond the archive's total.
    const std::vector<std::pair<size_t, std::string>> forgeries = {
        {21, "\xF0\x70"},
        {33, "\xF0\xF0\xF0\x70"},
        {29, "\xF0\xF0\xF0\xF0"},
        {29, "\xF0\xF0\xF0\x70"},
    };
    for (const auto& [at, bytes] : forgeries) {
        std::string forged = archive;
        forged.replace(at, bytes.size(), bytes);
        const auto bad = Identify(forged);
        ASSERT_TRUE(bad);
        EXPECT_EQ(bad->EntryCount, 0) << at;
        EXPECT_FALSE(bad->Intact) << at;
    }
    const auto empty = Identify(Archive(zorp, {}));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->EntryCount, 0);
    EXPECT_TRUE(empty->Intact);
}

TEST(IdentifyStream, RefusesWhatIsNotOurs) {
    TZorp zorp(nullptr);
    const std::string single = zorp.CompressString(Text(1000), coLZH);
    std::string wrongType = single;
    wrongType[12] = 2;
    std::string negative = single;
    negative[11] = '\x80';
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"empty", ""},
        {"stored without a header", zorp.CompressString(Text(100), coNone)},
        {"a header alone", single.substr(0, 21)},
        {"short of a header", single.substr(0, 20)},
        {"unknown archive type", wrongType},
        {"negative size", negative},
    };
    for (const auto& [what, data] : cases)
        EXPECT_FALSE(Identify(data)) << what;
}

TEST(IdentifyStream, LooksFromThePositionAndLeavesItThere) {
    TZorp zorp(nullptr);
    zorp.OnCompress = [](fw::TStream& Dest, fw::TStream& Source, std::string& ID, int32_t& Size,
                         int32_t& Sum) {
        ID = "TOY";
        Size = static_cast<int32_t>(Dest.CopyFrom(Source, Source.Size() - Source.Position()));
        Sum = 0;
    };
    const std::string data = "junk" + zorp.CompressString(Text(100), coCustom);
    fw::TReadOnlyMemoryStream stream{std::string_view(data)};
    stream.SetPosition(4);
    const auto info = IdentifyStream(stream);
    EXPECT_EQ(stream.Position(), 4);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->MethodID, "TOY");
    EXPECT_EQ(info->Method, coCustom);
    EXPECT_EQ(info->StoredSize, static_cast<int64_t>(data.size()) - 4);
}

TEST(IdentifyFile, ReadsAFileAndRaisesForAMissingOne) {
    TempDir dir;
    TZorp zorp(nullptr);
    WriteWholeFile(dir / "a.zrp", Archive(zorp, {Text(10)}));
    const auto info = IdentifyFile(dir.Path() / "a.zrp");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->EntryCount, 1);
    EXPECT_THROW(IdentifyFile(dir.Path() / "missing.zrp"), fw::EFOpenError);
}

} // namespace
} // namespace zorp::test
