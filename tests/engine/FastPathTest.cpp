// Every codec's fast paths held against its byte-at-a-time path
// (RunSetup::ByteAtATime) on the same input and settings: the whole trace of
// the run must be the same (the central rule of the engine).
#include "engine/EngineRun.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace zorp::test {
namespace {

constexpr uint32_t Key = 0x1F2E3D4C;

struct Input {
    std::string Name;
    std::string Data;
};

std::vector<Input> Inputs() {
    std::string text;
    for (const std::string& file : CorpusFiles())
        if (file.ends_with("alice29.txt"))
            text = ReadWholeFile(file).substr(0, 50000);
    std::string runs;
    for (int i = 0; runs.size() < 30000; ++i)
        runs += std::string(static_cast<size_t>(1 + i % 300), static_cast<char>(0x91 + i % 5));
    // Bytes around the run-length marker 0x94, so that short runs abound.
    std::string markers = RandomBytes(20000, 9);
    for (char& c : markers)
        c = static_cast<char>(0x93 + (static_cast<uint8_t>(c) & 3));
    return {{"empty", ""},  {"one byte", "q"}, {"random", RandomBytes(20000, 13)},
            {"runs", runs}, {"text", text},    {"markers", markers}};
}

struct Setting {
    std::string Name;
    std::function<void(RunSetup&, int32_t& Count, size_t Size)> Apply;
    bool Complete; // the run puts out all the data (no budget, cancel or short count)
};

std::vector<Setting> Settings(bool Expander) {
    std::vector<Setting> settings = {
        {"plain", [](RunSetup&, int32_t&, size_t) {}, true},
        {"read chunk 7", [](RunSetup& s, int32_t&, size_t) { s.ReadChunk = 7; }, true},
        {"read chunk 4099", [](RunSetup& s, int32_t&, size_t) { s.ReadChunk = 4099; }, true},
        {"budget 8193", [](RunSetup& s, int32_t&, size_t) { s.Budget = 8193; }, false},
        {"budget a third",
         [](RunSetup& s, int32_t&, size_t size) { s.Budget = static_cast<int32_t>(size / 3 + 1); },
         false},
        {"cancel at event 0",
         [](RunSetup& s, int32_t&, size_t) {
             s.ReadChunk = 3000;
             s.CancelAt = 0;
         },
         false},
        {"cancel at event 2",
         [](RunSetup& s, int32_t&, size_t) {
             s.ReadChunk = 3000;
             s.CancelAt = 2;
         },
         false},
        {"key on input",
         [](RunSetup& s, int32_t&, size_t) {
             s.Key = Key;
             s.Descramble = true;
         },
         true},
        {"key on output",
         [](RunSetup& s, int32_t&, size_t) {
             s.Key = Key;
             s.Scramble = true;
         },
         true},
        // The driver keys one side only, but both sides share one key position.
        {"key on both sides",
         [](RunSetup& s, int32_t&, size_t) {
             s.Key = Key;
             s.Descramble = s.Scramble = true;
         },
         false},
    };
    if (Expander) {
        settings.push_back({"count short",
                            [](RunSetup&, int32_t& count, size_t size) {
                                count = static_cast<int32_t>(size / 2 + 7);
                            },
                            false});
        settings.push_back({"count past the end",
                            [](RunSetup&, int32_t& count, size_t size) {
                                count = static_cast<int32_t>(size + 1000);
                            },
                            false});
    }
    return settings;
}

Codec CompressorOf(Codec Expander) {
    return Expander == Codec::ExpandRLE   ? Codec::CompressRLE
           : Expander == Codec::ExpandLZH ? Codec::CompressLZH
                                          : Codec::CompressLZH5;
}

class FastPath : public testing::TestWithParam<Codec> {};

TEST_P(FastPath, LeavesTheTraceOfByteAtATime) {
    const Codec codec = GetParam();
    const bool expander = IsExpander(codec);
    std::vector<Input> inputs = Inputs();
    ASSERT_FALSE(inputs[4].Data.empty()) << "corpus missing";
    if (expander) {
        // The stream of each input; then a stream cut short and garbage.
        for (Input& in : inputs)
            in.Data = CodecOutput(CompressorOf(codec), in.Data);
        inputs.push_back({"text cut short", inputs[4].Data.substr(0, inputs[4].Data.size() / 2)});
        inputs.push_back({"garbage", RandomBytes(3000, 21)});
    }
    const std::vector<Input> plain = Inputs();
    for (size_t i = 0; i < inputs.size(); ++i) {
        const Input& in = inputs[i];
        // What the input stands for: the data before compression.
        const std::string* data = i < plain.size() ? &plain[i].Data : nullptr;
        const size_t size = expander ? (data != nullptr ? data->size() : 100000) : in.Data.size();
        for (const Setting& setting : Settings(expander)) {
            SCOPED_TRACE(testing::Message()
                         << CodecName(codec) << ", " << in.Name << ", " << setting.Name);
            RunSetup setup{in.Data};
            int32_t count = static_cast<int32_t>(size);
            setting.Apply(setup, count, size);
            if (expander && setup.Descramble)
                setup.Input = Scrambled(setup.Input, Key);
            const RunTrace fast = EngineRun(setup).Run(codec, count);
            setup.ByteAtATime = true;
            const RunTrace reference = EngineRun(setup).Run(codec, count);
            // The LZH5 bit reader holds input bytes it took ahead of use; the
            // stored copy raises at the budget before the byte loop would take
            // one more byte. Neither is seen by anyone.
            const bool takenAhead = codec == Codec::ExpandLZH5 ||
                                    (codec == Codec::StoredCopy && !reference.Raised.empty());
            EXPECT_TRUE(SameTrace(fast, reference, takenAhead ? IgnoreTakenAhead : 0));
            // The settings do what they are for.
            EXPECT_TRUE(reference.InSumOfTaken);
            if (setting.Complete && expander && data != nullptr) {
                EXPECT_EQ(reference.Output, setup.Scramble ? Scrambled(*data, Key) : *data);
            }
            if (setting.Complete && !expander && reference.Raised.empty()) {
                EXPECT_EQ(reference.InSum, ByteSum(setup.Input));
            }
            if (setup.ReadChunk == 7 && data != nullptr && data->size() > 1000) {
                EXPECT_GT(reference.Log.size(), 100u);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Codecs, FastPath,
                         testing::Values(Codec::StoredCopy, Codec::CompressRLE, Codec::ExpandRLE,
                                         Codec::CompressLZH, Codec::ExpandLZH, Codec::ExpandLZH5),
                         [](const testing::TestParamInfo<Codec>& param) {
                             return std::string(CodecName(param.param));
                         });

} // namespace
} // namespace zorp::test
