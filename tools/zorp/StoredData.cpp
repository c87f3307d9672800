#include "tools/zorp/StoredData.h"

#include "common/Errors.h"
#include "common/MethodNames.h"
#include "component/Headers.h"

#include <iterator>

namespace zorp::tool {

namespace {

// The tool's name of the method a header's ID names (as -m takes them).
std::string MethodName(const std::string& ID) {
    for (size_t i = 0; i < std::size(MethodIDs); ++i)
        if (ID == MethodIDs[i])
            return MethodShortNames[i];
    return "custom"; // an application's own method
}

} // namespace

StoredInfo ReadStoredInfo(std::string_view Prefix, int64_t StoredSize) {
    StoredInfo info;
    info.ExpandedSize = StoredSize;
    info.Method = "none";
    if (Prefix.size() < static_cast<size_t>(TZorpHeader::RecordSize))
        return info;
    const TZorpHeader header = TZorpHeader::Decode(reinterpret_cast<const uint8_t*>(Prefix.data()));
    // A header alone is data as they stand, except that of locked empty data.
    const bool lockedEmpty = StoredSize == TZorpHeader::RecordSize &&
                             header.ArchiveType == caSingle && header.Size == 0 && header.Lock > 0;
    if (!header.HasMagic() || (StoredSize == TZorpHeader::RecordSize && !lockedEmpty))
        return info;
    info.HasHeader = true;
    info.ExpandedSize = header.Size;
    info.Method = header.ArchiveType == caSingle ? MethodName(header.MethodIDString()) : "archive";
    info.Locked = header.Lock > 0;
    return info;
}

bool IsDecodeError(const std::exception& E) {
    return dynamic_cast<const EInvalidKey*>(&E) != nullptr ||
           dynamic_cast<const EBadChecksum*>(&E) != nullptr ||
           dynamic_cast<const EInvalidHeader*>(&E) != nullptr ||
           dynamic_cast<const EInvalidHeaderArchiveType*>(&E) != nullptr ||
           dynamic_cast<const EUnrecognizedCompressionMethod*>(&E) != nullptr ||
           dynamic_cast<const ELZHBadDecodeTable*>(&E) != nullptr ||
           dynamic_cast<const fw::EReadError*>(&E) != nullptr; // the data end too soon
}

} // namespace zorp::tool
