// Damaged and unsupported BMP data: every truncation, header fields with
// bogus values, random corruption. Each must raise EInvalidGraphic, leave the
// bitmap as it was and never read outside the data (the sanitizers watch).
#include "controls/BmpBytes.h"
#include "framework/base/Exceptions.h"
#include "framework/base/MemoryStream.h"
#include "framework/controls/Bitmap.h"
#include "support/TestFiles.h"

#include <cstring>
#include <gtest/gtest.h>
#include <limits>

namespace zorp::fw {
namespace {

using namespace zorp::test;

// Loads Bytes into a 1 x 1 white bitmap; true when it loaded, false when it
// raised EInvalidGraphic and left the bitmap as it was (other exceptions
// escape and fail the test).
bool TryLoad(const std::string& Bytes, std::string* Message = nullptr) {
    TBitmap b;
    b.SetSize(1, 1);
    b.SetPixel(0, 0, clWhite);
    int changes = 0;
    b.OnChange = [&] { ++changes; };
    // A copy on the heap of exactly the given size, so that any read past
    // the end is caught by AddressSanitizer.
    TMemoryStream stream;
    stream.SetSize(static_cast<int64_t>(Bytes.size()));
    if (!Bytes.empty())
        std::memcpy(stream.Memory(), Bytes.data(), Bytes.size());
    try {
        b.LoadFromStream(stream);
    } catch (const EInvalidGraphic& e) {
        if (Message)
            *Message = e.Message();
        EXPECT_EQ(changes, 0);
        EXPECT_EQ(b.Width(), 1);
        EXPECT_EQ(b.Pixel(0, 0), clWhite);
        return false;
    }
    EXPECT_EQ(changes, 1);
    EXPECT_LE(stream.Position(), static_cast<int64_t>(Bytes.size()));
    return true;
}

std::string Message(const std::string& Bytes) {
    std::string message;
    EXPECT_FALSE(TryLoad(Bytes, &message));
    return message;
}

// Valid files of every kind the reader accepts.
std::vector<std::string> ValidFiles() {
    std::vector<std::string> files;
    for (uint16_t bits : {1, 4, 8, 24, 32}) {
        InfoFields f;
        f.Width = 5;
        f.Height = bits == 8 ? -3 : 3;
        f.BitCount = bits;
        std::string table;
        if (bits <= 8)
            for (int i = 0; i < (1 << bits); ++i)
                table += Quad(uint8_t(i), uint8_t(i * 3), uint8_t(i * 7));
        const size_t stride = ((5 * bits + 31) / 32) * 4;
        files.push_back(BmpFile(InfoHeader(f) + table, RandomBytes(stride * 3, bits)));
    }
    InfoFields masked;
    masked.Width = 2;
    masked.Height = 2;
    masked.BitCount = 32;
    masked.Compression = 3;
    files.push_back(BmpFile(InfoHeader(masked) + Le32(0xFF) + Le32(0xFF00) + Le32(0xFF0000),
                            RandomBytes(16, 1)));
    masked.Masks[0] = 0xFF0000;
    masked.Masks[1] = 0xFF00;
    masked.Masks[2] = 0xFF;
    files.push_back(BmpFile(InfoHeader(masked, 124), RandomBytes(16, 2)));
    files.push_back(BmpFile(CoreHeader(3, 2, 4) + std::string(48, '\x11'), RandomBytes(8, 3)));
    return files;
}

TEST(BitmapDamage, ValidFilesLoad) {
    for (const std::string& file : ValidFiles())
        EXPECT_TRUE(TryLoad(file));
}

TEST(BitmapDamage, EveryTruncationRaises) {
    for (const std::string& file : ValidFiles())
        for (size_t length = 1; length < file.size(); ++length)
            EXPECT_FALSE(TryLoad(file.substr(0, length))) << length << " of " << file.size();
}

std::string File24(const InfoFields& F, const std::string& Pixels = std::string(4, '\0')) {
    return BmpFile(InfoHeader(F), Pixels);
}

TEST(BitmapDamage, BogusHeaderFields) {
    InfoFields f;
    std::string file = File24(f);
    ASSERT_TRUE(TryLoad(file));

    std::string bad = file;
    bad[1] = 'A';
    EXPECT_NE(Message(bad).find("\"BM\""), std::string::npos);

    bad = file;
    bad[14] = 41; // info header size
    EXPECT_NE(Message(bad).find("header size"), std::string::npos);

    f = InfoFields{};
    f.Planes = 2;
    EXPECT_NE(Message(File24(f)).find("plane"), std::string::npos);

    for (uint16_t bits : {0, 2, 16, 48, 64, 0xFFFF}) {
        f = InfoFields{};
        f.BitCount = bits;
        EXPECT_NE(Message(File24(f)).find("bits per pixel are not supported"), std::string::npos)
            << bits;
    }

    for (uint32_t compression : {1u, 2u}) {
        f = InfoFields{};
        f.BitCount = compression == 1 ? 8 : 4;
        f.Compression = compression;
        EXPECT_NE(Message(BmpFile(InfoHeader(f) + std::string(1024, '\0'), std::string(8, '\0')))
                      .find("RLE"),
                  std::string::npos);
    }
    for (uint32_t compression : {4u, 5u, 6u, 0xFFFFFFFFu}) {
        f = InfoFields{};
        f.Compression = compression;
        EXPECT_NE(Message(File24(f)).find("compression"), std::string::npos);
    }
    f = InfoFields{};
    f.Compression = 3; // masks at 24 bits
    EXPECT_NE(Message(File24(f, std::string(16, '\0'))).find("colour masks"), std::string::npos);

    f = InfoFields{};
    f.Width = -1;
    EXPECT_NE(Message(File24(f)).find("width"), std::string::npos);
    f = InfoFields{};
    f.Height = std::numeric_limits<int32_t>::min();
    EXPECT_NE(Message(File24(f)).find("height"), std::string::npos);
}

TEST(BitmapDamage, AbsurdSizesAreRefusedBeforeAllocating) {
    const std::pair<int32_t, int32_t> sizes[] = {{0x7FFFFFFF, 0x7FFFFFFF},
                                                 {0x7FFFFFFF, -0x7FFFFFFF},
                                                 {100000, 100000},
                                                 {1, 0x7FFFFFFF},
                                                 {0x7FFFFFFF, 2}};
    for (auto [w, h] : sizes) {
        InfoFields f;
        f.Width = w;
        f.Height = h;
        f.BitCount = 32;
        EXPECT_NE(Message(File24(f)).find("too large"), std::string::npos) << w << " x " << h;
    }
    // Within the limit but far more than the data holds.
    InfoFields f;
    f.Width = 4000;
    f.Height = 4000;
    EXPECT_NE(Message(File24(f)).find("truncated"), std::string::npos);
}

TEST(BitmapDamage, NoWidthAndTwoBillionRowsIsQuick) {
    // Found by fuzzing: no pixel bytes at all, yet a loop per row would run
    // for minutes.
    for (int32_t height : {-0x7FFFFFFF, 0x7FFFFFFF}) {
        InfoFields f;
        f.Width = 0;
        f.Height = height;
        f.BitCount = 8;
        f.ClrUsed = 1;
        TBitmap b;
        TMemoryStream stream;
        const std::string file = BmpFile(InfoHeader(f) + Quad(1, 2, 3), "");
        stream.WriteBuffer(file.data(), static_cast<int32_t>(file.size()));
        stream.SetPosition(0);
        b.LoadFromStream(stream);
        EXPECT_TRUE(b.Empty());
        EXPECT_EQ(b.Height(), 0x7FFFFFFF);
        b.SetPixelFormat(pf24bit);
        b.SetSize(0, 0x7FFFFFFE);
        EXPECT_THROW(b.SetWidth(1), EInvalidGraphic);
    }
}

TEST(BitmapDamage, ColourTablesAndOffsets) {
    InfoFields f;
    f.BitCount = 8;
    f.ClrUsed = 257;
    EXPECT_NE(Message(BmpFile(InfoHeader(f) + std::string(257 * 4, '\0'), std::string(4, '\0')))
                  .find("colour table"),
              std::string::npos);
    f.BitCount = 1;
    f.ClrUsed = 3;
    EXPECT_FALSE(TryLoad(BmpFile(InfoHeader(f) + std::string(12, '\0'), std::string(4, '\0'))));
    f.ClrUsed = 0xFFFFFFFF;
    EXPECT_FALSE(TryLoad(BmpFile(InfoHeader(f) + std::string(8, '\0'), std::string(4, '\0'))));

    // A table that runs into the pixel data.
    f.ClrUsed = 2;
    std::string file = BmpFile(InfoHeader(f) + std::string(8, '\0'), std::string(4, '\0'));
    file[10] = 14 + 40 + 4;
    EXPECT_NE(Message(file).find("overlaps"), std::string::npos);

    // Pixel offsets inside the headers and past the end.
    InfoFields g;
    std::string good = File24(g);
    for (uint32_t off : {0u, 13u, 53u, uint32_t(good.size()), uint32_t(good.size()) + 100,
                         0x7FFFFFFFu, 0xFFFFFFFFu}) {
        std::string bad = good;
        bad.replace(10, 4, Le32(off));
        EXPECT_FALSE(TryLoad(bad)) << off;
    }

    // Colour masks with a gap.
    InfoFields m;
    m.BitCount = 32;
    m.Compression = 3;
    EXPECT_NE(Message(BmpFile(InfoHeader(m) + Le32(0xF0F0) + Le32(0xFF0000) + Le32(0xFF),
                              std::string(4, '\0')))
                  .find("gaps"),
              std::string::npos);
}

TEST(BitmapDamage, RandomCorruptionLoadsOrRaises) {
    const std::vector<std::string> files = ValidFiles();
    const std::string noise = RandomBytes(4 * 4000, 77);
    int loaded = 0, refused = 0;
    for (size_t n = 0; n < 4000; ++n) {
        std::string file = files[n % files.size()];
        // Corrupt one to three bytes, mostly in the headers.
        for (int k = 0; k < 1 + int(n % 3); ++k) {
            const auto r = static_cast<uint8_t>(noise[4 * n + k]);
            const size_t where = (r * 7 + n) % std::min<size_t>(file.size(), 70 + (n % 5) * 40);
            file[where] = static_cast<char>(noise[4 * n + 3] ^ r);
        }
        (TryLoad(file) ? loaded : refused)++;
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
}

} // namespace
} // namespace zorp::fw
