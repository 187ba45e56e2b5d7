#include "ui/picture_box.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "ui/gif_check.h"
#include "ui/regular_file.h"

namespace ui {
namespace {

constexpr std::uint32_t kBackgroundColour = 0xFFFFFFFFu;  // white

std::uint32_t Pack(app::Rgb c) {
    return 0xFF000000u | (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | std::uint32_t{c.b};
}

// Coordinates are at most 2^24 logical pixels (FrameMapper) times the device
// pixel ratio, so the nearest pixel always fits, and so do the products the
// line and circle code forms.
std::int64_t Nearest(double d) { return static_cast<std::int64_t>(std::floor(d + 0.5)); }

}  // namespace

PictureBox::PictureBox(const QRect& geometry, QWidget* parent) : QWidget(parent) {
    setGeometry(geometry);
    setFixedSize(geometry.size());
    // The image covers every pixel, and what is drawn stays where it is.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_NoSystemBackground);
    dpr_ = devicePixelRatioF();
    // The frame is checked at the logical size, as the headless runner
    // checks it, and only then scaled to the device pixels; on a screen of
    // ratio 1 the two are the same.
    frame_.width = geometry.width();
    frame_.height = geometry.height();
    width_ = qRound(geometry.width() * dpr_);
    height_ = qRound(geometry.height() * dpr_);
    scaleX_ = frame_.width > 1 ? static_cast<double>(width_ - 1) / (frame_.width - 1) : 1.0;
    scaleY_ = frame_.height > 1 ? static_cast<double>(height_ - 1) / (frame_.height - 1) : 1.0;
    RebuildBase();
    image_ = base_.copy();
    MarkAllDirty();
}

void PictureBox::SetFrame(float x1, float y1, float x2, float y2) {
    frame_.SetEdges(x1, y1, x2, y2);
}

QPoint PictureBox::DevicePixel(float x, float y) const {
    return QPoint(static_cast<int>(Nearest(DeviceX(x))),
                  static_cast<int>(Nearest(DeviceY(y))));
}

void PictureBox::Point(float x, float y, app::Rgb c) {
    const std::int64_t px = Nearest(DeviceX(x));
    const std::int64_t py = Nearest(DeviceY(y));
    Pixels().Plot(px, py, Pack(c));
    MarkDirty(px, py, px, py);
}

void PictureBox::Line(float x1, float y1, float x2, float y2, app::Rgb c) {
    // All four coordinates are checked before anything is drawn.
    const std::int64_t ax = Nearest(DeviceX(x1));
    const std::int64_t ay = Nearest(DeviceY(y1));
    const std::int64_t bx = Nearest(DeviceX(x2));
    const std::int64_t by = Nearest(DeviceY(y2));
    DrawLine(Pixels(), ax, ay, bx, by, Pack(c));
    MarkDirty(std::min(ax, bx), std::min(ay, by), std::max(ax, bx), std::max(ay, by));
}

void PictureBox::Circle(float x, float y, float radius, app::Rgb c) {
    const std::int64_t cx = Nearest(DeviceX(x));
    const std::int64_t cy = Nearest(DeviceY(y));
    const double r = DeviceLength(radius);
    if (!(radius > 0)) return;
    const std::int64_t ir = Nearest(r);
    DrawCircle(Pixels(), cx, cy, ir, Pack(c));
    MarkDirty(cx - ir, cy - ir, cx + ir, cy + ir);
}

void PictureBox::Clear() {
    std::memcpy(image_.bits(), base_.constBits(), static_cast<std::size_t>(base_.sizeInBytes()));
    MarkAllDirty();
}

app::PictureFile PictureBox::SetBackgroundFromFile(const std::string& fileName) {
    using app::PictureFile;
    // Read by the exact name: QImageReader given a name would also try it
    // with image suffixes appended.
    QByteArray bytes;
    if (const int error = ReadRegularFile(fileName, kMaxBackgroundFileBytes, bytes))
        return error == ENOENT ? PictureFile::kMissing : PictureFile::kUnusable;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (!reader.canRead()) return PictureFile::kUnusable;
    // The size a file declares is checked before anything is decoded, so a
    // header claiming 60000 x 60000 pixels allocates nothing.
    const QSize declared = reader.size();
    if (!declared.isValid() || declared.width() > kMaxBackgroundSide ||
        declared.height() > kMaxBackgroundSide)
        return PictureFile::kUnusable;
    // A GIF missing its end is refused, not shown cut off; Qt refuses a PNG
    // cut short by itself.
    if (reader.format() == "gif" && !GifLooksComplete(bytes, kMaxBackgroundSide)) return PictureFile::kUnusable;
    reader.setAllocationLimit(kMaxBackgroundSide * kMaxBackgroundSide * 4 / (1024 * 1024));
    QImage picture;
    if (!reader.read(&picture) || picture.isNull()) return PictureFile::kUnusable;
    if (picture.width() > kMaxBackgroundSide || picture.height() > kMaxBackgroundSide)
        return PictureFile::kUnusable;
    background_ = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    RebuildBase();
    Clear();
    return PictureFile::kLoaded;
}

void PictureBox::ClearBackground() {
    background_ = QImage();
    RebuildBase();
    Clear();
}

void PictureBox::RebuildBase() {
    base_ = QImage(width_, height_, QImage::Format_RGB32);
    base_.fill(kBackgroundColour);
    if (background_.isNull()) return;
    // Unscaled means at its own size in logical pixels; on a screen of
    // device pixel ratio 1 this is a plain copy, clipped at the edges.
    QPainter p(&base_);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(QRectF(0, 0, background_.width() * dpr_, background_.height() * dpr_), background_);
}

Raster PictureBox::Pixels() {
    // bits() makes the image the surface's own, should a test share it.
    return {reinterpret_cast<std::uint32_t*>(image_.bits()), image_.bytesPerLine() / 4, width_, height_};
}

void PictureBox::MarkDirty(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
    x0 = std::max<std::int64_t>(x0, 0);
    y0 = std::max<std::int64_t>(y0, 0);
    x1 = std::min<std::int64_t>(x1, width_ - 1);
    y1 = std::min<std::int64_t>(y1, height_ - 1);
    if (x0 > x1 || y0 > y1) return;
    dirtyLeft_ = std::min(dirtyLeft_, static_cast<int>(x0));
    dirtyTop_ = std::min(dirtyTop_, static_cast<int>(y0));
    dirtyRight_ = std::max(dirtyRight_, static_cast<int>(x1));
    dirtyBottom_ = std::max(dirtyBottom_, static_cast<int>(y1));
}

void PictureBox::MarkAllDirty() {
    dirtyLeft_ = 0;
    dirtyTop_ = 0;
    dirtyRight_ = width_ - 1;
    dirtyBottom_ = height_ - 1;
}

void PictureBox::ResetDirty() {
    // Inverted, so that the first box marked sets all four edges.
    dirtyLeft_ = width_;
    dirtyTop_ = height_;
    dirtyRight_ = -1;
    dirtyBottom_ = -1;
}

QRect PictureBox::DirtyRect() const {
    if (dirtyLeft_ > dirtyRight_ || dirtyTop_ > dirtyBottom_) return QRect();
    return QRect(QPoint(dirtyLeft_, dirtyTop_), QPoint(dirtyRight_, dirtyBottom_));
}

void PictureBox::Flush() {
    const QRect dirty = DirtyRect();
    if (dirty.isEmpty()) return;
    ResetDirty();
    update(LogicalRect(dirty));
}

QRect PictureBox::LogicalRect(const QRect& d) const {
    const int left = static_cast<int>(std::floor(d.left() / dpr_));
    const int top = static_cast<int>(std::floor(d.top() / dpr_));
    const int right = static_cast<int>(std::ceil((d.right() + 1) / dpr_));
    const int bottom = static_cast<int>(std::ceil((d.bottom() + 1) / dpr_));
    return QRect(left, top, right - left, bottom - top);
}

QRect PictureBox::DeviceRect(const QRect& l) const {
    const int left = static_cast<int>(std::floor(l.left() * dpr_));
    const int top = static_cast<int>(std::floor(l.top() * dpr_));
    const int right = static_cast<int>(std::ceil((l.right() + 1) * dpr_));
    const int bottom = static_cast<int>(std::ceil((l.bottom() + 1) * dpr_));
    return QRect(left, top, right - left, bottom - top).intersected(image_.rect());
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect target = event->rect();
    p.drawImage(QRectF(target), image_, QRectF(DeviceRect(target)));
}

}  // namespace ui
