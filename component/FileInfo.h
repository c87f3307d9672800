// TZorpFileInfo: one entry of an archive listing. ScanCompressedStream with a
// list attaches one to the entry's line, and whoever holds the list frees it
// (FreeFileList); the listing by value returns them in a vector.
#pragma once

#include "../common/ZorpTypes.h"
#include "../framework/base/Export.h"
#include "../framework/base/Object.h"

#include <cstdint>
#include <string>

namespace zorp {

class ZORP_API TZorpFileInfo : public fw::TObject {
public:
    TZorpFileInfo() = default;
    // A copy holds the same entry (the framework's objects are not copied
    // otherwise; this one is a plain record).
    TZorpFileInfo(const TZorpFileInfo& Other) : fw::TObject() { *this = Other; }
    TZorpFileInfo& operator=(const TZorpFileInfo& Other);
    std::string ClassName() const override { return "TZorpFileInfo"; }

    int32_t FileDate = 0;   // packed DOS date-time
    int16_t Attributes = 0; // file attribute bits
    int32_t UncompressedSize = 0;
    int32_t CompressedSize = 0;
    TZorpMethod Method = coNone;
    int32_t Checksum = 0;     // as stored: byte sum + Key
    int32_t HeaderOffset = 0; // stream position of the entry's per-file header
    bool Locked = false;      // the entry needs a key
    std::string Name;         // the entry's name as stored
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
