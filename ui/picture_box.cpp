#include "ui/picture_box.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QPaintEvent>
#include <QPainter>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

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

// Midpoint circle, first octant: the y kept at column x is the largest one
// whose midpoint y - 1/2 still lies inside the circle, that is
// x^2 + y^2 - y <= r^2 - 1. Returns -1 when no y >= 0 qualifies.
std::int64_t OctantY(std::int64_t r, std::int64_t x) {
    const std::int64_t k = r * r - 1 - x * x;
    if (k < 0) return -1;
    // y <= (1 + sqrt(1 + 4k)) / 2, with the integer square root: the double
    // one is off by at most one for numbers this size, and corrected.
    const std::int64_t n = 1 + 4 * k;
    auto s = static_cast<std::int64_t>(std::sqrt(static_cast<double>(n)));
    while (s * s > n) --s;
    while ((s + 1) * (s + 1) <= n) ++s;
    return (1 + s) / 2;
}

// Reads the regular file `name` (links followed) into out, refusing it once
// more than `limit` bytes have come. Returns 0, or the errno value that says
// why not: EINVAL when it is no regular file, EFBIG when it is too long.
//
// A device, FIFO, socket or directory is refused by stat before it is
// opened at all: opening a FIFO waits for a writer, and opening some devices
// does things of its own. The open cannot wait either (O_NONBLOCK), and what
// it opened is checked again, since the name may have been swapped between
// the two. The size fstat reports is only a first guess for the buffer:
// files under /proc and /sys report 0 and read on, so the reading itself
// stops past the limit.
int ReadRegularFile(const std::string& name, qint64 limit, QByteArray& out) {
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0) return errno;
    if (!S_ISREG(st.st_mode)) return EINVAL;
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int error = [&] {
        if (::fstat(fd, &st) != 0) return errno;
        if (!S_ISREG(st.st_mode)) return EINVAL;
        if (st.st_size > limit) return EFBIG;
        out.resize(static_cast<qsizetype>(std::max<qint64>(st.st_size, 1)) + 1);
        qsizetype used = 0;
        for (;;) {
            if (used == out.size()) {
                if (used > limit) return EFBIG;
                out.resize(static_cast<qsizetype>(std::min<qint64>(2 * qint64{used}, limit + 1)));
            }
            const ssize_t n = ::read(fd, out.data() + used, static_cast<std::size_t>(out.size() - used));
            if (n == 0) break;
            if (n < 0) {
                if (errno == EINTR) continue;
                return errno;
            }
            used += n;
        }
        out.truncate(used);
        return 0;
    }();
    ::close(fd);
    return error;
}

// Whether a GIF runs to its trailer, walked block by block, with its screen
// and every frame within the size limit: Qt's reader shows a GIF cut short as
// far as it goes, and takes a frame of any size on a small screen.
bool GifLooksComplete(const QByteArray& d) {
    const qsizetype n = d.size();
    auto byte = [&d](qsizetype i) { return static_cast<int>(static_cast<unsigned char>(d[i])); };
    auto word = [&byte](qsizetype i) { return byte(i) | (byte(i + 1) << 8); };
    auto fits = [](int w, int h) {
        return w <= PictureBox::kMaxBackgroundSide && h <= PictureBox::kMaxBackgroundSide;
    };
    if (n < 13 || !fits(word(6), word(8))) return false;
    qsizetype i = 13;
    if (byte(10) & 0x80) i += 3 * (qsizetype{2} << (byte(10) & 7));  // global colour table
    auto skipSubBlocks = [&]() {
        while (i < n) {
            const int length = byte(i++);
            if (length == 0) return true;
            i += length;
        }
        return false;
    };
    while (i < n) {
        switch (byte(i++)) {
            case 0x3B:  // trailer
                return true;
            case 0x21:  // extension: label, then data sub-blocks
                if (++i > n || !skipSubBlocks()) return false;
                break;
            case 0x2C: {  // image: descriptor, colour table, code size, data
                if (i + 10 > n || !fits(word(i + 4), word(i + 6))) return false;
                const int flags = byte(i + 8);
                i += 9;
                if (flags & 0x80) i += 3 * (qsizetype{2} << (flags & 7));
                if (++i > n || !skipSubBlocks()) return false;
                break;
            }
            default:
                return false;
        }
    }
    return false;
}

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

void PictureBox::Scale(float x1, float y1, float x2, float y2) {
    frame_.x1 = x1;
    frame_.y1 = y1;
    frame_.x2 = x2;
    frame_.y2 = y2;
}

QPoint PictureBox::DevicePixel(float x, float y) const {
    return QPoint(static_cast<int>(Nearest(DeviceX(x))),
                  static_cast<int>(Nearest(DeviceY(y))));
}

void PictureBox::PSet(float x, float y, app::Rgb c) {
    const std::int64_t px = Nearest(DeviceX(x));
    const std::int64_t py = Nearest(DeviceY(y));
    BeginDraw();
    Plot(px, py, Pack(c));
    MarkDirty(px, py, px, py);
}

void PictureBox::Line(float x1, float y1, float x2, float y2, app::Rgb c) {
    // All four coordinates are checked before anything is drawn.
    const std::int64_t ax = Nearest(DeviceX(x1));
    const std::int64_t ay = Nearest(DeviceY(y1));
    const std::int64_t bx = Nearest(DeviceX(x2));
    const std::int64_t by = Nearest(DeviceY(y2));
    BeginDraw();
    DrawLine(ax, ay, bx, by, Pack(c));
    MarkDirty(std::min(ax, bx), std::min(ay, by), std::max(ax, bx), std::max(ay, by));
}

void PictureBox::Circle(float x, float y, float radius, app::Rgb c) {
    const std::int64_t cx = Nearest(DeviceX(x));
    const std::int64_t cy = Nearest(DeviceY(y));
    const double r = DeviceLength(radius);
    if (!(radius > 0)) return;
    const std::int64_t ir = Nearest(r);
    BeginDraw();
    DrawCircle(cx, cy, ir, Pack(c));
    MarkDirty(cx - ir, cy - ir, cx + ir, cy + ir);
}

void PictureBox::Cls() {
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
    if (reader.format() == "gif" && !GifLooksComplete(bytes)) return PictureFile::kUnusable;
    reader.setAllocationLimit(kMaxBackgroundSide * kMaxBackgroundSide * 4 / (1024 * 1024));
    QImage picture;
    if (!reader.read(&picture) || picture.isNull()) return PictureFile::kUnusable;
    if (picture.width() > kMaxBackgroundSide || picture.height() > kMaxBackgroundSide)
        return PictureFile::kUnusable;
    background_ = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    RebuildBase();
    Cls();
    return PictureFile::kLoaded;
}

void PictureBox::ClearBackground() {
    background_ = QImage();
    RebuildBase();
    Cls();
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

void PictureBox::BeginDraw() {
    pixels_ = reinterpret_cast<std::uint32_t*>(image_.bits());
    stride_ = image_.bytesPerLine() / 4;
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

// By hand: preset 2 makes 2.1 M steps/s in the window (87 % of the runner's
// 2.4 M) and preset 1 177,000 display cycles/s, with QPainter's lines 1.55 M
// (64 %, the target is 80 %) and 43,000 (bench_window).
// Bresenham's line from (x0, y0) to (x1, y1), both ends included. Along the
// major axis step i the minor coordinate is offset by
// floor((2 i d_minor + d_major) / (2 d_major)), the ideal line rounded with
// halves away from the start. Only the steps whose major coordinate lies on
// the image are walked, so a line from far outside costs no more than one
// across the image.
void PictureBox::DrawLine(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                          std::uint32_t colour) {
    const std::int64_t dx = x1 >= x0 ? x1 - x0 : x0 - x1;
    const std::int64_t dy = y1 >= y0 ? y1 - y0 : y0 - y1;
    if (dx == 0 && dy == 0) {
        Plot(x0, y0, colour);
        return;
    }
    const std::int64_t w = width_, h = height_;
    if (x0 >= 0 && x1 >= 0 && y0 >= 0 && y1 >= 0 && x0 < w && x1 < w && y0 < h && y1 < h) {
        // Wholly on the image, as nearly every line of a run is: the same
        // walk without a test per pixel.
        const std::int64_t xStep = x1 >= x0 ? 1 : -1, yStep = y1 >= y0 ? stride_ : -stride_;
        const std::int64_t major = std::max(dx, dy), minor = std::min(dx, dy);
        const std::int64_t majorStep = dx >= dy ? xStep : yStep, minorStep = dx >= dy ? yStep : xStep;
        std::uint32_t* p = pixels_ + y0 * stride_ + x0;
        std::int64_t rem = major;  // 2 i minor + major, less the whole multiples taken
        for (std::int64_t i = 0; i <= major; ++i) {
            *p = colour;
            p += majorStep;
            rem += 2 * minor;
            // Written without a branch: on a slanted line the minor steps
            // come in no pattern a branch predictor could follow.
            const bool carry = rem >= 2 * major;
            rem -= carry ? 2 * major : 0;
            p += carry ? minorStep : 0;
        }
        return;
    }
    const bool xMajor = dx >= dy;
    // Major and minor axis: start, direction, extent, image size.
    const std::int64_t ma0 = xMajor ? x0 : y0, mi0 = xMajor ? y0 : x0;
    const std::int64_t maStep = (xMajor ? x1 >= x0 : y1 >= y0) ? 1 : -1;
    const std::int64_t miStep = (xMajor ? y1 >= y0 : x1 >= x0) ? 1 : -1;
    const std::int64_t dMa = xMajor ? dx : dy, dMi = xMajor ? dy : dx;
    const std::int64_t maSize = xMajor ? width_ : height_;
    const std::int64_t miSize = xMajor ? height_ : width_;

    std::int64_t lo = maStep > 0 ? -ma0 : ma0 - (maSize - 1);
    std::int64_t hi = maStep > 0 ? maSize - 1 - ma0 : ma0;
    lo = std::max<std::int64_t>(lo, 0);
    hi = std::min(hi, dMa);
    if (lo > hi) return;

    const std::int64_t den = 2 * dMa;
    const std::int64_t num = 2 * lo * dMi + dMa;
    std::int64_t q = num / den, rem = num % den;
    for (std::int64_t i = lo; i <= hi; ++i) {
        const std::int64_t mi = mi0 + miStep * q;
        if (miStep > 0 ? mi >= miSize : mi < 0) break;  // left the image for good
        const std::int64_t ma = ma0 + maStep * i;
        if (xMajor)
            Plot(ma, mi, colour);
        else
            Plot(mi, ma, colour);
        rem += 2 * dMi;
        if (rem >= den) {
            rem -= den;
            ++q;
        }
    }
}

// By hand: preset 1 runs 177,000 display cycles/s, with QPainter's circles under 20,000 (bench_window).
// Midpoint circle outline. Each of the eight symmetric points of the first
// octant's (x, y) has one coordinate that is the centre's plus or minus x;
// for each group only the x whose coordinate lies on the image are walked,
// so a circle far larger than the image costs a few image widths (QPainter's
// takes 18 ms at a radius of 2^21 pixels, and from 2^17 on misses arcs).
void PictureBox::DrawCircle(std::int64_t cx, std::int64_t cy, std::int64_t r,
                            std::uint32_t colour) {
    if (r == 0) {
        Plot(cx, cy, colour);
        return;
    }
    const std::int64_t w = width_, h = height_;
    if (cx + r < 0 || cx - r >= w || cy + r < 0 || cy - r >= h) return;
    if (cx - r >= 0 && cx + r < w && cy - r >= 0 && cy + r < h) {
        // Wholly on the image: the classic incremental form, where d is
        // x^2 + (y - 1/2)^2 - r^2 at the next column less 1/4.
        std::uint32_t* const c = pixels_ + cy * stride_ + cx;
        std::int64_t x = 0, y = r, d = 1 - r;
        while (x <= y) {
            const std::int64_t xs = x * stride_, ys = y * stride_;
            c[ys + x] = colour;
            c[ys - x] = colour;
            c[-ys + x] = colour;
            c[-ys - x] = colour;
            c[xs + y] = colour;
            c[xs - y] = colour;
            c[-xs + y] = colour;
            c[-xs - y] = colour;
            const bool down = d >= 0;
            d += down ? 2 * (x - y) + 5 : 2 * x + 3;
            y -= down ? 1 : 0;
            ++x;
        }
        return;
    }

    // Last column of the octant: the largest x with x <= y(x).
    std::int64_t xMax = static_cast<std::int64_t>(static_cast<double>(r) / std::sqrt(2.0));
    while (xMax + 1 <= OctantY(r, xMax + 1)) ++xMax;
    while (xMax > 0 && xMax > OctantY(r, xMax)) --xMax;

    struct Group {
        std::int64_t lo, hi;  // range of x whose varying coordinate is on the image
        bool xVaries;         // the image x is centre +- x (else the image y is)
        std::int64_t sign;
    };
    const Group groups[4] = {
        {-cx, w - 1 - cx, true, 1},
        {cx - (w - 1), cx, true, -1},
        {-cy, h - 1 - cy, false, 1},
        {cy - (h - 1), cy, false, -1},
    };
    for (const Group& g : groups) {
        const std::int64_t lo = std::max<std::int64_t>(g.lo, 0);
        const std::int64_t hi = std::min(g.hi, xMax);
        if (lo > hi) continue;
        std::int64_t y = OctantY(r, lo);
        for (std::int64_t x = lo; x <= hi; ++x) {
            // y falls by at most one per column inside the octant.
            if (y * y - y > r * r - 1 - x * x) --y;
            if (g.xVaries) {
                Plot(cx + g.sign * x, cy + y, colour);
                Plot(cx + g.sign * x, cy - y, colour);
            } else {
                Plot(cx + y, cy + g.sign * x, colour);
                Plot(cx - y, cy + g.sign * x, colour);
            }
        }
    }
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
