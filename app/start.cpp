#include "app/start.h"

#include "app/fields.h"
#include "app/numtext.h"
#include "sim/start.h"

namespace app {

void ShowNumber(WindowPort& port, Field field, double value) {
    if (!port.Shows(field)) return;
    char buf[32];
    const int n = FormatNumberTo(value, port.DecimalSeparator(), buf);
    port.SetText(field, std::string_view(buf, static_cast<std::size_t>(n)));
}

void StartFromFields(WindowPort& port, Record& rec) {
    ReadFields(port, rec, kStartFields);
    sim::Model& m = rec.model;
    // Each value is kept and shown as soon as it is formed, so a Start
    // refused after it leaves it so.
    auto show = [&](sim::Formed value, double v) {
        switch (value) {
            case sim::Formed::kJ0: ShowNumber(port, Field::J0, m.start.J0 = v); break;
            case sim::Formed::kCR: ShowNumber(port, Field::CR, m.start.CR = v); break;
            case sim::Formed::kFmrv: ShowNumber(port, Field::Fmrv, m.start.Fmrv = v); break;
            case sim::Formed::kE0: ShowNumber(port, Field::E0, m.start.E0 = v); break;
        }
    };
    const sim::Model begun = sim::Start(m.p, [&] {
        // The time and the plot's sweep start again before the twist is read.
        m.s.T = 0;
        rec.view.TPlot = 0;
        // The greyed state counts as not ticked; unticked, the field is not read.
        return port.CheckValue(Box::Twist) == 1 ? ReadNumber(port, Field::Twist) : 0.0;
    }, show);
    // Only a whole start set-up replaces the positions and the places the
    // pictures erase next: a Start refused at the twist or at E0 keeps the
    // last run's (its time restarts at 0, as at any refusal after Fmrv).
    // The first construction erases at the start places; the disk's mark is
    // R1 in metres taken as a view coordinate until the first display cycle.
    Display& view = rec.view;
    view.MarkX = view.MarkXOld = m.p.R1;
    view.MarkY = view.MarkYOld = 0;
    for (int b = 0; b < sim::kBodies; ++b) view.XOld[b] = begun.s.X(b), view.YOld[b] = begun.s.Y(b);
    m.s = begun.s;
}

}  // namespace app
