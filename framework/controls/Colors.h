// Colours of the controls layer.
#pragma once

#include "../base/Export.h"

#include <cstdint>

namespace zorp::fw {

/// A colour. It holds red in its low byte, green in the next and blue in the
/// third (0x00BBGGRR); a value with the high bit set names a system colour
/// (0x80000000 plus the system colour index) that the canvas resolves.
using TColor = uint32_t;

/// The colour of the given red, green and blue intensities.
constexpr TColor RGB(uint8_t Red, uint8_t Green, uint8_t Blue) {
    return static_cast<TColor>(Red) | (static_cast<TColor>(Green) << 8) |
           (static_cast<TColor>(Blue) << 16);
}
/// The red intensity of Color (its low byte).
constexpr uint8_t GetRValue(TColor Color) {
    return static_cast<uint8_t>(Color);
}
/// The green intensity of Color (its second byte).
constexpr uint8_t GetGValue(TColor Color) {
    return static_cast<uint8_t>(Color >> 8);
}
/// The blue intensity of Color (its third byte).
constexpr uint8_t GetBValue(TColor Color) {
    return static_cast<uint8_t>(Color >> 16);
}

/// A fixed colour of the standard sixteen, named by its look.
/// @{
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
/// @}

/// One entry of a bitmap's colour table, in the byte order of the BMP file
/// format.
struct ZORP_API TRGBQuad {
    /// The blue intensity.
    uint8_t rgbBlue = 0;
    /// The green intensity.
    uint8_t rgbGreen = 0;
    /// The red intensity.
    uint8_t rgbRed = 0;
    /// Unused; written as 0.
    uint8_t rgbReserved = 0;

    /// True when all four bytes are equal.
    friend bool operator==(const TRGBQuad&, const TRGBQuad&) = default;
};

/// The colour table entry of Color (its high byte is dropped; rgbReserved is 0).
constexpr TRGBQuad ColorToRGBQuad(TColor Color) {
    return TRGBQuad{GetBValue(Color), GetGValue(Color), GetRValue(Color), 0};
}
/// The colour of a colour table entry (rgbReserved is ignored).
constexpr TColor RGBQuadToColor(const TRGBQuad& Quad) {
    return RGB(Quad.rgbRed, Quad.rgbGreen, Quad.rgbBlue);
}

} // namespace zorp::fw
