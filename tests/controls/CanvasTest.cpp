// Canvas: filled and framed rectangles, text in the built-in font, clip
// rectangles excluded and removed, bitmaps drawn and stretched, the palette
// handles of bitmap copies, and controls painted into bitmaps and BMP files.
#include "framework/controls/Canvas.h"
#include "framework/controls/Bitmap.h"
#include "framework/controls/BitmapFont.h"
#include "framework/controls/CustomControl.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Memo.h"
#include "framework/controls/PaintControl.h"
#include "framework/controls/Picture.h"
#include "support/Icon.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace zorp::fw {
namespace {

// Counts pixels of Color inside R.
int CountColor(const TCanvas& Canvas, const TRect& R, TColor Color) {
    int n = 0;
    for (int32_t y = R.Top; y < R.Bottom; ++y)
        for (int32_t x = R.Left; x < R.Right; ++x)
            n += Canvas.Pixels(x, y) == Color ? 1 : 0;
    return n;
}

TEST(Canvas, FillRectCoversExactlyTheRectangle) {
    TBitmapCanvas canvas(10, 10);
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(Rect(2, 3, 5, 7));
    EXPECT_EQ(CountColor(canvas, Rect(0, 0, 10, 10), clRed), 12);
    EXPECT_EQ(canvas.Pixels(2, 3), clRed);
    EXPECT_EQ(canvas.Pixels(4, 6), clRed);
    EXPECT_EQ(canvas.Pixels(5, 6), clWhite);
    EXPECT_EQ(canvas.Pixels(4, 7), clWhite);
    EXPECT_EQ(canvas.Pixels(-1, 0), clNone);
    canvas.Brush().SetStyle(bsClear);
    canvas.Brush().SetColor(clBlue);
    canvas.FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(CountColor(canvas, Rect(0, 0, 10, 10), clBlue), 0);
}

TEST(Canvas, FrameRectDrawsTheBorderInsideWithTheBrush) {
    TBitmapCanvas canvas(8, 8);
    canvas.Brush().SetColor(clWindowFrame);
    canvas.FrameRect(Rect(1, 1, 6, 5));
    EXPECT_EQ(CountColor(canvas, Rect(0, 0, 8, 8), clBlack), 2 * 5 + 2 * 2);
    EXPECT_EQ(canvas.Pixels(1, 1), clBlack);
    EXPECT_EQ(canvas.Pixels(5, 4), clBlack);
    EXPECT_EQ(canvas.Pixels(2, 2), clWhite);
    EXPECT_EQ(canvas.Pixels(6, 4), clWhite);
}

TEST(Canvas, TextRectDrawsTheGlyphsOfTheBuiltInFont) {
    TBitmapCanvas canvas(20, 12);
    canvas.Font().SetColor(clBlack);
    canvas.Brush().SetColor(clWhite);
    EXPECT_EQ(canvas.TextWidth("HI"), 12);
    EXPECT_EQ(canvas.TextHeight("HI"), 10);
    canvas.TextRect(Rect(0, 0, 20, 12), 1, 1, "H");
    // "H": both sides of every row, the bar on the middle row.
    for (int32_t row = 0; row < 7; ++row) {
        const int32_t y = 1 + GlyphTopMargin + row;
        EXPECT_EQ(canvas.Pixels(1, y), clBlack) << row;
        EXPECT_EQ(canvas.Pixels(5, y), clBlack) << row;
        EXPECT_EQ(canvas.Pixels(3, y), row == 3 ? clBlack : clWhite) << row;
    }
    EXPECT_EQ(CountColor(canvas, Rect(0, 0, 20, 12), clBlack), 7 * 2 + 3);
    canvas.Font().SetSize(16); // twice as large
    EXPECT_EQ(canvas.TextWidth("H"), 12);
    EXPECT_EQ(canvas.TextHeight(""), 20);
}

TEST(Canvas, SolidBrushFillsTheTextBackground) {
    TBitmapCanvas canvas(20, 20);
    canvas.Brush().SetColor(clAqua);
    canvas.Font().SetColor(clRed);
    canvas.TextRect(Rect(0, 0, 6, 10), 0, 0, " ");
    EXPECT_EQ(CountColor(canvas, Rect(0, 0, 20, 20), clAqua), 6 * 10);
    canvas.Brush().SetColor(clLime);
    canvas.TextRect(Rect(10, 10, 14, 20), 10, 10, "I");
    EXPECT_EQ(CountColor(canvas, Rect(0, 0, 20, 20), clLime) +
                  CountColor(canvas, Rect(0, 0, 20, 20), clRed),
              4 * 10);
    EXPECT_EQ(canvas.Pixels(14, 11), clWhite); // the I's top bar is cut at the rectangle
}

TEST(Canvas, ExcludedRectanglesAreSkippedUntilTheRegionIsRemoved) {
    TBitmapCanvas canvas(10, 10);
    canvas.ExcludeClipRect(Rect(2, 2, 8, 8));
    canvas.Brush().SetColor(clRed);
    canvas.FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(CountColor(canvas, Rect(0, 0, 10, 10), clRed), 100 - 36);
    EXPECT_EQ(canvas.Pixels(5, 5), clWhite);
    canvas.SelectClipRgn(nullptr);
    canvas.Brush().SetColor(clBlue);
    canvas.FillRect(Rect(4, 4, 6, 6));
    EXPECT_EQ(canvas.Pixels(5, 5), clBlue);
    EXPECT_TRUE(canvas.ExcludedRects().empty());
}

void Checker(TBitmap& bitmap, int32_t W, int32_t H) {
    bitmap.SetSize(W, H);
    for (int32_t y = 0; y < H; ++y)
        for (int32_t x = 0; x < W; ++x)
            bitmap.SetPixel(x, y, (x + y) % 2 ? clRed : clBlue);
}

TEST(Canvas, DrawCopiesABitmapAndCutsItAtTheEdges) {
    TBitmapCanvas canvas(6, 6);
    TBitmap bitmap;
    Checker(bitmap, 4, 3);
    canvas.Draw(-1, 4, bitmap);
    EXPECT_EQ(canvas.Pixels(0, 4), clRed);  // bitmap (1, 0)
    EXPECT_EQ(canvas.Pixels(1, 4), clBlue); // bitmap (2, 0)
    EXPECT_EQ(canvas.Pixels(0, 5), clBlue); // bitmap (1, 1)
    EXPECT_EQ(canvas.Pixels(3, 4), clWhite);
    canvas.Draw(0, 0, test::TIcon()); // icons draw nothing
    EXPECT_EQ(canvas.Pixels(0, 0), clWhite);
}

TEST(Canvas, StretchDrawScalesToTheRectangle) {
    TBitmapCanvas canvas(8, 8);
    TBitmap bitmap;
    bitmap.SetSize(2, 1);
    bitmap.SetPixel(0, 0, clRed);
    bitmap.SetPixel(1, 0, clLime);
    canvas.StretchDraw(Rect(0, 0, 8, 4), bitmap);
    EXPECT_EQ(CountColor(canvas, Rect(0, 0, 4, 4), clRed), 16);
    EXPECT_EQ(CountColor(canvas, Rect(4, 0, 8, 4), clLime), 16);
    EXPECT_EQ(CountColor(canvas, Rect(0, 4, 8, 8), clWhite), 32);
}

TEST(Canvas, CopiesOfABitmapShareItsPaletteUntilTheTableChanges) {
    TBitmap indexed;
    indexed.SetSize(2, 2);
    indexed.SetPixelFormat(pf4bit);
    const HPALETTE palette = PaletteHandleOf(&indexed);
    ASSERT_NE(palette, 0u);
    TBitmap copy;
    copy.Assign(indexed);
    EXPECT_EQ(PaletteHandleOf(&copy), palette);
    EXPECT_EQ(PaletteHandleOf(indexed.Clone().get()), palette);
    copy.SetSize(3, 3); // same table
    EXPECT_EQ(PaletteHandleOf(&copy), palette);
    copy.SetPalette({ColorToRGBQuad(clRed), ColorToRGBQuad(clBlue)});
    EXPECT_NE(PaletteHandleOf(&copy), palette);
    EXPECT_NE(PaletteHandleOf(&copy), 0u);
    EXPECT_EQ(PaletteHandleOf(&indexed), palette); // the original keeps its own
    copy.SetPixelFormat(pf24bit);
    EXPECT_EQ(PaletteHandleOf(&copy), 0u);
}

// Paints a yellow square in the middle and its name in the corner.
class Swatch : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int Paints = 0;

protected:
    void Paint() override {
        ++Paints;
        Canvas().Brush().SetColor(clYellow);
        Canvas().FillRect(Rect(5, 5, 15, 15));
    }
};

TEST(Canvas, ControlsPaintIntoBitmapsWithTheirChildren) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 40, 30);
    form.SetColor(clGray);
    Swatch* swatch = new Swatch(&form);
    swatch->SetParent(&form);
    swatch->SetBounds(10, 5, 20, 20);
    swatch->SetColor(clNavy);
    TBitmap bitmap;
    form.PaintToBitmap(bitmap);
    EXPECT_EQ(bitmap.Width(), 40);
    EXPECT_EQ(bitmap.Pixel(0, 0), clGray);
    EXPECT_EQ(bitmap.Pixel(10, 5), clNavy);    // the swatch's background
    EXPECT_EQ(bitmap.Pixel(15, 10), clYellow); // its painting, moved to its place
    EXPECT_EQ(bitmap.Pixel(29, 24), clNavy);
    EXPECT_EQ(bitmap.Pixel(30, 24), clGray);
    EXPECT_EQ(swatch->Paints, 1);
    EXPECT_FALSE(swatch->Canvas().HandleAllocated()); // only while painting

    test::TempDir dir;
    swatch->SaveImageToFile(dir / "swatch.bmp");
    TPicture picture;
    picture.LoadFromFile(dir / "swatch.bmp");
    EXPECT_EQ(picture.Width(), 20);
    EXPECT_EQ(picture.Bitmap().Pixel(5, 5), clYellow);
}

TEST(Canvas, AMemoPaintsItsLinesInItsFont) {
    TForm form(nullptr);
    TMemo* memo = new TMemo(&form);
    memo->SetBounds(0, 0, 30, 25);
    memo->Font().SetColor(clRed);
    memo->SetText("I\r\nI");
    TBitmap bitmap;
    memo->PaintToBitmap(bitmap);
    // The I's stem: column 2 of the glyph, two pixels in.
    EXPECT_EQ(bitmap.Pixel(2 + 2, 2 + GlyphTopMargin + 3), clRed);
    EXPECT_EQ(bitmap.Pixel(2 + 2, 12 + GlyphTopMargin + 3), clRed);
    EXPECT_EQ(bitmap.Pixel(20, 3), clWhite);
    memo->SetAlignment(taRightJustify);
    memo->PaintToBitmap(bitmap);
    EXPECT_EQ(bitmap.Pixel(30 - 2 - 6 + 2, 2 + GlyphTopMargin + 3), clRed);
}

TEST(Canvas, APaintControlPaintsTheTextItWasSent) {
    TForm form(nullptr);
    TMemo* memo = new TMemo(&form);
    memo->SetBounds(0, 0, 20, 14);
    memo->Font().SetColor(clBlue);
    TPaintControl paint(*memo, "EDIT");
    EXPECT_FALSE(paint.HandleAllocated());
    paint.Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("I"));
    EXPECT_EQ(paint.HandleCreateCount(), 1);
    TBitmapCanvas canvas(20, 14);
    paint.Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(&canvas));
    paint.Perform(WM_PAINT, reinterpret_cast<WPARAM>(&canvas));
    EXPECT_EQ(canvas.Pixels(4, 2 + GlyphTopMargin + 3), clBlue);
    EXPECT_EQ(memo->Text(), ""); // the owner's own text is untouched
    paint.DestroyHandle();
    paint.Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x"));
    EXPECT_EQ(paint.HandleCreateCount(), 2);
}

} // namespace
} // namespace zorp::fw
