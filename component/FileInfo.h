// TZorpFileInfo: one entry of an archive listing, attached to the entry's
// line of the listing. Whoever holds the list frees it (FreeFileList).
#pragma once

#include "../common/ZorpTypes.h"
#include "../framework/base/Export.h"
#include "../framework/base/Object.h"

#include <cstdint>

namespace zorp {

class ZORP_API TZorpFileInfo : public fw::TObject {
public:
    std::string ClassName() const override { return "TZorpFileInfo"; }

    int32_t FileDate = 0;   // packed DOS date-time
    int16_t Attributes = 0; // file attribute bits
    int32_t UncompressedSize = 0;
    int32_t CompressedSize = 0;
    TZorpMethod Method = coNone;
    int32_t Checksum = 0;     // as stored: byte sum + Key
    int32_t HeaderOffset = 0; // stream position of the entry's per-file header
    bool Locked = false;      // the entry needs a key
};

} // namespace zorp
