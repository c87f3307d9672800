#pragma once

#include "../common/ZorpTypes.h"
#include "../framework/base/Export.h"
#include "../framework/base/Object.h"

#include <cstdint>
#include <string>

namespace zorp {

/// One entry of an archive listing. ScanCompressedStream with a list attaches
/// one to the entry's line, and whoever holds the list frees it
/// (FreeFileList); the listing by value returns them in a vector.
class ZORP_API TZorpFileInfo : public fw::TObject {
public:
    /// Starts empty: zero sizes, coNone, no name.
    TZorpFileInfo() = default;
    /// A copy holds the same entry (the framework's objects are not copied
    /// otherwise; this one is a plain record).
    /// @{
    TZorpFileInfo(const TZorpFileInfo& Other) : fw::TObject() { *this = Other; }
    TZorpFileInfo& operator=(const TZorpFileInfo& Other);
    /// @}
    /// Returns "TZorpFileInfo".
    std::string ClassName() const override { return "TZorpFileInfo"; }

    int32_t FileDate = 0;         ///< Packed DOS date-time
    int16_t Attributes = 0;       ///< File attribute bits
    int32_t UncompressedSize = 0; ///< The entry's size expanded
    int32_t CompressedSize = 0;   ///< Bytes of compressed data behind the entry's name
    TZorpMethod Method = coNone;  ///< The method the entry was stored with
    int32_t Checksum = 0;         ///< As stored: byte sum + Key
    int32_t HeaderOffset = 0;     ///< Stream position of the entry's per-file header
    bool Locked = false;          ///< The entry needs a key
    std::string Name;             ///< The entry's name as stored
};

inline TZorpFileInfo& TZorpFileInfo::operator=(const TZorpFileInfo& Other) {
    FileDate = Other.FileDate;
    Attributes = Other.Attributes;
    UncompressedSize = Other.UncompressedSize;
    CompressedSize = Other.CompressedSize;
    Method = Other.Method;
    Checksum = Other.Checksum;
    HeaderOffset = Other.HeaderOffset;
    Locked = Other.Locked;
    Name = Other.Name;
    return *this;
}

} // namespace zorp
