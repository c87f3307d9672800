// Expands arbitrary bytes as LZH data with a count taken from the first four
// bytes: stays inside its tables, writes no more than the count, and ends
// there or once the input is used up.
#include "CodecHarness.h"

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    int32_t count = 0;
    std::memcpy(&count, data, 4);
    const std::string out = zorp::fuzz::RunCodec(
        data + 4, size - 4, [count](zorp::TCompThreadSafety& e) { e.ExpandLZH(count); });
    if (count <= 0 && !out.empty())
        std::abort();
    if (count > 0 && out.size() > static_cast<size_t>(count))
        std::abort();
    // Every token takes at least one bit, and one token writes at most 60 bytes.
    if (out.size() > ((size - 4) * 8 + 1) * 60)
        std::abort();
    return 0;
}
