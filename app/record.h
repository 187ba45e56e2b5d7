// What the main window keeps besides the physics: the run's counters, the
// state of the two pictures and what the last display cycle showed.
// Together with the model they are the record every handler reads and
// writes in place.
#pragma once

#include <cstdint>

#include "sim/energy.h"
#include "sim/model.h"

namespace app {

struct RunCounters {
    std::int32_t NC0{};  // steps per display cycle (>= 1 once read)
    std::int32_t NC{};   // steps since the last display cycle
    bool StopFlag{};     // the run ends at its next stop test
};

struct Display {
    double TPlot{};                  // time since the current plot sweep began [s]
    double MT{};                     // plot time scale [s/cm]
    double ML{};                     // construction length scale [m/cm]
    double MV{};                     // plot velocity scale [(m/s)/cm]
    double MF{};                     // plot force scale [N/cm]
    double XOld[sim::kBodies] = {};  // where the construction view last drew [m]
    double YOld[sim::kBodies] = {};
    double MarkX{}, MarkY{};        // disk marker point [view units]
    double MarkXOld{}, MarkYOld{};  // marker drawn last time
    sim::DisplayValues now;         // E, Ymrv, FX, FY of the last display cycle
};

struct Record {
    sim::Model model;
    RunCounters run;
    Display view;
};

}  // namespace app
