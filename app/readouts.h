// The readouts of a display cycle, in the order they are written, with
// the caption of the label that names each (also the headless runner's
// column names).
#pragma once

#include <iterator>

#include "app/controls.h"
#include "sim/arith.h"
#include "sim/energy.h"
#include "sim/model.h"

namespace app {

struct Readout {
    Field field;
    const char* caption;
    // The value shown, from the model and what the display cycle derived
    // from it; raises sim::ArithmeticError where it cannot be formed.
    double (*value)(const sim::Model&, const sim::DisplayValues&);
};


inline constexpr Readout kReadouts[] = {
    {Field::T, "T", [](const sim::Model& m, const sim::DisplayValues&) { return m.s.T; }},
    {Field::W0Now, "w0", [](const sim::Model& m, const sim::DisplayValues&) { return m.s.w0(); }},
    {Field::X0, "X0", [](const sim::Model& m, const sim::DisplayValues&) { return m.s.X(0); }},
    {Field::Y0, "Y0", [](const sim::Model& m, const sim::DisplayValues&) { return m.s.Y(0); }},
    {Field::Ymrv, "Ymrv", [](const sim::Model&, const sim::DisplayValues& v) { return v.Ymrv; }},
    {Field::E, "E", [](const sim::Model&, const sim::DisplayValues& v) { return v.E; }},
    {Field::FR1, "FR1", [](const sim::Model& m, const sim::DisplayValues&) { return m.forces.FR[0]; }},
    {Field::FR2, "FR2", [](const sim::Model& m, const sim::DisplayValues&) { return m.forces.FR[1]; }},
    {Field::R1Now, "R1", [](const sim::Model& m, const sim::DisplayValues&) { return m.geo.R[0]; }},
    {Field::R2Now, "R2", [](const sim::Model& m, const sim::DisplayValues&) { return m.geo.R[1]; }},
    {Field::FT1, "FT1", [](const sim::Model& m, const sim::DisplayValues&) { return m.forces.FT[0]; }},
    {Field::FT2, "FT2", [](const sim::Model& m, const sim::DisplayValues&) { return m.forces.FT[1]; }},
    // The load angles in degrees, from 0 up to 360.
    {Field::Fi1, "fi1", [](const sim::Model& m, const sim::DisplayValues&) { return sim::Chk(m.geo.fi[0] * sim::DegPerRad); }},
    {Field::Fi2, "fi2", [](const sim::Model& m, const sim::DisplayValues&) { return sim::Chk(m.geo.fi[1] * sim::DegPerRad); }},
    {Field::VX1, "VX1", [](const sim::Model& m, const sim::DisplayValues&) { return m.s.VX(1); }},
    {Field::VX2, "VX2", [](const sim::Model& m, const sim::DisplayValues&) { return m.s.VX(2); }},
    {Field::VY1, "VY1", [](const sim::Model& m, const sim::DisplayValues&) { return m.s.VY(1); }},
    {Field::VY2, "VY2", [](const sim::Model& m, const sim::DisplayValues&) { return m.s.VY(2); }},
    {Field::FX1, "FX1", [](const sim::Model&, const sim::DisplayValues& v) { return v.FX[0]; }},
    {Field::FX2, "FX2", [](const sim::Model&, const sim::DisplayValues& v) { return v.FX[1]; }},
    {Field::FY1, "FY1", [](const sim::Model&, const sim::DisplayValues& v) { return v.FY[0]; }},
    {Field::FY2, "FY2", [](const sim::Model&, const sim::DisplayValues& v) { return v.FY[1]; }},
    // The elements' force on the disk, the reaction to the forces on the loads.
    {Field::FX0, "FX0", [](const sim::Model&, const sim::DisplayValues& v) { return sim::DiskForce(v.FX); }},
    {Field::FY0, "FY0", [](const sim::Model&, const sim::DisplayValues& v) { return sim::DiskForce(v.FY); }},
};
inline constexpr std::size_t kReadoutCount = std::size(kReadouts);

}  // namespace app
