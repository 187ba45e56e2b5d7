// User frame -> device pixels, shared by the window's surfaces and the
// headless runner's, so both refuse exactly the same coordinates.
#pragma once

#include <cmath>

#include "app/errors.h"

namespace app {

// Device coordinates beyond +-2^24 pixels are refused: past that a float no
// longer resolves single pixels, and nothing there could be on a surface a
// few hundred pixels wide anyway.
inline constexpr double kDeviceLimit = 16777216.0;

struct FrameMapper {
    int width = 1;   // surface size in device pixels
    int height = 1;
    float x1 = 0, y1 = 0, x2 = 1, y2 = 1;  // left, top, right, bottom edges

    void SetEdges(float left, float top, float right, float bottom) {
        x1 = left, y1 = top, x2 = right, y2 = bottom;
    }

    // The frame's edges land on the first and last pixel, so lines drawn on
    // the edges stay visible.
    double DeviceX(float x) const {
        return Check((static_cast<double>(x) - x1) * (width - 1) / (static_cast<double>(x2) - x1));
    }
    double DeviceY(float y) const {
        return Check((static_cast<double>(y) - y1) * (height - 1) / (static_cast<double>(y2) - y1));
    }
    // A radius in units of the frame's x axis, as device pixels.
    double DeviceLength(float r) const {
        return Check(static_cast<double>(r) * (width - 1) / std::fabs(static_cast<double>(x2) - x1));
    }

    static double Check(double d) {
        if (!(std::fabs(d) <= kDeviceLimit)) throw DrawError();
        return d;
    }
};

}  // namespace app
