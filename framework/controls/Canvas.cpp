#include "framework/controls/Canvas.h"

#include "framework/base/FileStream.h"
#include "framework/base/MemoryStream.h"
#include "framework/controls/Bitmap.h"
#include "framework/controls/BitmapFont.h"

#include <algorithm>

namespace zorp::fw {

TColor ColorToRGB(TColor Color) {
    if ((Color & 0x80000000u) == 0)
        return Color & 0x00FFFFFFu;
    switch (Color & 0xFFu) {
    case 0x01: // desktop
        return RGB(0, 128, 128);
    case 0x05: // window
    case 0x0E: // highlighted text
        return clWhite;
    case 0x0D: // highlight
        return clNavy;
    case 0x0F: // button face
    case 0x00: // scroll bar
        return clSilver;
    case 0x11: // grey text
        return clGray;
    default: // window frame, window text, button text and the rest
        return clBlack;
    }
}

HPALETTE PaletteHandleOf(const TGraphic* Graphic) {
    return Graphic != nullptr && Graphic->HasPalette() ? Graphic->PaletteHandle() : 0;
}

void TFont::SetColor(TColor Value) {
    if (FColor != Value) {
        FColor = Value;
        Changed();
    }
}

void TFont::SetSize(int32_t Value) {
    Value = std::max<int32_t>(Value, 1);
    if (FSize != Value) {
        FSize = Value;
        Changed();
    }
}

void TFont::SetStyle(TFontStyles Value) {
    if (FStyle != Value) {
        FStyle = Value;
        Changed();
    }
}

void TFont::SetName(const std::string& Value) {
    if (FName != Value) {
        FName = Value;
        Changed();
    }
}

void TFont::Assign(const TFont& Source) {
    if (&Source == this)
        return;
    FColor = Source.FColor;
    FSize = Source.FSize;
    FStyle = Source.FStyle;
    FName = Source.FName;
    Changed();
}

void TFont::Changed() {
    if (OnChange)
        OnChange();
}

void TCanvas::SetTarget(TBitmapImage* Surface, TPoint Origin, const TRect& Clip) {
    FSurface = Surface;
    FOrigin = Origin;
    FClip = Surface ? IntersectRect(Clip, Rect(0, 0, Surface->Width, Surface->Height)) : TRect{};
    FExcluded.clear();
}

void TCanvas::SetTarget(TBitmapImage* Surface) {
    SetTarget(Surface, TPoint{}, Surface ? Rect(0, 0, Surface->Width, Surface->Height) : TRect{});
}

void TCanvas::RestoreTarget(const TTargetState& State) {
    FSurface = State.Surface;
    FOrigin = State.Origin;
    FClip = State.Clip;
    FExcluded = State.Excluded;
}

TRect TCanvas::ClipRect() const {
    TRect r = FClip;
    OffsetRect(r, -FOrigin.X, -FOrigin.Y);
    return r;
}

void TCanvas::ExcludeClipRect(const TRect& R) {
    TRect r = R;
    OffsetRect(r, FOrigin.X, FOrigin.Y);
    if (!r.IsEmpty())
        FExcluded.push_back(r);
}

void TCanvas::SelectClipRgn(std::nullptr_t) {
    FExcluded.clear();
}

std::vector<TRect> TCanvas::ExcludedRects() const {
    std::vector<TRect> result = FExcluded;
    for (TRect& r : result)
        OffsetRect(r, -FOrigin.X, -FOrigin.Y);
    return result;
}

bool TCanvas::Visible(int32_t SurfaceX, int32_t SurfaceY) const {
    if (FSurface == nullptr || !FClip.Contains(SurfaceX, SurfaceY))
        return false;
    if (FTextClipping && !FTextClip.Contains(SurfaceX, SurfaceY))
        return false;
    for (const TRect& r : FExcluded)
        if (r.Contains(SurfaceX, SurfaceY))
            return false;
    return true;
}

void TCanvas::Plot(int32_t X, int32_t Y, TColor Resolved) {
    const int32_t sx = X + FOrigin.X;
    const int32_t sy = Y + FOrigin.Y;
    if (Visible(sx, sy))
        FSurface->SetColor(sx, sy, Resolved);
}

TColor TCanvas::Pixels(int32_t X, int32_t Y) const {
    const int32_t sx = X + FOrigin.X;
    const int32_t sy = Y + FOrigin.Y;
    if (FSurface == nullptr || sx < 0 || sy < 0 || sx >= FSurface->Width || sy >= FSurface->Height)
        return clNone;
    return FSurface->Color(sx, sy);
}

void TCanvas::SetPixel(int32_t X, int32_t Y, TColor Color) {
    Plot(X, Y, ColorToRGB(Color));
}

void TCanvas::FillResolved(const TRect& R, TColor Resolved) {
    if (FSurface == nullptr)
        return;
    TRect r = R;
    OffsetRect(r, FOrigin.X, FOrigin.Y);
    r = IntersectRect(r, FClip);
    for (int32_t y = r.Top; y < r.Bottom; ++y)
        for (int32_t x = r.Left; x < r.Right; ++x)
            if (Visible(x, y))
                FSurface->SetColor(x, y, Resolved);
}

void TCanvas::FillRect(const TRect& R) {
    if (FBrush.Style() == bsSolid)
        FillResolved(R, ColorToRGB(FBrush.Color()));
}

void TCanvas::FrameRect(const TRect& R) {
    if (R.IsEmpty())
        return;
    const TColor color = ColorToRGB(FBrush.Color());
    FillResolved(Rect(R.Left, R.Top, R.Right, R.Top + 1), color);
    FillResolved(Rect(R.Left, R.Bottom - 1, R.Right, R.Bottom), color);
    FillResolved(Rect(R.Left, R.Top, R.Left + 1, R.Bottom), color);
    FillResolved(Rect(R.Right - 1, R.Top, R.Right, R.Bottom), color);
}

int32_t TCanvas::TextWidth(const std::string& Text) const {
    return static_cast<int32_t>(Text.size()) * GlyphCellWidth * FontScale(FFont.Size());
}

int32_t TCanvas::TextHeight(const std::string&) const {
    return GlyphCellHeight * FontScale(FFont.Size());
}

void TCanvas::DrawText(int32_t X, int32_t Y, const std::string& Text) {
    const int32_t scale = FontScale(FFont.Size());
    const TColor color = ColorToRGB(FFont.Color());
    const TFontStyles style = FFont.Style();
    int32_t cellX = X;
    for (const char c : Text) {
        for (int32_t row = 0; row < GlyphRows; ++row) {
            // Italic: rows above the baseline lean right, one pixel per three rows.
            const int32_t lean =
                (style & fsItalic) && row < GlyphBaselineRow ? (GlyphBaselineRow - row) / 3 : 0;
            for (int32_t column = 0; column < GlyphColumns; ++column) {
                if (!GlyphPixel(static_cast<unsigned char>(c), column, row))
                    continue;
                const int32_t px = cellX + (column + lean) * scale;
                const int32_t py = Y + (row + GlyphTopMargin) * scale;
                FillResolved(Rect(px, py, px + scale, py + scale), color);
                if (style & fsBold)
                    FillResolved(Rect(px + scale, py, px + 2 * scale, py + scale), color);
            }
        }
        if (style & fsUnderline) {
            const int32_t py = Y + (GlyphTopMargin + GlyphBaselineRow + 1) * scale;
            FillResolved(Rect(cellX, py, cellX + GlyphCellWidth * scale, py + scale), color);
        }
        cellX += GlyphCellWidth * scale;
    }
}

void TCanvas::TextRect(const TRect& R, int32_t X, int32_t Y, const std::string& Text) {
    TRect clip = R;
    OffsetRect(clip, FOrigin.X, FOrigin.Y);
    const bool wasClipping = FTextClipping;
    const TRect oldClip = FTextClip;
    FTextClip = wasClipping ? IntersectRect(oldClip, clip) : clip;
    FTextClipping = true;
    FillRect(R);
    DrawText(X, Y, Text);
    FTextClipping = wasClipping;
    FTextClip = oldClip;
}

void TCanvas::DrawBitmap(const TRect& R, const TBitmap& Bitmap) {
    if (Bitmap.Empty() || R.IsEmpty() || FSurface == nullptr)
        return;
    const int64_t sw = Bitmap.Width();
    const int64_t sh = Bitmap.Height();
    const int64_t dw = R.Width();
    const int64_t dh = R.Height();
    TRect target = R;
    OffsetRect(target, FOrigin.X, FOrigin.Y);
    const TRect visible = IntersectRect(target, FClip);
    for (int32_t y = visible.Top; y < visible.Bottom; ++y) {
        const int32_t srcY = static_cast<int32_t>((y - target.Top) * sh / dh);
        for (int32_t x = visible.Left; x < visible.Right; ++x) {
            if (!Visible(x, y))
                continue;
            const int32_t srcX = static_cast<int32_t>((x - target.Left) * sw / dw);
            FSurface->SetColor(x, y, Bitmap.Pixel(srcX, srcY));
        }
    }
}

void TCanvas::Draw(int32_t X, int32_t Y, const TGraphic& Graphic) {
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(&Graphic))
        DrawBitmap(Bounds(X, Y, bitmap->Width(), bitmap->Height()), *bitmap);
}

void TCanvas::StretchDraw(const TRect& R, const TGraphic& Graphic) {
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(&Graphic))
        DrawBitmap(R, *bitmap);
}

HPALETTE TCanvas::SelectPalette(HPALETTE Palette, bool ForceBackground) {
    FSelections.push_back({Palette, ForceBackground});
    const HPALETTE previous = FPalette;
    FPalette = Palette;
    return previous;
}

int TCanvas::RealizePalette() {
    return ++FRealizeCount;
}

TBitmapCanvas::TBitmapCanvas(int32_t Width, int32_t Height) {
    SetSize(Width, Height);
}

void TBitmapCanvas::SetSize(int32_t Width, int32_t Height, TColor Color) {
    FImage = MakeBitmapImage(Width, Height, 24);
    SetTarget(&FImage);
    const TColor resolved = ColorToRGB(Color);
    for (int32_t y = 0; y < Height; ++y)
        for (int32_t x = 0; x < Width; ++x)
            FImage.SetColor(x, y, resolved);
}

void TBitmapCanvas::SaveToBitmap(TBitmap& Bitmap) const {
    TMemoryStream stream;
    WriteBitmapImage(FImage, stream);
    stream.SetPosition(0);
    Bitmap.LoadFromStream(stream);
}

void TBitmapCanvas::SaveToFile(const std::string& FileName) const {
    TFileStream file(FileName, fmCreate);
    WriteBitmapImage(FImage, file);
}

} // namespace zorp::fw
