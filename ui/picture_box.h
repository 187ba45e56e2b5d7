// A drawing surface of the main window: a persistent image at the screen's
// device resolution that the run draws into pixel by pixel, and that painting
// only copies to the screen.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <string>

#include "app/frame.h"
#include "app/port.h"

class QPaintEvent;

namespace ui {

class PictureBox : public QWidget, public app::Surface {
    Q_OBJECT

public:
    // geometry: position and size in logical pixels; the surface keeps this
    // size for its whole life.
    PictureBox(const QRect& geometry, QWidget* parent = nullptr);

    void Scale(float x1, float y1, float x2, float y2) override;
    void Line(float x1, float y1, float x2, float y2, app::Rgb c) override;
    void Circle(float x, float y, float radius, app::Rgb c) override;
    void PSet(float x, float y, app::Rgb c) override;
    void Cls() override;
    bool SetBackgroundFromFile(const std::string& fileName) override;
    void ClearBackground() override;

    // What the surface shows, one image pixel per device pixel.
    const QImage& image() const { return image_; }
    // The image pixel a point of the user frame lands on; it may lie outside
    // the image. Throws app::DrawError where drawing would.
    QPoint DevicePixel(float x, float y) const;
    const app::FrameMapper& Frame() const { return frame_; }

    // Image pixels changed since the last Flush (empty when none).
    QRect DirtyRect() const;
    // Schedules the repaint of what changed since the last call. Drawing
    // itself never touches the widget, so a run can draw thousands of times
    // between two repaints.
    void Flush();

    // Larger pictures are refused before they are decoded.
    static constexpr int kMaxBackgroundSide = 4096;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Plot(std::int64_t x, std::int64_t y, std::uint32_t colour);
    void DrawLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                  std::uint32_t colour);
    void DrawCircle(std::int64_t cx, std::int64_t cy, std::int64_t r, std::uint32_t colour);
    void RebuildBase();
    void MarkAllDirty();
    void ResetDirty();
    QRect LogicalRect(const QRect& deviceRect) const;
    QRect DeviceRect(const QRect& logicalRect) const;

    app::FrameMapper frame_;
    qreal dpr_ = 1;
    QImage image_;       // what is shown: base plus the drawing
    QImage base_;        // background colour with the background picture
    QImage background_;  // the background picture, or null
    // Changed pixels as an inclusive box; empty while left > right.
    int dirtyLeft_ = 0, dirtyTop_ = 0, dirtyRight_ = -1, dirtyBottom_ = -1;
};

}  // namespace ui
