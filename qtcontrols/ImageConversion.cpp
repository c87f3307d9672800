#include "qtcontrols/ImageConversion.h"

#include "framework/controls/Colors.h"

namespace zorp::qt {

QImage ToQImage(const fw::TBitmap& Bitmap) {
    if (Bitmap.Empty())
        return {};
    const int32_t width = Bitmap.Width();
    const int32_t height = Bitmap.Height();
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return image; // too large for Qt
    const int bits = Bitmap.BitsPerPixel();
    for (int32_t y = 0; y < height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        if (bits == 24 || bits == 32) {
            // Blue, green, red (and a fourth byte), as the BMP format lays them out.
            const uint8_t* row = Bitmap.ScanLine(y);
            const int step = bits / 8;
            for (int32_t x = 0; x < width; ++x, row += step)
                out[x] = qRgb(row[2], row[1], row[0]);
        } else {
            for (int32_t x = 0; x < width; ++x) {
                const fw::TColor c = Bitmap.Pixel(x, y);
                out[x] = qRgb(fw::GetRValue(c), fw::GetGValue(c), fw::GetBValue(c));
            }
        }
    }
    return image;
}

void FromQImage(const QImage& Image, fw::TBitmap& Bitmap) {
    fw::TBitmap made;
    made.SetPixelFormat(fw::pf24bit);
    if (!Image.isNull()) {
        const QImage rgb = Image.convertToFormat(QImage::Format_RGB32);
        made.SetSize(rgb.width(), rgb.height());
        for (int y = 0; y < rgb.height(); ++y) {
            const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            for (int x = 0; x < rgb.width(); ++x)
                made.SetPixel(x, y,
                              fw::RGB(static_cast<uint8_t>(qRed(in[x])),
                                      static_cast<uint8_t>(qGreen(in[x])),
                                      static_cast<uint8_t>(qBlue(in[x]))));
        }
    }
    Bitmap.Assign(made);
}

} // namespace zorp::qt
