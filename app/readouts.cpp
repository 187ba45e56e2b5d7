#include "app/readouts.h"

#include "sim/arith.h"
#include "sim/energy.h"

namespace app {

using sim::Model;

const std::array<Readout, 24> kReadouts = {{
    {Field::T, "T", [](const Model& m) { return m.T; }},
    {Field::W0Now, "w0", [](const Model& m) { return m.w0; }},
    {Field::X0, "X0", [](const Model& m) { return m.X[0]; }},
    {Field::Y0, "Y0", [](const Model& m) { return m.Y[0]; }},
    {Field::Ymrv, "Ymrv", [](const Model& m) { return m.Ymrv; }},
    {Field::E, "E", [](const Model& m) { return m.E; }},
    {Field::FR1, "FR1", [](const Model& m) { return m.FR[1]; }},
    {Field::FR2, "FR2", [](const Model& m) { return m.FR[2]; }},
    {Field::R1Now, "R1", [](const Model& m) { return m.R[1]; }},
    {Field::R2Now, "R2", [](const Model& m) { return m.R[2]; }},
    {Field::FT1, "FT1", [](const Model& m) { return m.FT[1]; }},
    {Field::FT2, "FT2", [](const Model& m) { return m.FT[2]; }},
    // The load angles in degrees, from 0 up to 360.
    {Field::Fi1, "fi1", [](const Model& m) { return sim::Chk(m.fi[1] * m.DegPerRad); }},
    {Field::Fi2, "fi2", [](const Model& m) { return sim::Chk(m.fi[2] * m.DegPerRad); }},
    {Field::VX1, "VX1", [](const Model& m) { return m.VX[1]; }},
    {Field::VX2, "VX2", [](const Model& m) { return m.VX[2]; }},
    {Field::VY1, "VY1", [](const Model& m) { return m.VY[1]; }},
    {Field::VY2, "VY2", [](const Model& m) { return m.VY[2]; }},
    {Field::FX1, "FX1", [](const Model& m) { return m.FX[1]; }},
    {Field::FX2, "FX2", [](const Model& m) { return m.FX[2]; }},
    {Field::FY1, "FY1", [](const Model& m) { return m.FY[1]; }},
    {Field::FY2, "FY2", [](const Model& m) { return m.FY[2]; }},
    {Field::FX0, "FX0", sim::DiskForceX},
    {Field::FY0, "FY0", sim::DiskForceY},
}};

}  // namespace app
