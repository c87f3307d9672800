// Writing bitmaps and working on them: round trips at every depth, the
// header fields the writer fills, files on disk, resizing, format changes,
// colour tables and change events.
#include "controls/BmpBytes.h"
#include "framework/base/Exceptions.h"
#include "framework/base/MemoryStream.h"
#include "framework/controls/Bitmap.h"
#include "support/TestFiles.h"

#include <cstring>
#include <gtest/gtest.h>

namespace zorp::fw {
namespace {

using namespace zorp::test;

uint32_t At32(const std::string& S, size_t Offset) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<uint8_t>(S[Offset + i]);
    return v;
}

std::string Save(const TBitmap& Bitmap) {
    TMemoryStream stream;
    Bitmap.SaveToStream(stream);
    return stream.DataString();
}

void Load(TBitmap& Bitmap, const std::string& Bytes) {
    TMemoryStream stream;
    stream.WriteBuffer(Bytes.data(), static_cast<int32_t>(Bytes.size()));
    stream.SetPosition(0);
    Bitmap.LoadFromStream(stream);
}

// Fills the bitmap with reproducible pixels: colours for 24 and 32 bits,
// indexes for the indexed depths.
void Fill(TBitmap& Bitmap, uint32_t Seed) {
    const std::string noise = RandomBytes(size_t(Bitmap.Width()) * Bitmap.Height() * 3, Seed);
    size_t i = 0;
    for (int32_t y = 0; y < Bitmap.Height(); ++y)
        for (int32_t x = 0; x < Bitmap.Width(); ++x, i += 3) {
            const auto r = static_cast<uint8_t>(noise[i]), g = static_cast<uint8_t>(noise[i + 1]),
                       bl = static_cast<uint8_t>(noise[i + 2]);
            if (Bitmap.HasPalette())
                Bitmap.SetPixelIndex(x, y, static_cast<uint8_t>(r % Bitmap.Palette().size()));
            else
                Bitmap.SetPixel(x, y, RGB(r, g, bl));
        }
}

void ExpectSamePixels(const TBitmap& A, const TBitmap& B) {
    ASSERT_EQ(A.Width(), B.Width());
    ASSERT_EQ(A.Height(), B.Height());
    for (int32_t y = 0; y < A.Height(); ++y)
        for (int32_t x = 0; x < A.Width(); ++x)
            ASSERT_EQ(A.Pixel(x, y), B.Pixel(x, y)) << x << "," << y;
}

class RoundTrip : public ::testing::TestWithParam<TPixelFormat> {};

TEST_P(RoundTrip, SaveThenLoadGivesTheSameBitmap) {
    // Widths that leave every amount of row padding.
    for (int32_t width : {1, 2, 3, 5, 7, 8, 9, 31, 33}) {
        TBitmap a;
        a.SetPixelFormat(GetParam());
        a.SetSize(width, 4);
        Fill(a, uint32_t(width));
        const std::string bytes = Save(a);
        const uint64_t stride = ((uint64_t(width) * a.BitsPerPixel() + 31) / 32) * 4;
        const size_t table = a.Palette().size() * 4;
        ASSERT_EQ(bytes.size(), 14 + 40 + table + stride * 4);
        EXPECT_EQ(At32(bytes, 2), bytes.size());
        EXPECT_EQ(At32(bytes, 10), 54 + table);
        EXPECT_EQ(At32(bytes, 46), a.HasPalette() ? a.Palette().size() : 0u);

        TBitmap b;
        Load(b, bytes);
        EXPECT_EQ(b.PixelFormat(), GetParam());
        EXPECT_EQ(b.Palette(), a.Palette());
        ExpectSamePixels(a, b);
        for (int32_t y = 0; y < a.Height(); ++y)
            EXPECT_EQ(0, std::memcmp(a.ScanLine(y), b.ScanLine(y), size_t(a.ScanLineSize())));
        EXPECT_EQ(Save(b), bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, RoundTrip,
                         ::testing::Values(pf1bit, pf4bit, pf8bit, pf24bit, pf32bit));

TEST(BitmapWrite, OwnColourTableIsWrittenAndReadBack) {
    TBitmap a;
    a.SetPixelFormat(pf4bit);
    a.SetSize(4, 1);
    a.SetPalette(
        {ColorToRGBQuad(RGB(1, 2, 3)), ColorToRGBQuad(RGB(4, 5, 6)), ColorToRGBQuad(RGB(7, 8, 9))});
    a.SetPixelIndex(0, 0, 2);
    a.SetPixelIndex(1, 0, 1);
    a.SetPixelIndex(3, 0, 2);
    const std::string bytes = Save(a);
    // Header, info header, three entries, then one row: 0x21, 0x02 and padding.
    ASSERT_EQ(bytes.size(), 14u + 40 + 12 + 4);
    EXPECT_EQ(bytes.substr(54, 12), Quad(1, 2, 3) + Quad(4, 5, 6) + Quad(7, 8, 9));
    EXPECT_EQ(bytes.substr(66), std::string("\x21\x02\x00\x00", 4));
    TBitmap b;
    Load(b, bytes);
    EXPECT_EQ(b.Palette().size(), 3u);
    EXPECT_EQ(b.Pixel(0, 0), RGB(7, 8, 9));
    EXPECT_EQ(b.Pixel(2, 0), RGB(1, 2, 3));
}

TEST(BitmapWrite, EmptyBitmapWritesNothing) {
    TBitmap a;
    EXPECT_TRUE(a.Empty());
    EXPECT_EQ(Save(a), "");
    a.SetSize(5, 0);
    EXPECT_TRUE(a.Empty());
    EXPECT_EQ(Save(a), "");
}

TEST(BitmapWrite, FilesOnDisk) {
    TempDir dir;
    TBitmap a;
    a.SetPixelFormat(pf8bit);
    a.SetSize(17, 9);
    Fill(a, 99);
    a.SaveToFile(dir / "a.bmp");
    const std::string bytes = ReadWholeFile(dir / "a.bmp");
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(bytes, Save(a));
    TBitmap b;
    b.LoadFromFile(dir / "a.bmp");
    ExpectSamePixels(a, b);
    EXPECT_THROW(b.LoadFromFile(dir / "missing.bmp"), EFOpenError);
}

TEST(BitmapEdit, SetSizeKeepsTheSharedArea) {
    for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf24bit, pf32bit}) {
        TBitmap a;
        a.SetPixelFormat(format);
        a.SetSize(7, 5);
        Fill(a, 7);
        TBitmap b;
        b.Assign(a);
        b.SetSize(11, 3);
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < 11; ++x)
                EXPECT_EQ(b.Pixel(x, y), x < 7 ? a.Pixel(x, y) : clBlack) << format;
        b.SetSize(3, 6);
        for (int32_t y = 0; y < 6; ++y)
            for (int32_t x = 0; x < 3; ++x)
                EXPECT_EQ(b.Pixel(x, y), y < 3 ? a.Pixel(x, y) : clBlack) << format;
    }
}

TEST(BitmapEdit, SizesAreCheckedBeforeAllocating) {
    TBitmap a;
    EXPECT_THROW(a.SetSize(-1, 4), EInvalidGraphic);
    EXPECT_THROW(a.SetSize(100000, 100000), EInvalidGraphic);
    EXPECT_THROW(a.SetSize(0x7FFFFFFF, 0x7FFFFFFF), EInvalidGraphic);
    EXPECT_TRUE(a.Empty());
    a.SetSize(0x7FFFFFFF, 0); // no pixels at all
    EXPECT_EQ(a.Width(), 0x7FFFFFFF);
}

TEST(BitmapEdit, PixelAccessOutsideRaises) {
    TBitmap a;
    a.SetSize(2, 2);
    EXPECT_THROW(a.Pixel(2, 0), EInvalidGraphic);
    EXPECT_THROW(a.Pixel(0, -1), EInvalidGraphic);
    EXPECT_THROW(a.SetPixel(-1, 0, clRed), EInvalidGraphic);
    EXPECT_THROW(a.ScanLine(2), EInvalidGraphic);
    EXPECT_THROW(a.PixelIndex(0, 0), EInvalidGraphic); // no colour table at 24 bits
    EXPECT_THROW(a.SetPalette({}), EInvalidGraphic);
    a.SetPixelFormat(pf1bit);
    EXPECT_THROW(a.SetPixelIndex(0, 0, 2), EInvalidGraphic);
    EXPECT_THROW(a.SetPalette(std::vector<TRGBQuad>(3)), EInvalidGraphic);
    EXPECT_THROW(a.SetPalette({}), EInvalidGraphic);
}

TEST(BitmapEdit, IndexedSetPixelTakesTheNearestColour) {
    TBitmap a;
    a.SetPixelFormat(pf1bit);
    a.SetSize(3, 1);
    a.SetPixel(0, 0, RGB(200, 200, 200));
    a.SetPixel(1, 0, RGB(20, 40, 10));
    a.SetPixel(2, 0, clWhite);
    EXPECT_EQ(a.PixelIndex(0, 0), 1);
    EXPECT_EQ(a.PixelIndex(1, 0), 0);
    EXPECT_EQ(a.Pixel(2, 0), clWhite);
    a.SetPalette({ColorToRGBQuad(clRed), ColorToRGBQuad(clBlue)});
    EXPECT_EQ(a.Pixel(0, 0), clBlue); // indexes stay, colours follow the table
    a.SetPixel(1, 0, RGB(250, 10, 10));
    EXPECT_EQ(a.PixelIndex(1, 0), 0);
}

TEST(BitmapEdit, FormatChangesKeepColours) {
    TBitmap a;
    a.SetSize(6, 2);
    const TColor colours[6] = {clBlack, clRed, clLime, clBlue, clWhite, clTeal};
    for (int x = 0; x < 6; ++x) {
        a.SetPixel(x, 0, colours[x]);
        a.SetPixel(x, 1, colours[5 - x]);
    }
    a.SetPixelFormat(pf32bit);
    a.SetPixelFormat(pf4bit); // all six are standard colours
    EXPECT_EQ(a.Palette().size(), 16u);
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(a.Pixel(x, 0), colours[x]);
    a.SetPixelFormat(pf8bit); // keeps the 16-entry table and the indexes
    EXPECT_EQ(a.Palette().size(), 16u);
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(a.Pixel(x, 1), colours[5 - x]);
    a.SetPixelFormat(pf1bit); // 16 entries do not fit: black and white
    EXPECT_EQ(a.Palette().size(), 2u);
    EXPECT_EQ(a.Pixel(0, 0), clBlack);
    EXPECT_EQ(a.Pixel(4, 0), clWhite);
    EXPECT_EQ(a.Pixel(5, 0), clBlack); // teal is nearer black
    a.SetPixelFormat(pf24bit);
    EXPECT_TRUE(a.Palette().empty());
    EXPECT_EQ(a.Pixel(4, 0), clWhite);
}

TEST(BitmapEdit, EveryChangeFiresOnceAndNoChangeFiresNothing) {
    TBitmap a;
    int changes = 0;
    a.OnChange = [&] { ++changes; };
    a.SetSize(2, 2);
    a.SetSize(2, 2);
    a.SetPixel(0, 0, clRed);
    a.SetPixelFormat(pf24bit);
    a.SetPixelFormat(pf8bit);
    a.SetPixelIndex(1, 1, 3);
    a.SetIgnorePalette(true);
    a.SetIgnorePalette(true);
    a.SetPalette(DefaultPalette(8));
    EXPECT_EQ(changes, 6);
    EXPECT_TRUE(a.IgnorePalette());
}

class OtherGraphic : public TGraphic {
public:
    std::string ClassName() const override { return "TOtherGraphic"; }
    int32_t Width() const override { return 0; }
    int32_t Height() const override { return 0; }
    void SetWidth(int32_t) override {}
    void SetHeight(int32_t) override {}
    bool Empty() const override { return true; }
    void LoadFromStream(TStream&) override {}
    void SaveToStream(TStream&) const override {}
    void Assign(const TGraphic& Source) override { AssignError(Source); }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<OtherGraphic>(); }
};

TEST(BitmapEdit, AssignCopiesAndStaysIndependent) {
    TBitmap a;
    a.SetPixelFormat(pf4bit);
    a.SetSize(3, 3);
    Fill(a, 3);
    a.SetIgnorePalette(true);
    TBitmap b;
    int changes = 0;
    b.OnChange = [&] { ++changes; };
    b.Assign(a);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(b.PixelFormat(), pf4bit);
    EXPECT_TRUE(b.IgnorePalette());
    ExpectSamePixels(a, b);
    b.SetPixelIndex(0, 0, uint8_t((a.PixelIndex(0, 0) + 1) % 16));
    EXPECT_NE(a.PixelIndex(0, 0), b.PixelIndex(0, 0));
    auto c = a.Clone();
    EXPECT_EQ(c->ClassName(), "TBitmap");
    ExpectSamePixels(a, dynamic_cast<TBitmap&>(*c));
    OtherGraphic other;
    EXPECT_THROW(b.Assign(other), EInvalidGraphic);
}

} // namespace
} // namespace zorp::fw
