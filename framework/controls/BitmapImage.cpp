#include "framework/controls/BitmapImage.h"

#include "framework/base/Exceptions.h"

#include <algorithm>
#include <array>
#include <bit>
#include <limits>
#include <string>

namespace zorp::fw {

namespace {

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;

constexpr uint32_t FileHeaderSize = 14;
constexpr uint32_t CoreHeaderSize = 12;
constexpr uint32_t InfoHeaderSize = 40;
constexpr uint32_t Os2InfoHeaderSize = 64;

[[noreturn]] void Invalid(const std::string& Reason) {
    throw EInvalidGraphic("Bitmap image is not valid: " + Reason);
}

uint16_t Get16(const uint8_t* P) {
    return static_cast<uint16_t>(P[0] | (P[1] << 8));
}
uint32_t Get32(const uint8_t* P) {
    return static_cast<uint32_t>(P[0]) | (static_cast<uint32_t>(P[1]) << 8) |
           (static_cast<uint32_t>(P[2]) << 16) | (static_cast<uint32_t>(P[3]) << 24);
}
void Put16(uint8_t* P, uint16_t V) {
    P[0] = static_cast<uint8_t>(V);
    P[1] = static_cast<uint8_t>(V >> 8);
}
void Put32(uint8_t* P, uint32_t V) {
    for (int i = 0; i < 4; ++i)
        P[i] = static_cast<uint8_t>(V >> (8 * i));
}

// Reads from a stream without ever asking for more than the bytes that were
// left in it when reading began; a short stream is damaged data.
class TBoundedReader {
public:
    explicit TBoundedReader(TStream& Stream)
        : FStream(Stream), FAvailable(std::max<int64_t>(0, Stream.Size() - Stream.Position())) {}

    int64_t Available() const { return FAvailable; }
    // Bytes consumed since reading began.
    int64_t Offset() const { return FOffset; }
    int64_t Remaining() const { return FAvailable - FOffset; }

    void Read(void* Buffer, int64_t Count) {
        Require(Count);
        if (Count == 0)
            return;
        FStream.ReadBuffer(Buffer, static_cast<int32_t>(Count));
        FOffset += Count;
    }
    void Skip(int64_t Count) {
        Require(Count);
        FStream.Seek(Count, soCurrent);
        FOffset += Count;
    }

private:
    void Require(int64_t Count) const {
        if (Count < 0 || Count > Remaining())
            Invalid("the data ends early");
    }

    TStream& FStream;
    int64_t FAvailable;
    int64_t FOffset = 0;
};

// One colour channel of a 32-bit pixel selected by a mask of contiguous bits.
struct TChannel {
    uint32_t Mask = 0;
    int Shift = 0;
    int Bits = 0;

    static TChannel FromMask(uint32_t Mask) {
        TChannel c;
        c.Mask = Mask;
        if (Mask == 0)
            return c;
        c.Shift = std::countr_zero(Mask);
        const uint32_t field = Mask >> c.Shift;
        c.Bits = std::popcount(field);
        if (c.Bits < 32 && field != (uint32_t(1) << c.Bits) - 1)
            Invalid("a colour mask has gaps");
        return c;
    }
    // The channel's value scaled to 0..255 (0 when the mask is empty).
    uint8_t Extract(uint32_t Pixel) const {
        if (Bits == 0)
            return 0;
        const uint32_t v = (Pixel & Mask) >> Shift;
        if (Bits >= 8)
            return static_cast<uint8_t>(v >> (Bits - 8));
        const uint32_t max = (uint32_t(1) << Bits) - 1;
        return static_cast<uint8_t>((v * 255 + max / 2) / max);
    }
};

// Rewrites 32-bit pixels laid out by the given masks as blue, green, red and
// alpha bytes.
void ApplyMasks(TBitmapImage& Image, const std::array<uint32_t, 4>& Masks) {
    const TChannel red = TChannel::FromMask(Masks[0]);
    const TChannel green = TChannel::FromMask(Masks[1]);
    const TChannel blue = TChannel::FromMask(Masks[2]);
    const TChannel alpha = TChannel::FromMask(Masks[3]);
    if (red.Mask == 0x00FF0000 && green.Mask == 0x0000FF00 && blue.Mask == 0x000000FF &&
        (alpha.Mask == 0 || alpha.Mask == 0xFF000000)) {
        if (alpha.Mask == 0)
            for (size_t i = 3; i < Image.Bits.size(); i += 4)
                Image.Bits[i] = 0;
        return;
    }
    for (size_t i = 0; i + 4 <= Image.Bits.size(); i += 4) {
        uint8_t* p = Image.Bits.data() + i;
        const uint32_t v = Get32(p);
        p[0] = blue.Extract(v);
        p[1] = green.Extract(v);
        p[2] = red.Extract(v);
        p[3] = alpha.Extract(v);
    }
}

// The fields of the file and info headers that reading needs.
struct THeader {
    uint32_t OffBits = 0;
    uint32_t InfoSize = 0;
    int64_t Width = 0;
    int64_t Height = 0;
    uint16_t Planes = 0;
    uint16_t BitCount = 0;
    uint32_t Compression = BI_RGB;
    uint32_t ClrUsed = 0;
    std::array<uint32_t, 4> Masks{};
    bool HasMaskFields = false;
};

THeader ReadHeaders(TBoundedReader& Reader) {
    uint8_t file[FileHeaderSize + 4];
    Reader.Read(file, sizeof file);
    if (file[0] != 'B' || file[1] != 'M')
        Invalid("the file does not start with \"BM\"");
    THeader h;
    h.OffBits = Get32(file + 10);
    h.InfoSize = Get32(file + 14);
    switch (h.InfoSize) {
    case CoreHeaderSize:
    case InfoHeaderSize:
    case 52:
    case 56:
    case Os2InfoHeaderSize:
    case 108:
    case 124:
        break;
    default:
        Invalid("unknown info header size " + std::to_string(h.InfoSize));
    }
    std::array<uint8_t, 124> info{};
    Reader.Read(info.data() + 4, h.InfoSize - 4);
    if (h.InfoSize == CoreHeaderSize) {
        h.Width = Get16(&info[4]);
        h.Height = Get16(&info[6]);
        h.Planes = Get16(&info[8]);
        h.BitCount = Get16(&info[10]);
        return h;
    }
    h.Width = static_cast<int32_t>(Get32(&info[4]));
    h.Height = static_cast<int32_t>(Get32(&info[8]));
    h.Planes = Get16(&info[12]);
    h.BitCount = Get16(&info[14]);
    h.Compression = Get32(&info[16]);
    h.ClrUsed = Get32(&info[32]);
    if (h.InfoSize >= 52 && h.InfoSize != Os2InfoHeaderSize) {
        h.HasMaskFields = true;
        h.Masks = {Get32(&info[40]), Get32(&info[44]), Get32(&info[48]),
                   h.InfoSize >= 56 ? Get32(&info[52]) : 0};
    }
    return h;
}

void CheckHeader(const THeader& H) {
    if (H.Planes != 1)
        Invalid("the plane count is " + std::to_string(H.Planes));
    if (!SupportedBitsPerPixel(H.BitCount))
        Invalid(std::to_string(H.BitCount) + " bits per pixel are not supported");
    switch (H.Compression) {
    case BI_RGB:
        break;
    case BI_RLE8:
    case BI_RLE4:
        if (H.InfoSize != Os2InfoHeaderSize)
            Invalid("RLE-compressed bitmaps are not supported");
        Invalid("compressed OS/2 bitmaps are not supported");
    case BI_BITFIELDS:
        if (H.BitCount != 32 || H.InfoSize == Os2InfoHeaderSize)
            Invalid("colour masks are supported for 32 bits per pixel only");
        break;
    default:
        Invalid("compression " + std::to_string(H.Compression) + " is not supported");
    }
    if (H.Width < 0)
        Invalid("the width is negative");
    if (H.Height == std::numeric_limits<int32_t>::min())
        Invalid("the height is out of range");
    const uint64_t rows = static_cast<uint64_t>(H.Height < 0 ? -H.Height : H.Height);
    const uint64_t stride = BitmapStride(H.Width, H.BitCount);
    if (rows != 0 && stride > MaxBitmapBytes / rows)
        Invalid("the image is too large");
}

} // namespace

TBitmapImage MakeBitmapImage(int32_t Width, int32_t Height, int BitsPerPixel) {
    if (Width < 0 || Height < 0)
        throw EInvalidGraphic("Invalid bitmap size " + std::to_string(Width) + " x " +
                              std::to_string(Height));
    if (!SupportedBitsPerPixel(BitsPerPixel))
        throw EInvalidGraphic(std::to_string(BitsPerPixel) + " bits per pixel are not supported");
    const uint64_t stride = BitmapStride(Width, BitsPerPixel);
    if (Height != 0 && stride > MaxBitmapBytes / static_cast<uint64_t>(Height))
        throw EInvalidGraphic("Bitmap image is too large");
    TBitmapImage image;
    image.Width = Width;
    image.Height = Height;
    image.BitsPerPixel = BitsPerPixel;
    image.Bits.assign(static_cast<size_t>(stride * static_cast<uint64_t>(Height)), 0);
    if (image.Indexed())
        image.Palette = DefaultPalette(BitsPerPixel);
    return image;
}

std::vector<TRGBQuad> DefaultPalette(int BitsPerPixel) {
    std::vector<TRGBQuad> palette;
    switch (BitsPerPixel) {
    case 1:
        palette = {ColorToRGBQuad(clBlack), ColorToRGBQuad(clWhite)};
        break;
    case 4:
        for (TColor c : {clBlack, clMaroon, clGreen, clOlive, clNavy, clPurple, clTeal, clGray,
                         clSilver, clRed, clLime, clYellow, clBlue, clFuchsia, clAqua, clWhite})
            palette.push_back(ColorToRGBQuad(c));
        break;
    case 8:
        for (int i = 0; i < 256; ++i)
            palette.push_back(TRGBQuad{static_cast<uint8_t>((i & 3) * 255 / 3),
                                       static_cast<uint8_t>(((i >> 2) & 7) * 255 / 7),
                                       static_cast<uint8_t>(((i >> 5) & 7) * 255 / 7), 0});
        break;
    default:
        break;
    }
    return palette;
}

uint8_t NearestPaletteIndex(const std::vector<TRGBQuad>& Palette, TColor Color) {
    const int r = GetRValue(Color), g = GetGValue(Color), b = GetBValue(Color);
    size_t best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (size_t i = 0; i < Palette.size() && i < 256; ++i) {
        const int dr = Palette[i].rgbRed - r, dg = Palette[i].rgbGreen - g,
                  db = Palette[i].rgbBlue - b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
            if (distance == 0)
                break;
        }
    }
    return static_cast<uint8_t>(best);
}

uint8_t TBitmapImage::Index(int32_t X, int32_t Y) const {
    const uint8_t* row = Row(Y);
    switch (BitsPerPixel) {
    case 1:
        return (row[X >> 3] >> (7 - (X & 7))) & 1;
    case 4:
        return (X & 1) ? row[X >> 1] & 0x0F : row[X >> 1] >> 4;
    default:
        return row[X];
    }
}

void TBitmapImage::SetIndex(int32_t X, int32_t Y, uint8_t Value) {
    uint8_t* row = Row(Y);
    switch (BitsPerPixel) {
    case 1: {
        const uint8_t bit = static_cast<uint8_t>(0x80 >> (X & 7));
        row[X >> 3] = (Value & 1) ? (row[X >> 3] | bit) : (row[X >> 3] & ~bit);
        break;
    }
    case 4: {
        uint8_t& byte = row[X >> 1];
        byte = (X & 1) ? static_cast<uint8_t>((byte & 0xF0) | (Value & 0x0F))
                       : static_cast<uint8_t>((byte & 0x0F) | (Value << 4));
        break;
    }
    default:
        row[X] = Value;
    }
}

TColor TBitmapImage::Color(int32_t X, int32_t Y) const {
    if (Indexed()) {
        const uint8_t index = Index(X, Y);
        return index < Palette.size() ? RGBQuadToColor(Palette[index]) : clBlack;
    }
    const uint8_t* p = Row(Y) + static_cast<size_t>(X) * (BitsPerPixel / 8);
    return RGB(p[2], p[1], p[0]);
}

void TBitmapImage::SetColor(int32_t X, int32_t Y, TColor Value) {
    if (Indexed()) {
        SetIndex(X, Y, NearestPaletteIndex(Palette, Value));
        return;
    }
    uint8_t* p = Row(Y) + static_cast<size_t>(X) * (BitsPerPixel / 8);
    p[0] = GetBValue(Value);
    p[1] = GetGValue(Value);
    p[2] = GetRValue(Value);
    if (BitsPerPixel == 32)
        p[3] = 0;
}

TBitmapImage ReadBitmapImage(TStream& Stream) {
    TBoundedReader reader(Stream);
    TBitmapImage image;
    if (reader.Available() == 0)
        return image;
    THeader h = ReadHeaders(reader);
    CheckHeader(h);

    const bool core = h.InfoSize == CoreHeaderSize;
    // The three colour masks that follow a plain info header.
    if (h.Compression == BI_BITFIELDS && !h.HasMaskFields) {
        uint8_t masks[12];
        reader.Read(masks, sizeof masks);
        h.Masks = {Get32(masks), Get32(masks + 4), Get32(masks + 8), 0};
    }
    const int64_t headersEnd = reader.Offset();
    if (h.OffBits < headersEnd)
        Invalid("the pixel data starts inside the headers");

    if (h.BitCount <= 8) {
        const uint32_t full = uint32_t(1) << h.BitCount;
        const int entrySize = core ? 3 : 4;
        uint32_t count = full;
        if (core) {
            // Core files always have a full table, but some writers shorten
            // it; the pixel offset tells.
            count = static_cast<uint32_t>(
                std::min<int64_t>(full, (h.OffBits - headersEnd) / entrySize));
        } else if (h.ClrUsed != 0) {
            if (h.ClrUsed > full)
                Invalid("the colour table has " + std::to_string(h.ClrUsed) + " entries");
            count = h.ClrUsed;
        }
        if (count == 0 || headersEnd + int64_t(count) * entrySize > h.OffBits)
            Invalid("the colour table overlaps the pixel data");
        std::vector<uint8_t> table(count * entrySize);
        reader.Read(table.data(), static_cast<int64_t>(table.size()));
        image.Palette.resize(count);
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* e = table.data() + i * entrySize;
            image.Palette[i] = TRGBQuad{e[0], e[1], e[2], 0};
        }
    }
    reader.Skip(h.OffBits - reader.Offset());

    const bool topDown = h.Height < 0;
    image.Width = static_cast<int32_t>(h.Width);
    image.Height = static_cast<int32_t>(topDown ? -h.Height : h.Height);
    image.BitsPerPixel = h.BitCount;
    const size_t stride = image.Stride();
    const uint64_t total = static_cast<uint64_t>(stride) * static_cast<uint64_t>(image.Height);
    if (total > static_cast<uint64_t>(reader.Remaining()))
        Invalid("the pixel data is truncated");
    image.Bits.resize(static_cast<size_t>(total));
    // A width of 0 leaves no bytes to read, however many rows there are.
    for (int32_t r = 0; r < image.Height && stride != 0; ++r)
        reader.Read(image.Row(topDown ? r : image.Height - 1 - r), static_cast<int64_t>(stride));
    if (h.BitCount == 32)
        ApplyMasks(image,
                   h.Compression == BI_BITFIELDS
                       ? h.Masks
                       : std::array<uint32_t, 4>{0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000});
    return image;
}

void WriteBitmapImage(const TBitmapImage& Image, TStream& Stream) {
    const size_t stride = Image.Stride();
    const uint64_t imageSize = static_cast<uint64_t>(stride) * static_cast<uint64_t>(Image.Height);
    const uint32_t colours = Image.Indexed() ? static_cast<uint32_t>(Image.Palette.size()) : 0;
    const uint64_t offBits = FileHeaderSize + InfoHeaderSize + uint64_t(colours) * 4;
    if (imageSize > MaxBitmapBytes || Image.Bits.size() != imageSize)
        throw EInvalidGraphic("Bitmap image is not valid: inconsistent pixel buffer");

    std::vector<uint8_t> head(static_cast<size_t>(offBits), 0);
    head[0] = 'B';
    head[1] = 'M';
    Put32(&head[2], static_cast<uint32_t>(offBits + imageSize));
    Put32(&head[10], static_cast<uint32_t>(offBits));
    uint8_t* info = &head[FileHeaderSize];
    Put32(info, InfoHeaderSize);
    Put32(info + 4, static_cast<uint32_t>(Image.Width));
    Put32(info + 8, static_cast<uint32_t>(Image.Height));
    Put16(info + 12, 1);
    Put16(info + 14, static_cast<uint16_t>(Image.BitsPerPixel));
    Put32(info + 16, BI_RGB);
    Put32(info + 20, static_cast<uint32_t>(imageSize));
    Put32(info + 32, colours);
    for (uint32_t i = 0; i < colours; ++i) {
        uint8_t* e = info + InfoHeaderSize + i * 4;
        e[0] = Image.Palette[i].rgbBlue;
        e[1] = Image.Palette[i].rgbGreen;
        e[2] = Image.Palette[i].rgbRed;
    }
    Stream.WriteBuffer(head.data(), static_cast<int32_t>(head.size()));
    for (int32_t r = Image.Height - 1; r >= 0 && stride != 0; --r)
        Stream.WriteBuffer(Image.Row(r), static_cast<int32_t>(stride));
}

} // namespace zorp::fw
