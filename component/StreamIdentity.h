// A cheap look at data: is this a compressed stream or an archive of ours,
// and what does its header say? Nothing is expanded, and no handler runs.
#pragma once

#include "../common/ZorpTypes.h"
#include "../framework/base/Export.h"
#include "../framework/base/Stream.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace zorp {

/// What IdentifyStream finds in a stream header (and, for an archive, in its
/// entry headers).
struct ZORP_API TZorpStreamInfo {
    /// A single compressed stream or an archive.
    TZorpArchiveType ArchiveType = caSingle;
    /// The header's method ID ("NON", "RLE", "LZH", "LH5", "CUS" or an
    /// application's own) and the method it names: coCustom for "CUS" and
    /// for any ID that is not built in. For an archive, the method it was
    /// made with; each entry has its own.
    /// @{
    std::string MethodID;
    TZorpMethod Method = coNone;
    /// @}
    /// The data need a key to be expanded.
    bool Locked = false;
    /// A single stream: its size expanded, from the header. An archive: the
    /// header's total of its entries' sizes.
    int32_t ExpandedSize = 0;
    /// Bytes from the header on to the end of the stream, header included.
    int64_t StoredSize = 0;
    /// An archive: the entries found by passing from one entry header to the
    /// next, and whether they lead exactly to the end of the stream and add
    /// up to the header's total (false: the archive is damaged, and
    /// EntryCount counts the sound entries in front of the damage).
    /// @{
    int64_t EntryCount = 0;
    bool Intact = true;
    /// @}
};

//// What the header at Stream's position says, or nothing when the data there
/// are not ours: no header magic, an unknown archive type, an impossible
/// size, or data too short to be expanded as compressed data (as Expand
/// treats them). Data stored without a header (no key, and nothing gained by
/// compressing them) are the bytes themselves and cannot be told apart. The
/// stream's position is left where it was. Only headers are read, at most 21
/// bytes of the stream header and 25 of each entry header; entry names and
/// data are passed over by seeking.
ZORP_API std::optional<TZorpStreamInfo> IdentifyStream(fw::TStream& Stream);
/// The same for a file from its start; an error opening it propagates.
ZORP_API std::optional<TZorpStreamInfo> IdentifyFile(const std::filesystem::path& FileName);

} // namespace zorp
