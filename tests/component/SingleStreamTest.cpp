// Single compressed streams and strings: header or not, the fallback to
// storing, keys, checksums, the custom method and the saved percentage.
#include "component/Zorp.h"
#include "engine/CompThreadSafety.h"
#include "framework/base/BufferedStream.h"
#include "framework/base/MemoryStream.h"
#include "support/CountingStream.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace zorp::test {
namespace {

const TZorpMethod BuiltIn[] = {coNone, coRLE, coLZH, coLZH5};

// Text that every method compresses well.
std::string Compressible(size_t size) {
    std::string s;
    while (s.size() < size)
        s += "the quick brown fox jumps over the lazy dog " + std::to_string(s.size() % 7) +
             "     ....\n";
    s.resize(size);
    return s;
}

TZorpHeader HeaderOf(const std::string& packed) {
    return TZorpHeader::Decode(reinterpret_cast<const uint8_t*>(packed.data()));
}

// Packed with another size and checksum in its header.
std::string Reheadered(const std::string& packed, int32_t size, uint32_t checksum) {
    TZorpHeader h = HeaderOf(packed);
    h.Size = size;
    h.Checksum = static_cast<int32_t>(checksum);
    const auto bytes = h.Encode();
    return std::string(bytes.begin(), bytes.end()) + packed.substr(TZorpHeader::RecordSize);
}

// A stream whose size says more than its reads deliver, as a file cut short
// while it is read.
struct CutShortStream : fw::TMemoryStream {
    CutShortStream(const std::string& Data, int64_t Claimed) : FClaimed(Claimed) {
        WriteBuffer(Data.data(), static_cast<int32_t>(Data.size()));
        SetPosition(0);
    }
    int64_t Size() override { return FClaimed; }
    int64_t FClaimed;
};

std::string Scrambled(const std::string& data, int32_t key) {
    std::string out = data;
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char>(out[i] ^ (static_cast<uint32_t>(key) >> (8 * (i % 4))));
    return out;
}

TEST(CompressString, ShortStringsAreStoredAsTheyAre) {
    TZorp zorp(nullptr);
    EXPECT_EQ(zorp.CompressString("", coLZH), "");
    EXPECT_EQ(zorp.ExpandString(""), "");
    const std::string twenty = Compressible(20);
    EXPECT_EQ(zorp.CompressString(twenty, coLZH), twenty);
    EXPECT_EQ(zorp.LastRatio(), 100);
    // 21 bytes leave a budget of 0: the first output byte falls back to storing.
    const std::string twentyOne(21, 'a');
    EXPECT_EQ(zorp.CompressString(twentyOne, coLZH), twentyOne);
    EXPECT_EQ(zorp.CompressString(twentyOne, coLZH5), twentyOne);
    EXPECT_EQ(zorp.ExpandString(twentyOne), twentyOne);
}

TEST(CompressString, HeaderRecordsMethodSizeAndChecksum) {
    TZorp zorp(nullptr);
    const std::string data = Compressible(1000);
    const std::string packed = zorp.CompressString(data, coLZH);
    ASSERT_GT(packed.size(), 21u);
    EXPECT_LE(packed.size(), 1000u);
    const TZorpHeader h = HeaderOf(packed);
    EXPECT_EQ(packed.substr(0, 8), "WELM\x1ALZH");
    EXPECT_EQ(h.Size, 1000);
    EXPECT_EQ(h.ArchiveType, caSingle);
    EXPECT_EQ(static_cast<uint32_t>(h.Checksum), ByteSum(data));
    EXPECT_EQ(h.Lock, 0);
    EXPECT_EQ(zorp.LastRatio(), PercentOf(static_cast<int32_t>(packed.size()), 1000));
    EXPECT_EQ(zorp.ExpandString(packed), data);
}

TEST(CompressString, StoredWithAKeyGetsANonHeaderAndScrambledBytes) {
    TZorp zorp(nullptr);
    const std::string data = Compressible(100);
    EXPECT_EQ(zorp.CompressString(data, coNone), data);
    zorp.SetKey(0x01020304);
    const std::string packed = zorp.CompressString(data, coNone);
    ASSERT_EQ(packed.size(), 121u);
    const TZorpHeader h = HeaderOf(packed);
    EXPECT_EQ(h.MethodIDString(), "NON");
    EXPECT_EQ(h.Lock, 2);
    EXPECT_EQ(static_cast<uint32_t>(h.Checksum), ByteSum(data) + 0x01020304u);
    EXPECT_EQ(packed.substr(21), Scrambled(data, 0x01020304));
    EXPECT_EQ(zorp.ExpandString(packed), data);
}

TEST(CompressString, IncompressibleDataFallsBackToStoring) {
    TZorp zorp(nullptr);
    const std::string data = RandomBytes(5000, 11);
    for (const TZorpMethod m : {coRLE, coLZH, coLZH5}) {
        SCOPED_TRACE(m);
        zorp.SetKey(0);
        EXPECT_EQ(zorp.CompressString(data, m), data);
        EXPECT_EQ(zorp.LastRatio(), 100);
        zorp.SetKey(77);
        const std::string packed = zorp.CompressString(data, m);
        ASSERT_EQ(packed.size(), 5021u);
        EXPECT_EQ(HeaderOf(packed).MethodIDString(), "NON");
        EXPECT_EQ(packed.substr(21), Scrambled(data, 77));
        EXPECT_EQ(zorp.LastRatio(), 100); // 5021 * 100 / 5000
        EXPECT_EQ(zorp.ExpandString(packed), data);
    }
    zorp.SetKey(9);
    zorp.CompressString(RandomBytes(1000, 12), coLZH5);
    EXPECT_EQ(zorp.GetSavedPercentage(), -2); // 1021 * 100 / 1000 = 102
}

TEST(CompressString, EveryMethodRoundTripsWithAndWithoutKeys) {
    const std::string data = Compressible(30000) + RandomBytes(3000, 5) + std::string(5000, 'z') +
                             std::string(50, '\x94');
    for (const TZorpMethod m : BuiltIn) {
        for (const int32_t key : {0, 1, -5, static_cast<int32_t>(0xDEADBEEF)}) {
            SCOPED_TRACE(testing::Message() << "method " << int(m) << " key " << key);
            TZorp zorp(nullptr);
            zorp.SetKey(key);
            const std::string packed = zorp.CompressString(data, m);
            if (m != coNone) {
                EXPECT_LT(packed.size(), data.size());
            }
            EXPECT_EQ(zorp.ExpandString(packed), data);
        }
    }
}

TEST(Expand, LockedDataDemandsTheRightKey) {
    const std::string data = Compressible(4000);
    for (const TZorpMethod m : BuiltIn) {
        SCOPED_TRACE(int(m));
        TZorp zorp(nullptr);
        zorp.SetKey(-5); // negative keys lock as well
        const std::string packed = zorp.CompressString(data, m);
        EXPECT_EQ(HeaderOf(packed).Lock, 2);

        zorp.SetKey(0);
        fw::TMemoryStream source, dest;
        source.WriteBuffer(packed.data(), static_cast<int32_t>(packed.size()));
        source.SetPosition(0);
        try {
            zorp.Expand(dest, source);
            FAIL() << "locked data expanded without a key";
        } catch (const EInvalidKey& e) {
            EXPECT_STREQ(e.what(), "File locked -- valid key required");
        }
        EXPECT_EQ(source.Position(), 21); // the data were never read

        zorp.SetKey(-6);
        EXPECT_THROW(zorp.ExpandString(packed), EInvalidKey);
        zorp.SetKey(-5);
        EXPECT_EQ(zorp.ExpandString(packed), data);
    }
}

TEST(Expand, ChangedBytesNeverPassSilently) {
    // A changed byte either raises or (when it only touched padding bits or a
    // count the decoder does not need) leaves the expanded data intact.
    const std::string data = Compressible(20000) + RandomBytes(500, 3);
    for (const TZorpMethod m : BuiltIn) {
        TZorp zorp(nullptr);
        zorp.SetKey(m == coNone ? 3 : 0); // stored data carry a header only with a key
        const std::string packed = zorp.CompressString(data, m);
        ASSERT_EQ(HeaderOf(packed).MethodIDString(), MethodIDs[m]);
        int raised = 0;
        for (size_t at = 21; at < packed.size(); at += 97) {
            SCOPED_TRACE(testing::Message() << "method " << int(m) << " byte " << at);
            std::string damaged = packed;
            damaged[at] = static_cast<char>(damaged[at] ^ 0x10);
            try {
                EXPECT_EQ(zorp.ExpandString(damaged), data);
            } catch (const EBadChecksum&) {
                ++raised;
            } catch (const ELZHBadDecodeTable&) {
                EXPECT_EQ(m, coLZH5);
                ++raised;
            } catch (const EInvalidKey&) {
                EXPECT_EQ(m, coNone); // locked data: a wrong sum reads as a wrong key
                ++raised;
            }
        }
        EXPECT_GT(raised, 0);
    }
}

TEST(Expand, SizeOtherThanTheHeaderSaysRaises) {
    // Ends in long runs: the last token of LZH and LZH5 is a match.
    const std::string data = Compressible(5000) + std::string(300, 'x');
    const auto n = static_cast<int32_t>(data.size());
    for (const TZorpMethod m : BuiltIn) {
        const int32_t key = m == coNone ? 3 : 0; // stored data carry a header only with a key
        TZorp zorp(nullptr);
        zorp.SetKey(key);
        const std::string packed = zorp.CompressString(data, m);
        for (const int32_t size : {n + 1, n + 1000, n - 1}) {
            SCOPED_TRACE(testing::Message() << "method " << int(m) << " size " << size);
            // The decoders stop at the header's size, the other methods at the
            // end of the data; the checksum is forged to what they write, so
            // that only the size tells.
            const bool cut = m == coLZH || m == coLZH5;
            const std::string written = cut ? data.substr(0, static_cast<size_t>(size)) : data;
            const std::string forged = Reheadered(packed, size, ByteSum(written) + key);
            fw::TMemoryStream source, dest;
            source.WriteBuffer(forged.data(), static_cast<int32_t>(forged.size()));
            source.SetPosition(0);
            try {
                zorp.Expand(dest, source);
                FAIL() << "a wrong size passed";
            } catch (const EBadChecksum& e) {
                EXPECT_EQ(e.Message(), "Expanded size differs from header (" + std::to_string(n) +
                                           " bytes, header says " + std::to_string(size) +
                                           ") -- data may be invalid");
            }
            EXPECT_EQ(dest.DataString(), written);
        }
    }
}

TEST(Expand, SourceEndingBeforeItsSizeRaisesAReadError) {
    const std::string data = Compressible(30000);
    for (const TZorpMethod m : BuiltIn) {
        SCOPED_TRACE(int(m));
        TZorp zorp(nullptr);
        zorp.SetKey(m == coNone ? 3 : 0);
        const std::string packed = zorp.CompressString(data, m);
        CutShortStream shortData(data.substr(0, 20000), 30000);
        CutShortStream shortPacked(packed.substr(0, packed.size() - 30),
                                   static_cast<int64_t>(packed.size()));
        fw::TMemoryStream dest;
        for (const bool compress : {true, false}) {
            try {
                if (compress)
                    zorp.Compress(dest, shortData, m);
                else
                    zorp.Expand(dest, shortPacked);
                FAIL() << "the data were taken as complete";
            } catch (const fw::EReadError& e) {
                EXPECT_STREQ(e.what(), "Stream read error: the data ended before its stated size");
            }
        }
    }
}

TEST(Expand, UnknownMethodsRaiseBeforeReadingOrWriting) {
    const std::pair<int, const char*> cases[] = {
        {5, "Unsupported compression method 5"},
        {255, "Unsupported compression method 255"},
        {coCustom, "Unsupported compression method \"CUS\": no OnExpand handler"},
    };
    for (const auto& [method, message] : cases) {
        TZorp zorp(nullptr);
        CountingStream source(Compressible(100));
        CountingStream dest;
        try {
            zorp.DoExpand(dest, source, 100, 100, 0, static_cast<TZorpMethod>(method), "CUS", 0);
            FAIL() << method;
        } catch (const EUnrecognizedCompressionMethod& e) {
            EXPECT_STREQ(e.what(), message);
        }
        EXPECT_TRUE(source.Reads.empty());
        EXPECT_TRUE(dest.Writes.empty());
    }
}

TEST(Expand, DataWithoutHeaderComeBackUnchanged) {
    TZorp zorp(nullptr);
    const std::string plain = Compressible(500);
    EXPECT_EQ(zorp.ExpandString(plain), plain);
    // 21 bytes or fewer are data, even when they begin with the magic.
    const std::string magic = std::string("WELM\x1A", 5) + "LZH" + std::string(13, '\0');
    EXPECT_EQ(zorp.ExpandString(magic), magic);
    EXPECT_EQ(zorp.ExpandString(magic.substr(0, 10)), magic.substr(0, 10));
}

TEST(Expand, EmptyStringLockedWithAKeyComesBackEmpty) {
    TZorp zorp(nullptr);
    zorp.SetKey(42);
    const std::string packed = zorp.CompressString("", coLZH5);
    EXPECT_EQ(packed.size(), 21u);
    EXPECT_EQ(zorp.ExpandString(packed), "");
    zorp.SetKey(0); // without a key, 21 bytes are data as they stand
    EXPECT_EQ(zorp.ExpandString(packed), packed);
    zorp.SetKey(43);
    EXPECT_THROW(zorp.ExpandString(packed), EInvalidKey);
}

TEST(Expand, ArchiveHeaderIsRefusedBeforeWriting) {
    TZorp zorp(nullptr);
    std::string packed = zorp.CompressString(Compressible(300), coLZH);
    packed[12] = caMulti;
    fw::TMemoryStream source, dest;
    source.WriteBuffer(packed.data(), static_cast<int32_t>(packed.size()));
    source.SetPosition(0);
    try {
        zorp.Expand(dest, source);
        FAIL();
    } catch (const EInvalidHeaderArchiveType& e) {
        EXPECT_STREQ(e.what(), "Expand can't handle caMulti archive type in compressed header");
    }
    EXPECT_EQ(dest.Size(), 0);
}

TEST(Expand, ForgedSizeDoesNotReserveGigabytes) {
    TZorp zorp(nullptr);
    std::string packed = zorp.CompressString(Compressible(3000), coLZH5);
    packed[8] = '\xFF';
    packed[9] = '\xFF';
    packed[10] = '\xFF';
    packed[11] = '\x7F';
    fw::TMemoryStream source, dest;
    source.WriteBuffer(packed.data(), static_cast<int32_t>(packed.size()));
    source.SetPosition(0);
    EXPECT_THROW(zorp.Expand(dest, source), EBadChecksum);
    EXPECT_EQ(dest.Size(), 3000);
}

TEST(Compress, AppendsBehindExistingDataAndLeavesDestAtTheEnd) {
    TZorp zorp(nullptr);
    const std::string data = Compressible(3000);
    fw::TMemoryStream source, dest;
    source.WriteBuffer(data.data(), 3000);
    source.SetPosition(0);
    dest.WriteBuffer(std::string(100, 'p').data(), 100);
    zorp.Compress(dest, source, coLZH5);
    EXPECT_EQ(dest.Position(), dest.Size());
    const std::string all = dest.DataString();
    EXPECT_EQ(all.substr(100, 8), "WELM\x1ALH5");
    fw::TMemoryStream packed, back;
    packed.WriteBuffer(all.data() + 100, static_cast<int32_t>(all.size() - 100));
    packed.SetPosition(0);
    zorp.Expand(back, packed);
    EXPECT_EQ(back.DataString(), data);
}

TEST(Compress, SourceIsTakenFromItsPosition) {
    TZorp zorp(nullptr);
    const std::string data = Compressible(2000);
    fw::TMemoryStream source, dest;
    source.WriteBuffer("skipped!", 8);
    source.WriteBuffer(data.data(), 2000);
    source.SetPosition(8);
    zorp.Compress(dest, source, coLZH);
    EXPECT_EQ(HeaderOf(dest.DataString()).Size, 2000);
    EXPECT_EQ(zorp.ExpandString(dest.DataString()), data);
    // The fallback rereads from the same place.
    const std::string noise = RandomBytes(2000, 9);
    fw::TMemoryStream source2, dest2;
    source2.WriteBuffer("skipped!", 8);
    source2.WriteBuffer(noise.data(), 2000);
    source2.SetPosition(8);
    zorp.Compress(dest2, source2, coLZH);
    EXPECT_EQ(dest2.DataString(), noise);
}

TEST(Compress, CancelAtTheOpeningEventRaisesAndTakesTheHeaderBack) {
    TZorp zorp(nullptr);
    zorp.SetKey(10);
    std::vector<int32_t> events;
    zorp.OnShowProgress = [&](int32_t& p) {
        events.push_back(p);
        p = -1;
    };
    const std::string data = Compressible(5000);
    fw::TMemoryStream source, dest;
    source.WriteBuffer(data.data(), 5000);
    source.SetPosition(0);
    EXPECT_THROW(zorp.Compress(dest, source, coLZH), EOperationCancelled);
    EXPECT_EQ(dest.Size(), 0);
    EXPECT_EQ(events, (std::vector<int32_t>{0}));
}

TEST(Compress, FallbackRunsTheEventsTwice) {
    TZorp zorp(nullptr);
    std::vector<int32_t> events;
    zorp.OnShowProgress = [&](int32_t& p) { events.push_back(p); };
    zorp.CompressString(RandomBytes(10000, 1), coLZH5);
    // The abandoned run ends without its 100; the stored run is complete.
    ASSERT_GE(events.size(), 4u);
    EXPECT_EQ(events.front(), 0);
    EXPECT_EQ(std::vector<int32_t>(events.end() - 4, events.end()),
              (std::vector<int32_t>{0, 81, 100, 100}));
}

TEST(CustomMethod, HandlersGetTheDataAndTheirIdGoesIntoTheHeader) {
    TZorp zorp(nullptr);
    zorp.SetKey(4);
    // A toy method: every byte once, then the count, checksum = length.
    zorp.OnCompress = [](fw::TStream& dest, fw::TStream& source, std::string& id, int32_t& size,
                         int32_t& checksum) {
        std::string all(static_cast<size_t>(source.Size() - source.Position()), '\0');
        source.ReadBuffer(all.data(), static_cast<int32_t>(all.size()));
        const std::string out = all.substr(0, 300);
        dest.WriteBuffer(out.data(), 300);
        id = "TOY";
        size = 300;
        checksum = static_cast<int32_t>(all.size());
    };
    const std::string data(1000, 'k');
    const std::string packed = zorp.CompressString(data, coCustom);
    ASSERT_EQ(packed.size(), 321u);
    const TZorpHeader h = HeaderOf(packed);
    EXPECT_EQ(h.MethodIDString(), "TOY");
    EXPECT_EQ(h.Checksum, 1004);
    EXPECT_EQ(packed.substr(21), data.substr(0, 300)); // not scrambled
    EXPECT_EQ(zorp.GetSavedPercentage(), 68);

    EXPECT_THROW(zorp.ExpandString(packed), EUnrecognizedCompressionMethod);
    std::vector<std::string> calls;
    zorp.OnRecognize = [&](const std::string& id, bool& ok) {
        calls.push_back("recognize " + id);
        ok = id == "TOY";
    };
    zorp.OnExpand = [&](fw::TStream& dest, fw::TStream& source, int32_t sourceSize,
                        int32_t destSize, const std::string& id, int32_t& checksum) {
        calls.push_back("expand " + id + " " + std::to_string(sourceSize) + " " +
                        std::to_string(destSize));
        source.Seek(sourceSize, fw::soCurrent);
        const std::string out(static_cast<size_t>(destSize), 'k');
        dest.WriteBuffer(out.data(), destSize);
        checksum = destSize;
    };
    EXPECT_EQ(zorp.ExpandString(packed), data);
    EXPECT_EQ(calls, (std::vector<std::string>{"recognize TOY", "expand TOY 300 1000"}));
    // A handler that writes another size than the header's, with the right checksum.
    zorp.OnExpand = [](fw::TStream& dest, fw::TStream&, int32_t, int32_t destSize,
                       const std::string&, int32_t& checksum) {
        dest.WriteBuffer(std::string(999, 'k').data(), 999);
        checksum = destSize;
    };
    try {
        zorp.ExpandString(packed);
        FAIL() << "999 bytes passed for 1000";
    } catch (const EBadChecksum& e) {
        EXPECT_STREQ(e.what(), "Expanded size differs from header (999 bytes, header says 1000) "
                               "-- data may be invalid");
    }
}

TEST(CustomMethod, WithoutAHandlerIsStored) {
    TZorp zorp(nullptr);
    const std::string data = Compressible(200);
    EXPECT_EQ(zorp.CompressString(data, coCustom), data);
    fw::TMemoryStream source, dest;
    source.WriteBuffer(data.data(), 200);
    source.SetPosition(0);
    std::string id = "CUS";
    int32_t checksum = 55;
    EXPECT_EQ(zorp.DoCompress(dest, source, coCustom, id, checksum), 0);
    EXPECT_EQ(checksum, 0);
    EXPECT_EQ(dest.Size(), 0);
}

// The component's single-stream format through the buffer: the header is
// written first and rewritten at the end, and data that do not shrink make
// the run go back and store them.
TEST(TZorp, CompressAndExpandThroughBufferedStreamsByteForByte) {
    const std::string text = ReadWholeFile(CorpusFiles().at(0));
    const std::string noise = RandomBytes(5000, 10);
    for (const std::string* data : {&text, &noise}) {
        TZorp zorp(nullptr);
        zorp.SetKey(0x1234);
        CountingStream source(*data);
        CountingStream packed;
        {
            fw::TBufferedStream in(source, 1000);
            fw::TBufferedStream out(packed, 1000);
            zorp.Compress(out, in, coLZH5);
            out.Flush();
        }
        EXPECT_EQ(packed.DataString(), zorp.CompressString(*data, coLZH5));
        packed.SetPosition(0);
        CountingStream expanded;
        {
            fw::TBufferedStream in(packed, 1000);
            fw::TBufferedStream out(expanded, 1000);
            zorp.Expand(out, in);
            out.Flush();
        }
        EXPECT_EQ(expanded.DataString(), *data);
    }
}

} // namespace
} // namespace zorp::test
