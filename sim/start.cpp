#include "sim/start_impl.h"

namespace sim {

template double ComputeJ0(const Parameters&);
template double ComputeCR(const Parameters&);
template double ComputeFmrv(const Parameters&, double);
template State InitialState(const Parameters&, double);
template double ComputeE0(const Parameters&, double, double, const double (&)[kElements]);
template Model Start(const Parameters&, double);

}  // namespace sim
