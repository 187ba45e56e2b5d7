#include "app/memory_port.h"

namespace app {

MemorySurface::MemorySurface(app::Picture picture) {
    frame.width = TwipsToPx(PictureTwips(picture).width);
    frame.height = TwipsToPx(PictureTwips(picture).height);
}

void MemorySurface::SetFrame(float x1, float y1, float x2, float y2) {
    frame.x1 = x1;
    frame.y1 = y1;
    frame.x2 = x2;
    frame.y2 = y2;
    Add({DrawOp::kFrame, x1, y1, x2, y2, {}});
}

// Nothing is drawn here, but a coordinate the window's surface would refuse
// is refused here too, by the same mapping.
void MemorySurface::CheckPoint(float x, float y) const {
    frame.DeviceX(x);
    frame.DeviceY(y);
}

void MemorySurface::Line(float x1, float y1, float x2, float y2, Rgb c) {
    CheckPoint(x1, y1);
    CheckPoint(x2, y2);
    Add({DrawOp::kLine, x1, y1, x2, y2, c});
}

void MemorySurface::Circle(float x, float y, float radius, Rgb c) {
    CheckPoint(x, y);
    frame.DeviceLength(radius);
    Add({DrawOp::kCircle, x, y, radius, 0, c});
}

void MemorySurface::Point(float x, float y, Rgb c) {
    CheckPoint(x, y);
    Add({DrawOp::kPoint, x, y, 0, 0, c});
}

void MemorySurface::Clear() { Add({DrawOp::kClear}); }

// Nothing is read: the picture would not show anywhere.
PictureFile MemorySurface::SetBackgroundFromFile(const std::string&) {
    Add({DrawOp::kBackground});
    return PictureFile::kLoaded;
}

void MemorySurface::ClearBackground() { Add({DrawOp::kNoBackground}); }

MemoryPort::MemoryPort() {
    for (std::size_t n = 0; n < kSeriesCount; ++n) series_[n] = InitiallyTicked(static_cast<Series>(n));
}

}  // namespace app
