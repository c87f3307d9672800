// Raster drawing: the canvas with its brush and font, and the system colours it resolves.
#pragma once

#include "../base/Export.h"
#include "../base/Object.h"
#include "BitmapImage.h"
#include "Colors.h"
#include "Graphic.h"
#include "Types.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zorp::fw {

class TBitmap;

// System colours (the high bit set plus the system colour index) and how
// the canvas resolves them (ColorToRGB).

/// A system colour: the colour of the scroll bar, the desktop background, a
/// window's background, frame or text, highlighted text's background or
/// text, a button's face or text, or greyed-out text. ColorToRGB gives its
/// fixed value.
/// @{
inline constexpr TColor clScrollBar = 0x80000000;
inline constexpr TColor clBackground = 0x80000001;
inline constexpr TColor clWindow = 0x80000005;
inline constexpr TColor clWindowFrame = 0x80000006;
inline constexpr TColor clWindowText = 0x80000008;
inline constexpr TColor clHighlight = 0x8000000D;
inline constexpr TColor clHighlightText = 0x8000000E;
inline constexpr TColor clBtnFace = 0x8000000F;
inline constexpr TColor clGrayText = 0x80000011;
inline constexpr TColor clBtnText = 0x80000012;
/// @}
/// A colour value no pixel has (what Pixels answers outside the surface).
inline constexpr TColor clNone = 0x1FFFFFFF;

/// The plain colour of Color: system colours map to fixed values (clWindow
/// white, clWindowFrame and clWindowText black, clBtnFace silver, clHighlight
/// navy, ...); other values are returned without their high byte.
ZORP_API TColor ColorToRGB(TColor Color);

/// The handle of a graphic's colour table (nonzero when the graphic has
/// one), as the graphic's PaletteHandle gives it; 0 for nullptr.
ZORP_API HPALETTE PaletteHandleOf(const TGraphic* Graphic);
/// The palette every canvas starts with, as a device context has the
/// system's stock palette selected; no graphic's palette has this handle.
inline constexpr HPALETTE DEFAULT_PALETTE = 1;

/// How a brush fills: bsSolid fills with the brush colour, bsClear leaves
/// the background as it is.
enum TBrushStyle : uint8_t { bsSolid, bsClear };

/// A font's styles: a set of the fs flags.
using TFontStyles = uint8_t;
/// Font style: bold (each glyph pixel doubled one column to the right),
/// italic (rows above the baseline slanted) or underlined (a line under the
/// baseline).
/// @{
inline constexpr TFontStyles fsBold = 0x01;
inline constexpr TFontStyles fsItalic = 0x02;
inline constexpr TFontStyles fsUnderline = 0x04;
/// @}

/// How a canvas fills areas: a colour and a style; white and solid at first.
class ZORP_API TBrush {
public:
    /// The fill colour.
    /// @{
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    /// @}
    /// Whether fills happen (bsSolid) or not (bsClear).
    /// @{
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value) { FStyle = Value; }
    /// @}

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

/// A font of the built-in bitmap font: colour, size in points, styles and a
/// name kept for the record. Every change fires OnChange.
class ZORP_API TFont {
public:
    /// The text colour; clWindowText at first.
    /// @{
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    /// @}
    /// Size in points (at least 1; smaller values count as 1); 8 at first.
    /// See FontScale.
    /// @{
    int32_t Size() const { return FSize; }
    void SetSize(int32_t Value);
    /// @}
    /// The styles (fsBold, fsItalic, fsUnderline); none at first.
    /// @{
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    /// @}
    /// The font's name, kept for the record; drawing always uses the built-in
    /// font.
    /// @{
    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value);
    /// @}
    /// Copies colour, size, style and name (one OnChange).
    void Assign(const TFont& Source);

    /// Fired after every change: by a setter when the value differs, and once
    /// by Assign.
    std::function<void()> OnChange;

private:
    void Changed();

    TColor FColor = clWindowText;
    int32_t FSize = 8;
    TFontStyles FStyle = 0;
    std::string FName = "Zorp Sans";
};

/// Raster drawing on a pixel surface. A canvas draws into a 24-bit
/// TBitmapImage it does not own (its target, the "device context"): with an
/// origin that maps the canvas's coordinates to the surface's, and a clip
/// rectangle in surface coordinates beyond which nothing is drawn. Inside it,
/// rectangles can be excluded from drawing (ExcludeClipRect) until the clip
/// region is removed again (SelectClipRgn(nullptr)). Without a target the
/// drawing operations do nothing.
///
/// Text uses the built-in bitmap font (BitmapFont.h) in the font's colour
/// and scale; bold doubles each glyph pixel one column to the right, italic
/// slants the rows above the baseline, underline draws a line under the
/// baseline. With a solid brush, TextRect fills its rectangle with the brush
/// colour first.
///
/// Palette selection is recorded, not applied: SelectPalette and
/// RealizePalette keep a log that callers can inspect.
class ZORP_API TCanvas : public TObject {
public:
    /// The class name ClassName answers and the class registry knows.
    static constexpr const char* StaticClassName = "TCanvas";
    /// Answers StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// Makes a canvas without a target, with a white solid brush, the default
    /// font and DEFAULT_PALETTE selected.
    TCanvas() = default;

    /// The brush and font the drawing operations use; changes apply to the
    /// next drawing.
    /// @{
    TBrush& Brush() { return FBrush; }
    TFont& Font() { return FFont; }
    /// @}

    /// Draw into Surface (24 bits per pixel, not owned; nullptr: nowhere).
    /// Canvas point (x, y) is surface pixel (x + Origin.X, y + Origin.Y);
    /// only pixels inside Clip (surface coordinates, cut to the surface) are
    /// drawn. A new target starts without excluded rectangles. The form
    /// without Origin and Clip draws onto the whole surface at (0, 0).
    /// @{
    void SetTarget(TBitmapImage* Surface, TPoint Origin, const TRect& Clip);
    void SetTarget(TBitmapImage* Surface);
    /// @}
    /// The surface drawn into, or nullptr.
    TBitmapImage* Surface() const { return FSurface; }
    /// True when the canvas has a surface to draw into.
    bool HandleAllocated() const { return FSurface != nullptr; }
    /// The surface pixel that canvas point (0, 0) maps to.
    TPoint Origin() const { return FOrigin; }
    /// The clip rectangle in canvas coordinates.
    TRect ClipRect() const;

    /// Clip region: drawing skips R (canvas coordinates) until the region is
    /// removed.
    void ExcludeClipRect(const TRect& R);
    /// With nullptr: removes the clip region, so only the target's clip
    /// rectangle limits drawing again.
    void SelectClipRgn(std::nullptr_t);
    /// The excluded rectangles, in canvas coordinates.
    std::vector<TRect> ExcludedRects() const;

    /// The whole target (surface, origin, clip rectangle and region), to put
    /// back after drawing somewhere else for a while.
    struct TTargetState {
        /// The surface drawn into, or nullptr.
        TBitmapImage* Surface = nullptr;
        /// The surface pixel of canvas point (0, 0).
        TPoint Origin;
        /// The clip rectangle, in surface coordinates.
        TRect Clip;
        /// The excluded rectangles, in surface coordinates.
        std::vector<TRect> Excluded;
    };
    /// The current target, for RestoreTarget.
    TTargetState SaveTarget() const { return {FSurface, FOrigin, FClip, FExcluded}; }
    /// Puts back a target SaveTarget gave.
    void RestoreTarget(const TTargetState& State);

    /// Pixels in canvas coordinates. Reading outside the surface answers
    /// clNone; writing obeys the clipping and resolves system colours.
    /// @{
    TColor Pixels(int32_t X, int32_t Y) const;
    void SetPixel(int32_t X, int32_t Y, TColor Color);
    /// @}

    /// Fills R with the brush colour (nothing with a clear brush).
    void FillRect(const TRect& R);
    /// A one-pixel border just inside R in the brush colour.
    void FrameRect(const TRect& R);

    /// The width of Text in the current font: its length times the scaled
    /// cell width.
    int32_t TextWidth(const std::string& Text) const;
    /// The height of a line in the current font (the scaled cell height,
    /// whatever Text holds).
    int32_t TextHeight(const std::string& Text) const;
    /// Draws Text with its first cell's top-left corner at (X, Y), clipped to
    /// R; a solid brush fills R first.
    void TextRect(const TRect& R, int32_t X, int32_t Y, const std::string& Text);

    /// Draws a bitmap at its own size with its top-left corner at (X, Y). An
    /// empty graphic and graphics of other classes draw nothing.
    void Draw(int32_t X, int32_t Y, const TGraphic& Graphic);
    /// Draws a bitmap scaled (nearest pixel) to fill R; other graphics draw
    /// nothing.
    void StretchDraw(const TRect& R, const TGraphic& Graphic);

    /// Selects Palette (foreground unless ForceBackground) and answers the
    /// palette selected before.
    HPALETTE SelectPalette(HPALETTE Palette, bool ForceBackground);
    /// Realizes the selected palette; answers how many times so far.
    int RealizePalette();
    /// The palette selected now; DEFAULT_PALETTE at first.
    HPALETTE SelectedPalette() const { return FPalette; }
    /// One SelectPalette call as the log keeps it.
    struct TPaletteSelection {
        /// The palette selected.
        HPALETTE Palette;
        /// True when it was selected for the background.
        bool ForceBackground;
    };
    /// Every SelectPalette call in order.
    const std::vector<TPaletteSelection>& PaletteSelections() const { return FSelections; }
    /// How many times RealizePalette ran.
    int RealizeCount() const { return FRealizeCount; }

private:
    bool Visible(int32_t SurfaceX, int32_t SurfaceY) const;
    void Plot(int32_t X, int32_t Y, TColor Resolved);
    void FillResolved(const TRect& R, TColor Resolved);
    void DrawText(int32_t X, int32_t Y, const std::string& Text);
    void DrawBitmap(const TRect& R, const TBitmap& Bitmap);

    TBrush FBrush;
    TFont FFont;
    TBitmapImage* FSurface = nullptr;
    TPoint FOrigin;
    TRect FClip;                  // surface coordinates
    std::vector<TRect> FExcluded; // surface coordinates
    TRect FTextClip{};            // surface coordinates, while TextRect draws
    bool FTextClipping = false;
    HPALETTE FPalette = DEFAULT_PALETTE;
    std::vector<TPaletteSelection> FSelections;
    int FRealizeCount = 0;
};

/// A canvas over a surface of its own, filled with white when sized. It can
/// hand its surface out as a TBitmap or save it as a BMP file.
class ZORP_API TBitmapCanvas : public TCanvas {
public:
    /// Makes a white 24-bit surface of Width x Height pixels and targets it.
    TBitmapCanvas(int32_t Width, int32_t Height);
    /// Makes a new surface of the size, filled with Color, and targets it
    /// (origin (0, 0), the whole surface as clip, no excluded rectangles).
    void SetSize(int32_t Width, int32_t Height, TColor Color = clWhite);
    /// The surface's size in pixels.
    /// @{
    int32_t Width() const { return FImage.Width; }
    int32_t Height() const { return FImage.Height; }
    /// @}
    /// The surface.
    const TBitmapImage& Image() const { return FImage; }

    /// The surface as a 24-bit bitmap, or as a BMP file.
    /// @{
    void SaveToBitmap(TBitmap& Bitmap) const;
    void SaveToFile(const std::string& FileName) const;
    /// @}

private:
    TBitmapImage FImage;
};

} // namespace zorp::fw
