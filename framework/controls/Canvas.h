// TCanvas: raster drawing on a pixel surface. A canvas draws into a 24-bit
// TBitmapImage it does not own (its target, the "device context"): with an
// origin that maps the canvas's coordinates to the surface's, and a clip
// rectangle in surface coordinates beyond which nothing is drawn. Inside it,
// rectangles can be excluded from drawing (ExcludeClipRect) until the clip
// region is removed again (SelectClipRgn(nullptr)). Without a target the
// drawing operations do nothing.
//
// TBitmapCanvas owns its surface and can hand it out as a TBitmap or save
// it as a BMP file.
//
// Text uses the built-in bitmap font (BitmapFont.h) in the font's colour
// and scale; bold doubles each glyph pixel one column to the right, italic
// slants the rows above the baseline, underline draws a line under the
// baseline. With a solid brush, TextOut and TextRect fill the text's
// background with the brush colour first.
//
// Palette selection is recorded, not applied: SelectPalette and
// RealizePalette keep a log that callers can inspect.
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
// the canvas resolves them.
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
// A colour value no pixel has (what Pixels answers outside the surface).
inline constexpr TColor clNone = 0x1FFFFFFF;

// The plain colour of Color: system colours map to fixed values (clWindow
// white, clWindowFrame and clWindowText black, clBtnFace silver, clHighlight
// navy, ...); other values are returned without their high byte.
ZORP_API TColor ColorToRGB(TColor Color);

// The handle of a graphic's colour table (nonzero when the graphic has
// one), as the graphic's PaletteHandle gives it.
ZORP_API HPALETTE PaletteHandleOf(const TGraphic* Graphic);
// The palette every canvas starts with, as a device context has the
// system's stock palette selected; no graphic's palette has this handle.
inline constexpr HPALETTE DEFAULT_PALETTE = 1;

enum TBrushStyle : uint8_t { bsSolid, bsClear };

using TFontStyles = uint8_t;
inline constexpr TFontStyles fsBold = 0x01;
inline constexpr TFontStyles fsItalic = 0x02;
inline constexpr TFontStyles fsUnderline = 0x04;

class ZORP_API TBrush {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value) { FStyle = Value; }

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

class ZORP_API TPen {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; }
    // Line width in pixels, at least 1.
    int32_t Width() const { return FWidth; }
    void SetWidth(int32_t Value) { FWidth = Value < 1 ? 1 : Value; }

private:
    TColor FColor = clBlack;
    int32_t FWidth = 1;
};

// A font of the built-in bitmap font: colour, size in points, styles and a
// name kept for the record. Every change fires OnChange.
class ZORP_API TFont {
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // Size in points (at least 1); see FontScale.
    int32_t Size() const { return FSize; }
    void SetSize(int32_t Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value);
    // Copies colour, size, style and name (one OnChange).
    void Assign(const TFont& Source);

    std::function<void()> OnChange;

private:
    void Changed();

    TColor FColor = clWindowText;
    int32_t FSize = 8;
    TFontStyles FStyle = 0;
    std::string FName = "Zorp Sans";
};

class ZORP_API TCanvas : public TObject {
public:
    static constexpr const char* StaticClassName = "TCanvas";
    std::string ClassName() const override { return StaticClassName; }

    TCanvas() = default;

    TBrush& Brush() { return FBrush; }
    TPen& Pen() { return FPen; }
    TFont& Font() { return FFont; }

    // Draw into Surface (24 bits per pixel, not owned; nullptr: nowhere).
    // Canvas point (x, y) is surface pixel (x + Origin.X, y + Origin.Y);
    // only pixels inside Clip (surface coordinates, cut to the surface) are
    // drawn. A new target starts without excluded rectangles.
    void SetTarget(TBitmapImage* Surface, TPoint Origin, const TRect& Clip);
    void SetTarget(TBitmapImage* Surface);
    TBitmapImage* Surface() const { return FSurface; }
    bool HandleAllocated() const { return FSurface != nullptr; }
    TPoint Origin() const { return FOrigin; }
    // The clip rectangle in canvas coordinates.
    TRect ClipRect() const;

    // Clip region: drawing skips R (canvas coordinates) until the region is
    // removed.
    void ExcludeClipRect(const TRect& R);
    // With nullptr: removes the clip region, so only the target's clip
    // rectangle limits drawing again.
    void SelectClipRgn(std::nullptr_t);
    // The excluded rectangles, in canvas coordinates.
    std::vector<TRect> ExcludedRects() const;

    // The whole target (surface, origin, clip rectangle and region), to put
    // back after drawing somewhere else for a while.
    struct TTargetState {
        TBitmapImage* Surface = nullptr;
        TPoint Origin;
        TRect Clip;
        std::vector<TRect> Excluded;
    };
    TTargetState SaveTarget() const { return {FSurface, FOrigin, FClip, FExcluded}; }
    void RestoreTarget(const TTargetState& State);

    // Pixels in canvas coordinates. Reading outside the surface answers
    // clNone; writing obeys the clipping.
    TColor Pixels(int32_t X, int32_t Y) const;
    void SetPixel(int32_t X, int32_t Y, TColor Color);

    // Fills R with the brush colour (nothing with a clear brush).
    void FillRect(const TRect& R);
    // A one-pixel border just inside R in the brush colour.
    void FrameRect(const TRect& R);
    // Fills with the brush and outlines with the pen, inside the bounds.
    void Rectangle(int32_t X1, int32_t Y1, int32_t X2, int32_t Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    // Lines with the pen; LineTo draws from the pen position up to, but not
    // including, the end point, which becomes the new pen position.
    void MoveTo(int32_t X, int32_t Y) { FPenPos = {X, Y}; }
    void LineTo(int32_t X, int32_t Y);
    TPoint PenPos() const { return FPenPos; }

    int32_t TextWidth(const std::string& Text) const;
    int32_t TextHeight(const std::string& Text) const;
    // Draws Text with its cell's top-left corner at (X, Y).
    void TextOut(int32_t X, int32_t Y, const std::string& Text);
    // As TextOut, clipped to R; a solid brush fills R first.
    void TextRect(const TRect& R, int32_t X, int32_t Y, const std::string& Text);

    // Draws a bitmap at its own size with its top-left corner at (X, Y). An
    // empty graphic and graphics of other classes draw nothing.
    void Draw(int32_t X, int32_t Y, const TGraphic& Graphic);
    // Draws a bitmap scaled (nearest pixel) to fill R.
    void StretchDraw(const TRect& R, const TGraphic& Graphic);

    // Selects Palette (foreground unless ForceBackground) and answers the
    // palette selected before.
    HPALETTE SelectPalette(HPALETTE Palette, bool ForceBackground);
    // Realizes the selected palette; answers how many times so far.
    int RealizePalette();
    HPALETTE SelectedPalette() const { return FPalette; }
    struct TPaletteSelection {
        HPALETTE Palette;
        bool ForceBackground;
    };
    // Every SelectPalette call in order.
    const std::vector<TPaletteSelection>& PaletteSelections() const { return FSelections; }
    int RealizeCount() const { return FRealizeCount; }

private:
    bool Visible(int32_t SurfaceX, int32_t SurfaceY) const;
    void Plot(int32_t X, int32_t Y, TColor Resolved);
    void FillResolved(const TRect& R, TColor Resolved);
    void DrawText(int32_t X, int32_t Y, const std::string& Text);
    void DrawBitmap(const TRect& R, const TBitmap& Bitmap);

    TBrush FBrush;
    TPen FPen;
    TFont FFont;
    TBitmapImage* FSurface = nullptr;
    TPoint FOrigin;
    TRect FClip;                  // surface coordinates
    std::vector<TRect> FExcluded; // surface coordinates
    TRect FTextClip{};            // surface coordinates, while TextRect draws
    bool FTextClipping = false;
    TPoint FPenPos;
    HPALETTE FPalette = DEFAULT_PALETTE;
    std::vector<TPaletteSelection> FSelections;
    int FRealizeCount = 0;
};

// A canvas over a surface of its own, filled with white when sized.
class ZORP_API TBitmapCanvas : public TCanvas {
public:
    TBitmapCanvas(int32_t Width, int32_t Height);
    // Resizes and clears the surface to Color.
    void SetSize(int32_t Width, int32_t Height, TColor Color = clWhite);
    int32_t Width() const { return FImage.Width; }
    int32_t Height() const { return FImage.Height; }
    const TBitmapImage& Image() const { return FImage; }

    // The surface as a 24-bit bitmap, or as a BMP file.
    void SaveToBitmap(TBitmap& Bitmap) const;
    void SaveToFile(const std::string& FileName) const;

private:
    TBitmapImage FImage;
};

} // namespace zorp::fw
