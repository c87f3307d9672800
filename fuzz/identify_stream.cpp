// Identifies arbitrary bytes as a stream or archive of ours. Only headers may
// be read, the position must come back, and the verdict on an archive must
// agree with the archive walk that listing uses: an intact archive lists its
// counted entries without EArchiveDamaged, a damaged one never lists.
#include "component/Headers.h"
#include "component/StreamIdentity.h"
#include "component/Zorp.h"
#include "framework/base/ReadOnlyMemoryStream.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

// Identifies the bytes from Start on and checks the verdict.
void Check(std::string_view Bytes, int64_t Start) {
    zorp::fw::TReadOnlyMemoryStream stream(Bytes);
    stream.SetPosition(Start);
    const std::optional<zorp::TZorpStreamInfo> info = zorp::IdentifyStream(stream);
    if (stream.Position() != Start)
        std::abort();
    if (!info)
        return;
    if (info->StoredSize != static_cast<int64_t>(Bytes.size()) - Start || info->EntryCount < 0 ||
        (info->ArchiveType == zorp::caSingle && info->EntryCount != 0))
        std::abort();
    // A header alone lists as nothing, whatever total it claims.
    if (info->ArchiveType != zorp::caMulti || info->StoredSize <= zorp::TZorpHeader::RecordSize)
        return;
    zorp::TZorp zorp(nullptr);
    bool listed = false;
    size_t count = 0;
    try {
        count = zorp.ScanCompressedStream(stream).size();
        listed = true;
    } catch (const zorp::EArchiveDamaged&) {
        if (info->Intact)
            std::abort();
    } catch (const std::exception&) {
        return; // refused for another reason (an unknown method): no verdict
    }
    if (listed && (!info->Intact || count != static_cast<size_t>(info->EntryCount)))
        std::abort();
}

} // namespace

// The data from their start, and from a position inside them, which the
// stream must come back to.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Check(bytes, 0);
    if (size > 0)
        Check(bytes, data[size - 1] % static_cast<int64_t>(size + 1));
    return 0;
}
