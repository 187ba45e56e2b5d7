#include "sim/arith.h"

namespace sim {

void RaiseArithmeticError() { throw ArithmeticError(); }

}  // namespace sim
