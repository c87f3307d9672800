// The value of a graphic column as a plain picture file: a graphic field
// keeps an 8-byte header in front of the bitmap (see CompressedFields.h),
// which a BMP file has not.
#pragma once

#include "dbcontrols/CompressedFields.h"
#include "framework/base/Stream.h"

#include <array>
#include <cstdint>

namespace zorp::tool {

// Passes what is written to it on to Dest, less the graphic header in front
// of a value of Total bytes. Only the first bytes are held back, until they
// show whether they are such a header; the field reads a value without one
// as a bitmap from its first byte, and so does this stream pass it on.
class PictureWithoutHeader : public fw::TStream {
public:
    PictureWithoutHeader(fw::TStream& Dest, int64_t Total) : FDest(Dest), FTotal(Total) {}

    int32_t Read(void*, int32_t) override { return 0; }
    int32_t Write(const void* Buffer, int32_t Count) override;
    // Writes only append: the position is the number of bytes written.
    int64_t Seek(int64_t, fw::TSeekOrigin) override { return FWritten; }
    // Passes on what is still held back (a value shorter than a header).
    void Finish();

private:
    fw::TStream& FDest;
    int64_t FTotal;
    int64_t FWritten = 0;
    std::array<uint8_t, GraphicHeaderSize> FHead{};
};

// Whether the first bytes of a file make it a BMP file ("BM").
bool IsBmpFile(fw::TStream& File);

} // namespace zorp::tool
