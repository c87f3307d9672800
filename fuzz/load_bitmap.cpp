// Loads arbitrary bytes as a BMP file: either a bitmap comes out, which then
// saves and loads back to the same pixels, or EInvalidGraphic is raised.
// Nothing is read outside the data and no other exception escapes.
#include "framework/base/Exceptions.h"
#include "framework/base/MemoryStream.h"
#include "framework/controls/Bitmap.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zorp::fw;
    TMemoryStream in;
    in.SetSize(static_cast<int64_t>(size));
    if (size != 0)
        std::memcpy(in.Memory(), data, size);
    TBitmap bitmap;
    try {
        bitmap.LoadFromStream(in);
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    if (in.Position() > static_cast<int64_t>(size))
        std::abort();
    if (bitmap.Empty())
        return 0;
    TMemoryStream out;
    bitmap.SaveToStream(out);
    out.SetPosition(0);
    TBitmap again;
    again.LoadFromStream(out);
    if (again.Width() != bitmap.Width() || again.Height() != bitmap.Height() ||
        again.PixelFormat() != bitmap.PixelFormat() || again.Palette() != bitmap.Palette())
        std::abort();
    for (int32_t y = 0; y < bitmap.Height(); ++y)
        if (std::memcmp(again.ScanLine(y), bitmap.ScanLine(y),
                        static_cast<size_t>(bitmap.ScanLineSize())) != 0)
            std::abort();
    return 0;
}
