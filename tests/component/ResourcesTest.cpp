// TZorp's compressed resources, read from the test library built with
// resources embedded by zorp_add_resource: compressed (TEXT, MixedCase),
// stored without a header (RAW), locked with 0x1234ABCD (LOCKED), empty
// (EMPTY) and a multi-file archive (ARCHIVE). This program carries HOSTONLY.
#include "component/Zorp.h"
#include "framework/base/Exceptions.h"
#include "framework/base/ResourceStream.h"
#include "support/TestFiles.h"

#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <gtest/gtest.h>

namespace zorp::test {
namespace {

namespace fs = std::filesystem;

const std::string Module = ZORP_TEST_MODULE;

std::string Packed(const std::string& Name) {
    return ReadWholeFile(std::string(ZORP_TEST_PACKED_DIR) + "/" + Name + ".zorp");
}

std::string Content(fw::TStream& Stream) {
    std::string s(static_cast<size_t>(Stream.Size() - Stream.Position()), '\0');
    Stream.ReadBuffer(s.data(), static_cast<int32_t>(s.size()));
    return s;
}

TEST(LoadCompressedResource, GivesTheEmbeddedBytesAtPositionZero) {
    TZorp zorp(nullptr);
    const std::unique_ptr<fw::TStream> stream = zorp.LoadCompressedResource("TEXT", Module);
    ASSERT_TRUE(stream);
    EXPECT_NE(dynamic_cast<fw::TResourceStream*>(stream.get()), nullptr);
    EXPECT_EQ(stream->Position(), 0);
    const std::string bytes = Content(*stream);
    EXPECT_EQ(bytes, Packed("TEXT"));
    EXPECT_EQ(bytes.substr(0, HeaderMagic.size()),
              std::string(HeaderMagic.begin(), HeaderMagic.end()));
    EXPECT_LT(bytes.size(), ReadWholeFile(ZORP_TEST_SAMPLE).size() / 2);
}

TEST(LoadCompressedResource, ReleasesTheModuleAtOnce) {
    TZorp zorp(nullptr);
    ASSERT_EQ(dlopen(Module.c_str(), RTLD_LAZY | RTLD_NOLOAD), nullptr);
    const std::unique_ptr<fw::TStream> stream = zorp.LoadCompressedResource("TEXT", Module);
    EXPECT_EQ(dlopen(Module.c_str(), RTLD_LAZY | RTLD_NOLOAD), nullptr)
        << "the library is still loaded";
    EXPECT_EQ(Content(*stream), Packed("TEXT"));
}

TEST(LoadExpandedResource, ExpandsToTheOriginalFile) {
    TZorp zorp(nullptr);
    const std::string sample = ReadWholeFile(ZORP_TEST_SAMPLE);
    for (const char* name : {"TEXT", "text", "MixedCase", "MIXEDCASE"}) {
        const std::unique_ptr<fw::TMemoryStream> stream = zorp.LoadExpandedResource(name, Module);
        EXPECT_EQ(stream->Position(), 0) << name;
        EXPECT_EQ(stream->DataString(), sample) << name;
    }
}

TEST(LoadExpandedResource, DataWithoutHeaderComesBackUnchanged) {
    TZorp zorp(nullptr);
    EXPECT_EQ(Packed("RAW"), ReadWholeFile(ZORP_TEST_SAMPLE)); // stored as it is
    EXPECT_EQ(zorp.LoadExpandedResource("raw", Module)->DataString(),
              ReadWholeFile(ZORP_TEST_SAMPLE));
}

TEST(LoadExpandedResource, LockedNeedsItsKey) {
    TZorp zorp(nullptr);
    EXPECT_THROW(zorp.LoadExpandedResource("LOCKED", Module), EInvalidKey);
    zorp.SetKey(0x1234ABCC);
    EXPECT_THROW(zorp.LoadExpandedResource("LOCKED", Module), EInvalidKey);
    zorp.SetKey(0x1234ABCD);
    EXPECT_EQ(zorp.LoadExpandedResource("LOCKED", Module)->DataString(),
              ReadWholeFile(ZORP_TEST_SAMPLE));
}

TEST(LoadExpandedResource, EmptyResourceIsNotLoaded) {
    TZorp zorp(nullptr);
    EXPECT_EQ(zorp.LoadCompressedResource("EMPTY", Module)->Size(), 0);
    try {
        zorp.LoadExpandedResource("Empty", Module);
        FAIL() << "an empty resource was expanded";
    } catch (const fw::EResNotFound& e) {
        EXPECT_STREQ(e.what(), "Could not load resource: Empty");
    }
}

TEST(LoadExpandedResource, ArchiveIsRefusedByExpand) {
    TZorp zorp(nullptr);
    try {
        zorp.LoadExpandedResource("ARCHIVE", Module);
        FAIL() << "an archive was expanded";
    } catch (const EInvalidHeaderArchiveType& e) {
        EXPECT_STREQ(e.what(), "Expand can't handle caMulti archive type in compressed header");
    }
}

TEST(LoadResource, MissingResourceAndMissingModule) {
    TZorp zorp(nullptr);
    EXPECT_THROW(zorp.LoadCompressedResource("NOPE", Module), fw::EResNotFound);
    EXPECT_THROW(zorp.LoadExpandedResource("NOPE", Module), fw::EResNotFound);
    const std::string missing = "/nonexistent/libmissing.so";
    for (int expanded = 0; expanded < 2; ++expanded) {
        try {
            if (expanded)
                zorp.LoadExpandedResource("TEXT", missing);
            else
                zorp.LoadCompressedResource("TEXT", missing);
            FAIL() << "a missing module was loaded";
        } catch (const fw::Exception& e) {
            EXPECT_STREQ(e.what(), "Could not load /nonexistent/libmissing.so DLL");
        }
    }
    try {
        zorp.LoadCompressedResource("TEXT", "libmissing");
        FAIL();
    } catch (const fw::Exception& e) {
        EXPECT_STREQ(e.what(), "Could not load libmissing DLL");
    }
}

// A copy of the test library whose section table is damaged still loads
// (the loader does not need sections); reading resources must fail cleanly.
TEST(LoadResource, DamagedModuleRaisesModuleError) {
    TempDir dir;
    const std::string whole = ReadWholeFile(Module);
    const uint64_t tableOffset = [&] {
        uint64_t v = 0;
        std::memcpy(&v, whole.data() + 0x28, sizeof v); // e_shoff of a 64-bit file
        return v;
    }();
    ASSERT_GT(tableOffset, 0u);
    ASSERT_LT(tableOffset, whole.size());

    std::string past = whole;
    const uint64_t bogus = whole.size() + 4096;
    std::memcpy(past.data() + 0x28, &bogus, sizeof bogus);
    WriteWholeFile(dir / "past.so", past);

    // Every section of the table claims the whole file as its contents.
    std::string huge = whole;
    const uint16_t count = static_cast<uint16_t>(static_cast<uint8_t>(whole[0x3C]) |
                                                 static_cast<uint8_t>(whole[0x3D]) << 8);
    for (uint16_t i = 1; i < count; ++i) {
        const uint64_t size = ~uint64_t{0} / 2;
        std::memcpy(huge.data() + tableOffset + i * 64 + 32, &size, sizeof size);
    }
    WriteWholeFile(dir / "huge.so", huge);

    TZorp zorp(nullptr);
    for (const char* file : {"past.so", "huge.so"}) {
        EXPECT_THROW(zorp.LoadCompressedResource("TEXT", dir / file), fw::EModuleError) << file;
        EXPECT_THROW(zorp.LoadExpandedResource("TEXT", dir / file), fw::EModuleError) << file;
    }
    // Cut short, the file no longer loads at all.
    WriteWholeFile(dir / "short.so", whole.substr(0, whole.size() / 3));
    EXPECT_THROW(zorp.LoadCompressedResource("TEXT", dir / "short.so"), fw::Exception);
    EXPECT_THROW(fw::TResourceStream(dir / "short.so", "TEXT", "TZORP"), fw::EModuleError);
}

} // namespace
} // namespace zorp::test
