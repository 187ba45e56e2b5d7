// The start set-up: the values derived from the parameters, the start state
// with the optional test twist, and its energy. Each function takes the
// inputs it needs and returns what it forms, so the window can show each
// value as soon as it exists. Formulas are evaluated in exactly the order
// written: the readouts show 15 significant digits, so the order decides
// the last ones. A failing computation raises ArithmeticError. Templates on
// the number type, defined in sim/start_impl.h; the library holds them for
// double.
#pragma once

#include <type_traits>

#include "sim/model.h"

namespace sim {

// J0 = m0 * R0 * R0 / 2, a uniform solid disk.
template <class Real>
Real ComputeJ0(const BasicParameters<Real>& p);
// CR = w0^2 * m1: the elastic force at any radius equals the centripetal
// force of rigid rotation at w0, so the loads start in equilibrium.
template <class Real>
Real ComputeCR(const BasicParameters<Real>& p);
// The lateral force claimed for the disk, by the formula on the window's label.
template <class Real>
Real ComputeFmrv(const BasicParameters<Real>& p, std::type_identity_t<Real> J0);
// The disk at the origin moving along +X at V0 and turning at w0, turned by
// fi0 (0 unless the twist test is on); the loads on the X axis at +-R1,
// moving with it, with no twist rate; T = 0. DfiOld holds the twist each
// element has: fi0, unless the +-0.9 rad wrap of attachment angle minus
// load angle puts it a turn away.
template <class Real>
BasicState<Real> InitialState(const BasicParameters<Real>& p, std::type_identity_t<Real> fi0);
// Total energy of the start state, its torsional elements twisted by twist
// (the start state's DfiOld).
template <class Real>
Real ComputeE0(const BasicParameters<Real>& p, std::type_identity_t<Real> J0, std::type_identity_t<Real> CR,
               const Real (&twist)[kElements]);

// The values the start set-up forms, in the order it forms them.
enum class Formed { kJ0, kCR, kFmrv, kE0 };

// The start set-up from numbers, the one entry of every caller (the window,
// the runner, the verifier and the sweep, the tests and the benchmarks):
// J0, CR and Fmrv from the parameters, each told to formed(which, value) as
// soon as it exists; then the twist fi0 = twist(), the start state and E0,
// told last. The window shows each value as it is told and reads its twist
// field only when asked, so that a refused twist leaves J0, CR and Fmrv
// shown. What fails raises: ArithmeticError from a computation, or whatever
// twist() raises. The geometry and forces are left to the first step.
template <class Real, class Twist, class Told>
BasicModel<Real> Start(const BasicParameters<Real>& p, Twist&& twist, Told&& formed) {
    BasicModel<Real> m;
    m.p = p;
    formed(Formed::kJ0, m.start.J0 = ComputeJ0(p));
    formed(Formed::kCR, m.start.CR = ComputeCR(p));
    formed(Formed::kFmrv, m.start.Fmrv = ComputeFmrv(p, m.start.J0));
    const Real fi0 = twist();
    m.s = InitialState(p, fi0);
    formed(Formed::kE0, m.start.E0 = ComputeE0(p, m.start.J0, m.start.CR, m.s.DfiOld));
    return m;
}

// The same with the twist given and nothing told in between.
template <class Real>
BasicModel<Real> Start(const BasicParameters<Real>& p, std::type_identity_t<Real> fi0);

extern template double ComputeJ0(const Parameters&);
extern template double ComputeCR(const Parameters&);
extern template double ComputeFmrv(const Parameters&, double);
extern template State InitialState(const Parameters&, double);
extern template double ComputeE0(const Parameters&, double, double, const double (&)[kElements]);
extern template Model Start(const Parameters&, double);

}  // namespace sim
