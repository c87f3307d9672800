// Expands arbitrary bytes as RLE data: stays inside its buffers, ends at the
// end of the input and never writes more than 255 bytes per input byte.
#include "CodecHarness.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string out =
        zorp::fuzz::RunCodec(data, size, [](zorp::TCompThreadSafety& e) { e.ExpandRLE(); });
    if (out.size() > size * 255)
        std::abort();
    return 0;
}
