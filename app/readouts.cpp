#include "app/readouts.h"

#include "sim/arith.h"

namespace app {

using sim::Model, sim::DisplayValues;

const std::array<Readout, kReadoutCount> kReadouts = {{
    {Field::T, "T", [](const Model& m, const DisplayValues&) { return m.s.T; }},
    {Field::W0Now, "w0", [](const Model& m, const DisplayValues&) { return m.s.w0(); }},
    {Field::X0, "X0", [](const Model& m, const DisplayValues&) { return m.s.X(0); }},
    {Field::Y0, "Y0", [](const Model& m, const DisplayValues&) { return m.s.Y(0); }},
    {Field::Ymrv, "Ymrv", [](const Model&, const DisplayValues& v) { return v.Ymrv; }},
    {Field::E, "E", [](const Model&, const DisplayValues& v) { return v.E; }},
    {Field::FR1, "FR1", [](const Model& m, const DisplayValues&) { return m.forces.FR[0]; }},
    {Field::FR2, "FR2", [](const Model& m, const DisplayValues&) { return m.forces.FR[1]; }},
    {Field::R1Now, "R1", [](const Model& m, const DisplayValues&) { return m.geo.R[0]; }},
    {Field::R2Now, "R2", [](const Model& m, const DisplayValues&) { return m.geo.R[1]; }},
    {Field::FT1, "FT1", [](const Model& m, const DisplayValues&) { return m.forces.FT[0]; }},
    {Field::FT2, "FT2", [](const Model& m, const DisplayValues&) { return m.forces.FT[1]; }},
    // The load angles in degrees, from 0 up to 360.
    {Field::Fi1, "fi1", [](const Model& m, const DisplayValues&) { return sim::Chk(m.geo.fi[0] * sim::DegPerRad); }},
    {Field::Fi2, "fi2", [](const Model& m, const DisplayValues&) { return sim::Chk(m.geo.fi[1] * sim::DegPerRad); }},
    {Field::VX1, "VX1", [](const Model& m, const DisplayValues&) { return m.s.VX(1); }},
    {Field::VX2, "VX2", [](const Model& m, const DisplayValues&) { return m.s.VX(2); }},
    {Field::VY1, "VY1", [](const Model& m, const DisplayValues&) { return m.s.VY(1); }},
    {Field::VY2, "VY2", [](const Model& m, const DisplayValues&) { return m.s.VY(2); }},
    {Field::FX1, "FX1", [](const Model&, const DisplayValues& v) { return v.FX[0]; }},
    {Field::FX2, "FX2", [](const Model&, const DisplayValues& v) { return v.FX[1]; }},
    {Field::FY1, "FY1", [](const Model&, const DisplayValues& v) { return v.FY[0]; }},
    {Field::FY2, "FY2", [](const Model&, const DisplayValues& v) { return v.FY[1]; }},
    // The elements' force on the disk, the reaction to the forces on the loads.
    {Field::FX0, "FX0", [](const Model&, const DisplayValues& v) { return sim::DiskForce(v.FX); }},
    {Field::FY0, "FY0", [](const Model&, const DisplayValues& v) { return sim::DiskForce(v.FY); }},
}};

}  // namespace app
