#include "app/start.h"

#include "app/fields.h"
#include "app/numtext.h"
#include "sim/dynamics.h"
#include "sim/energy.h"

namespace app {

void ShowNumber(WindowPort& port, int textNo, double value) {
    char buf[32];
    const int n = FormatNumberTo(value, port.DecimalSeparator(), buf);
    port.SetText(textNo, std::string_view(buf, static_cast<std::size_t>(n)));
}

void StartFromFields(WindowPort& port, sim::Model& m) {
    m.M[0] = ReadDoubleField(port, 1);
    m.R[0] = ReadDoubleField(port, 2);
    m.VX[0] = ReadDoubleField(port, 4);
    m.w0 = ReadDoubleField(port, 5);
    m.M[1] = ReadDoubleField(port, 11);
    m.M[2] = m.M[1];
    m.R[1] = ReadDoubleField(port, 3);
    m.R[2] = m.R[1];
    m.KR = ReadDoubleField(port, 7);
    m.CT = ReadDoubleField(port, 6);
    m.KT = ReadDoubleField(port, 8);
    m.MF = ReadDoubleField(port, 26);
    m.ML = ReadDoubleField(port, 29);
    m.MV = ReadDoubleField(port, 30);
    m.MT = ReadDoubleField(port, 51);
    m.h = ReadDoubleField(port, 54);
    m.NC0 = ReadWholeField(port, 55);
    if (m.NC0 < 1) m.NC0 = 1;

    ShowNumber(port, 20, sim::ComputeJ0(m));
    ShowNumber(port, 9, sim::ComputeCR(m));
    ShowNumber(port, 18, sim::ComputeFmrv(m));
    sim::ResetTime(m);
    m.fi[0] = 0;
    // The greyed state counts as not ticked; unticked, Text21 is not read.
    if (port.CheckValue(16) == 1) m.fi[0] = ReadDoubleField(port, 21);
    sim::SetInitialState(m, m.fi[0]);
    ShowNumber(port, 13, sim::ComputeE0(m));
    sim::PackState(m);
}

}  // namespace app
