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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    zorp::fw::TReadOnlyMemoryStream stream(bytes);
    const int64_t start = size > 0 ? data[0] % (size + 1) : 0;
    stream.SetPosition(start);
    const std::optional<zorp::TZorpStreamInfo> info = zorp::IdentifyStream(stream);
    if (stream.Position() != start)
        std::abort();
    if (!info)
        return 0;
    if (info->StoredSize != static_cast<int64_t>(size) - start || info->EntryCount < 0 ||
        (info->ArchiveType == zorp::caSingle && info->EntryCount != 0))
        std::abort();
    // A header alone lists as nothing, whatever total it claims.
    if (info->ArchiveType != zorp::caMulti || info->StoredSize <= zorp::TZorpHeader::RecordSize)
        return 0;
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
        // Refused for another reason (an unknown method): no verdict.
        return 0;
    }
    if (listed && (!info->Intact || count != static_cast<size_t>(info->EntryCount)))
        std::abort();
    return 0;
}
