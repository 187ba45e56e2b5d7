#include "app/drawing.h"

#include <cfloat>
#include <cmath>

#include "app/errors.h"
#include "sim/arith.h"
#include "sim/energy.h"

namespace app {

using sim::Chk;

float ToDrawCoord(double v) {
    if (!(std::fabs(v) <= static_cast<double>(FLT_MAX))) throw DrawError();
    return static_cast<float>(v);
}

void DrawPlotAxes(Surface& plot) {
    plot.Scale(0, 5, 25, -5);
    for (int j = -5; j <= 5; ++j) plot.Line(0, static_cast<float>(j), 25, static_cast<float>(j), kGridColour);
    for (int i = 0; i <= 25; ++i) plot.Line(static_cast<float>(i), -5, static_cast<float>(i), 5, kGridColour);
    plot.Line(0, 0, 25, 0, kAxisColour);
}

void DrawViewAxes(Surface& view) {
    view.Scale(-5, 5, 5, -5);
    for (int i = -5; i <= 5; ++i) {
        const float f = static_cast<float>(i);
        view.Line(-5, f, 5, f, kGridColour);
        view.Line(f, -5, f, 5, kGridColour);
    }
    view.Line(-5, 0, 5, 0, kAxisColour);
    view.Line(0, -5, 0, 5, kAxisColour);
}

void ViewStep(sim::Model& m, Surface& view) {
    // The rim point at the unreduced disk angle, one end of the diameter.
    m.MarkX = Chk(Chk(std::cos(m.fi[0]) * m.R[0]) / m.ML);
    m.MarkY = Chk(Chk(std::sin(m.fi[0]) * m.R[0]) / m.ML);
    DrawConstruction(m, view);
}

namespace {

struct Place {
    float x, y;
};

// A load's place relative to the disk centre, in view units.
Place LoadPlace(double xLoad, double xDisk, double yLoad, double yDisk, double ml) {
    return {ToDrawCoord(Chk(Chk(xLoad - xDisk) / ml)), ToDrawCoord(Chk(Chk(yLoad - yDisk) / ml))};
}

}  // namespace

void DrawConstruction(sim::Model& m, Surface& view) {
    const double ml = m.ML;
    const float loadRadius = ToDrawCoord(Chk(Chk(m.R[0] / 2) / ml));
    // Previous places are recomputed from metres with the current scale, so
    // after a change of ML the first erase misses the old loads.
    const Place old1 = LoadPlace(m.XOld[1], m.XOld[0], m.YOld[1], m.YOld[0], ml);
    view.Circle(old1.x, old1.y, loadRadius, kEraseColour);
    const Place old2 = LoadPlace(m.XOld[2], m.XOld[0], m.YOld[2], m.YOld[0], ml);
    view.Circle(old2.x, old2.y, loadRadius, kEraseColour);
    view.Line(old1.x, old1.y, 0, 0, kEraseColour);
    view.Line(old2.x, old2.y, 0, 0, kEraseColour);
    const float mxOld = ToDrawCoord(m.MarkXOld), myOld = ToDrawCoord(m.MarkYOld);
    view.Line(mxOld, myOld, ToDrawCoord(-m.MarkXOld), ToDrawCoord(-m.MarkYOld), kEraseColour);

    // The disk outline and diameter come after all erasing, so no erased
    // load or element leaves a gap in them.
    view.Circle(0, 0, ToDrawCoord(Chk(m.R[0] / ml)), kGridColour);
    view.Line(ToDrawCoord(m.MarkX), ToDrawCoord(m.MarkY), ToDrawCoord(-m.MarkX),
              ToDrawCoord(-m.MarkY), kGridColour);
    const Place p1 = LoadPlace(m.X[1], m.X[0], m.Y[1], m.Y[0], ml);
    view.Circle(p1.x, p1.y, loadRadius, kLoad1Colour);
    const Place p2 = LoadPlace(m.X[2], m.X[0], m.Y[2], m.Y[0], ml);
    view.Circle(p2.x, p2.y, loadRadius, kLoad2Colour);
    view.Line(p1.x, p1.y, 0, 0, kLoad1Colour);
    view.Line(p2.x, p2.y, 0, 0, kLoad2Colour);

    m.MarkXOld = m.MarkX;
    m.MarkYOld = m.MarkY;
    for (int b = 0; b < 3; ++b) {
        m.XOld[b] = m.X[b];
        m.YOld[b] = m.Y[b];
    }
}

namespace {

void Point(Surface& plot, double x, double y, Rgb c) {
    plot.PSet(ToDrawCoord(x), ToDrawCoord(y), c);
}

}  // namespace

void PlotUpdate(const sim::Model& m, WindowPort& port, Surface& plot) {
    struct Series {
        int check;
        Rgb colour;
    };
    // Load 1 blue, load 2 red, the disk green; VX2 and VY2 use a red of 255.
    static constexpr Series kBefore[] = {
        {1, {0, 0, 250}}, {2, {255, 0, 0}}, {3, {0, 0, 250}}, {4, {255, 0, 0}},
        {5, {0, 0, 200}}, {6, {200, 0, 0}}, {7, {0, 0, 200}}, {8, {200, 0, 0}},
        {9, {0, 200, 0}}, {10, {0, 200, 0}},
    };
    auto ticked = [&](int check) { return port.CheckValue(check) == 1; };
    auto x = [&] { return Chk(m.TPlot / m.MT); };
    for (const Series& s : kBefore) {
        if (!ticked(s.check)) continue;
        double y = 0;
        switch (s.check) {
            case 1: y = Chk(m.VX[1] / m.MV); break;
            case 2: y = Chk(m.VX[2] / m.MV); break;
            case 3: y = Chk(m.VY[1] / m.MV); break;
            case 4: y = Chk(m.VY[2] / m.MV); break;
            case 5: y = Chk(m.FX[1] / m.MF); break;
            case 6: y = Chk(m.FX[2] / m.MF); break;
            case 7: y = Chk(m.FY[1] / m.MF); break;
            case 8: y = Chk(m.FY[2] / m.MF); break;
            case 9: y = Chk(-Chk(m.FX[1] + m.FX[2]) / m.MF); break;
            case 10: y = Chk(-Chk(m.FY[1] + m.FY[2]) / m.MF); break;
        }
        Point(plot, x(), y, s.colour);
    }
    // Trajectories: absolute positions in the plot's frame, so x here is
    // position along X, not time.
    if (ticked(15)) {
        Point(plot, Chk(m.X[1] / m.ML), Chk(m.Y[1] / m.ML), kLoad1Colour);
        Point(plot, Chk(m.X[2] / m.ML), Chk(m.Y[2] / m.ML), kLoad2Colour);
    }
    if (ticked(11)) Point(plot, x(), Chk(m.FT[1] / m.MF), {0, 0, 200});
    if (ticked(12)) Point(plot, x(), Chk(m.FT[2] / m.MF), {200, 0, 0});
    // The energy error has no scale: one grid unit is 1e-10 of E0.
    if (ticked(13)) Point(plot, x(), sim::EnergyError(m), {0, 200, 0});
}

}  // namespace app
