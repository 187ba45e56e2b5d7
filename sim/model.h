// The model, split by what each part is: the parameters Start reads, the
// values derived from them at Start, the state the step advances, and what
// an evaluation of the equations derives from a state (the elements'
// geometry and forces). Bodies are indexed 0 (the disk), 1 and 2 (the
// loads); element e, 0 or 1, joins the disk to load e + 1. All plain
// values: nothing is allocated, a run works on them in place.
//
// Each record is a template on the number type Real: the window, the runner
// and the sweep run in double (the names without Basic), the verifier may run
// the same model in a wider type to see below double's rounding. The
// constants Pi and Vsv stay the doubles below whatever Real is, converted
// where used: a wider run has the same model, not a truer pi.
#pragma once

#include <array>
#include <string_view>

namespace sim {

// The one pi of the program, as the window's 15 digits give it: 3.1E-15
// below the double nearest to pi. Every turn and quadrant is made of it.
inline constexpr double Pi = 3.14159265358979;
inline constexpr double DegPerRad = 180 / Pi;  // the load angles' readouts are in degrees
inline constexpr double Vsv = 1e8 * 2.998;     // speed of light [m/s], 10^8 * 2.998 as the formula has it

inline constexpr int kBodies = 3;    // the disk 0, the loads 1 and 2
inline constexpr int kElements = 2;  // element e joins the disk to load e + 1
constexpr int LoadOf(int element) { return element + 1; }

// Where each quantity sits in StateY. Components 0..6 are the positions and
// the disk angle, 7..13 their rates in the same order.
inline constexpr int kStateSize = 14;
namespace state {
inline constexpr int kPositions = 7;  // component k + kPositions is the rate of component k
inline constexpr int kX = 0;          // X of body b at kX + b
inline constexpr int kY = 3;          // Y of body b at kY + b
inline constexpr int kAngle = 6;      // disk angle fi0, unreduced
inline constexpr int kVX = 7;         // X velocity of body b at kVX + b
inline constexpr int kVY = 10;        // Y velocity of body b at kVY + b
inline constexpr int kSpin = 13;      // disk angular speed w0
}  // namespace state
template <class Real>
using BasicStateVector = std::array<Real, kStateSize>;
using StateVector = BasicStateVector<double>;

// What Start reads from the window's fields. Both loads have the mass m1
// and start at the distance R1; both elements have the same CT, KR, KT.
template <class Real>
struct BasicParameters {
    Real m0{};  // mass of the disk [kg]
    Real m1{};  // mass of each load [kg]
    Real R0{};  // radius of the disk [m]
    Real R1{};  // start distance of each load from the disk centre [m]
    Real V0{};  // start speed of the disk along +X [m/s]
    Real w0{};  // start angular speed of the disk, counter-clockwise positive [rad/s]
    Real CT{};  // torsional stiffness of each element [N*m/rad]
    Real KR{};  // radial damping of each element [N*s/m]
    Real KT{};  // torsional damping of each element [N*m*s/rad]
    // Integration step [s]. Read again at every display cycle: the one input
    // that may change during a run.
    Real h{};

    // Mass of body b [kg].
    constexpr Real M(int b) const { return b == 0 ? m0 : m1; }
};
using Parameters = BasicParameters<double>;

// The same inputs in another number type, each converted from its value.
template <class To, class From>
constexpr BasicParameters<To> ParametersIn(const BasicParameters<From>& p) {
    return {To(p.m0), To(p.m1), To(p.R0), To(p.R1), To(p.V0), To(p.w0), To(p.CT), To(p.KR), To(p.KT), To(p.h)};
}

// What a disk with loads may have: masses and radii above 0, stiffness and
// damping at least 0; the speeds and the step are free (a step's own limits
// are the verifier's).
enum class Bound { kAny, kPositive, kNotNegative };

// Every parameter, by the symbol of its label.
struct ParameterRow {
    std::string_view symbol;
    double Parameters::*value;
    Bound bound;
};
inline constexpr ParameterRow kParameters[] = {
    {"m0", &Parameters::m0, Bound::kPositive},    {"m1", &Parameters::m1, Bound::kPositive},
    {"R0", &Parameters::R0, Bound::kPositive},    {"R1", &Parameters::R1, Bound::kPositive},
    {"V0", &Parameters::V0, Bound::kAny},         {"w0", &Parameters::w0, Bound::kAny},
    {"CT", &Parameters::CT, Bound::kNotNegative}, {"KR", &Parameters::KR, Bound::kNotNegative},
    {"KT", &Parameters::KT, Bound::kNotNegative}, {"h", &Parameters::h, Bound::kAny},
};

// The parameter of a symbol, or none.
constexpr const ParameterRow* FindParameter(std::string_view symbol) {
    for (const ParameterRow& row : kParameters)
        if (row.symbol == symbol) return &row;
    return nullptr;
}

// Derived from the parameters at Start, fixed for the whole run.
template <class Real>
struct BasicStartValues {
    Real J0{};    // moment of inertia of the disk [kg*m^2]
    Real CR{};    // radial stiffness of each element [N/m]
    Real Fmrv{};  // the lateral force claimed by the formula on the window [N]
    Real E0{};    // total energy at Start [J]
};
using StartValues = BasicStartValues<double>;

// What the step advances: the state vector, the time, and the damping's
// memory of the last step.
template <class Real>
struct BasicState {
    BasicStateVector<Real> StateY{};
    Real T{};                  // simulated time, a running sum of h [s]
    Real ROld[kElements]{};    // element length at the end of the last step [m]
    Real DfiOld[kElements]{};  // twist at the end of the last step [rad]
    // Backward differences over the last step, which all four evaluations
    // of the next step use: the damping lags the motion by one step.
    Real VR[kElements]{};  // radial speed [m/s]
    Real VT[kElements]{};  // twist rate [rad/s]

    Real X(int b) const { return StateY[state::kX + b]; }    // [m]
    Real Y(int b) const { return StateY[state::kY + b]; }    // [m]
    Real VX(int b) const { return StateY[state::kVX + b]; }  // [m/s]
    Real VY(int b) const { return StateY[state::kVY + b]; }  // [m/s]
    Real fi0() const { return StateY[state::kAngle]; }       // disk angle [rad]
    Real w0() const { return StateY[state::kSpin]; }         // disk angular speed now [rad/s]
};
using State = BasicState<double>;

// Where the elements are at one state: element e against load e + 1.
template <class Real>
struct BasicGeometry {
    Real DX[kElements]{};  // the load relative to the disk centre [m]
    Real DY[kElements]{};
    Real R[kElements]{};           // distance of the load from the disk centre [m]
    Real fi[kElements]{};          // polar angle of the load about the disk centre, in [0, 2 Pi) [rad]
    Real AcuteAngle[kElements]{};  // |atn(DY/DX)|, Pi/2 on the Y axis: the forces are projected with it [rad]
    Real FiAttach[kElements]{};    // angle of the element's point on the disk, reduced to one turn [rad]
    Real Dfi[kElements]{};         // twist, FiAttach - fi wrapped by +-0.9 rad [rad]
};
using Geometry = BasicGeometry<double>;

// What the elements exert on their loads at one evaluation; the disk takes
// the opposite.
template <class Real>
struct BasicForces {
    Real FR[kElements]{};   // radial force, + is tension [N]
    Real FT[kElements]{};   // tangential force, + pushes the load counter-clockwise [N]
    Real FRX[kElements]{};  // components on the load [N]
    Real FRY[kElements]{};
    Real FTX[kElements]{};
    Real FTY[kElements]{};
};
using Forces = BasicForces<double>;

// A started model: what a run reads, what it advances, and what its last
// step left to show.
template <class Real>
struct BasicModel {
    BasicParameters<Real> p;
    BasicStartValues<Real> start;
    BasicState<Real> s;
    BasicGeometry<Real> geo;   // after a step: at the new state; before the first, nothing
    BasicForces<Real> forces;  // after a step: of its fourth evaluation, at the start state + K3
};
using Model = BasicModel<double>;

}  // namespace sim
