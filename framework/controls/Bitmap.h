// TBitmap: a device-independent raster image that reads and writes Windows
// BMP files. A bitmap has a size, a pixel format (1, 4, 8, 24 or 32 bits per
// pixel), a colour table for the indexed formats, and pixels reached by
// colour (Pixel/SetPixel) or, in the indexed formats, by table index
// (PixelIndex/SetPixelIndex). Every change fires OnChange once.
//
// An empty bitmap (no width or no height) saves as no bytes at all, and no
// bytes load as an empty bitmap. A new bitmap is empty with 24 bits per pixel.
#pragma once

#include "../base/Export.h"
#include "BitmapImage.h"
#include "Colors.h"
#include "Graphic.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zorp::fw {

// The framework's ordinals; 15 and 16-bit formats are not offered.
enum TPixelFormat : uint8_t { pf1bit = 1, pf4bit = 2, pf8bit = 3, pf24bit = 6, pf32bit = 7 };

class ZORP_API TBitmap : public TGraphic {
public:
    static constexpr const char* StaticClassName = "TBitmap";
    std::string ClassName() const override { return StaticClassName; }

    TBitmap() = default;

    int32_t Width() const override { return FImage.Width; }
    int32_t Height() const override { return FImage.Height; }
    void SetWidth(int32_t Value) override { SetSize(Value, FImage.Height); }
    void SetHeight(int32_t Value) override { SetSize(FImage.Width, Value); }
    // Resizes, keeping the pixels of the area both sizes share; new pixels
    // are zero (index 0, or black). Raises EInvalidGraphic for a negative
    // size or one whose pixels would exceed MaxBitmapBytes.
    void SetSize(int32_t NewWidth, int32_t NewHeight);
    bool Empty() const override { return FImage.Width == 0 || FImage.Height == 0; }
    bool HasPalette() const override { return FImage.Indexed(); }
    // Copies made by Assign or Clone share the handle of the colour table;
    // a new table (SetPalette, SetPixelFormat, loading) gets a new one.
    HPALETTE PaletteHandle() const override;

    TPixelFormat PixelFormat() const;
    int BitsPerPixel() const { return FImage.BitsPerPixel; }
    // Converts the pixels to the new format. An indexed target keeps the
    // current colour table when it fits, otherwise takes DefaultPalette and
    // maps each pixel to its nearest colour.
    void SetPixelFormat(TPixelFormat Value);

    // The colour table; empty for 24 and 32 bits per pixel.
    const std::vector<TRGBQuad>& Palette() const { return FImage.Palette; }
    // Replaces the colour table of an indexed bitmap (1 to 2^bits entries);
    // pixels keep their indexes.
    void SetPalette(std::vector<TRGBQuad> Value);
    // Drawing hint: draw without selecting the colour table.
    bool IgnorePalette() const { return FIgnorePalette; }
    void SetIgnorePalette(bool Value);

    // Pixel colours (0x00BBGGRR). Coordinates outside the bitmap raise
    // EInvalidGraphic. In the indexed formats SetPixel stores the nearest
    // colour of the table; in 32 bits it clears the fourth byte.
    TColor Pixel(int32_t X, int32_t Y) const;
    void SetPixel(int32_t X, int32_t Y, TColor Color);
    // Colour table indexes; for the indexed formats only (EInvalidGraphic
    // otherwise). An index may exceed the table and reads as black.
    uint8_t PixelIndex(int32_t X, int32_t Y) const;
    void SetPixelIndex(int32_t X, int32_t Y, uint8_t Index);
    // The bytes of row Y (top row 0) as the BMP format lays them out;
    // ScanLineSize bytes including the padding to four bytes.
    const uint8_t* ScanLine(int32_t Y) const;
    int32_t ScanLineSize() const { return static_cast<int32_t>(FImage.Stride()); }

    void LoadFromStream(TStream& Stream) override;
    void SaveToStream(TStream& Stream) const override;

    // Accepts another TBitmap (pixels, format, colour table, IgnorePalette).
    void Assign(const TGraphic& Source) override;
    std::unique_ptr<TGraphic> Clone() const override;

private:
    void CheckPoint(int32_t X, int32_t Y) const;
    void CheckIndexed() const;
    // Gives the current colour table a handle of its own.
    void NewPaletteHandle();

    TBitmapImage FImage;
    bool FIgnorePalette = false;
    // The colour table as selected into canvases; its address is the handle.
    std::shared_ptr<const std::vector<TRGBQuad>> FPalette;
};

} // namespace zorp::fw
