#include "framework/controls/Bitmap.h"

#include "framework/base/Exceptions.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace zorp::fw {

namespace {

int BitsOf(TPixelFormat Format) {
    switch (Format) {
    case pf1bit:
        return 1;
    case pf4bit:
        return 4;
    case pf8bit:
        return 8;
    case pf24bit:
        return 24;
    case pf32bit:
        return 32;
    }
    throw EInvalidGraphic("Unsupported pixel format " + std::to_string(int(Format)));
}

} // namespace

void TBitmap::SetSize(int32_t NewWidth, int32_t NewHeight) {
    if (NewWidth == FImage.Width && NewHeight == FImage.Height)
        return;
    TBitmapImage image = MakeBitmapImage(NewWidth, NewHeight, FImage.BitsPerPixel);
    if (FImage.Indexed())
        image.Palette = FImage.Palette;
    const int32_t w = std::min(NewWidth, FImage.Width);
    const int32_t h = std::min(NewHeight, FImage.Height);
    for (int32_t y = 0; y < h && w > 0; ++y) {
        if (image.BitsPerPixel >= 8)
            std::memcpy(image.Row(y), FImage.Row(y),
                        static_cast<size_t>(w) * static_cast<size_t>(image.BitsPerPixel / 8));
        else
            for (int32_t x = 0; x < w; ++x)
                image.SetIndex(x, y, FImage.Index(x, y));
    }
    FImage = std::move(image);
    Changed();
}

TPixelFormat TBitmap::PixelFormat() const {
    switch (FImage.BitsPerPixel) {
    case 1:
        return pf1bit;
    case 4:
        return pf4bit;
    case 8:
        return pf8bit;
    case 32:
        return pf32bit;
    default:
        return pf24bit;
    }
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
    const int bits = BitsOf(Value);
    if (bits == FImage.BitsPerPixel)
        return;
    TBitmapImage image = MakeBitmapImage(FImage.Width, FImage.Height, bits);
    const bool keepIndexes =
        FImage.Indexed() && image.Indexed() && FImage.Palette.size() <= image.Palette.size();
    if (keepIndexes)
        image.Palette = FImage.Palette;
    const uint32_t indexLimit = image.Indexed() ? uint32_t(1) << bits : 0;
    for (int32_t y = 0; y < FImage.Height && FImage.Width > 0; ++y)
        for (int32_t x = 0; x < FImage.Width; ++x) {
            if (keepIndexes && FImage.Index(x, y) < indexLimit)
                image.SetIndex(x, y, FImage.Index(x, y));
            else
                image.SetColor(x, y, FImage.Color(x, y));
        }
    FImage = std::move(image);
    NewPaletteHandle();
    Changed();
}

void TBitmap::SetPalette(std::vector<TRGBQuad> Value) {
    CheckIndexed();
    if (Value.empty() || Value.size() > (size_t(1) << FImage.BitsPerPixel))
        throw EInvalidGraphic("A colour table of " + std::to_string(Value.size()) +
                              " entries does not suit " + std::to_string(FImage.BitsPerPixel) +
                              " bits per pixel");
    for (TRGBQuad& q : Value)
        q.rgbReserved = 0;
    FImage.Palette = std::move(Value);
    NewPaletteHandle();
    Changed();
}

void TBitmap::SetIgnorePalette(bool Value) {
    if (Value == FIgnorePalette)
        return;
    FIgnorePalette = Value;
    Changed();
}

TColor TBitmap::Pixel(int32_t X, int32_t Y) const {
    CheckPoint(X, Y);
    return FImage.Color(X, Y);
}

void TBitmap::SetPixel(int32_t X, int32_t Y, TColor Color) {
    CheckPoint(X, Y);
    FImage.SetColor(X, Y, Color);
    Changed();
}

uint8_t TBitmap::PixelIndex(int32_t X, int32_t Y) const {
    CheckIndexed();
    CheckPoint(X, Y);
    return FImage.Index(X, Y);
}

void TBitmap::SetPixelIndex(int32_t X, int32_t Y, uint8_t Index) {
    CheckIndexed();
    CheckPoint(X, Y);
    if (Index >= (1u << FImage.BitsPerPixel))
        throw EInvalidGraphic("Colour index " + std::to_string(Index) + " does not fit " +
                              std::to_string(FImage.BitsPerPixel) + " bits per pixel");
    FImage.SetIndex(X, Y, Index);
    Changed();
}

const uint8_t* TBitmap::ScanLine(int32_t Y) const {
    if (Y < 0 || Y >= FImage.Height)
        throw EInvalidGraphic("Scan line index out of range");
    return FImage.Row(Y);
}

void TBitmap::LoadFromStream(TStream& Stream) {
    FImage = ReadBitmapImage(Stream);
    NewPaletteHandle();
    Changed();
}

void TBitmap::SaveToStream(TStream& Stream) const {
    if (!Empty())
        WriteBitmapImage(FImage, Stream);
}

void TBitmap::Assign(const TGraphic& Source) {
    const auto* source = dynamic_cast<const TBitmap*>(&Source);
    if (source == nullptr)
        AssignError(Source);
    if (source == this)
        return;
    FImage = source->FImage;
    FIgnorePalette = source->FIgnorePalette;
    FPalette = source->FPalette;
    Changed();
}

std::unique_ptr<TGraphic> TBitmap::Clone() const {
    auto copy = std::make_unique<TBitmap>();
    copy->FImage = FImage;
    copy->FIgnorePalette = FIgnorePalette;
    copy->FPalette = FPalette;
    return copy;
}

HPALETTE TBitmap::PaletteHandle() const {
    return reinterpret_cast<HPALETTE>(FPalette.get());
}

void TBitmap::NewPaletteHandle() {
    FPalette =
        FImage.Indexed() ? std::make_shared<const std::vector<TRGBQuad>>(FImage.Palette) : nullptr;
}

void TBitmap::CheckPoint(int32_t X, int32_t Y) const {
    if (X < 0 || Y < 0 || X >= FImage.Width || Y >= FImage.Height)
        throw EInvalidGraphic("Pixel (" + std::to_string(X) + ", " + std::to_string(Y) +
                              ") is outside the bitmap");
}

void TBitmap::CheckIndexed() const {
    if (!FImage.Indexed())
        throw EInvalidGraphic("The bitmap has no colour table");
}

} // namespace zorp::fw
