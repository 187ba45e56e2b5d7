// The wider number type the verifier can run the model in, to see below
// double's rounding: GCC's binary128 (__float128, libquadmath), 113 bits.
// A built-in type has no namespace for its sqrt, sin, atan to be found in,
// and the standard ones would take it as a double, so it goes in a class
// whose own functions call sqrtq, sinq, atanq. QD's double-double
// (dd_real) fits the model's templates as it is; bench_precision times both.
#pragma once

#include <quadmath.h>

#include <limits>

namespace verify {

class Quad {
public:
    Quad() = default;
    Quad(double d) : v_(d) {}  // as a double widens: exactly
    static Quad Of(__float128 q) {
        Quad r;
        r.v_ = q;
        return r;
    }

    friend Quad operator+(Quad a, Quad b) { return Of(a.v_ + b.v_); }
    friend Quad operator-(Quad a, Quad b) { return Of(a.v_ - b.v_); }
    friend Quad operator*(Quad a, Quad b) { return Of(a.v_ * b.v_); }
    friend Quad operator/(Quad a, Quad b) { return Of(a.v_ / b.v_); }
    friend Quad operator-(Quad a) { return Of(-a.v_); }
    Quad& operator+=(Quad b) {
        v_ += b.v_;
        return *this;
    }
    friend bool operator==(Quad a, Quad b) { return a.v_ == b.v_; }
    friend bool operator<(Quad a, Quad b) { return a.v_ < b.v_; }
    friend bool operator>(Quad a, Quad b) { return a.v_ > b.v_; }
    friend bool operator<=(Quad a, Quad b) { return a.v_ <= b.v_; }
    friend bool operator>=(Quad a, Quad b) { return a.v_ >= b.v_; }

    friend Quad sqrt(Quad a) { return Of(sqrtq(a.v_)); }
    friend Quad sin(Quad a) { return Of(sinq(a.v_)); }
    friend Quad cos(Quad a) { return Of(cosq(a.v_)); }
    friend Quad atan(Quad a) { return Of(atanq(a.v_)); }
    friend Quad floor(Quad a) { return Of(floorq(a.v_)); }
    friend Quad fabs(Quad a) { return Of(fabsq(a.v_)); }
    friend Quad pow(Quad a, int n) { return Of(powq(a.v_, n)); }
    friend bool isfinite(Quad a) { return finiteq(a.v_) != 0; }
    friend double to_double(Quad a) { return static_cast<double>(a.v_); }

private:
    __float128 v_ = 0;
};

// At equal processor time binary128 shows a 45-250x smaller lateral force than dd_real (5 s: preset 1 3.2E-32 against 1.4E-30 N, preset 2 3.9E-24 against 9.8E-22 N): 81-83x double's step for a Y floor of 1.5E-30 / 1.7E-32 m over 1E+06 steps, against dd_real's 27-29x and 2.8E-28 / 4.0E-29 m.
using Extended = Quad;

}  // namespace verify

// What generic code asks of a number type's limits.
template <>
struct std::numeric_limits<verify::Quad> {
    static constexpr bool is_specialized = true;
    static constexpr int digits = 113;
    static constexpr double epsilon() { return 0x1p-112; }
};
