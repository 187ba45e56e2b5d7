// What the two pictures show: the plot grid and its series, the construction
// view and the trajectory points. Pure drawing logic on the Surface
// interface; the surfaces themselves keep the image.
#pragma once

#include "app/port.h"
#include "app/record.h"
#include "sim/model.h"

namespace app {

inline constexpr Rgb kGridColour{1, 0, 0};
inline constexpr Rgb kAxisColour{200, 200, 200};
inline constexpr Rgb kEraseColour{250, 250, 250};
inline constexpr Rgb kLoad1Colour{0, 0, 250};
inline constexpr Rgb kLoad2Colour{250, 0, 0};

// The plot is 25 units wide: a sweep covers 25 * MT seconds.
inline constexpr int kPlotWidth = 25;

// Double to the surfaces' single precision; a value beyond the float range
// cannot be drawn and raises DrawError.
float ToDrawCoord(double v);

// Frame (0, 5)-(25, -5), grid in colour value 1, grey zero line.
void DrawPlotAxes(Surface& plot);
// Frame (-5, 5)-(5, -5), grid in colour value 1, grey axes.
void DrawViewAxes(Surface& view);

// View step: the disk's marker point from the unreduced disk angle, then
// DrawConstruction.
void ViewStep(const sim::Model& m, Display& d, Surface& view);
// Erases the previous image of loads, elements and diameter in (250,250,250)
// and draws the current one; then remembers what it drew.
void DrawConstruction(const sim::Model& m, Display& d, Surface& view);

// One point per ticked series (check boxes read through the port) and the
// trajectory points, in the order of the series table.
void PlotUpdate(const sim::Model& m, const Display& d, WindowPort& port, Surface& plot);

}  // namespace app
