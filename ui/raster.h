// Lines and circle outlines set pixel by pixel into a 32-bit image, clipped
// to it: the drawing of a run, thousands of primitives between two repaints.
#pragma once

#include <cstdint>

namespace ui {

struct Raster {
    std::uint32_t* pixels;  // row after row
    std::int64_t stride;    // pixels per row
    std::int64_t width, height;

    void Plot(std::int64_t x, std::int64_t y, std::uint32_t colour) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        pixels[y * stride + x] = colour;
    }
};

// From (x0, y0) to (x1, y1), both ends included.
void DrawLine(const Raster& r, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
              std::uint32_t colour);
// The outline of radius r about (cx, cy).
void DrawCircle(const Raster& r, std::int64_t cx, std::int64_t cy, std::int64_t radius, std::uint32_t colour);

}  // namespace ui
