#include "app/drawing.h"

#include <algorithm>
#include <cfloat>
#include <iterator>
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
    constexpr float kWidth = kPlotWidth;
    plot.SetFrame(0, 5, kWidth, -5);
    for (int j = -5; j <= 5; ++j) plot.Line(0, static_cast<float>(j), kWidth, static_cast<float>(j), kGridColour);
    for (int i = 0; i <= kPlotWidth; ++i) plot.Line(static_cast<float>(i), -5, static_cast<float>(i), 5, kGridColour);
    plot.Line(0, 0, kWidth, 0, kAxisColour);
}

void DrawViewAxes(Surface& view) {
    view.SetFrame(-5, 5, 5, -5);
    for (int i = -5; i <= 5; ++i) {
        const float f = static_cast<float>(i);
        view.Line(-5, f, 5, f, kGridColour);
        view.Line(f, -5, f, 5, kGridColour);
    }
    view.Line(-5, 0, 5, 0, kAxisColour);
    view.Line(0, -5, 0, 5, kAxisColour);
}

void ViewStep(const sim::Model& m, Display& d, Surface& view) {
    // The rim point at the unreduced disk angle, one end of the diameter.
    d.MarkX = Chk(std::cos(m.s.fi0()) * m.p.R0 / d.ML);
    d.MarkY = Chk(std::sin(m.s.fi0()) * m.p.R0 / d.ML);
    DrawConstruction(m, d, view);
}

namespace {

struct Place {
    float x, y;
};

// A load's place relative to the disk centre, in view units.
Place LoadPlace(double xLoad, double xDisk, double yLoad, double yDisk, double ml) {
    return {ToDrawCoord(Chk((xLoad - xDisk) / ml)), ToDrawCoord(Chk((yLoad - yDisk) / ml))};
}

// The loads at positions x, y (body 0 the disk) about the disk centre: the
// two circles, then each element from its load to the centre.
void DrawLoads(Surface& view, const double* x, const double* y, double ml, float radius, Rgb c1, Rgb c2) {
    const Place p1 = LoadPlace(x[1], x[0], y[1], y[0], ml);
    view.Circle(p1.x, p1.y, radius, c1);
    const Place p2 = LoadPlace(x[2], x[0], y[2], y[0], ml);
    view.Circle(p2.x, p2.y, radius, c2);
    view.Line(p1.x, p1.y, 0, 0, c1);
    view.Line(p2.x, p2.y, 0, 0, c2);
}

// The diameter from the marked rim point through the centre.
void DrawDiameter(Surface& view, double markX, double markY, Rgb c) {
    view.Line(ToDrawCoord(markX), ToDrawCoord(markY), ToDrawCoord(-markX), ToDrawCoord(-markY), c);
}

}  // namespace

void DrawConstruction(const sim::Model& m, Display& d, Surface& view) {
    const double ml = d.ML;
    const float loadRadius = ToDrawCoord(Chk(m.p.R0 / 2 / ml));
    // Previous places are recomputed from metres with the current scale, so
    // after a change of ML the first erase misses the old loads.
    DrawLoads(view, d.XOld, d.YOld, ml, loadRadius, kEraseColour, kEraseColour);
    DrawDiameter(view, d.MarkXOld, d.MarkYOld, kEraseColour);
    // The disk outline and diameter come after all erasing, so no erased
    // load or element leaves a gap in them.
    view.Circle(0, 0, ToDrawCoord(Chk(m.p.R0 / ml)), kGridColour);
    DrawDiameter(view, d.MarkX, d.MarkY, kGridColour);
    DrawLoads(view, m.s.StateY.data() + sim::state::kX, m.s.StateY.data() + sim::state::kY, ml, loadRadius,
              kLoad1Colour, kLoad2Colour);

    d.MarkXOld = d.MarkX;
    d.MarkYOld = d.MarkY;
    for (int b = 0; b < sim::kBodies; ++b) d.XOld[b] = m.s.X(b), d.YOld[b] = m.s.Y(b);
}

namespace {

void PlotPoint(Surface& plot, double x, double y, Rgb c) {
    plot.Point(ToDrawCoord(x), ToDrawCoord(y), c);
}

}  // namespace

void PlotUpdate(const sim::Model& m, const Display& d, WindowPort& port, Surface& plot) {
    using sim::Model;
    struct Row {
        Series series;
        Rgb colour;
        double (*y)(const Model&, const Display&);
    };
    // Load 1 blue, load 2 red, the disk green; VX2 and VY2 use a red of 255.
    // The energy error has no scale: one grid unit is 1e-10 of E0.
    static constexpr Row kRows[] = {
        {Series::VX1, {0, 0, 250}, [](const Model& m, const Display& d) { return m.s.VX(1) / d.MV; }},
        {Series::VX2, {255, 0, 0}, [](const Model& m, const Display& d) { return m.s.VX(2) / d.MV; }},
        {Series::VY1, {0, 0, 250}, [](const Model& m, const Display& d) { return m.s.VY(1) / d.MV; }},
        {Series::VY2, {255, 0, 0}, [](const Model& m, const Display& d) { return m.s.VY(2) / d.MV; }},
        {Series::FX1, {0, 0, 200}, [](const Model&, const Display& d) { return d.now.FX[0] / d.MF; }},
        {Series::FX2, {200, 0, 0}, [](const Model&, const Display& d) { return d.now.FX[1] / d.MF; }},
        {Series::FY1, {0, 0, 200}, [](const Model&, const Display& d) { return d.now.FY[0] / d.MF; }},
        {Series::FY2, {200, 0, 0}, [](const Model&, const Display& d) { return d.now.FY[1] / d.MF; }},
        {Series::FX0, {0, 200, 0}, [](const Model&, const Display& d) { return sim::DiskForce(d.now.FX) / d.MF; }},
        {Series::FY0, {0, 200, 0}, [](const Model&, const Display& d) { return sim::DiskForce(d.now.FY) / d.MF; }},
        {Series::FT1, {0, 0, 200}, [](const Model& m, const Display& d) { return m.forces.FT[0] / d.MF; }},
        {Series::FT2, {200, 0, 0}, [](const Model& m, const Display& d) { return m.forces.FT[1] / d.MF; }},
        {Series::EnergyError, {0, 200, 0},
         [](const Model& m, const Display& d) { return sim::EnergyError(d.now.E, m.start.E0); }},
    };
    constexpr int kBeforeTrajectories = 10;
    for (int i = 0; i < static_cast<int>(std::size(kRows)); ++i) {
        // Trajectories: absolute positions in the plot's frame, so x here is
        // position along X, not time.
        if (i == kBeforeTrajectories && port.CheckValue(Box::Trajectories) == 1) {
            PlotPoint(plot, Chk(m.s.X(1) / d.ML), Chk(m.s.Y(1) / d.ML), kLoad1Colour);
            PlotPoint(plot, Chk(m.s.X(2) / d.ML), Chk(m.s.Y(2) / d.ML), kLoad2Colour);
        }
        const Row& row = kRows[i];
        if (port.CheckValue(row.series) != 1) continue;
        const double y = Chk(row.y(m, d));
        PlotPoint(plot, Chk(d.TPlot / d.MT), y, row.colour);
    }
}

}  // namespace app
