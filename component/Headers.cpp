#include "component/Headers.h"

#include <cstring>

namespace zorp {

namespace {

void Put16(uint8_t* at, uint16_t v) {
    at[0] = static_cast<uint8_t>(v);
    at[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint16_t Get16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | at[1] << 8);
}

uint32_t Get32(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
           static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}

} // namespace

bool TZorpHeader::HasMagic() const {
    return Magic == HeaderMagic;
}

void TZorpHeader::SetMethodID(const std::string& ID) {
    for (size_t i = 0; i < 3; ++i)
        MethodID[i] = i < ID.size() ? ID[i] : '\0';
}

std::array<uint8_t, TZorpHeader::RecordSize> TZorpHeader::Encode() const {
    std::array<uint8_t, RecordSize> b{};
    std::memcpy(b.data(), Magic.data(), 5);
    std::memcpy(b.data() + 5, MethodID.data(), 3);
    Put32(b.data() + 8, static_cast<uint32_t>(Size));
    b[12] = ArchiveType;
    Put32(b.data() + 13, static_cast<uint32_t>(Checksum));
    Put32(b.data() + 17, static_cast<uint32_t>(Lock));
    return b;
}

TZorpHeader TZorpHeader::Decode(const uint8_t* Bytes) {
    TZorpHeader h;
    std::memcpy(h.Magic.data(), Bytes, 5);
    std::memcpy(h.MethodID.data(), Bytes + 5, 3);
    h.Size = static_cast<int32_t>(Get32(Bytes + 8));
    h.ArchiveType = Bytes[12];
    h.Checksum = static_cast<int32_t>(Get32(Bytes + 13));
    h.Lock = static_cast<int32_t>(Get32(Bytes + 17));
    return h;
}

std::array<uint8_t, TZorpFileHeader::RecordSize> TZorpFileHeader::Encode() const {
    std::array<uint8_t, RecordSize> b{};
    Put16(b.data(), static_cast<uint16_t>(NameLength));
    Put32(b.data() + 2, static_cast<uint32_t>(Date));
    Put16(b.data() + 6, Attributes);
    Put32(b.data() + 8, static_cast<uint32_t>(Size));
    Put32(b.data() + 12, static_cast<uint32_t>(CompressedSize));
    b[16] = Method;
    Put32(b.data() + 17, static_cast<uint32_t>(Checksum));
    Put32(b.data() + 21, static_cast<uint32_t>(Lock));
    return b;
}

TZorpFileHeader TZorpFileHeader::Decode(const uint8_t* Bytes) {
    TZorpFileHeader h;
    h.NameLength = static_cast<int16_t>(Get16(Bytes));
    h.Date = static_cast<int32_t>(Get32(Bytes + 2));
    h.Attributes = Get16(Bytes + 6);
    h.Size = static_cast<int32_t>(Get32(Bytes + 8));
    h.CompressedSize = static_cast<int32_t>(Get32(Bytes + 12));
    h.Method = Bytes[16];
    h.Checksum = static_cast<int32_t>(Get32(Bytes + 17));
    h.Lock = static_cast<int32_t>(Get32(Bytes + 21));
    return h;
}

} // namespace zorp
