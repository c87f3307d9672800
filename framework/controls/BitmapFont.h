// The built-in bitmap font of the canvas. Every character takes a cell of
// 6 x 10 pixels: a glyph of 5 columns drawn one row below the cell's top,
// seven rows from the top of capitals down to the baseline and two rows of
// descenders under it, then one column and one row of spacing. The font is
// monospaced, so a text's width is its length times the cell width. Glyphs
// cover the printable ASCII characters 32 to 126; every other byte shows
// as a hollow box.
//
// Larger font sizes draw each glyph pixel as a square of Scale x Scale
// pixels (FontScale).
#pragma once

#include "../base/Export.h"

#include <cstdint>

namespace zorp::fw {

/// The columns of a glyph.
inline constexpr int32_t GlyphColumns = 5;
/// The rows of a glyph: seven down to the baseline and two of descenders.
inline constexpr int32_t GlyphRows = 9;
/// The width of a character's cell in pixels at scale 1 (the glyph and one
/// column of spacing).
inline constexpr int32_t GlyphCellWidth = 6;
/// The height of a character's cell in pixels at scale 1 (the top margin,
/// the glyph and one row of spacing).
inline constexpr int32_t GlyphCellHeight = 10;
/// Rows of the cell above the glyph's first row.
inline constexpr int32_t GlyphTopMargin = 1;
/// The glyph row that sits on the baseline.
inline constexpr int32_t GlyphBaselineRow = 6;

/// True when the glyph of Ch has a pixel at Column (0 = left) and Row (0 =
/// top glyph row, not counting the cell's top margin).
ZORP_API bool GlyphPixel(unsigned char Ch, int32_t Column, int32_t Row);

/// The pixel scale of a font size in points: 1 up to 15 points, then the
/// size divided by 8 (2 from 16 points, 3 from 24, ...).
constexpr int32_t FontScale(int32_t Size) {
    return Size < 16 ? 1 : Size / 8;
}

} // namespace zorp::fw
