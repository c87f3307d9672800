// Stream and per-file headers: byte layout, validation and method IDs.
#include "component/Zorp.h"
#include "framework/base/MemoryStream.h"

#include <gtest/gtest.h>

namespace zorp::test {
namespace {

std::string Bytes(const TZorpHeader& h) {
    const auto b = h.Encode();
    return std::string(b.begin(), b.end());
}

void Fill(fw::TMemoryStream& s, const std::string& data) {
    s.WriteBuffer(data.data(), static_cast<int32_t>(data.size()));
    s.SetPosition(0);
}

TEST(SetHeader, LockFollowsTheKeyAndChecksumStartsAtZero) {
    TZorp zorp(nullptr);
    TZorpHeader h;
    zorp.SetHeader(h, "LZH", caSingle, 1000);
    EXPECT_EQ(h.Lock, 0);
    EXPECT_EQ(h.Checksum, 0);
    zorp.SetKey(5);
    zorp.SetHeader(h, "LZH", caSingle, 1000);
    EXPECT_EQ(h.Lock, 2);
    zorp.SetKey(-5); // a negative key scrambles too, so it must lock too
    zorp.SetHeader(h, "LZH", caSingle, 1000);
    EXPECT_EQ(h.Lock, 2);
}

TEST(SetHeader, LaysOutTwentyOneLittleEndianBytes) {
    TZorp zorp(nullptr);
    zorp.SetKey(7);
    TZorpHeader h;
    zorp.SetHeader(h, "LZH", caSingle, 1000);
    h.Checksum = static_cast<int32_t>(0x89ABCDEFu);
    const std::string expected("WELM\x1A"
                               "LZH"
                               "\xE8\x03\x00\x00"
                               "\x00"
                               "\xEF\xCD\xAB\x89"
                               "\x02\x00\x00\x00",
                               21);
    EXPECT_EQ(Bytes(h), expected);
    const TZorpHeader back = TZorpHeader::Decode(h.Encode().data());
    EXPECT_TRUE(back.HasMagic());
    EXPECT_EQ(back.MethodIDString(), "LZH");
    EXPECT_EQ(back.Size, 1000);
    EXPECT_EQ(back.Checksum, h.Checksum);
    EXPECT_EQ(back.Lock, 2);
}

TEST(Recognize, BuiltInIdsAreCaseSensitiveAndForeignOnesNeedTheHandler) {
    TZorp zorp(nullptr);
    EXPECT_EQ(zorp.Recognize("NON"), coNone);
    EXPECT_EQ(zorp.Recognize("LH5"), coLZH5);
    EXPECT_EQ(zorp.Recognize("CUS"), coCustom);
    try {
        zorp.Recognize("lzh");
        FAIL();
    } catch (const EUnrecognizedCompressionMethod& e) {
        EXPECT_STREQ(e.what(), "Unrecognized compression method: \"lzh\" in header");
    }
    std::vector<std::string> asked;
    zorp.OnRecognize = [&](const std::string& id, bool& recognized) {
        asked.push_back(id);
        recognized = id == "lzh";
    };
    EXPECT_EQ(zorp.Recognize("lzh"), coCustom);
    EXPECT_EQ(zorp.Recognize("LZH"), coLZH); // built-in IDs never reach the handler
    EXPECT_THROW(zorp.Recognize("XYZ"), EUnrecognizedCompressionMethod);
    EXPECT_EQ(asked, (std::vector<std::string>{"lzh", "XYZ"}));
}

TEST(CheckHeader, ShortStreamGetsANewArchiveHeader) {
    TZorp zorp(nullptr);
    fw::TMemoryStream s;
    Fill(s, std::string(20, 'x'));
    TZorpHeader h;
    std::string id = "LH5extra";
    zorp.CheckHeader(s, h, id);
    EXPECT_EQ(s.Position(), 0); // nothing read
    EXPECT_EQ(id, "LH5");
    EXPECT_TRUE(h.HasMagic());
    EXPECT_EQ(h.ArchiveType, caMulti);
    EXPECT_EQ(h.Size, 0);
    EXPECT_EQ(h.Checksum, 0);
    EXPECT_EQ(h.MethodIDString(), "LH5");
}

TEST(CheckHeader, ValidatesMagicTypeAndMethod) {
    TZorp zorp(nullptr);
    TZorpHeader made;
    zorp.SetHeader(made, "CUS", caMulti, 0);
    const std::string good = Bytes(made) + "entries";
    {
        fw::TMemoryStream s;
        Fill(s, good);
        TZorpHeader h;
        std::string id;
        zorp.CheckHeader(s, h, id); // "CUS" needs no handler
        EXPECT_EQ(id, "CUS");
        EXPECT_EQ(s.Position(), 21);
    }
    for (int i = 0; i < 5; ++i) {
        std::string bad = good;
        bad[static_cast<size_t>(i)] ^= 0x20;
        fw::TMemoryStream s;
        Fill(s, bad);
        TZorpHeader h;
        std::string id;
        EXPECT_THROW(zorp.CheckHeader(s, h, id), EInvalidHeader) << i;
    }
    {
        std::string single = good;
        single[12] = 0;
        fw::TMemoryStream s;
        Fill(s, single);
        TZorpHeader h;
        std::string id;
        try {
            zorp.CheckHeader(s, h, id);
            FAIL();
        } catch (const EInvalidHeaderArchiveType& e) {
            EXPECT_STREQ(e.what(), "Archive type must be caMulti");
        }
    }
    {
        std::string foreign = good;
        foreign.replace(5, 3, "ABC");
        fw::TMemoryStream s;
        Fill(s, foreign);
        TZorpHeader h;
        std::string id;
        EXPECT_THROW(zorp.CheckHeader(s, h, id), EUnrecognizedCompressionMethod);
    }
}

TEST(FileHeaders, RoundTripAndCutShortReads) {
    TZorp zorp(nullptr);
    fw::TMemoryStream s;
    TZorpFileHeader fh;
    fh.Date = 0x58A46C21;
    fh.Attributes = 0x21;
    fh.Size = 123456;
    fh.CompressedSize = 654;
    fh.Method = coLZH5;
    fh.Checksum = -2;
    fh.Lock = 2;
    zorp.PutFileHeader(s, fh, "dir/name.txt");
    EXPECT_EQ(fh.NameLength, 12);
    EXPECT_EQ(s.Size(), 25 + 12);
    const std::string raw = s.DataString();
    EXPECT_EQ(raw.substr(0, 2), std::string("\x0C\x00", 2));
    EXPECT_EQ(raw.substr(16, 1), "\x04");
    EXPECT_EQ(raw.substr(25), "dir/name.txt");

    s.SetPosition(0);
    TZorpFileHeader back;
    std::string name;
    ASSERT_TRUE(zorp.GetFileHeader(s, back, name));
    EXPECT_EQ(name, "dir/name.txt");
    EXPECT_EQ(back.Date, fh.Date);
    EXPECT_EQ(back.Attributes, fh.Attributes);
    EXPECT_EQ(back.Size, fh.Size);
    EXPECT_EQ(back.CompressedSize, fh.CompressedSize);
    EXPECT_EQ(back.Checksum, -2);
    EXPECT_EQ(back.Lock, 2);

    fw::TMemoryStream cutName;
    Fill(cutName, raw.substr(0, raw.size() - 1));
    EXPECT_FALSE(zorp.GetFileHeader(cutName, back, name));
    fw::TMemoryStream cutRecord;
    Fill(cutRecord, raw.substr(0, 24));
    EXPECT_FALSE(zorp.GetFileHeader(cutRecord, back, name));
    std::string negative = raw;
    negative[1] = '\xFF';
    fw::TMemoryStream bad;
    Fill(bad, negative);
    EXPECT_FALSE(zorp.GetFileHeader(bad, back, name));
}

TEST(FileHeaders, EmptyNameAndOverlongName) {
    TZorp zorp(nullptr);
    fw::TMemoryStream s;
    TZorpFileHeader fh;
    zorp.PutFileHeader(s, fh, "");
    EXPECT_EQ(s.Size(), 25);
    s.SetPosition(0);
    std::string name = "stale";
    EXPECT_TRUE(zorp.GetFileHeader(s, fh, name));
    EXPECT_EQ(name, "");
    fw::TMemoryStream other;
    EXPECT_THROW(zorp.PutFileHeader(other, fh, std::string(32768, 'n')), EFileNameTooLong);
    EXPECT_EQ(other.Size(), 0);
}

} // namespace
} // namespace zorp::test
