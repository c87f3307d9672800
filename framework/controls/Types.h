// Geometry of the controls layer: points and rectangles in pixels.
#pragma once

#include "../base/Export.h"

#include <algorithm>
#include <cstdint>

namespace zorp::fw {

/// A point in pixels.
struct ZORP_API TPoint {
    /// The horizontal coordinate, growing to the right.
    int32_t X = 0;
    /// The vertical coordinate, growing downward.
    int32_t Y = 0;

    /// True when both coordinates are equal.
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

/// A rectangle in pixels. It includes its left and top edges and excludes its
/// right and bottom edges, so (0, 0, 10, 5) covers 10 x 5 pixels.
struct ZORP_API TRect {
    /// The first column inside the rectangle.
    int32_t Left = 0;
    /// The first row inside the rectangle.
    int32_t Top = 0;
    /// The first column past the rectangle.
    int32_t Right = 0;
    /// The first row past the rectangle.
    int32_t Bottom = 0;

    /// Right minus Left (negative when the edges are swapped).
    int32_t Width() const { return Right - Left; }
    /// Bottom minus Top (negative when the edges are swapped).
    int32_t Height() const { return Bottom - Top; }
    /// True when no pixels are inside.
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    /// True when pixel (X, Y) lies inside: on the left or top edge, or between the edges.
    bool Contains(int32_t X, int32_t Y) const {
        return X >= Left && X < Right && Y >= Top && Y < Bottom;
    }

    /// True when all four edges are equal.
    friend bool operator==(const TRect&, const TRect&) = default;
};

/// The rectangle with the given edges.
constexpr TRect Rect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
    return TRect{Left, Top, Right, Bottom};
}
/// The rectangle of Width x Height pixels whose top-left pixel is (Left, Top).
constexpr TRect Bounds(int32_t Left, int32_t Top, int32_t Width, int32_t Height) {
    return TRect{Left, Top, Left + Width, Top + Height};
}

// The operating-system style helpers the controls use.

/// Sets the four edges of R.
inline void SetRect(TRect& R, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
    R = TRect{Left, Top, Right, Bottom};
}
/// Moves R by DX pixels to the right and DY pixels down, keeping its size.
inline void OffsetRect(TRect& R, int32_t DX, int32_t DY) {
    R.Left += DX;
    R.Right += DX;
    R.Top += DY;
    R.Bottom += DY;
}
/// The common part of two rectangles (empty when they do not meet).
inline TRect IntersectRect(const TRect& A, const TRect& B) {
    return TRect{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
                 std::min(A.Bottom, B.Bottom)};
}

} // namespace zorp::fw
