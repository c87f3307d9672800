// Compresses arbitrary bytes with RLE and expands them again: the result must
// be the input, byte for byte.
#include "CodecHarness.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using zorp::TCompThreadSafety;
    const std::string packed =
        zorp::fuzz::RunCodec(data, size, [](TCompThreadSafety& e) { e.CompressRLE(); });
    const std::string out = zorp::fuzz::RunCodec(zorp::fuzz::Bytes(packed), packed.size(),
                                                 [](TCompThreadSafety& e) { e.ExpandRLE(); });
    if (out.size() != size || (size > 0 && std::memcmp(out.data(), data, size) != 0))
        std::abort();
    return 0;
}
