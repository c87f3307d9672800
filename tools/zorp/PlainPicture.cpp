#include "tools/zorp/PlainPicture.h"

#include <algorithm>
#include <cstring>

namespace zorp::tool {

int32_t PictureWithoutHeader::Write(const void* Buffer, int32_t Count) {
    const auto* bytes = static_cast<const uint8_t*>(Buffer);
    int32_t rest = Count;
    if (FWritten < GraphicHeaderSize) {
        const auto held =
            static_cast<int32_t>(std::min<int64_t>(rest, GraphicHeaderSize - FWritten));
        std::memcpy(FHead.data() + FWritten, bytes, static_cast<size_t>(held));
        FWritten += held;
        bytes += held;
        rest -= held;
        if (FWritten == GraphicHeaderSize && !IsGraphicHeader(FHead.data(), FTotal))
            FDest.WriteBuffer(FHead.data(), GraphicHeaderSize);
    }
    if (rest > 0) {
        FDest.WriteBuffer(bytes, rest);
        FWritten += rest;
    }
    return Count;
}

void PictureWithoutHeader::Finish() {
    if (FWritten > 0 && FWritten < GraphicHeaderSize)
        FDest.WriteBuffer(FHead.data(), static_cast<int32_t>(FWritten));
}

bool IsBmpFile(fw::TStream& File) {
    char signature[2] = {};
    const int64_t start = File.Position();
    const bool bmp = File.Read(signature, 2) == 2 && signature[0] == 'B' && signature[1] == 'M';
    File.SetPosition(start);
    return bmp;
}

} // namespace zorp::tool
