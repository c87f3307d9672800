// Reading BMP files built here byte by byte: every supported header version,
// depth and row order, colour tables, colour masks, and where the stream is
// left afterwards.
#include "controls/BmpBytes.h"
#include "framework/base/Exceptions.h"
#include "framework/base/MemoryStream.h"
#include "framework/controls/Bitmap.h"

#include <gtest/gtest.h>

namespace zorp::fw {
namespace {

using namespace zorp::test;

void Load(TBitmap& Bitmap, const std::string& Bytes) {
    TMemoryStream stream;
    stream.WriteBuffer(Bytes.data(), static_cast<int32_t>(Bytes.size()));
    stream.SetPosition(0);
    Bitmap.LoadFromStream(stream);
}

std::string Hex(std::initializer_list<int> Bytes) {
    std::string s;
    for (int b : Bytes)
        s.push_back(static_cast<char>(b));
    return s;
}

// A 2 x 2 file at 24 bits, bottom-up, every byte spelled out: red and green
// on the top row, blue and white below.
const std::string TwoByTwo24 = Hex({
    0x42, 0x4D, 0x46, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x36, 0x00, 0x00, 0x00, // file
    0x28, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, // size, w, h
    0x01, 0x00, 0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, // planes ...
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00,                                     //
    0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, // bottom row: blue, white, padding
    0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0x00, // top row: red, green, padding
});

TEST(BitmapRead, BottomUp24BitFileSpelledOut) {
    TBitmap b;
    Load(b, TwoByTwo24);
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.Height(), 2);
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    EXPECT_EQ(b.Pixel(0, 0), clRed);
    EXPECT_EQ(b.Pixel(1, 0), clLime);
    EXPECT_EQ(b.Pixel(0, 1), clBlue);
    EXPECT_EQ(b.Pixel(1, 1), clWhite);
    EXPECT_TRUE(b.Palette().empty());
}

TEST(BitmapRead, WriterProducesTheSameBytes) {
    TBitmap b;
    Load(b, TwoByTwo24);
    TMemoryStream out;
    b.SaveToStream(out);
    EXPECT_EQ(out.DataString(), TwoByTwo24);
}

TEST(BitmapRead, TopDownRowsGiveTheSamePixels) {
    InfoFields f;
    f.Width = 2;
    f.Height = -2;
    const std::string pixels = Hex({0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0x00, // top
                                    0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00});
    TBitmap b;
    Load(b, BmpFile(InfoHeader(f), pixels));
    EXPECT_EQ(b.Height(), 2);
    EXPECT_EQ(b.Pixel(0, 0), clRed);
    EXPECT_EQ(b.Pixel(1, 0), clLime);
    EXPECT_EQ(b.Pixel(0, 1), clBlue);
    EXPECT_EQ(b.Pixel(1, 1), clWhite);
    TMemoryStream out;
    b.SaveToStream(out); // written back bottom-up
    EXPECT_EQ(out.DataString(), TwoByTwo24);
}

TEST(BitmapRead, OneBitRowsAreMostSignificantBitFirst) {
    InfoFields f;
    f.Width = 10;
    f.Height = 2;
    f.BitCount = 1;
    const std::string table = Quad(255, 0, 0) + Quad(0, 0, 255); // 0 red, 1 blue
    const std::string pixels = Hex({0x00, 0x40, 0x00, 0x00,      // bottom: only x = 9
                                    0xA0, 0xC0, 0x00, 0x00});    // top: 0, 2, 8, 9
    TBitmap b;
    Load(b, BmpFile(InfoHeader(f) + table, pixels));
    EXPECT_EQ(b.PixelFormat(), pf1bit);
    ASSERT_EQ(b.Palette().size(), 2u);
    EXPECT_EQ(b.Palette()[0], ColorToRGBQuad(clRed));
    const int top[10] = {1, 0, 1, 0, 0, 0, 0, 0, 1, 1};
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(b.PixelIndex(x, 0), top[x]) << x;
        EXPECT_EQ(b.PixelIndex(x, 1), x == 9 ? 1 : 0) << x;
    }
    EXPECT_EQ(b.Pixel(0, 0), clBlue);
    EXPECT_EQ(b.Pixel(1, 0), clRed);
}

TEST(BitmapRead, FourBitTopDownWithShortTable) {
    InfoFields f;
    f.Width = 3;
    f.Height = -2;
    f.BitCount = 4;
    f.ClrUsed = 4;
    const std::string table = Quad(0, 0, 0) + Quad(10, 20, 30) + Quad(40, 50, 60) + Quad(1, 2, 3);
    const std::string pixels = Hex({0x12, 0x30, 0x00, 0x00, 0x30, 0x10, 0x00, 0x00});
    TBitmap b;
    Load(b, BmpFile(InfoHeader(f) + table, pixels));
    EXPECT_EQ(b.PixelFormat(), pf4bit);
    EXPECT_EQ(b.Palette().size(), 4u);
    EXPECT_EQ(b.PixelIndex(0, 0), 1);
    EXPECT_EQ(b.PixelIndex(1, 0), 2);
    EXPECT_EQ(b.PixelIndex(2, 0), 3);
    EXPECT_EQ(b.PixelIndex(0, 1), 3);
    EXPECT_EQ(b.PixelIndex(1, 1), 0);
    EXPECT_EQ(b.PixelIndex(2, 1), 1);
    EXPECT_EQ(b.Pixel(1, 0), RGB(40, 50, 60));
    EXPECT_EQ(b.Pixel(0, 1), RGB(1, 2, 3));
}

TEST(BitmapRead, EightBitWithGapBeforePixelsAndIndexPastTable) {
    InfoFields f;
    f.Width = 2;
    f.Height = 2;
    f.BitCount = 8;
    f.ClrUsed = 3;
    const std::string table = Quad(9, 8, 7) + Quad(6, 5, 4) + Quad(3, 2, 1);
    const std::string gap = "gap!!!";
    const std::string pixels = Hex({1, 5, 0, 0,   // bottom: index 5 is past the table
                                    0, 2, 0, 0}); // top
    TBitmap b;
    Load(b, BmpFile(InfoHeader(f) + table + gap, pixels));
    EXPECT_EQ(b.Palette().size(), 3u);
    EXPECT_EQ(b.Pixel(0, 0), RGB(9, 8, 7));
    EXPECT_EQ(b.Pixel(1, 0), RGB(3, 2, 1));
    EXPECT_EQ(b.Pixel(0, 1), RGB(6, 5, 4));
    EXPECT_EQ(b.PixelIndex(1, 1), 5);
    EXPECT_EQ(b.Pixel(1, 1), clBlack);
}

TEST(BitmapRead, ThirtyTwoBitKeepsTheFourthByte) {
    InfoFields f;
    f.Width = 1;
    f.Height = 2;
    f.BitCount = 32;
    const std::string pixels = Hex({0x01, 0x02, 0x03, 0x80, 0x10, 0x20, 0x30, 0x40});
    TBitmap b;
    Load(b, BmpFile(InfoHeader(f), pixels));
    EXPECT_EQ(b.PixelFormat(), pf32bit);
    EXPECT_EQ(b.Pixel(0, 0), RGB(0x30, 0x20, 0x10));
    EXPECT_EQ(b.Pixel(0, 1), RGB(0x03, 0x02, 0x01));
    EXPECT_EQ(b.ScanLine(0)[3], 0x40);
    EXPECT_EQ(b.ScanLine(1)[3], 0x80);
}

TEST(BitmapRead, ColourMasksAfterAPlainInfoHeader) {
    InfoFields f;
    f.Width = 2;
    f.Height = 1;
    f.BitCount = 32;
    f.Compression = 3;
    const std::string masks = Le32(0xFF000000) + Le32(0x00FF0000) + Le32(0x0000FF00);
    TBitmap b;
    Load(b, BmpFile(InfoHeader(f) + masks, Le32(0x11223344) + Le32(0xFF0000AA)));
    EXPECT_EQ(b.Pixel(0, 0), RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(b.Pixel(1, 0), RGB(0xFF, 0x00, 0x00));
    EXPECT_EQ(b.ScanLine(0)[3], 0); // no alpha mask
}

TEST(BitmapRead, NarrowMasksAreScaled) {
    InfoFields f;
    f.Width = 3;
    f.Height = 1;
    f.BitCount = 32;
    f.Compression = 3;
    const std::string masks = Le32(0x7C00) + Le32(0x03E0) + Le32(0x001F);
    TBitmap b;
    Load(b, BmpFile(InfoHeader(f) + masks, Le32(0x7FFF) + Le32(0x4210) + Le32(0x7C00)));
    EXPECT_EQ(b.Pixel(0, 0), clWhite);
    EXPECT_EQ(b.Pixel(1, 0), RGB(132, 132, 132)); // 16 of 31
    EXPECT_EQ(b.Pixel(2, 0), clRed);
}

TEST(BitmapRead, VersionFiveHeaderWithAlphaMask) {
    InfoFields f;
    f.Width = 1;
    f.Height = 1;
    f.BitCount = 32;
    f.Compression = 3;
    f.Masks[0] = 0x000000FF; // red in the first byte
    f.Masks[1] = 0x0000FF00;
    f.Masks[2] = 0x00FF0000;
    f.Masks[3] = 0xFF000000;
    TBitmap b;
    Load(b, BmpFile(InfoHeader(f, 124), Hex({0x10, 0x20, 0x30, 0x99})));
    EXPECT_EQ(b.Pixel(0, 0), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(b.ScanLine(0)[3], 0x99);
}

TEST(BitmapRead, VersionFourHeaderAt24Bits) {
    InfoFields f;
    f.Width = 1;
    f.Height = 1;
    TBitmap b;
    Load(b, BmpFile(InfoHeader(f, 108), Hex({1, 2, 3, 0})));
    EXPECT_EQ(b.Pixel(0, 0), RGB(3, 2, 1));
}

TEST(BitmapRead, CoreHeaderWithShortenedTripleTable) {
    const std::string table = Hex({0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00}); // red, blue
    TBitmap b;
    Load(b, BmpFile(CoreHeader(3, 1, 8) + table, Hex({1, 0, 1, 0})));
    EXPECT_EQ(b.PixelFormat(), pf8bit);
    ASSERT_EQ(b.Palette().size(), 2u);
    EXPECT_EQ(b.Pixel(0, 0), clBlue);
    EXPECT_EQ(b.Pixel(1, 0), clRed);
    EXPECT_EQ(b.Pixel(2, 0), clBlue);
}

TEST(BitmapRead, CoreHeaderAt24Bits) {
    TBitmap b;
    Load(b, BmpFile(CoreHeader(1, 2, 24), Hex({1, 2, 3, 0, 4, 5, 6, 0})));
    EXPECT_EQ(b.Pixel(0, 0), RGB(6, 5, 4));
    EXPECT_EQ(b.Pixel(0, 1), RGB(3, 2, 1));
}

TEST(BitmapRead, ReadsFromTheCurrentPositionAndStopsAfterThePixels) {
    TMemoryStream stream;
    const std::string data = "HEAD!" + TwoByTwo24 + "TAIL";
    stream.WriteBuffer(data.data(), static_cast<int32_t>(data.size()));
    stream.SetPosition(5);
    TBitmap b;
    b.LoadFromStream(stream);
    EXPECT_EQ(b.Pixel(1, 1), clWhite);
    EXPECT_EQ(stream.Position(), 5 + static_cast<int64_t>(TwoByTwo24.size()));
}

TEST(BitmapRead, NoBytesLeftGivesAnEmptyBitmap) {
    TBitmap b;
    b.SetSize(3, 3);
    int changes = 0;
    b.OnChange = [&] { ++changes; };
    Load(b, "");
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(changes, 1);
}

} // namespace
} // namespace zorp::fw
