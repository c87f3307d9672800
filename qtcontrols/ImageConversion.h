// Pictures between the headless layer's bitmaps and Qt's images. Only the
// project's own fw::TBitmap reads and writes BMP bytes: the conversion goes
// pixel by pixel, so what the headless layer accepts the window shows, and
// what Qt hands over is written back as the headless layer writes bitmaps.
#pragma once

#include "../framework/controls/Bitmap.h"
#include "Export.h"

#include <QImage>

namespace zorp::qt {

/// The bitmap's pixels as an opaque image (QImage::Format_RGB32); the indexed formats are
/// resolved through their colour tables. A null image for an empty bitmap.
ZORPQT_API QImage ToQImage(const fw::TBitmap& Bitmap);
/// Replaces Bitmap with a 24-bit bitmap of Image's size and colours (alpha is dropped), with
/// one change; a null image makes it empty.
ZORPQT_API void FromQImage(const QImage& Image, fw::TBitmap& Bitmap);

} // namespace zorp::qt
