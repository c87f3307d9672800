// Compresses arbitrary bytes with LZH5 (no output budget) and expands the
// result: the bytes must come back exactly, with nothing after them, also
// when more are asked for than the data hold.
#include "CodecHarness.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using zorp::TCompThreadSafety;
    using zorp::fuzz::Bytes;
    using zorp::fuzz::RunCodec;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string packed = RunCodec(data, size, [](TCompThreadSafety& e) { e.CompressLZH5(); });
    const auto count = static_cast<int32_t>(size);
    const std::string unpacked = RunCodec(Bytes(packed), packed.size(),
                                          [count](TCompThreadSafety& e) { e.ExpandLZH5(count); });
    if (unpacked != input)
        std::abort();
    const std::string asked = RunCodec(Bytes(packed), packed.size(), [count](TCompThreadSafety& e) {
        e.ExpandLZH5(count + 1000);
    });
    if (asked != input)
        std::abort();
    return 0;
}
