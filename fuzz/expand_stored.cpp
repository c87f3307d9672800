// Expands arbitrary bytes with the stored method, keyed and not: the byte
// I/O must stay inside its buffers and report the byte sum.
#include "component/Zorp.h"
#include "framework/base/MemoryStream.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zorp::fw::TMemoryStream source;
    source.WriteBuffer(data, static_cast<int32_t>(size));
    source.SetPosition(0);
    zorp::fw::TMemoryStream dest;
    zorp::TZorp zorp(nullptr);
    zorp.SetKey(size > 0 ? data[0] : 0);
    int32_t checksum = 0;
    zorp.ProcessStreams(dest, source, static_cast<int32_t>(size), 0, zorp::coNone, checksum,
                        zorp::cmExpand, true);
    if (dest.Size() != static_cast<int64_t>(size))
        std::abort();
    return 0;
}
