// Expands arbitrary bytes as LZH5 data through the stream driver. The first
// three bytes give the count to produce (up to 131071), the rest is the
// stream. The decoder must stay inside its tables, either raise
// ELZHBadDecodeTable or write at least count bytes (a match may run up to
// 255 past), and end.
#include "component/Zorp.h"
#include "engine/Errors.h"
#include "framework/base/MemoryStream.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    const int32_t count = data[0] | data[1] << 8 | (data[2] & 1) << 16;
    zorp::fw::TMemoryStream source;
    if (size > 3)
        source.WriteBuffer(data + 3, static_cast<int32_t>(size - 3));
    source.SetPosition(0);
    zorp::fw::TMemoryStream dest;
    zorp::TZorp zorp(nullptr);
    int32_t checksum = 0;
    try {
        zorp.ProcessStreams(dest, source, static_cast<int32_t>(size - 3), count, zorp::coLZH5,
                            checksum, zorp::cmExpand, false);
    } catch (const zorp::ELZHBadDecodeTable&) {
        return 0;
    }
    if (dest.Size() < count || dest.Size() > count + 255)
        std::abort();
    return 0;
}
