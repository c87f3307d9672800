// Compresses arbitrary bytes with LZH5 (no output budget) and expands the
// result: the bytes must come back exactly, with nothing after them, also
// when more are asked for than the data hold.
#include "engine/CompThreadSafety.h"
#include "framework/base/MemoryStream.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// One run of the engine over Input, set up as the stream driver does.
template <typename Codec> std::string Run(const std::string& Input, Codec&& codec) {
    zorp::fw::TMemoryStream source;
    if (!Input.empty())
        source.WriteBuffer(Input.data(), static_cast<int32_t>(Input.size()));
    source.SetPosition(0);
    zorp::fw::TMemoryStream dest;
    zorp::TCompThreadSafety engine;
    zorp::TRunBuffers buffers(engine);
    engine.Source = &source;
    engine.Dest = &dest;
    engine.InRemaining = static_cast<int32_t>(Input.size());
    engine.ReadChunk = zorp::BufferSize;
    engine.OutBudget = 0x7FFFFFFF;
    codec(engine);
    if (engine.OutPos > engine.OutBuffer)
        dest.WriteBuffer(engine.OutBuffer, static_cast<int32_t>(engine.OutPos - engine.OutBuffer));
    return dest.DataString();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string packed = Run(input, [](zorp::TCompThreadSafety& e) { e.CompressLZH5(); });
    const std::string unpacked =
        Run(packed, [&](zorp::TCompThreadSafety& e) { e.ExpandLZH5(static_cast<int32_t>(size)); });
    if (unpacked != input)
        std::abort();
    const std::string asked = Run(packed, [&](zorp::TCompThreadSafety& e) {
        e.ExpandLZH5(static_cast<int32_t>(size) + 1000);
    });
    if (asked != input)
        std::abort();
    return 0;
}
