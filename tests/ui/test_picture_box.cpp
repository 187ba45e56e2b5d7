// The drawing surfaces of the main window, pixel by pixel.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/drawing.h"
#include "app/errors.h"
#include "ui/picture_box.h"
#include "tests/ui/test_images.h"

using testing_support::GifDeclaring;

namespace {

const QRgb kWhite = qRgb(255, 255, 255), kGrid = qRgb(1, 0, 0), kAxis = qRgb(200, 200, 200);
const QRgb kBlue = qRgb(0, 0, 250);
constexpr app::Rgb kPen{0, 0, 250};

// The pictures' sizes in logical pixels: 4395 x 4395 and 8655 x 3615 twips.
const QRect kViewRect(0, 0, 293, 293);
const QRect kPlotRect(0, 0, 577, 241);

int Count(const QImage& image, QRgb c) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == c;
    return n;
}

int Nearest(double v) { return static_cast<int>(std::floor(v + 0.5)); }

QByteArray Png(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 250));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// What lies in the working directory under the name shema.gif: the content
// as a file (padded with zeros to a byte past the size cap), a link to the
// path in the content or to a file of the content, or no file at all.
enum class Lies { kNothing, kFile, kPastTheCap, kLink, kLinkToFile, kFifo, kDirectory, kSocket };

bool MakeScheme(Lies what, const QByteArray& content) {
    const char* name = "shema.gif";
    QFile file(QStringLiteral("picture"));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) return false;
    if (what == Lies::kPastTheCap && !file.resize(ui::PictureBox::kMaxBackgroundFileBytes + 1)) return false;
    file.close();
    switch (what) {
        case Lies::kNothing: return true;
        case Lies::kFile:
        case Lies::kPastTheCap: return rename("picture", name) == 0;
        case Lies::kLink: return symlink(content.constData(), name) == 0;
        case Lies::kLinkToFile: return symlink("picture", name) == 0;
        case Lies::kFifo: return mkfifo(name, 0600) == 0;
        case Lies::kDirectory: return mkdir(name, 0700) == 0;
        case Lies::kSocket: {
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::strcpy(address.sun_path, name);
            const int s = socket(AF_UNIX, SOCK_STREAM, 0);
            const bool bound = s >= 0 && bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
            if (s >= 0) close(s);
            return bound;
        }
    }
    return false;
}

}  // namespace

Q_DECLARE_METATYPE(app::PictureFile)
Q_DECLARE_METATYPE(Lies)

class TestPictureBox : public QObject {
    Q_OBJECT

private slots:
    void gridsLandWhereTheFramesPutThem_data() {
        QTest::addColumn<bool>("plot");
        QTest::newRow("time-history plot") << true;
        QTest::newRow("construction view") << false;
    }

    void gridsLandWhereTheFramesPutThem() {
        QFETCH(bool, plot);
        ui::PictureBox box(plot ? kPlotRect : kViewRect);
        plot ? app::DrawPlotAxes(box) : app::DrawViewAxes(box);
        const QImage& image = box.image();
        const int w = image.width(), h = image.height();
        // Plot: x 0..25, y 5 (top) .. -5; view: -5..5 both ways. A grid line
        // at every whole unit, the edges on the first and last pixel; the grey
        // axes (y = 0, and x = 0 in the view) over the grid.
        auto onGrid = [](int p, int size, int units) {
            for (int i = 0; i <= units; ++i)
                if (p == Nearest(i * (size - 1.0) / units)) return true;
            return false;
        };
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const QRgb want = y == Nearest((h - 1) / 2.0) || (!plot && x == Nearest((w - 1) / 2.0)) ? kAxis
                                  : onGrid(x, w, plot ? 25 : 10) || onGrid(y, h, 10)                 ? kGrid
                                                                                                      : kWhite;
                if (image.pixel(x, y) != want) QFAIL(qPrintable(QStringLiteral("pixel (%1,%2)").arg(x).arg(y)));
            }
    }

    // Shapes in a frame of the plot's own pixels, against the ideal shape:
    // nothing drawn off it, no gaps along it, the pixels a user looks for
    // drawn, and all of it marked for repainting; undrawable coordinates
    // throw and draw nothing.
    void shapesLandOnTheirPixels_data() {
        QTest::addColumn<QByteArray>("shape");
        QTest::addColumn<QPointF>("a");  // the point, the line's start, the centre
        QTest::addColumn<QPointF>("b");  // the line's end; (radius, 0)
        QTest::addColumn<QByteArray>("expect");
        auto row = [](const QByteArray& tag, const char* shape, QPointF a, QPointF b, const char* expect) {
            QTest::newRow(tag.constData()) << QByteArray(shape) << a << b << QByteArray(expect);
        };
        row("point, rounded", "point", {69.3, 160.6}, {}, "seen");
        row("point off the image", "point", {100, -0.6}, {}, "unseen");
        row("line, shallow", "line", {10, 20}, {300, 97}, "seen");
        row("line, steep and backwards", "line", {400, 230}, {371, 5}, "seen");
        row("line of one point", "line", {50, 60}, {50, 60}, "seen");
        row("line from 2^24 out", "line", {-16777216, -16000000}, {500, 200}, "seen");
        row("line passing below", "line", {-100, 300}, {700, 260}, "unseen");
        row("circle of no radius", "circle", {100, 100}, {0, 0}, "unseen");
        row("circle of negative radius", "circle", {100, 100}, {-2, 0}, "unseen");
        row("the disk", "circle", {146, 146}, {58, 0}, "seen");
        row("circle about the corner", "circle", {0, 0}, {50, 0}, "seen");
        row("arc from below", "circle", {300, 3241}, {3100, 0}, "seen");
        // Radius 8 million, the rim crossing the image aslant at (288, 120).
        row("slanted arc", "circle", {-7e6, -4e6}, {std::round(std::hypot(7000288, 4000120)), 0}, "seen");
        row("image inside the circle", "circle", {288, 120}, {1000, 0}, "unseen");
        // 1e30 user units are far past the 2^24 pixels a surface takes; a
        // line from a drawable start to such an end draws nothing either.
        for (float v : {1e30f, -1e30f, INFINITY, NAN}) {
            const QByteArray at = QByteArray::number(v);
            row("point at " + at, "point", {v, 1}, {}, "throws");
            row("line to " + at, "line", {1, 1}, {v, 2}, "throws");
            row("circle of radius " + at, "circle", {10, 1}, {v, 0}, "throws");
        }
    }

    void shapesLandOnTheirPixels() {
        QFETCH(QByteArray, shape);
        QFETCH(QPointF, a);
        QFETCH(QPointF, b);
        QFETCH(QByteArray, expect);
        const bool line = shape == "line", circle = shape == "circle";
        ui::PictureBox box(kPlotRect);
        box.Scale(0, 0, 576, 240);
        box.Flush();
        const auto draw = [&, f = [](double v) { return static_cast<float>(v); }] {
            if (line) box.Line(f(a.x()), f(a.y()), f(b.x()), f(b.y()), kPen);
            if (circle) box.Circle(f(a.x()), f(a.y()), f(b.x()), kPen);
            if (!line && !circle) box.PSet(f(a.x()), f(a.y()), kPen);
        };
        if (expect == "throws") QVERIFY_THROWS_EXCEPTION(app::DrawError, draw());
        else draw();
        const QImage& image = box.image();
        QCOMPARE(Count(image, kBlue) + Count(image, kWhite), 577 * 241);
        QCOMPARE(Count(image, kBlue) > 0, expect == "seen");
        if (expect == "throws") return;

        const double r = b.x(), dx = b.x() - a.x(), dy = b.y() - a.y();
        const bool across = std::fabs(dx) >= std::fabs(dy);  // the line runs more across than down
        const QRectF ends = QRectF(a, b).normalized().adjusted(-0.5, -0.5, 0.5, 0.5);
        auto lineAt = [&](bool column, double m) {  // where the line crosses column (row) m
            return column ? a.y() + (dx ? (m - a.x()) * dy / dx : 0) : a.x() + (m - a.y()) * dx / dy;
        };
        auto drawn = [&](int x, int y) { return image.rect().contains(x, y) && image.pixel(x, y) == kBlue; };
        // A point on its nearest pixel, a line within a pixel between its
        // ends, a circle within 3/4 pixel of its radius.
        QRect changed;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                if (!drawn(x, y)) continue;
                changed |= QRect(x, y, 1, 1);
                if (!(circle ? std::fabs(std::hypot(x - a.x(), y - a.y()) - r) <= 0.75
                      : line ? ends.contains(x, y) && std::fabs((across ? y : x) - lineAt(across, across ? x : y)) <= 1
                             : x == Nearest(a.x()) && y == Nearest(a.y())))
                    QFAIL(qPrintable(QStringLiteral("(%1,%2)").arg(x).arg(y)));
            }
        QCOMPARE(box.DirtyRect() | changed, box.DirtyRect());
        // No gaps: a pixel within one of wherever the shape crosses a column
        // (row) while it runs more across (down), unless the edge is as near.
        for (bool column : {true, false})
            for (int m = 0; m < (column ? image.width() : image.height()); ++m) {
                const double off = m - (column ? a.x() : a.y()), mid = column ? a.y() : a.x();
                std::vector<double> at;
                if (circle && r > 0 && std::fabs(off) <= r / std::sqrt(2.0))
                    at = {mid - std::sqrt(r * r - off * off), mid + std::sqrt(r * r - off * off)};
                const bool between = column ? ends.left() < m && m < ends.right() : ends.top() < m && m < ends.bottom();
                if (line && column == across && between) at = {lineAt(column, m)};
                for (double c : at) {
                    const int k = Nearest(c);
                    const bool hit = column ? drawn(m, k - 1) || drawn(m, k) || drawn(m, k + 1)
                                            : drawn(k - 1, m) || drawn(k, m) || drawn(k + 1, m);
                    if (!hit && k >= 1 && k < (column ? image.height() : image.width()) - 1)
                        QFAIL(qPrintable(QStringLiteral("gap at %1, %2").arg(m).arg(c)));
                }
            }
        // Both ends of a line; the four pixels at +-r across and down.
        std::vector<QPointF> named;
        if (line) named = {a, b};
        if (circle && r > 0) named = {a + QPointF(r, 0), a - QPointF(r, 0), a + QPointF(0, r), a - QPointF(0, r)};
        for (const QPointF& p : named)
            if (image.rect().contains(p.toPoint())) QVERIFY(drawn(p.toPoint().x(), p.toPoint().y()));
        // What is painted is the image.
        QVERIFY(box.grab().toImage().convertToFormat(QImage::Format_RGB32) == image);
    }

    void picturesAreTakenOrRefused_data() {
        QTest::addColumn<Lies>("lies");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<app::PictureFile>("result");
        QFile real(QStringLiteral(MORVANE1_SHEMA_GIF));
        QVERIFY(real.open(QIODevice::ReadOnly));
        const QByteArray gif = real.readAll();
        const auto loaded = app::PictureFile::kLoaded, missing = app::PictureFile::kMissing,
                   unusable = app::PictureFile::kUnusable;
        // The scheme; at the size limit; through a link: so what refuses the
        // same kinds of picture below is their size.
        QTest::newRow("the scheme") << Lies::kFile << gif << loaded;
        QTest::newRow("gif of 4096 x 16") << Lies::kFile << GifDeclaring(4096, 16) << loaded;
        QTest::newRow("gif of 16 x 4096") << Lies::kFile << GifDeclaring(16, 4096) << loaded;
        QTest::newRow("png of 4096 x 16") << Lies::kFile << Png(4096, 16) << loaded;
        QTest::newRow("png through a link") << Lies::kLinkToFile << Png(16, 16) << loaded;
        QTest::newRow("missing") << Lies::kNothing << QByteArray() << missing;
        QTest::newRow("link to nowhere") << Lies::kLink << QByteArray("no-such.gif") << missing;
        QTest::newRow("empty") << Lies::kFile << QByteArray() << unusable;
        QTest::newRow("text") << Lies::kFile << QByteArray("this is not a picture\n") << unusable;
        QTest::newRow("truncated") << Lies::kFile << gif.left(gif.size() / 2) << unusable;
        QTest::newRow("header only") << Lies::kFile << gif.left(13) << unusable;
        QTest::newRow("last byte missing") << Lies::kFile << gif.left(gif.size() - 1) << unusable;
        QTest::newRow("declares 60000 x 60000") << Lies::kFile << GifDeclaring(60000, 60000) << unusable;
        QTest::newRow("declares 4097 x 16") << Lies::kFile << GifDeclaring(4097, 16) << unusable;
        QTest::newRow("declares 16 x 4097") << Lies::kFile << GifDeclaring(16, 4097) << unusable;
        QTest::newRow("small screen, frame of 60000 x 60000")
            << Lies::kFile << GifDeclaring(16, 16, 60000, 60000) << unusable;
        QTest::newRow("png of 4097 x 16") << Lies::kFile << Png(4097, 16) << unusable;
        QTest::newRow("png without its end") << Lies::kFile << Png(64, 64).chopped(12) << unusable;
        // No pictures in a way the decoders never see: endless, blocking, or
        // not files at all. Each must be refused at once.
        QTest::newRow("picture padded past the size cap") << Lies::kPastTheCap << GifDeclaring(16, 16) << unusable;
        QTest::newRow("link to /dev/zero") << Lies::kLink << QByteArray("/dev/zero") << unusable;
        QTest::newRow("link to /dev/urandom") << Lies::kLink << QByteArray("/dev/urandom") << unusable;
        QTest::newRow("FIFO with no writer") << Lies::kFifo << QByteArray() << unusable;
        QTest::newRow("directory") << Lies::kDirectory << QByteArray() << unusable;
        QTest::newRow("socket") << Lies::kSocket << QByteArray() << unusable;
        QTest::newRow("link to itself") << Lies::kLink << QByteArray("shema.gif") << unusable;
    }

    void picturesAreTakenOrRefused() {
        QFETCH(Lies, lies);
        QFETCH(QByteArray, content);
        QFETCH(app::PictureFile, result);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString oldCurrent = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        const bool made = MakeScheme(lies, content);
        ui::PictureBox box(kViewRect);
        app::DrawViewAxes(box);
        const QImage before = box.image();
        const app::PictureFile got = made ? box.SetBackgroundFromFile("shema.gif") : app::PictureFile::kLoaded;
        QVERIFY(QDir::setCurrent(oldCurrent));
        QVERIFY2(made, "cannot make shema.gif");
        QCOMPARE(got, result);
        // Taken: the picture unscaled at the top left over the background,
        // the drawing gone, and kept by Cls. Refused: nothing changed.
        const bool taken = result == app::PictureFile::kLoaded;
        QImage shown(kViewRect.size(), QImage::Format_RGB32);
        shown.fill(Qt::white);
        if (taken) QPainter(&shown).drawImage(0, 0, QImage::fromData(content));
        QVERIFY(!taken || Count(shown, kWhite) < 293 * 293);  // the picture shows
        QVERIFY(box.image() == (taken ? shown : before));
        box.Circle(0, 0, 2, kPen);
        box.Cls();
        QVERIFY(box.image() == shown);
        box.ClearBackground();
        QCOMPARE(Count(box.image(), kWhite), 293 * 293);
    }
};

QTEST_MAIN(TestPictureBox)

#include "test_picture_box.moc"
