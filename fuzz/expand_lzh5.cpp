// Expands arbitrary bytes as LZH5 data through the stream driver. The first
// three bytes give the count to produce (up to 131071), the rest is the
// stream. The decoder must stay inside its tables, either raise
// ELZHBadDecodeTable or write at most count bytes, and end. It must decode
// nothing from bits past the end of the stream: with more bytes behind it,
// the same output comes first.
#include "common/Errors.h"
#include "component/Zorp.h"
#include "framework/base/MemoryStream.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// The stream followed by Tail bytes 0xFF, expanded for Count into Out; false
// when the decoder raised ELZHBadDecodeTable.
bool Expand(const uint8_t* data, size_t size, size_t tail, int32_t count, std::string& out) {
    zorp::fw::TMemoryStream source;
    if (size > 0)
        source.WriteBuffer(data, static_cast<int32_t>(size));
    const std::string more(tail, '\xFF');
    if (tail > 0)
        source.WriteBuffer(more.data(), static_cast<int32_t>(tail));
    source.SetPosition(0);
    zorp::fw::TMemoryStream dest;
    zorp::TZorp zorp(nullptr);
    int32_t checksum = 0;
    try {
        zorp.ProcessStreams(dest, source, static_cast<int32_t>(size + tail), count, zorp::coLZH5,
                            checksum, zorp::cmExpand, false);
    } catch (const zorp::ELZHBadDecodeTable&) {
        return false;
    }
    out = dest.DataString();
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    const int32_t count = data[0] | data[1] << 8 | (data[2] & 1) << 16;
    std::string out;
    if (!Expand(data + 3, size - 3, 0, count, out))
        return 0;
    if (out.size() > static_cast<size_t>(count))
        std::abort();
    std::string longer;
    if (Expand(data + 3, size - 3, 8, count, longer) && longer.compare(0, out.size(), out) != 0)
        std::abort();
    return 0;
}
