// What the main window keeps besides the physics: the run's counters and
// the state of the two pictures. Together with the model they are the
// record every handler reads and writes in place.
#pragma once

#include <cstdint>

#include "sim/model.h"

namespace app {

struct RunCounters {
    std::int32_t NC0 = 0;       // steps per display cycle (>= 1 once read)
    std::int32_t NC = 0;        // steps since the last display cycle
    std::int16_t StopFlag = 0;  // 1: the run ends at its next stop test
};

struct Display {
    double TPlot = 0;  // time since the current plot sweep began [s]
    double MT = 0;     // plot time scale [s/cm]
    double ML = 0;     // construction length scale [m/cm]
    double MV = 0;     // plot velocity scale [(m/s)/cm]
    double MF = 0;     // plot force scale [N/cm]
    double XOld[3] = {}, YOld[3] = {};  // where the construction view last drew [m]
    double MarkX = 0, MarkY = 0;        // disk marker point [view units]
    double MarkXOld = 0, MarkYOld = 0;  // marker drawn last time
};

struct Record {
    sim::Model model;
    RunCounters run;
    Display view;
};

}  // namespace app
