#include "app/start.h"

#include "app/fields.h"
#include "app/numtext.h"
#include "sim/start.h"

namespace app {

void ShowNumber(WindowPort& port, Field field, double value) {
    char buf[32];
    const int n = FormatNumberTo(value, port.DecimalSeparator(), buf);
    port.SetText(field, std::string_view(buf, static_cast<std::size_t>(n)));
}

void StartFromFields(WindowPort& port, Record& rec) {
    ReadFields(port, rec, kStartFields);
    sim::Model& m = rec.model;
    sim::StartValues& start = m.start;
    ShowNumber(port, Field::J0, start.J0 = sim::ComputeJ0(m.p));
    ShowNumber(port, Field::CR, start.CR = sim::ComputeCR(m.p));
    ShowNumber(port, Field::Fmrv, start.Fmrv = sim::ComputeFmrv(m.p, start.J0));
    // The time and the plot's sweep start again before the twist is read.
    m.s.T = 0;
    rec.view.TPlot = 0;
    // The greyed state counts as not ticked; unticked, the field is not read.
    const double fi0 = port.CheckValue(Box::Twist) == 1 ? ReadNumber(port, Field::Twist) : 0.0;
    const sim::State begun = sim::InitialState(m.p, fi0);
    // Formed before the positions and the places the pictures erase next are
    // replaced: a Start refused here keeps the last run's (its time restarts
    // at 0, as at any refusal after the twist).
    const double e0 = sim::ComputeE0(m.p, start.J0, start.CR, fi0);
    // The first construction erases at the start places; the disk's mark is
    // R1 in metres taken as a view coordinate until the first display cycle.
    Display& view = rec.view;
    view.MarkX = view.MarkXOld = m.p.R1;
    view.MarkY = view.MarkYOld = 0;
    for (int b = 0; b < sim::kBodies; ++b) view.XOld[b] = begun.X(b), view.YOld[b] = begun.Y(b);
    ShowNumber(port, Field::E0, start.E0 = e0);
    m.s = begun;
}

}  // namespace app
