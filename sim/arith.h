// Arithmetic failures are errors, never values: every result that could leave
// the finite double range is tested before it is stored or used further, and
// a failure unwinds to the run engine's error scope as ArithmeticError.
#pragma once

#include <cmath>
#include <stdexcept>
#include <type_traits>

namespace sim {

// Overflow, division by zero or an invalid operation in the model arithmetic.
class ArithmeticError : public std::runtime_error {
public:
    ArithmeticError() : std::runtime_error("arithmetic failure") {}
};

[[noreturn]] void RaiseArithmeticError();

// Returns v when it is finite; otherwise raises ArithmeticError. Inf and NaN
// never come from finite operands except by overflow, x/0 or 0/0, so testing
// the result of each operation catches exactly the failing operation.
inline double Chk(double v) {
    if (!std::isfinite(v)) [[unlikely]]
        RaiseArithmeticError();
    return v;
}

// The same test in a wider number type, by its own isfinite (found with the
// type, as its sqrt and atan are).
template <class Real>
    requires(!std::is_arithmetic_v<Real>)
Real Chk(const Real& v) {
    if (!isfinite(v)) [[unlikely]]
        RaiseArithmeticError();
    return v;
}

}  // namespace sim
