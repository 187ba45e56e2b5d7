// What the main window keeps besides the physics: the run's counters and
// the state of the two pictures. Together with the model they are the
// record every handler reads and writes in place.
#pragma once

#include <cstdint>

#include "sim/model.h"

namespace app {

struct RunCounters {
    std::int32_t NC0{};       // steps per display cycle (>= 1 once read)
    std::int32_t NC{};        // steps since the last display cycle
    std::int16_t StopFlag{};  // 1: the run ends at its next stop test
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
};

struct Record {
    sim::Model model;
    RunCounters run;
    Display view;
};

}  // namespace app
