#pragma once

#include "../base/Export.h"
#include "BitmapImage.h"
#include "Colors.h"
#include "Graphic.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zorp::fw {

/// The pixel format of a bitmap: 1, 4, 8, 24 or 32 bits per pixel. The
/// values are the framework's ordinals; 15 and 16-bit formats are not
/// offered.
enum TPixelFormat : uint8_t { pf1bit = 1, pf4bit = 2, pf8bit = 3, pf24bit = 6, pf32bit = 7 };

/// A device-independent raster image that reads and writes BMP files. A
/// bitmap has a size, a pixel format (1, 4, 8, 24 or 32 bits per pixel), a
/// colour table for the indexed formats, and pixels reached by colour
/// (Pixel/SetPixel) or, in the indexed formats, by table index
/// (PixelIndex/SetPixelIndex). Every change fires OnChange once.
///
/// An empty bitmap (no width or no height) saves as no bytes at all, and no
/// bytes load as an empty bitmap. A new bitmap is empty with 24 bits per
/// pixel.
class ZORP_API TBitmap : public TGraphic {
public:
    /// The class name ClassName answers and the class registry knows.
    static constexpr const char* StaticClassName = "TBitmap";
    /// Answers StaticClassName.
    std::string ClassName() const override { return StaticClassName; }

    /// Makes an empty bitmap with 24 bits per pixel.
    TBitmap() = default;

    /// The bitmap's size in pixels.
    /// @{
    int32_t Width() const override { return FImage.Width; }
    int32_t Height() const override { return FImage.Height; }
    /// @}
    /// Change one side of the bitmap through SetSize, keeping the other.
    /// @{
    void SetWidth(int32_t Value) override { SetSize(Value, FImage.Height); }
    void SetHeight(int32_t Value) override { SetSize(FImage.Width, Value); }
    /// @}
    /// Resizes, keeping the pixels of the area both sizes share; new pixels
    /// are zero (index 0, or black). Raises EInvalidGraphic for a negative
    /// size or one whose pixels would exceed MaxBitmapBytes.
    void SetSize(int32_t NewWidth, int32_t NewHeight);
    /// True when the bitmap has no width or no height.
    bool Empty() const override { return FImage.Width == 0 || FImage.Height == 0; }
    /// True for the indexed formats (1, 4 and 8 bits per pixel).
    bool HasPalette() const override { return FImage.Indexed(); }
    /// The handle of the colour table; 0 for 24 and 32 bits per pixel. Copies
    /// made by Assign or Clone share the handle of the colour table; a new
    /// table (SetPalette, SetPixelFormat, loading) gets a new one.
    HPALETTE PaletteHandle() const override;

    /// The format of the pixels.
    TPixelFormat PixelFormat() const;
    /// The bits per pixel: 1, 4, 8, 24 or 32.
    int BitsPerPixel() const { return FImage.BitsPerPixel; }
    /// Converts the pixels to the new format. An indexed target keeps the
    /// current colour table when it fits, otherwise takes DefaultPalette and
    /// maps each pixel to its nearest colour.
    void SetPixelFormat(TPixelFormat Value);

    /// The colour table; empty for 24 and 32 bits per pixel.
    const std::vector<TRGBQuad>& Palette() const { return FImage.Palette; }
    /// Replaces the colour table of an indexed bitmap (1 to 2^bits entries);
    /// pixels keep their indexes. Raises EInvalidGraphic for 24 and 32 bits
    /// per pixel or a table of the wrong size.
    void SetPalette(std::vector<TRGBQuad> Value);
    /// Drawing hint: draw without selecting the colour table. A change fires
    /// OnChange.
    /// @{
    bool IgnorePalette() const { return FIgnorePalette; }
    void SetIgnorePalette(bool Value);
    /// @}

    /// Pixel colours (0x00BBGGRR). Coordinates outside the bitmap raise
    /// EInvalidGraphic. In the indexed formats SetPixel stores the nearest
    /// colour of the table; in 32 bits it clears the fourth byte.
    /// @{
    TColor Pixel(int32_t X, int32_t Y) const;
    void SetPixel(int32_t X, int32_t Y, TColor Color);
    /// @}
    /// Colour table indexes; for the indexed formats only (EInvalidGraphic
    /// otherwise). An index may exceed the table and reads as black.
    /// @{
    uint8_t PixelIndex(int32_t X, int32_t Y) const;
    void SetPixelIndex(int32_t X, int32_t Y, uint8_t Index);
    /// @}
    /// The bytes of row Y (top row 0) as the BMP format lays them out;
    /// ScanLineSize bytes including the padding to four bytes. Raises
    /// EInvalidGraphic for a row outside the bitmap.
    const uint8_t* ScanLine(int32_t Y) const;
    /// The bytes in one row, including the padding to four bytes.
    int32_t ScanLineSize() const { return static_cast<int32_t>(FImage.Stride()); }

    /// Reads a BMP file (ReadBitmapImage); the colour table gets a new handle.
    void LoadFromStream(TStream& Stream) override;
    /// Writes a BMP file (WriteBitmapImage); an empty bitmap writes nothing.
    void SaveToStream(TStream& Stream) const override;

    /// Accepts another TBitmap (pixels, format, colour table, IgnorePalette).
    void Assign(const TGraphic& Source) override;
    /// A new TBitmap with the same pixels, format, colour table (and its
    /// handle) and IgnorePalette.
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
