#include "app/memory_port.h"

namespace app {

MemorySurface::MemorySurface(app::Picture picture) {
    frame.width = TwipsToPx(PictureTwips(picture).width);
    frame.height = TwipsToPx(PictureTwips(picture).height);
}

void MemorySurface::SetFrame(float x1, float y1, float x2, float y2) {
    frame.SetEdges(x1, y1, x2, y2);
}

// Nothing is drawn here, but a coordinate the window's surface would refuse
// is refused here too, by the same mapping.
void MemorySurface::CheckPoint(float x, float y) const {
    frame.DeviceX(x);
    frame.DeviceY(y);
}

void MemorySurface::Line(float x1, float y1, float x2, float y2, Rgb) {
    CheckPoint(x1, y1);
    CheckPoint(x2, y2);
}

void MemorySurface::Circle(float x, float y, float radius, Rgb) {
    CheckPoint(x, y);
    frame.DeviceLength(radius);
}

void MemorySurface::Point(float x, float y, Rgb) { CheckPoint(x, y); }

MemoryPort::MemoryPort() {
    for (std::size_t n = 0; n < kSeriesCount; ++n) series_[n] = InitiallyTicked(static_cast<Series>(n));
}

}  // namespace app
