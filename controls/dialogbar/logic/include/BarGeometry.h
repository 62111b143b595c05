// Plain integer sizes, points and rectangles of the dialog bar's arithmetic. A rectangle
// holds its left and top edges and excludes its right and bottom ones.
#pragma once

#include <cstdint>

struct BarSize {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    bool operator==(const BarSize&) const = default;
};

struct BarPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const BarPoint&) const = default;
};

struct BarRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const BarRect&) const = default;

    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(BarPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    // Coordinate sums halved, rounding toward zero.
    BarPoint Centre() const { return {(left + right) / 2, (top + bottom) / 2}; }
};
