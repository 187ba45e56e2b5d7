#include "app/memory_port.h"

namespace app {

void MemorySurface::Scale(float x1, float y1, float x2, float y2) {
    frame.x1 = x1, frame.y1 = y1, frame.x2 = x2, frame.y2 = y2;
    Add({DrawOp::kScale, x1, y1, x2, y2, {}});
}

void MemorySurface::Line(float x1, float y1, float x2, float y2, Rgb c) {
    frame.DeviceX(x1), frame.DeviceY(y1), frame.DeviceX(x2), frame.DeviceY(y2);
    Add({DrawOp::kLine, x1, y1, x2, y2, c});
}

void MemorySurface::Circle(float x, float y, float radius, Rgb c) {
    frame.DeviceX(x), frame.DeviceY(y), frame.DeviceLength(radius);
    Add({DrawOp::kCircle, x, y, radius, 0, c});
}

void MemorySurface::PSet(float x, float y, Rgb c) {
    frame.DeviceX(x), frame.DeviceY(y);
    Add({DrawOp::kPoint, x, y, 0, 0, c});
}

void MemorySurface::Cls() { Add({DrawOp::kCls}); }

bool MemorySurface::SetBackgroundFromFile(const std::string&) {
    if (!backgroundLoads) return false;
    Add({DrawOp::kBackground});
    return true;
}

void MemorySurface::ClearBackground() { Add({DrawOp::kNoBackground}); }

MemoryPort::MemoryPort() {
    // The window's initial texts: each readout shows its own control name.
    for (std::size_t i = 1; i < text.size(); ++i) text[i] = "Text" + std::to_string(i);
    text[21] = "0,2";
    // FY1 and FY2 start ticked.
    check[7] = 1;
    check[8] = 1;
}

}  // namespace app
