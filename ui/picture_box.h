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
#include "ui/raster.h"

class QPaintEvent;

namespace ui {

class PictureBox : public QWidget, public app::Surface {
    Q_OBJECT

public:
    // geometry: position and size in logical pixels; the surface keeps this
    // size for its whole life.
    PictureBox(const QRect& geometry, QWidget* parent = nullptr);

    void SetFrame(float x1, float y1, float x2, float y2) override;
    void Line(float x1, float y1, float x2, float y2, app::Rgb c) override;
    void Circle(float x, float y, float radius, app::Rgb c) override;
    void Point(float x, float y, app::Rgb c) override;
    void Clear() override;
    app::PictureFile SetBackgroundFromFile(const std::string& fileName) override;
    void ClearBackground() override;

    // What the surface shows, one image pixel per device pixel.
    const QImage& image() const { return image_; }
    // The image pixel a point of the user frame lands on; it may lie outside
    // the image. Throws app::DrawError where drawing would.
    QPoint DevicePixel(float x, float y) const;
    // The user frame on the logical pixels: what decides whether a coordinate
    // can be drawn.
    const app::FrameMapper& Frame() const { return frame_; }

    // Image pixels changed since the last Flush (empty when none).
    QRect DirtyRect() const;
    // Schedules the repaint of what changed since the last call. Drawing
    // itself never touches the widget, so a run can draw thousands of times
    // between two repaints.
    void Flush();

    // Larger pictures are refused before they are decoded, and larger files
    // before more than this is read.
    static constexpr int kMaxBackgroundSide = 4096;
    static constexpr qint64 kMaxBackgroundFileBytes = qint64{128} << 20;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The image's pixels to draw one primitive into.
    Raster Pixels();
    // Marks the box [x0, x1] x [y0, y1], clipped to the image, for repainting.
    void MarkDirty(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1);
    void RebuildBase();
    void MarkAllDirty();
    void ResetDirty();
    QRect LogicalRect(const QRect& deviceRect) const;
    QRect DeviceRect(const QRect& logicalRect) const;

    // User frame to device pixels; throw app::DrawError where the frame does.
    double DeviceX(float x) const { return frame_.DeviceX(x) * scaleX_; }
    double DeviceY(float y) const { return frame_.DeviceY(y) * scaleY_; }
    double DeviceLength(float r) const { return frame_.DeviceLength(r) * scaleX_; }

    app::FrameMapper frame_;
    qreal dpr_ = 1;
    int width_ = 1, height_ = 1;        // image size in device pixels
    double scaleX_ = 1, scaleY_ = 1;    // logical to device pixels, edge to edge
    QImage image_;       // what is shown: base plus the drawing
    QImage base_;        // background colour with the background picture
    QImage background_;  // the background picture, or null
    // Changed pixels as an inclusive box; empty while left > right.
    int dirtyLeft_ = 0, dirtyTop_ = 0, dirtyRight_ = -1, dirtyBottom_ = -1;
};

}  // namespace ui
