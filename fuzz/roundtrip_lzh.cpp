// Compresses arbitrary bytes with LZH and expands them again with the input's
// size as the count: the result must be the input, byte for byte.
#include "CodecHarness.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using zorp::TCompThreadSafety;
    const std::string packed =
        zorp::fuzz::RunCodec(data, size, [](TCompThreadSafety& e) { e.CompressLZH(); });
    const auto count = static_cast<int32_t>(size);
    const std::string out =
        zorp::fuzz::RunCodec(zorp::fuzz::Bytes(packed), packed.size(),
                             [count](TCompThreadSafety& e) { e.ExpandLZH(count); });
    if (out.size() != size || (size > 0 && std::memcmp(out.data(), data, size) != 0))
        std::abort();
    return 0;
}
