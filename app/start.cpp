#include "app/start.h"

#include <algorithm>
#include <iterator>

#include "app/fields.h"
#include "app/numtext.h"
#include "sim/start.h"

namespace app {

void ShowNumber(WindowPort& port, Field field, double value) {
    char buf[32];
    const int n = FormatNumberTo(value, port.DecimalSeparator(), buf);
    port.SetText(field, std::string_view(buf, static_cast<std::size_t>(n)));
}

namespace {

// What the window does between the steps of the start set-up.
struct StartHooks {
    WindowPort& port;
    Record& rec;

    void Show(sim::StartValue which, double value) {
        constexpr Field kShownIn[] = {Field::J0, Field::CR, Field::Fmrv, Field::E0};
        ShowNumber(port, kShownIn[static_cast<int>(which)], value);
    }
    // The plot's sweep starts again with the time, before the twist is read.
    double Twist() {
        rec.view.TPlot = 0;
        // The greyed state counts as not ticked; unticked, the field is not read.
        return port.CheckValue(Box::Twist) == 1 ? ReadNumber(port, Field::Twist) : 0.0;
    }
    // The first construction erases at the start places; the disk's mark is
    // R1 in metres taken as a view coordinate until the first display cycle.
    void Placed() {
        const sim::Model& m = rec.model;
        Display& view = rec.view;
        view.MarkX = view.MarkXOld = m.R[1];
        view.MarkY = view.MarkYOld = 0;
        std::copy(std::begin(m.X), std::end(m.X), view.XOld);
        std::copy(std::begin(m.Y), std::end(m.Y), view.YOld);
    }
};

}  // namespace

void StartFromFields(WindowPort& port, Record& rec) {
    ReadFields(port, rec, kStartFields);
    sim::StartSetup(rec.model, StartHooks{port, rec});
}

}  // namespace app
