// Building BMP files byte by byte for the bitmap tests, independently of the
// library's writer: little-endian fields, the 14-byte file header and the
// info headers of the format's several versions.
#pragma once

#include <cstdint>
#include <string>

namespace zorp::test {

inline std::string Le16(uint16_t V) {
    return std::string{static_cast<char>(V & 0xFF), static_cast<char>(V >> 8)};
}
inline std::string Le32(uint32_t V) {
    return Le16(uint16_t(V & 0xFFFF)) + Le16(uint16_t(V >> 16));
}

// "BM", the file size, two reserved words, the offset of the pixel data.
inline std::string FileHeader(uint32_t FileSize, uint32_t OffBits) {
    return "BM" + Le32(FileSize) + Le32(0) + Le32(OffBits);
}

struct InfoFields {
    int32_t Width = 1;
    int32_t Height = 1;
    uint16_t Planes = 1;
    uint16_t BitCount = 24;
    uint32_t Compression = 0;
    uint32_t SizeImage = 0;
    uint32_t ClrUsed = 0;
    uint32_t Masks[4] = {0, 0, 0, 0};
};

// An info header of HeaderSize bytes (40, 52, 56, 108 or 124); the larger
// ones carry the colour masks and zeros after them.
inline std::string InfoHeader(const InfoFields& F, uint32_t HeaderSize = 40) {
    std::string h = Le32(HeaderSize) + Le32(uint32_t(F.Width)) + Le32(uint32_t(F.Height)) +
                    Le16(F.Planes) + Le16(F.BitCount) + Le32(F.Compression) + Le32(F.SizeImage) +
                    Le32(2835) + Le32(2835) + Le32(F.ClrUsed) + Le32(0);
    if (HeaderSize >= 52)
        h += Le32(F.Masks[0]) + Le32(F.Masks[1]) + Le32(F.Masks[2]);
    if (HeaderSize >= 56)
        h += Le32(F.Masks[3]);
    h.resize(HeaderSize, '\0');
    return h;
}

// The 12-byte OS/2 core header.
inline std::string CoreHeader(uint16_t Width, uint16_t Height, uint16_t BitCount) {
    return Le32(12) + Le16(Width) + Le16(Height) + Le16(1) + Le16(BitCount);
}

// A whole file: file header, then Middle (info header, masks, colour table,
// any gap), then the pixel bytes.
inline std::string BmpFile(const std::string& Middle, const std::string& Pixels) {
    const uint32_t off = uint32_t(14 + Middle.size());
    return FileHeader(uint32_t(off + Pixels.size()), off) + Middle + Pixels;
}

// One colour table entry: blue, green, red, zero.
inline std::string Quad(uint8_t R, uint8_t G, uint8_t B) {
    return std::string{static_cast<char>(B), static_cast<char>(G), static_cast<char>(R), '\0'};
}

} // namespace zorp::test
