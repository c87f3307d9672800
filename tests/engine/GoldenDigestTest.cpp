// The compressed bytes of every method are pinned: one table of SHA-256
// digests (RLE, LZH, LZH5) over the corpus and over generated inputs,
// recorded once the codecs passed their round trips and the LHA decoder
// checks. Any change to the codecs, optimisations included, must reproduce
// them exactly; a deliberate change of the output updates them in a commit
// of its own that says why (CONTRIBUTING.md). The same corpus also goes
// through the stream driver and back with each codec.
#include "engine/EngineRun.h"

#include "common/Errors.h"
#include "component/Zorp.h"

#include "support/Sha256.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace zorp::test {
namespace {

struct Golden {
    const char* Rle;
    const char* Lzh;
    const char* Lh5;
};

const std::map<std::string, Golden>& CorpusDigests() {
    static const std::map<std::string, Golden> digests = {
        {"alice29.txt",
         {"e6593da8e35051290e54eac15afbed16eb405d54d81fb7db4f7d63b8c7bdb494",
          "44723160678ce1269d589d899e36f9bb1379fa7a782daebdedff0f40c05a93a0",
          "b431c0066bad12822ff5e805b90f7df881e5e542abbea43c4a3039738960d206"}},
        {"asyoulik.txt",
         {"f4061eb89ef3ce8fb535be705d63507acca2341aafb3f29eddf19af5be57ca68",
          "b858c057179a32d997066261cf6674006fe7da2fabba336903f69050fc6533c3",
          "faa8b8dda19dcd5558ff01adb9e9c1232b03dd21202841d9f71994aa8aae9f92"}},
        {"fireworks.jpeg",
         {"062a6cdcd644cfc2beacb3d4a5400cbbf8c29aa91ae291cbb10f695ed5926df9",
          "f8bc93c7604c5c71a7d22903a793a505ac551357fab10e61d8124e33cb38bce7",
          "e3fd17f94997134b012fc2ba606009f9dab2986c91d41fb780961b1d5d70b253"}},
        {"geo.protodata",
         {"ee86c9aefa8318bddd7f5384e55e2732a8572062ce9a4e43ce24df2e680f8a9e",
          "d4d467c3bb056b9c7be856210d6eb363f8a4b0cf762311cfc335d39390f71eb4",
          "6dffbd4e2f71953142ac712c6c1cb5e966f7e71df8a8621d8ee42454d5a1a845"}},
        {"html",
         {"42194b9bfac38325a35ce766289048409d9172affa11c5ea20d154d4feb9f845",
          "0d06bbb195c0983b9f19b61851f0ce4f9c3161538a43a7bb9bd08a1eaf5c91e1",
          "fe97589c971e0f46ae078105310d41dbdc455dd85080842a1dd23ac9bb36b445"}},
        {"html_x_4",
         {"d76c0cd79b5489083e592cfb5f9b35b22ef304d68bffefb61f0723a56d3cd608",
          "26177ce5b35240c3665ac0a9e0e995eb15085aecb1e746777d9b661082f874a3",
          "bf378ded4d15b26b5b6cbb239add2482172d43402eb5cbbb31406d13ba212978"}},
        {"kppkn.gtb",
         {"60a470a8a76e120d9bb6865bfcefd2d1ce9aa54708445c23b10d8a2b2ae91792",
          "9a55b9a39b56622730ccb1ba5a6940874ece1e49dcf1c0259fd892faea2c4605",
          "267ab7fb0b0ac58cce26b16c91da8c1ec7f045871281a63cd6bf4a200af933a6"}},
        {"lcet10.txt",
         {"e1ca9ef87f8159684bff4c1ea6cabeee7a0f414163e49a25e576d4a492f8aba9",
          "1a46b6ac289fc673836efda027fe708d4e798aeba50a4b1ecba3b5d3ab238f2f",
          "5ab4d3fdff02a3caf4af5ee52d23064e63968ebd34e29a366596d9743f020b9d"}},
        {"paper-100k.pdf",
         {"a67378268ee85f7c903bdda7f76e06ce75f05be2daf4cc2da58eaa6f8bfb0ee4",
          "f98e592119862b2384809bad8416c355cadcd555ddfe942760592910e1c81ec6",
          "97783bc0c40f5511176d3b283b46e6797cdb80a11be05aba87a7b46fe6abd1cc"}},
        {"plrabn12.txt",
         {"aa19c319da5e1213ea9a93ca788998129f225dabdfdef01eb44ba6fc0069d1e5",
          "de6f0e7bb6b316bdbefc776c2d589e671f787fa7aa4dee9e34fe4f3d8c70a35b",
          "2e1d97dc1324c09c31bbba6334024589adfbcc86ea51b16914523aa71652f00f"}},
        {"urls.10K",
         {"8967e02411c7a5fb84a503bb6545161869f72ca8ed2b484f2670d0400ddb0bf0",
          "93e9dcc72bf2f28562450c3de1f3a726dba3e246ec1eb8c5a7c6fbf19e6f93bb",
          "8e4e7e251c48521fad53e62c282deda9f93e4b5b6eff62b4df7fee099ab934c5"}},
    };
    return digests;
}

// Small inputs whose last tokens read the look-ahead beyond the data.
const std::map<std::string, Golden>& GeneratedDigests() {
    static const std::map<std::string, Golden> digests = {
        {"A",
         {"559aead08264d5795d3909718cdd05abd49572e84fe55590eef31a88a08fdffd",
          "f871fad07d5d05c15d460dd7490c841490525e10b8f8682f27e210de1c71a455",
          "bddea5f4e2e3594659f0f03b0a339abc1d2fbc1800efa0129f4104a8b4208376"}},
        {"abc x 20",
         {"ca22c3641057a560534c040f51c6f6818c399ae9e47d35b4a9792750c2287f67",
          "25cd141b8c11528545cca769d787e993b6b87e0e980a3e7a444592c2a1703ddc",
          "2101d38f5d86ea48d23030850ec47a445ecea3ed83897329c01c5173d68c6c63"}},
        {"random 4097",
         {"86ed35b1052b13583160e9fd942ab0db1de6b0b7dbf43ae5175dadb064a3327d",
          "9c9c6146043c38b56f39058fa00c4b4235a3b07d66ff2cfd906ec033bc2145f5",
          "a5acabe803e1353bdea669edeb6b9e1bff984858061425060f0ad075b613e0dc"}},
        {"random 59",
         {"a210532847088ff8127de7d73a1bdab41e363dcc113621bbc65af705d56131fa",
          "319631fa4e2f6de660623ae798b8ee29bddb27684303560b33175c24f15dd33b",
          "cbf2c722d04ccf6405b871e605e4c24a80f4806988c5f0a64c2fa338bc10f832"}},
        {"repeat near end",
         {"99d42b5f57170e75467e04cad6f02af45746807342eb4b865230893f715a3f0a",
          "427fd6bdd9c73241042bf3ef29cc1d106066a0386a55957a7aec4c1f239ce09e",
          "d72333697e14ed1a8622a260ec748e7faf51e076f6b808f59dcfb7bc684f9e50"}},
        // Recorded with the LZH compressor as it was before its match search
        // was restructured.
        {"period 4096",
         {"be12edb7c016a4acbfcd8448e98d19c00aab3a6f9f0c03c6ee8359c073be51b6",
          "59e453239d22abf388474b0738f0d0719cff434d5c74c81f8b9edadf7e491f9d",
          "3218644262ca8ef717bf0f7d7755bde5bd93861a3a77a002025524e7fe89f031"}},
        {"run of 70000",
         {"a14ede1a98300b832f76bc40f9238f03dd40ba7742710827c0fca37a47ae244a",
          "79e28ea260ac814bd5db15451f334154aa0e95815c079df24abdb38545d7425c",
          "d30008105789e8d11a4e675ee3e3248535e458747ce989cea6ce8c8dcd9f6e1b"}},
        {"skewed 200000",
         {"478000f98051db81faf078dfe99e3a7c71ac332f6640ecbe4fead454fa28ddbd",
          "32f2bd469c7d603f32b9fdb7bca1bd93676450c69107a276bce1c7cfd9ab6a99",
          "db7e8c5be7cfd119b7fb59b4b4536e578ff58d5765d588dd21cf455795550ecf"}},
        {"two letters 20000",
         {"34d27679fc03b800b2b6b0941b62b99a321521b4d22f15ab17116a7f9955d9ee",
          "1fedf09faadcff3a859690b54bddff493c654f7b7ffe16f78f83b6b0c59b36d3",
          "1d9e4838a3833237cbb255d42c8e06053e28e90510e2e330c0766afcf3ce9e0e"}},
    };
    return digests;
}

std::map<std::string, std::string> GeneratedInputs() {
    std::map<std::string, std::string> inputs;
    inputs["A"] = "A";
    inputs["abc x 20"] =
        std::string("abcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabcabc");
    inputs["random 59"] = RandomBytes(59, 59);
    inputs["random 4097"] = RandomBytes(4097, 4097);
    std::string tail = RandomBytes(3000, 1);
    tail += tail.substr(100, 40) + "xyz" + tail.substr(100, 45);
    inputs["repeat near end"] = tail;
    // Full-length matches all the way, where a new string replaces its equal
    // in the tree.
    inputs["run of 70000"] = std::string(70000, 'a');
    // Matches of equal length everywhere: the nearest must win.
    std::string twoLetters = RandomBytes(20000, 2);
    for (char& c : twoLetters)
        c = (c & 1) != 0 ? 'a' : 'b';
    inputs["two letters 20000"] = twoLetters;
    // Repeats at the far end of the window, broken here and there.
    std::string far = RandomBytes(4096, 3);
    far += far + far.substr(0, 4000) + far;
    for (size_t i = 5000; i < far.size(); i += 997)
        far[i] = static_cast<char>(far[i] ^ 0x55);
    inputs["period 4096"] = far;
    // Mostly one byte value: rare symbols get long codes and the code tree
    // is rebuilt many times.
    std::string skewed = RandomBytes(200000, 4);
    for (size_t i = 0; i < skewed.size(); ++i)
        if ((static_cast<uint8_t>(skewed[i]) & 3) != 0)
            skewed[i] = 'x';
    inputs["skewed 200000"] = skewed;
    return inputs;
}

void Check(const std::string& Name, const std::string& Data, const Golden* Expected) {
    const std::string rle = Sha256Hex(CompressRLE(Data));
    const std::string lzh = Sha256Hex(CompressLZH(Data));
    const std::string lh5 = Sha256Hex(CompressLZH5(Data));
    ASSERT_NE(Expected, nullptr) << "no digests for " << Name << ": {\"" << Name << "\", {\"" << rle
                                 << "\", \"" << lzh << "\", \"" << lh5 << "\"}},";
    EXPECT_EQ(rle, Expected->Rle) << Name << " (RLE)";
    EXPECT_EQ(lzh, Expected->Lzh) << Name << " (LZH)";
    EXPECT_EQ(lh5, Expected->Lh5) << Name << " (LZH5)";
}

TEST(GoldenDigests, CorpusCompressesToTheRecordedBytes) {
    const auto files = CorpusFiles();
    ASSERT_EQ(files.size(), CorpusDigests().size());
    for (const std::string& file : files) {
        const std::string name = std::filesystem::path(file).filename().string();
        const auto found = CorpusDigests().find(name);
        Check(name, ReadWholeFile(file), found == CorpusDigests().end() ? nullptr : &found->second);
    }
}

TEST(GoldenDigests, GeneratedInputsCompressToTheRecordedBytes) {
    const auto inputs = GeneratedInputs();
    ASSERT_EQ(inputs.size(), GeneratedDigests().size());
    for (const auto& [name, data] : inputs) {
        const auto found = GeneratedDigests().find(name);
        Check(name, data, found == GeneratedDigests().end() ? nullptr : &found->second);
    }
}

// Each codec through the stream driver, with and without a key: the driver
// writes the codec's bytes as they are (scrambled under a key), the data and
// the checksum come back, and only output that does not shrink is refused.
TEST(Driver, RoundTripsTheCorpusWithAndWithoutAKey) {
    const auto files = CorpusFiles();
    ASSERT_FALSE(files.empty());
    const std::pair<TZorpMethod, Codec> methods[] = {
        {coRLE, Codec::CompressRLE}, {coLZH, Codec::CompressLZH}, {coLZH5, Codec::CompressLZH5}};
    for (const auto& [method, compressor] : methods)
        for (const std::string& file : files) {
            const std::string data = ReadWholeFile(file);
            const std::string direct = CodecOutput(compressor, data);
            for (const uint32_t key : {0u, 0x879B2C21u}) {
                SCOPED_TRACE(testing::Message()
                             << CodecName(compressor) << " " << file << " key " << key);
                TZorp zorp(nullptr);
                zorp.SetKey(static_cast<int32_t>(key));
                CountingStream source(data), packed;
                int32_t sum = 0;
                const auto size = static_cast<int32_t>(data.size());
                int32_t packedSize = 0;
                try {
                    packedSize = zorp.ProcessStreams(packed, source, size, 0, method, sum,
                                                     cmCompress, false);
                } catch (const EUnableToCompress&) {
                    EXPECT_GE(direct.size(), data.size());
                    continue;
                }
                EXPECT_EQ(packed.DataString(), Scrambled(direct, key));
                EXPECT_EQ(packedSize, static_cast<int32_t>(packed.Size()));
                EXPECT_EQ(static_cast<uint32_t>(sum), ByteSum(data));
                packed.SetPosition(0);
                CountingStream expanded;
                int32_t expandedSum = 0;
                zorp.ProcessStreams(expanded, packed, packedSize, size, method, expandedSum,
                                    cmExpand, key != 0);
                EXPECT_EQ(expanded.DataString(), data);
                EXPECT_EQ(expandedSum, sum);
            }
        }
}

} // namespace
} // namespace zorp::test
