// Geometry of the controls layer: points and rectangles in pixels. A
// rectangle includes its left and top edges and excludes its right and
// bottom edges, so (0, 0, 10, 5) covers 10 x 5 pixels.
#pragma once

#include "../base/Export.h"

#include <algorithm>
#include <cstdint>

namespace zorp::fw {

struct ZORP_API TPoint {
    int32_t X = 0;
    int32_t Y = 0;

    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct ZORP_API TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    // No pixels inside.
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(int32_t X, int32_t Y) const {
        return X >= Left && X < Right && Y >= Top && Y < Bottom;
    }

    friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr TRect Rect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
    return TRect{Left, Top, Right, Bottom};
}
constexpr TRect Bounds(int32_t Left, int32_t Top, int32_t Width, int32_t Height) {
    return TRect{Left, Top, Left + Width, Top + Height};
}

// The operating-system style helpers the controls use.
inline void SetRect(TRect& R, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
    R = TRect{Left, Top, Right, Bottom};
}
inline void OffsetRect(TRect& R, int32_t DX, int32_t DY) {
    R.Left += DX;
    R.Right += DX;
    R.Top += DY;
    R.Bottom += DY;
}
// The common part of two rectangles (empty when they do not meet).
inline TRect IntersectRect(const TRect& A, const TRect& B) {
    return TRect{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
                 std::min(A.Bottom, B.Bottom)};
}

} // namespace zorp::fw
