#include "sim/energy_impl.h"

namespace sim {

template double ComputeE(const Parameters&, const StartValues&, const State&, const Geometry&);
template double ShiftUnderForce(double, double, double);
template double ForceForShift(double, double, double);
template double ComputeYmrv(const Parameters&, double, double);
template double DiskForce(const double (&)[kElements]);
template double EnergyError(double, double);
template DisplayValues ComputeDisplayValues(const Model&);
template Invariants ComputeInvariants(const Parameters&, const StartValues&, const State&);

}  // namespace sim
