// The drawing surfaces of the main window, pixel by pixel.

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/drawing.h"
#include "app/errors.h"
#include "ui/picture_box.h"
#include "tests/ui/test_images.h"

using testing_support::GifDeclaring;

namespace {

constexpr app::Rgb kWhite{255, 255, 255};
constexpr app::Rgb kGrid{1, 0, 0};
constexpr app::Rgb kAxis{200, 200, 200};
constexpr app::Rgb kBlue{0, 0, 250};

// The pictures' sizes in logical pixels: 4395 x 4395 and 8655 x 3615 twips.
const QRect kViewRect(0, 0, 293, 293);
const QRect kPlotRect(0, 0, 577, 241);

app::Rgb PixelAt(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return {static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
            static_cast<std::uint8_t>(qBlue(p))};
}

QString Describe(app::Rgb c) { return QStringLiteral("(%1,%2,%3)").arg(c.r).arg(c.g).arg(c.b); }

int CountDifferences(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) ++n;
    return n;
}

std::set<std::pair<int, int>> PixelsOf(const QImage& image, app::Rgb c) {
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (PixelAt(image, x, y) == c) out.insert({x, y});
    return out;
}

// The textbook midpoint circle, all eight octants, without clipping.
std::set<std::pair<int, int>> TextbookCircle(int cx, int cy, int r) {
    std::set<std::pair<int, int>> out;
    int x = 0, y = r, d = 1 - r;
    while (x <= y) {
        for (auto [px, py] : {std::pair{x, y}, {-x, y}, {x, -y}, {-x, -y}, {y, x}, {-y, x}, {y, -x}, {-y, -x}})
            out.insert({cx + px, cy + py});
        if (d < 0) {
            d += 2 * x + 3;
        } else {
            d += 2 * (x - y) + 5;
            --y;
        }
        ++x;
    }
    return out;
}

// The nearest integer of a grid position; the test's sizes never put one
// exactly half-way.
int Nearest(double v) { return static_cast<int>(std::floor(v + 0.5)); }

// A surface whose user frame is its own device pixels.
void PixelFrame(ui::PictureBox& box) {
    box.Scale(0, 0, static_cast<float>(box.image().width() - 1),
              static_cast<float>(box.image().height() - 1));
}

QByteArray Png(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 250));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

// What lies in the working directory under the name shema.gif.
enum class Lies {
    kNothing,
    kFile,       // a file holding the content
    kLink,       // a symbolic link to the path in the content
    kLinkToFile, // a symbolic link to a file holding the content
    kFifo,
    kDirectory,
    kSocket,
    kPastTheCap, // the content, then zeros to one byte past the size cap
};

bool MakeScheme(Lies what, const QByteArray& content) {
    const char* name = "shema.gif";
    switch (what) {
        case Lies::kNothing: return true;
        case Lies::kLink: return symlink(content.constData(), name) == 0;
        case Lies::kLinkToFile: {
            QFile f(QStringLiteral("picture"));
            return f.open(QIODevice::WriteOnly) && f.write(content) == content.size() &&
                   symlink("picture", name) == 0;
        }
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
        case Lies::kFile:
        case Lies::kPastTheCap: {
            QFile f(QString::fromLatin1(name));
            if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size()) return false;
            // Sparse: no disk space taken.
            return what == Lies::kFile || f.resize(ui::PictureBox::kMaxBackgroundFileBytes + 1);
        }
    }
    return false;
}

}  // namespace

Q_DECLARE_METATYPE(app::Rgb)
Q_DECLARE_METATYPE(app::PictureFile)
Q_DECLARE_METATYPE(Lies)

class TestPictureBox : public QObject {
    Q_OBJECT

private slots:
    void gridsLandWhereTheFramesPutThem_data();
    void gridsLandWhereTheFramesPutThem();
    void pointLandsOnItsMappedPixel_data();
    void pointLandsOnItsMappedPixel();
    void pointsOffTheFrameAreClipped_data();
    void pointsOffTheFrameAreClipped();
    void undrawableCoordinatesThrow_data();
    void undrawableCoordinatesThrow();
    void linesFollowTheIdealLineAndClip_data();
    void linesFollowTheIdealLineAndClip();
    void circlesMatchTheMidpointCircle_data();
    void circlesMatchTheMidpointCircle();
    void circleOfNoRadiusDrawsNothing();
    void dirtyRectCoversTheDrawing();
    void paintingCopiesTheImage();
    void schemeLoadsAndClsKeepsIt();
    void picturesAtTheLimitLoad_data();
    void picturesAtTheLimitLoad();
    void badPicturesAreRefused_data();
    void badPicturesAreRefused();
};

void TestPictureBox::gridsLandWhereTheFramesPutThem_data() {
    QTest::addColumn<bool>("plot");
    QTest::newRow("time-history plot") << true;
    QTest::newRow("construction view") << false;
}

void TestPictureBox::gridsLandWhereTheFramesPutThem() {
    QFETCH(bool, plot);
    ui::PictureBox box(plot ? kPlotRect : kViewRect);
    const QImage& image = box.image();
    const int w = image.width(), h = image.height();
    // Plot: x 0..25 left to right, y 5 (top) .. -5; view: -5..5 both ways,
    // y up. Grid lines at every whole unit; the edges are the first and last
    // pixel.
    const double xFrom = plot ? 0 : -5, xTo = plot ? 25 : 5;
    std::vector<int> columns, rows;
    for (int i = static_cast<int>(xFrom); i <= static_cast<int>(xTo); ++i)
        columns.push_back(Nearest((i - xFrom) * (w - 1) / (xTo - xFrom)));
    for (int j = 5; j >= -5; --j) rows.push_back(Nearest((5 - j) * (h - 1) / 10.0));
    const int zeroRow = Nearest(5 * (h - 1) / 10.0);
    const int zeroColumn = plot ? -1 : Nearest(5 * (w - 1) / 10.0);
    if (plot)
        app::DrawPlotAxes(box);
    else
        app::DrawViewAxes(box);

    const QSet<int> gridColumns(columns.begin(), columns.end());
    const QSet<int> gridRows(rows.begin(), rows.end());
    QCOMPARE(gridColumns.size(), plot ? 26 : 11);
    QCOMPARE(gridRows.size(), 11);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            // The grey axes are drawn over the grid.
            app::Rgb want = kWhite;
            if (gridColumns.contains(x) || gridRows.contains(y)) want = kGrid;
            if (y == zeroRow || x == zeroColumn) want = kAxis;
            const app::Rgb got = PixelAt(image, x, y);
            if (got != want)
                QFAIL(qPrintable(QStringLiteral("pixel (%1,%2) is %3, expected %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(Describe(got), Describe(want))));
        }
    }
}

void TestPictureBox::pointLandsOnItsMappedPixel_data() {
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<QPoint>("pixel");
    // Plot frame (0, 5)-(25, -5) on 577 x 241 pixels: 23.04 pixels a unit
    // across, 24 down.
    QTest::newRow("middle") << 12.5f << 2.5f << QPoint(288, 60);
    QTest::newRow("top left corner") << 0.0f << 5.0f << QPoint(0, 0);
    QTest::newRow("bottom right corner") << 25.0f << -5.0f << QPoint(576, 240);
    QTest::newRow("rounds down") << 3.0f << -1.7f << QPoint(69, 161);    // 69.12, 160.8
    QTest::newRow("rounds up") << 7.3f << 0.49f << QPoint(168, 108);     // 168.19, 108.24
}

void TestPictureBox::pointLandsOnItsMappedPixel() {
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(QPoint, pixel);
    ui::PictureBox box(kPlotRect);
    app::DrawPlotAxes(box);
    const QImage before = box.image();
    QCOMPARE(box.DevicePixel(x, y), pixel);
    box.PSet(x, y, kBlue);
    QCOMPARE(PixelAt(box.image(), pixel.x(), pixel.y()), kBlue);
    QCOMPARE(CountDifferences(before, box.image()), 1);
}

void TestPictureBox::pointsOffTheFrameAreClipped_data() {
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::newRow("six grid units up") << 10.0f << 6.0f;
    QTest::newRow("six grid units down") << 10.0f << -6.0f;
    QTest::newRow("left of the plot") << -0.1f << 0.0f;
    QTest::newRow("right of the plot") << 25.1f << 0.0f;
    QTest::newRow("far away, still drawable") << 1e5f << -1e5f;  // 2.3e6 and 2.4e6 pixels
}

void TestPictureBox::pointsOffTheFrameAreClipped() {
    QFETCH(float, x);
    QFETCH(float, y);
    ui::PictureBox box(kPlotRect);
    app::DrawPlotAxes(box);
    const QImage before = box.image();
    box.PSet(x, y, kBlue);
    QCOMPARE(CountDifferences(before, box.image()), 0);
}

void TestPictureBox::undrawableCoordinatesThrow_data() {
    QTest::addColumn<int>("shape");
    QTest::addColumn<float>("value");
    // 1e30 user units are about 2.3e31 pixels, far past the 2^24 limit.
    for (int shape = 0; shape < 3; ++shape) {
        const char* name = shape == 0 ? "point" : shape == 1 ? "line" : "circle";
        QTest::addRow("%s at 1e30", name) << shape << 1e30f;
        QTest::addRow("%s at -1e30", name) << shape << -1e30f;
        QTest::addRow("%s at infinity", name) << shape << INFINITY;
        QTest::addRow("%s at nan", name) << shape << NAN;
    }
}

void TestPictureBox::undrawableCoordinatesThrow() {
    QFETCH(int, shape);
    QFETCH(float, value);
    ui::PictureBox box(kPlotRect);
    app::DrawPlotAxes(box);
    const QImage before = box.image();
    switch (shape) {
        case 0: QVERIFY_THROWS_EXCEPTION(app::DrawError, box.PSet(value, 0, kBlue)); break;
        case 1: QVERIFY_THROWS_EXCEPTION(app::DrawError, box.Line(1, 1, value, 2, kBlue)); break;
        default: QVERIFY_THROWS_EXCEPTION(app::DrawError, box.Circle(10, 0, value, kBlue)); break;
    }
    QCOMPARE(CountDifferences(before, box.image()), 0);
}

void TestPictureBox::linesFollowTheIdealLineAndClip_data() {
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::newRow("inside, shallow") << QPoint(10, 20) << QPoint(300, 97);
    QTest::newRow("inside, steep") << QPoint(400, 5) << QPoint(371, 230);
    QTest::newRow("inside, diagonal backwards") << QPoint(200, 200) << QPoint(20, 20);
    QTest::newRow("horizontal") << QPoint(0, 120) << QPoint(576, 120);
    QTest::newRow("vertical, upwards") << QPoint(33, 240) << QPoint(33, 0);
    QTest::newRow("single point") << QPoint(50, 60) << QPoint(50, 60);
    QTest::newRow("through from far outside") << QPoint(-3000, -700) << QPoint(4000, 900);
    QTest::newRow("steep through from far outside") << QPoint(250, -90000) << QPoint(300, 90000);
    QTest::newRow("enters and ends inside") << QPoint(-500, 400) << QPoint(100, 100);
    QTest::newRow("passes beside the image") << QPoint(-100, 300) << QPoint(700, 260);
    QTest::newRow("crosses only a corner") << QPoint(560, -20) << QPoint(600, 20);
}

void TestPictureBox::linesFollowTheIdealLineAndClip() {
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    ui::PictureBox box(kPlotRect);
    PixelFrame(box);
    box.Line(static_cast<float>(from.x()), static_cast<float>(from.y()), static_cast<float>(to.x()),
             static_cast<float>(to.y()), kBlue);
    const QImage& image = box.image();
    const auto drawn = PixelsOf(image, kBlue);
    const int w = image.width(), h = image.height();

    // Swap the axes so that "major" is the one the line advances along most.
    const bool xMajor = std::abs(to.x() - from.x()) >= std::abs(to.y() - from.y());
    auto major = [xMajor](QPoint p) { return xMajor ? p.x() : p.y(); };
    auto minor = [xMajor](QPoint p) { return xMajor ? p.y() : p.x(); };
    const int majorSize = xMajor ? w : h, minorSize = xMajor ? h : w;
    std::vector<std::vector<int>> perMajor(static_cast<std::size_t>(majorSize));
    for (auto [x, y] : drawn) perMajor[static_cast<std::size_t>(xMajor ? x : y)].push_back(xMajor ? y : x);

    const int lo = std::min(major(from), major(to)), hi = std::max(major(from), major(to));
    for (int m = 0; m < majorSize; ++m) {
        const auto& hits = perMajor[static_cast<std::size_t>(m)];
        if (m < lo || m > hi) {
            QVERIFY2(hits.empty(), qPrintable(QStringLiteral("pixel beyond the ends at %1").arg(m)));
            continue;
        }
        const double ideal = lo == hi ? minor(from)
                                      : minor(from) + static_cast<double>(m - major(from)) *
                                                          (minor(to) - minor(from)) / (major(to) - major(from));
        QVERIFY2(hits.size() <= 1, qPrintable(QStringLiteral("%1 pixels at %2").arg(hits.size()).arg(m)));
        if (hits.size() == 1) {
            QVERIFY2(std::fabs(hits[0] - ideal) <= 0.5,
                     qPrintable(QStringLiteral("pixel %1 at %2, ideal %3").arg(hits[0]).arg(m).arg(ideal)));
        } else if (ideal >= 0.5 && ideal <= minorSize - 1.5) {
            QFAIL(qPrintable(QStringLiteral("gap at %1 where the line is at %2").arg(m).arg(ideal)));
        }
    }
    // Nothing but the line was drawn.
    QCOMPARE(static_cast<int>(drawn.size()) + static_cast<int>(PixelsOf(image, kWhite).size()), w * h);
}

void TestPictureBox::circlesMatchTheMidpointCircle_data() {
    QTest::addColumn<QPoint>("centre");
    QTest::addColumn<int>("radius");
    QTest::newRow("one pixel") << QPoint(100, 100) << 1;
    QTest::newRow("two pixels") << QPoint(100, 100) << 2;
    QTest::newRow("three pixels") << QPoint(7, 9) << 3;
    QTest::newRow("a load") << QPoint(146, 146) << 29;
    QTest::newRow("the disk") << QPoint(146, 146) << 58;
    QTest::newRow("touching every edge") << QPoint(120, 120) << 120;
    QTest::newRow("centre on the corner") << QPoint(0, 0) << 50;
    QTest::newRow("centre left of the image") << QPoint(-30, 120) << 100;
    QTest::newRow("larger than the image") << QPoint(288, 120) << 500;
    QTest::newRow("arc of a huge circle") << QPoint(5000, 120) << 4990;
    QTest::newRow("arc from below") << QPoint(300, 3241) << 3100;
    QTest::newRow("entirely outside") << QPoint(-200, -200) << 150;
    QTest::newRow("image inside the circle") << QPoint(288, 120) << 1000;
}

void TestPictureBox::circlesMatchTheMidpointCircle() {
    QFETCH(QPoint, centre);
    QFETCH(int, radius);
    ui::PictureBox box(kPlotRect);
    PixelFrame(box);
    box.Circle(static_cast<float>(centre.x()), static_cast<float>(centre.y()), static_cast<float>(radius),
               kBlue);
    const QImage& image = box.image();
    std::set<std::pair<int, int>> want;
    for (auto [x, y] : TextbookCircle(centre.x(), centre.y(), radius))
        if (x >= 0 && y >= 0 && x < image.width() && y < image.height()) want.insert({x, y});
    const auto got = PixelsOf(image, kBlue);
    QCOMPARE(got.size(), want.size());
    QVERIFY(got == want);
    QCOMPARE(static_cast<int>(got.size() + PixelsOf(image, kWhite).size()), image.width() * image.height());
}

void TestPictureBox::circleOfNoRadiusDrawsNothing() {
    ui::PictureBox box(kViewRect);
    app::DrawViewAxes(box);
    const QImage before = box.image();
    box.Circle(0.5f, 0.5f, 0.0f, kBlue);
    box.Circle(0.5f, 0.5f, -2.0f, kBlue);
    QCOMPARE(CountDifferences(before, box.image()), 0);
}

void TestPictureBox::dirtyRectCoversTheDrawing() {
    ui::PictureBox box(kViewRect);
    app::DrawViewAxes(box);
    box.Flush();
    QVERIFY(box.DirtyRect().isEmpty());
    const QImage before = box.image();
    box.Line(-1, -1, 2.5f, 0.5f, kBlue);
    box.Circle(3, 3, 1, kBlue);
    box.PSet(-4.5f, 4.5f, kBlue);
    QRect changed;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (before.pixel(x, y) != box.image().pixel(x, y)) changed |= QRect(x, y, 1, 1);
    QVERIFY(!changed.isEmpty());
    QVERIFY2(box.DirtyRect().contains(changed), qPrintable(QStringLiteral("dirty rect misses changes")));
    box.Flush();
    QVERIFY(box.DirtyRect().isEmpty());
}

void TestPictureBox::paintingCopiesTheImage() {
    ui::PictureBox box(kPlotRect);
    app::DrawPlotAxes(box);
    box.Circle(12, 0, 3, kBlue);
    box.PSet(1, 1, {0, 200, 0});
    const QImage shown = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), box.image().size());
    QCOMPARE(CountDifferences(shown, box.image()), 0);
}

void TestPictureBox::schemeLoadsAndClsKeepsIt() {
    const QString path = QStringLiteral(MORVANE1_SHEMA_GIF);
    QImage scheme(path);
    QVERIFY(!scheme.isNull());
    // The picture composed over the white background, as it should show.
    QImage expected(kViewRect.size(), QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        QPainter p(&expected);
        p.drawImage(0, 0, scheme);
    }

    ui::PictureBox box(kViewRect);
    app::DrawViewAxes(box);
    QCOMPARE(box.SetBackgroundFromFile(path.toStdString()), app::PictureFile::kLoaded);
    QCOMPARE(CountDifferences(box.image(), expected), 0);
    // The picture shows something besides the background.
    QVERIFY(PixelsOf(box.image(), kWhite).size() < static_cast<std::size_t>(293 * 293 - 1000));

    app::DrawViewAxes(box);
    box.Circle(0, 0, 2, kBlue);
    QVERIFY(CountDifferences(box.image(), expected) > 0);
    box.Cls();
    QCOMPARE(CountDifferences(box.image(), expected), 0);

    box.ClearBackground();
    QCOMPARE(static_cast<int>(PixelsOf(box.image(), kWhite).size()), 293 * 293);
}

void TestPictureBox::badPicturesAreRefused_data() {
    QTest::addColumn<Lies>("lies");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<app::PictureFile>("result");
    QFile real(QStringLiteral(MORVANE1_SHEMA_GIF));
    QVERIFY(real.open(QIODevice::ReadOnly));
    const QByteArray gif = real.readAll();
    const auto missing = app::PictureFile::kMissing, unusable = app::PictureFile::kUnusable;
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
    // Files that are no pictures in a way the decoders never see: endless,
    // blocking, or not files at all. Each must be refused at once.
    QTest::newRow("picture padded past the size cap") << Lies::kPastTheCap << GifDeclaring(16, 16) << unusable;
    QTest::newRow("link to /dev/zero") << Lies::kLink << QByteArray("/dev/zero") << unusable;
    QTest::newRow("link to /dev/urandom") << Lies::kLink << QByteArray("/dev/urandom") << unusable;
    QTest::newRow("FIFO with no writer") << Lies::kFifo << QByteArray() << unusable;
    QTest::newRow("directory") << Lies::kDirectory << QByteArray() << unusable;
    QTest::newRow("socket") << Lies::kSocket << QByteArray() << unusable;
    QTest::newRow("link to itself") << Lies::kLink << QByteArray("shema.gif") << unusable;
}

void TestPictureBox::picturesAtTheLimitLoad_data() {
    QTest::addColumn<Lies>("lies");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<app::Rgb>("topLeft");
    // The hand-made pictures refused below for their sizes load at the
    // limit; so the size is what refuses them.
    QTest::newRow("gif of 4096 x 16") << Lies::kFile << GifDeclaring(4096, 16) << app::Rgb{0, 0, 0};
    QTest::newRow("gif of 16 x 4096") << Lies::kFile << GifDeclaring(16, 4096) << app::Rgb{0, 0, 0};
    QTest::newRow("png of 4096 x 16") << Lies::kFile << Png(4096, 16) << app::Rgb{0, 0, 250};
    // A link is followed to the picture it names.
    QTest::newRow("png through a link") << Lies::kLinkToFile << Png(16, 16) << app::Rgb{0, 0, 250};
}

void TestPictureBox::picturesAtTheLimitLoad() {
    QFETCH(Lies, lies);
    QFETCH(QByteArray, content);
    QFETCH(app::Rgb, topLeft);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString oldCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const bool made = MakeScheme(lies, content);
    ui::PictureBox box(kViewRect);
    const app::PictureFile loaded = made ? box.SetBackgroundFromFile("shema.gif") : app::PictureFile::kMissing;
    QVERIFY(QDir::setCurrent(oldCurrent));
    QVERIFY2(made, "cannot make shema.gif");
    QCOMPARE(loaded, app::PictureFile::kLoaded);
    QCOMPARE(PixelAt(box.image(), 0, 0), topLeft);
}

void TestPictureBox::badPicturesAreRefused() {
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
    box.Circle(0, 0, 2, kBlue);
    const QImage before = box.image();
    const app::PictureFile loaded = made ? box.SetBackgroundFromFile("shema.gif") : app::PictureFile::kLoaded;
    QVERIFY(QDir::setCurrent(oldCurrent));
    QVERIFY2(made, "cannot make shema.gif");
    QCOMPARE(loaded, result);
    QCOMPARE(CountDifferences(before, box.image()), 0);
    // Cls still restores the plain background: nothing was taken in.
    box.Cls();
    QCOMPARE(static_cast<int>(PixelsOf(box.image(), kWhite).size()), 293 * 293);
}

QTEST_MAIN(TestPictureBox)

#include "test_picture_box.moc"
