#include "sim/model.h"

#include <cmath>

#include "sim/arith.h"

namespace sim {

void RaiseArithmeticError() { throw ArithmeticError(); }

void SetConstants(Model& m) {
    // The window's pi has 15 significant digits: 3.1e-15 below the double
    // nearest to pi. Every angle computation uses this one value.
    m.Vsv = std::pow(10.0, 8) * 2.998;
    m.Pi = 3.14159265358979;
    m.DegPerRad = 180 / m.Pi;
}

}  // namespace sim
