// The drawing surfaces pixel by pixel, and the scheme picture taken or refused from either folder.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

#include "app/drawing.h"
#include "app/errors.h"
#include "ui/picture_box.h"
#include "ui/raster.h"
#include "ui/scheme_view.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const QRgb kWhite = qRgb(255, 255, 255), kBlue = qRgb(0, 0, 250);
const QRect kViewRect(0, 0, 293, 293), kPlotRect(0, 0, 577, 241);  // 4395 and 8655 x 3615 twips

int Count(const QImage& image, QRgb c) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == c;
    return n;
}

int Nearest(double v) { return static_cast<int>(std::floor(v + 0.5)); }

// A two-colour GIF whose screen and one frame have these sizes.
QByteArray Gif(int w, int h, int frameW = 0, int frameH = 0) {
    QByteArray gif("GIF89a");
    auto le16 = [&gif](int v) { gif.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    le16(w), le16(h), gif.append(QByteArray("\x80\0\0\0\0\0\xff\xff\xff,", 10));
    le16(0), le16(0), le16(frameW ? frameW : w), le16(frameH ? frameH : h);
    return gif.append(QByteArray("\0\x02\x02\x44\x01\0;", 7));
}

QByteArray Png(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kBlue);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly), image.save(&buffer, "PNG");
    return buffer.data();
}

// What lies in a folder as shema.gif (a link kLink points at the path in the content).
enum class Lies { kNothing, kFile, kPastTheCap, kLink, kLinkToFile, kFifo, kDirectory };

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
    }
    return false;
}

QString Text(app::Message m) { return QString::fromUtf8(app::MessageText(m)); }

using Pixels = std::set<std::pair<std::int64_t, std::int64_t>>;
constexpr std::int64_t kW = 48, kH = 40, kStride = 51;  // a pixel set past a row's end would show

// The pixels `draw` sets on a part of a kW x kH image given to it as an image of its own (only those `within`).
template <class Draw>
Pixels Drawn(const QRect& part, Draw draw, QRect within = {}) {
    std::vector<std::uint32_t> image(kStride * kH, 0);
    draw(ui::Raster{image.data() + part.top() * kStride + part.left(), kStride, part.width(), part.height()});
    Pixels set;
    for (std::int64_t i = 0; i < kStride * kH; ++i)
        if (image[i] && (within.isNull() || within.contains(int(i % kStride), int(i / kStride))))
            set.insert({i % kStride, i / kStride});
    return set;
}

}  // namespace

Q_DECLARE_METATYPE(app::PictureFile)
Q_DECLARE_METATYPE(Lies)

class TestPictureBox : public QObject {
    Q_OBJECT

private slots:
    void gridsLandWhereTheFramesPutThem() {
        // Plot x 0..25, view -5..5, y 5..-5: grid (1, 0, 0) at each unit, edges on the end pixels; grey axes over it.
        for (bool plot : {true, false}) {
            ui::PictureBox box(plot ? kPlotRect : kViewRect);
            plot ? app::DrawPlotAxes(box) : app::DrawViewAxes(box);
            const QImage& image = box.image();
            const int w = image.width(), h = image.height();
            auto onGrid = [](int p, int size, int units) {
                for (int i = 0; i <= units; ++i)
                    if (p == Nearest(i * (size - 1.0) / units)) return true;
                return false;
            };
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const bool axis = y == Nearest((h - 1) / 2.0) || (!plot && x == Nearest((w - 1) / 2.0));
                    const bool grid = onGrid(x, w, plot ? 25 : 10) || onGrid(y, h, 10);
                    const QRgb want = axis ? qRgb(200, 200, 200) : grid ? qRgb(1, 0, 0) : kWhite;
                    if (image.pixel(x, y) != want) QFAIL(qPrintable(QStringLiteral("(%1,%2)").arg(x).arg(y)));
                }
        }
    }

    // Shapes against the ideal one, all marked dirty; undrawable coordinates throw and draw nothing.
    void shapesLandOnTheirPixels_data() {
        QTest::addColumn<char>("shape");     // Point, Line, Circle
        QTest::addColumn<QPointF>("a");      // the point, the line's start, the centre
        QTest::addColumn<QPointF>("b");      // the line's end; (radius, 0)
        QTest::addColumn<char>("expect");    // Seen, Unseen, Throws
        QTest::newRow("point, rounded") << 'P' << QPointF(69.3, 160.6) << QPointF() << 'S';
        QTest::newRow("point off the image") << 'P' << QPointF(100, -0.6) << QPointF() << 'U';
        QTest::newRow("line of one point") << 'L' << QPointF(50, 60) << QPointF(50, 60) << 'S';
        QTest::newRow("line from 2^24 out") << 'L' << QPointF(-16777216, -16000000) << QPointF(500, 200) << 'S';
        QTest::newRow("line passing below") << 'L' << QPointF(-100, 300) << QPointF(700, 260) << 'U';
        QTest::newRow("circle of no radius") << 'C' << QPointF(100, 100) << QPointF(0, 0) << 'U';
        QTest::newRow("circle of negative radius") << 'C' << QPointF(100, 100) << QPointF(-2, 0) << 'U';
        QTest::newRow("arc of radius 8 million") << 'C' << QPointF(-7e6, -4e6)
                                                 << QPointF(std::round(std::hypot(7000288, 4000120)), 0) << 'S';
        QTest::newRow("image inside the circle") << 'C' << QPointF(288, 120) << QPointF(1000, 0) << 'U';
        for (float v : {1e30f, INFINITY, NAN}) {  // far past the 2^24 pixels a surface takes
            QTest::addRow("point at %g", v) << 'P' << QPointF(v, 1) << QPointF() << 'T';
            QTest::addRow("line to %g", v) << 'L' << QPointF(1, 1) << QPointF(v, 2) << 'T';
            QTest::addRow("circle of radius %g", v) << 'C' << QPointF(10, 1) << QPointF(v, 0) << 'T';
        }
    }

    void shapesLandOnTheirPixels() {
        QFETCH(char, shape);
        QFETCH(QPointF, a);
        QFETCH(QPointF, b);
        QFETCH(char, expect);
        ui::PictureBox box(kPlotRect);
        box.SetFrame(0, 0, 576, 240);
        box.Flush();
        const auto f = [](double v) { return static_cast<float>(v); };
        const auto draw = [&] {
            if (shape == 'L') box.Line(f(a.x()), f(a.y()), f(b.x()), f(b.y()), {0, 0, 250});
            if (shape == 'C') box.Circle(f(a.x()), f(a.y()), f(b.x()), {0, 0, 250});
            if (shape == 'P') box.Point(f(a.x()), f(a.y()), {0, 0, 250});
        };
        if (expect == 'T') QVERIFY_THROWS_EXCEPTION(app::DrawError, draw());
        else draw();
        const bool seen = expect == 'S';
        const QImage& image = box.image();
        QCOMPARE(Count(image, kBlue) + Count(image, kWhite), 577 * 241);
        QCOMPARE(Count(image, kBlue) > 0, seen);
        // A point on its nearest pixel, a line within a pixel, a circle within 3/4 pixel.
        const double r = b.x(), dx = b.x() - a.x(), dy = b.y() - a.y(), len = std::hypot(dx, dy);
        const QRectF ends = QRectF(a, b).normalized().adjusted(-0.5, -0.5, 0.5, 0.5);
        QRect changed;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != kBlue) continue;
                changed |= QRect(x, y, 1, 1);
                const double off = len ? std::fabs((x - a.x()) * dy - (y - a.y()) * dx) / len : 0;
                if (!(shape == 'C'   ? std::fabs(std::hypot(x - a.x(), y - a.y()) - r) <= 0.75
                      : shape == 'L' ? ends.contains(x, y) && off <= 1
                                     : x == Nearest(a.x()) && y == Nearest(a.y())))
                    QFAIL(qPrintable(QStringLiteral("(%1,%2)").arg(x).arg(y)));
            }
        QCOMPARE(box.DirtyRect() | changed, box.DirtyRect());
        // Both ends of a line; the four pixels at +-r across and down.
        std::vector<QPointF> named;
        if (shape == 'L' && seen) named = {a, b};
        if (shape == 'C' && seen) named = {a + QPointF(r, 0), a - QPointF(r, 0), a + QPointF(0, r), a - QPointF(0, r)};
        for (const QPointF& p : named)
            if (image.rect().contains(p.toPoint())) QCOMPARE(image.pixel(p.toPoint()), kBlue);
        QVERIFY(box.grab().toImage().convertToFormat(QImage::Format_RGB32) == image);
    }

    // Whole-pixel lines in all octants both ways: the nearest pixel a step (either at a half); clipped, the same pixels.
    void linesWhereTheRasteriserIsExact() {
        const std::pair<std::int64_t, std::int64_t> slopes[] = {{12, 0}, {12, 12}, {1, 0}, {1, 1}, {9, 3}, {7, 2}, {10, 4},
                                                                {11, 5}, {5, 4}, {13, 1},                     // exact
                                                                {12, 6}, {8, 2}, {12, 9}, {6, 1}, {10, 5}};  // with halves
        const std::int64_t x0 = 20, y0 = 17;
        const QRect parts[] = {{0, 0, x0 + 1, kH}, {24, 0, kW - 24, kH}, {0, 0, kW, y0 + 1}, {0, 20, kW, kH - 20}};
        for (const auto& [major, minor] : slopes)
            for (int octant = 0; octant < 16; ++octant) {  // and backwards
                const bool xMajor = octant & 1, backwards = octant & 8;
                const std::int64_t sMajor = octant & 2 ? -1 : 1, sMinor = octant & 4 ? -1 : 1;
                const std::int64_t dx = xMajor ? sMajor * major : sMinor * minor, dy = xMajor ? sMinor * minor : sMajor * major;
                const QString name = QStringLiteral("by (%1, %2)%3").arg(dx).arg(dy).arg(backwards ? " backwards" : "");
                const QRect whole(0, 0, kW, kH);
                const auto line = [&](const QRect& part, QRect within = {}) {
                    return Drawn(part, [&](const ui::Raster& r) {
                        const std::int64_t ax = x0 - part.left(), ay = y0 - part.top(), bx = ax + dx, by = ay + dy;
                        backwards ? ui::DrawLine(r, bx, by, ax, ay, 1) : ui::DrawLine(r, ax, ay, bx, by, 1);
                    }, within);
                };
                const Pixels set = line(whole);
                QCOMPARE(std::int64_t(set.size()), major + 1);
                for (std::int64_t i = 0; i <= major; ++i) {
                    const bool half = (2 * i * minor) % major == 0 && (2 * i * minor / major) % 2 == 1;
                    const std::int64_t nearest = std::llround(double(i * minor) / double(major));
                    bool found = false;
                    for (const std::int64_t off : {nearest - half, nearest})
                        found |= set.count(xMajor ? std::pair{x0 + sMajor * i, y0 + sMinor * off}
                                                  : std::pair{x0 + sMinor * off, y0 + sMajor * i}) > 0;
                    QVERIFY2(found, qPrintable(name + QStringLiteral(", step %1").arg(i)));
                }
                for (const QRect& part : parts)
                    QVERIFY2(line(part) == line(whole, part), qPrintable(name + QStringLiteral(" on a part")));
            }
    }

    // Circles, whole or clipped: (cx +- x, cy +- y), (cx +- y, cy +- x) for x <= y, y the nearest row (never a half).
    void circlesWhereTheRasteriserIsExact() {
        std::vector<std::array<std::int64_t, 3>> circles = {{2, 20, 5}, {50, 20, 5}, {0, 0, 9}, {47, 39, 30}, {20, 50, 15},
                                                            {-700000, 20, 700010}, {24, -123457, 123470}};
        for (std::int64_t r = 0; r < 60; ++r) circles.push_back({r < 20 ? 24 : -2, r < 20 ? 20 : 17, r}), circles.push_back({-2, 20, r});
        for (const auto& [cx, cy, r] : circles) {
            const auto y = [r = r](std::int64_t x) { return std::llround(std::sqrt(double(r * r - x * x))); };
            Pixels expected;
            for (std::int64_t p = 0; p < kW; ++p)
                for (const std::int64_t s : {-1, 1}) {
                    if (const std::int64_t x = std::abs(p - cx); x <= r && x <= y(x)) expected.insert({p, cy + s * y(x)});
                    if (const std::int64_t x = std::abs(p - cy); p < kH && x <= r && x <= y(x)) expected.insert({cx + s * y(x), p});
                }
            std::erase_if(expected, [](const auto& p) { return p.first < 0 || p.first >= kW || p.second < 0 || p.second >= kH; });
            QVERIFY2(Drawn({0, 0, kW, kH}, [&](const ui::Raster& img) { ui::DrawCircle(img, cx, cy, r, 1); }) == expected,
                     qPrintable(QStringLiteral("r %1 about (%2, %3)").arg(r).arg(cx).arg(cy)));
        }
    }

    // Each case in the working folder, then in the installed one: the same rules.
    void picturesAreTakenOrRefused_data() {
        QTest::addColumn<Lies>("lies");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<app::PictureFile>("result");
        QTest::addColumn<bool>("installed");
        QFile real(QStringLiteral(MORVANE1_SHEMA_GIF));
        QVERIFY(real.open(QIODevice::ReadOnly));
        const QByteArray gif = real.readAll();
        auto row = [](const char* name, Lies lies, const QByteArray& content, app::PictureFile result) {
            for (bool installed : {false, true})
                QTest::addRow("%s%s", name, installed ? " (installed)" : "") << lies << content << result << installed;
        };
        const auto taken = app::PictureFile::kLoaded, missing = app::PictureFile::kMissing,
                   refused = app::PictureFile::kUnusable;
        // Taken at the size limit, so what refuses them below is their size.
        row("the scheme", Lies::kFile, gif, taken);
        row("gif of 4096 x 16", Lies::kFile, Gif(4096, 16), taken);
        row("gif of 16 x 4096", Lies::kFile, Gif(16, 4096), taken);
        row("png through a link", Lies::kLinkToFile, Png(4096, 16), taken);
        row("missing", Lies::kNothing, QByteArray(), missing);
        row("link to nowhere", Lies::kLink, QByteArray("no-such.gif"), missing);
        row("empty", Lies::kFile, QByteArray(), refused);
        row("text", Lies::kFile, QByteArray("this is not a picture\n"), refused);
        // Qt alone would show a cut GIF, and a huge frame on a small screen.
        row("last byte missing", Lies::kFile, gif.chopped(1), refused);
        row("small screen, frame of 60000 x 60000", Lies::kFile, Gif(16, 16, 60000, 60000), refused);
        row("declares 4097 x 16", Lies::kFile, Gif(4097, 16), refused);
        row("png of 16 x 4097", Lies::kFile, Png(16, 4097), refused);
        row("png without its end", Lies::kFile, Png(64, 64).chopped(12), refused);
        // Endless, blocking, or not files at all: refused at once.
        row("padded past the size cap", Lies::kPastTheCap, Gif(16, 16), refused);
        row("link to /dev/zero", Lies::kLink, QByteArray("/dev/zero"), refused);
        row("FIFO with no writer", Lies::kFifo, QByteArray(), refused);
        row("directory", Lies::kDirectory, QByteArray(), refused);
        row("link to itself", Lies::kLink, QByteArray("shema.gif"), refused);
    }

    void picturesAreTakenOrRefused() {
        QFETCH(Lies, lies);
        QFETCH(QByteArray, content);
        QFETCH(app::PictureFile, result);
        QFETCH(bool, installed);
        QTemporaryDir dir;
        const QString oldCurrent = QDir::currentPath();
        QVERIFY(dir.isValid() && QDir(dir.path()).mkdir(u"work"_s) && QDir(dir.path()).mkdir(u"share"_s));
        const QString work = dir.filePath(u"work"_s), share = dir.filePath(u"share"_s);
        QVERIFY(QDir::setCurrent(installed ? share : work));
        const bool made = MakeScheme(lies, content);
        QVERIFY(QDir::setCurrent(work));
        ui::SchemeView box(kViewRect, nullptr, share);
        app::DrawViewAxes(box);
        const QImage before = box.image();
        const QString here = QDir::currentPath();
        const app::PictureFile got = made ? box.SetBackgroundFromFile("shema.gif") : app::PictureFile::kLoaded;
        QVERIFY(QDir::setCurrent(oldCurrent) && made);
        QCOMPARE(got, result);
        // The message names the folders looked in, or the file refused.
        if (result == app::PictureFile::kMissing)
            QCOMPARE(box.MessageText(app::Message::kSchemeMissing),
                     Text(app::Message::kSchemeMissing) + u":\r\n"_s + here + u"\r\n"_s + share);
        if (result == app::PictureFile::kUnusable)
            QCOMPARE(box.MessageText(app::Message::kSchemeUnusable), Text(app::Message::kSchemeUnusable) + u":\r\n"_s +
                                                                         (installed ? share : here) + u"/shema.gif"_s);
        // Taken: unscaled at the top left on white, kept by Clear. Refused: nothing changed.
        const bool taken = result == app::PictureFile::kLoaded;
        QImage shown(kViewRect.size(), QImage::Format_RGB32);
        shown.fill(kWhite);
        if (taken) QPainter(&shown).drawImage(0, 0, QImage::fromData(content));
        QVERIFY(!taken || Count(shown, kWhite) < 293 * 293);
        QVERIFY(box.image() == (taken ? shown : before));
        box.Circle(0, 0, 2, {0, 0, 250});
        box.Clear();
        QVERIFY(box.image() == shown);
        box.ClearBackground();
        QCOMPARE(Count(box.image(), kWhite), 293 * 293);
    }

    // The working folder decides though the installed one has the scheme; one folder is looked in once.
    void theWorkingFolderComesFirst() {
        QTemporaryDir dir;
        const QString old = QDir::currentPath();
        QVERIFY(dir.isValid() && QDir::setCurrent(dir.path()) && QDir().mkdir(u"share"_s));
        QVERIFY(QFile::copy(QStringLiteral(MORVANE1_SHEMA_GIF), u"share/shema.gif"_s));
        const QString here = QDir::currentPath(), share = here + u"/share"_s;
        ui::SchemeView box(kViewRect, nullptr, share);
        QVERIFY(MakeScheme(Lies::kFile, Png(8, 8)));
        QCOMPARE(box.SetBackgroundFromFile("shema.gif"), app::PictureFile::kLoaded);
        QCOMPARE(box.image().pixel(7, 7), kBlue);
        QVERIFY(MakeScheme(Lies::kFile, "not a picture"));
        QCOMPARE(box.SetBackgroundFromFile("shema.gif"), app::PictureFile::kUnusable);
        QCOMPARE(box.MessageText(app::Message::kSchemeUnusable),
                 Text(app::Message::kSchemeUnusable) + u":\r\n"_s + here + u"/shema.gif"_s);
        QVERIFY(QFile::remove(u"share/shema.gif"_s) && QDir::setCurrent(share));
        QCOMPARE(box.SetBackgroundFromFile("shema.gif"), app::PictureFile::kMissing);
        QVERIFY(QDir::setCurrent(old));
        QCOMPARE(box.MessageText(app::Message::kSchemeMissing),
                 Text(app::Message::kSchemeMissing) + u":\r\n"_s + share);
    }
};

QTEST_MAIN(TestPictureBox)

#include "test_picture_box.moc"
