// TBitmapImage, the pixels of a device-independent bitmap, and its BMP reading and writing.
#pragma once

#include "../base/Export.h"
#include "../base/Stream.h"
#include "Colors.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zorp::fw {

/// No bitmap holds more pixel bytes than this; larger sizes are refused
/// before anything is allocated.
inline constexpr uint64_t MaxBitmapBytes = uint64_t(256) << 20;

/// Bytes in one row of Width pixels, padded to four bytes.
constexpr uint64_t BitmapStride(int64_t Width, int BitsPerPixel) {
    return ((static_cast<uint64_t>(Width) * static_cast<uint64_t>(BitsPerPixel) + 31) / 32) * 4;
}

/// True for the depths a bitmap can have: 1, 4, 8, 24 and 32.
constexpr bool SupportedBitsPerPixel(int BitsPerPixel) {
    return BitsPerPixel == 1 || BitsPerPixel == 4 || BitsPerPixel == 8 || BitsPerPixel == 24 ||
           BitsPerPixel == 32;
}

/// The pixels of a device-independent bitmap, kept as the BMP file format
/// lays them out (rows padded to four bytes, 1, 4 and 8 bits per pixel as
/// indexes into the colour table, 24 and 32 bits as blue, green, red and a
/// fourth byte) but always top row first. ReadBitmapImage and
/// WriteBitmapImage move it to and from the bytes of a BMP file.
struct ZORP_API TBitmapImage {
    /// The size in pixels.
    /// @{
    int32_t Width = 0;
    int32_t Height = 0;
    /// @}
    /// The depth: 1, 4, 8, 24 or 32 bits per pixel.
    int BitsPerPixel = 24;
    /// The colour table of the indexed depths: 1 to 2^BitsPerPixel entries.
    /// Empty for 24 and 32 bits per pixel.
    std::vector<TRGBQuad> Palette;
    /// Height rows of Stride() bytes, the top row first.
    std::vector<uint8_t> Bits;

    /// True for the indexed depths (1, 4 and 8 bits per pixel).
    bool Indexed() const { return BitsPerPixel <= 8; }
    /// The bytes in one row, including the padding to four bytes.
    size_t Stride() const { return static_cast<size_t>(BitmapStride(Width, BitsPerPixel)); }
    /// The first byte of row Y (top row 0), without a range check.
    /// @{
    uint8_t* Row(int32_t Y) { return Bits.data() + static_cast<size_t>(Y) * Stride(); }
    const uint8_t* Row(int32_t Y) const { return Bits.data() + static_cast<size_t>(Y) * Stride(); }
    /// @}

    /// The colour table index of a pixel, read or written without range
    /// checks; the caller keeps 0 <= X < Width and 0 <= Y < Height. For the
    /// indexed depths only.
    /// @{
    uint8_t Index(int32_t X, int32_t Y) const;
    void SetIndex(int32_t X, int32_t Y, uint8_t Value);
    /// @}
    /// The pixel's colour, without range checks; an index past the colour
    /// table reads as black.
    TColor Color(int32_t X, int32_t Y) const;
    /// Stores Value at the pixel, without range checks; the indexed depths
    /// store the nearest colour of the table.
    void SetColor(int32_t X, int32_t Y, TColor Value);
};

/// Allocates a zero-filled image of the given size and depth, with
/// DefaultPalette for the indexed depths. Raises EInvalidGraphic for a
/// negative size, an unsupported depth or more than MaxBitmapBytes.
ZORP_API TBitmapImage MakeBitmapImage(int32_t Width, int32_t Height, int BitsPerPixel);

/// The colour table a new indexed bitmap starts with: black and white for 1
/// bit, the sixteen standard colours for 4 bits, and for 8 bits a colour cube
/// of 8 reds, 8 greens and 4 blues.
ZORP_API std::vector<TRGBQuad> DefaultPalette(int BitsPerPixel);

/// The entry of Palette closest to Color (the first exact match, otherwise the
/// smallest squared distance). Palette must not be empty.
ZORP_API uint8_t NearestPaletteIndex(const std::vector<TRGBQuad>& Palette, TColor Color);

/// Reads a BMP file starting at Stream's position and leaves the position
/// after the pixel data. Accepts the 12-byte OS/2 core header and the 40, 52,
/// 56, 64, 108 and 124-byte info headers; 1, 4, 8, 24 and 32 bits per pixel,
/// bottom-up and top-down rows, uncompressed data and, for 32 bits, colour
/// masks. Anything else, and data that is damaged or truncated, raises
/// EInvalidGraphic; nothing is read past the end of the stream. An empty
/// stream (no bytes left) reads as an empty image.
ZORP_API TBitmapImage ReadBitmapImage(TStream& Stream);

/// Writes Image as a BMP file: file header, 40-byte info header, colour table
/// for the indexed depths, uncompressed rows bottom-up.
ZORP_API void WriteBitmapImage(const TBitmapImage& Image, TStream& Stream);

} // namespace zorp::fw
