// The stored records: the stream header and the per-file header of an archive.
#pragma once

#include "../common/ZorpTypes.h"
#include "../framework/base/Export.h"

#include <array>
#include <cstdint>
#include <string>

namespace zorp {

/// The first five bytes of every stream header: "WELM" and 0x1A.
inline constexpr std::array<char, 5> HeaderMagic = {'W', 'E', 'L', 'M', '\x1A'};

/// Method IDs by TZorpMethod ordinal, compared case-sensitively.
inline constexpr const char* MethodIDs[5] = {"NON", "RLE", "LZH", "CUS", "LH5"};

/// Lock field value of data written with a key (the stored bytes scrambled).
inline constexpr int32_t LockScrambled = 2;

/// The 21-byte stream header, which opens every single compressed stream and
/// every archive. It is stored packed and little-endian, encoded and decoded
/// field by field so the layout never depends on the compiler.
struct ZORP_API TZorpHeader {
    static constexpr int32_t RecordSize = 21; ///< Bytes of the stored record.

    std::array<char, 5> Magic{};    ///< "WELM" 0x1A
    std::array<char, 3> MethodID{}; ///< "NON", "RLE", "LZH", "CUS", "LH5" or a custom ID
    int32_t Size = 0;               ///< Uncompressed size (caSingle) or archive total (caMulti)
    uint8_t ArchiveType = 0;        ///< TZorpArchiveType ordinal
    int32_t Checksum = 0;           ///< Byte sum of the uncompressed data + Key (caSingle)
    int32_t Lock = 0;               ///< 2 when the data are scrambled with a key

    /// Whether Magic holds HeaderMagic.
    bool HasMagic() const;
    /// Returns the three bytes of MethodID as a string (zero bytes included).
    std::string MethodIDString() const { return std::string(MethodID.data(), 3); }
    /// Stores the first three characters of ID (zero bytes fill a shorter ID).
    void SetMethodID(const std::string& ID);

    /// Returns the stored record: the fields packed little-endian.
    std::array<uint8_t, RecordSize> Encode() const;
    /// Reads a header from the RecordSize stored bytes at Bytes; nothing is checked.
    static TZorpHeader Decode(const uint8_t* Bytes);
};

/// An entry's attribute word may also carry permission bits: bit 15 set says
/// that bits 6 to 14 hold them (read, write, execute for owner, group and
/// others, as in a Unix mode). File attributes use the low six bits only.
inline constexpr uint16_t AttrHasPermissions = 0x8000;
/// The bit at which the permission bits start in an entry's attribute word.
inline constexpr int AttrPermissionShift = 6;

/// Returns the low six bits of Attributes with the permission bits of Mode
/// (its rwx bits for owner, group and others) and AttrHasPermissions added.
inline uint16_t WithPermissions(uint16_t Attributes, uint32_t Mode) {
    return static_cast<uint16_t>((Attributes & 0x3F) | AttrHasPermissions |
                                 ((Mode & 0777) << AttrPermissionShift));
}

/// The permission bits an attribute word carries, or -1 when it has none.
inline int32_t PermissionsOf(uint16_t Attributes) {
    if ((Attributes & AttrHasPermissions) == 0)
        return -1;
    return (Attributes >> AttrPermissionShift) & 0777;
}

/// The 25-byte per-file header, which precedes each archive entry's name and
/// data. It is stored packed and little-endian, like TZorpHeader.
struct ZORP_API TZorpFileHeader {
    static constexpr int32_t RecordSize = 25; ///< Bytes of the stored record.

    int16_t NameLength = 0;     ///< Bytes of the name that follows the header
    int32_t Date = 0;           ///< Packed DOS date-time; 0 for entries made from a stream
    uint16_t Attributes = 0;    ///< File attribute bits; 0 for entries made from a stream
    int32_t Size = 0;           ///< Uncompressed size
    int32_t CompressedSize = 0; ///< Bytes of compressed data behind the name
    uint8_t Method = 0;         ///< TZorpMethod ordinal actually used
    int32_t Checksum = 0;       ///< Byte sum of the uncompressed data + Key
    int32_t Lock = 0;           ///< 2 when the data are scrambled with a key

    /// Returns the stored record: the fields packed little-endian.
    std::array<uint8_t, RecordSize> Encode() const;
    /// Reads a per-file header from the RecordSize stored bytes at Bytes.
    static TZorpFileHeader Decode(const uint8_t* Bytes);
};

} // namespace zorp
