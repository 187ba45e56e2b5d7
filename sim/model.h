// The model, split by what each part is: the parameters Start reads, the
// values derived from them at Start, the state the step advances, and what
// an evaluation of the equations derives from a state (the elements'
// geometry and forces). Bodies are indexed 0 (the disk), 1 and 2 (the
// loads); element e, 0 or 1, joins the disk to load e + 1. All plain
// values: nothing is allocated, a run works on them in place.
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
using StateVector = std::array<double, kStateSize>;

// What Start reads from the window's fields. Both loads have the mass m1
// and start at the distance R1; both elements have the same CT, KR, KT.
struct Parameters {
    double m0{};  // mass of the disk [kg]
    double m1{};  // mass of each load [kg]
    double R0{};  // radius of the disk [m]
    double R1{};  // start distance of each load from the disk centre [m]
    double V0{};  // start speed of the disk along +X [m/s]
    double w0{};  // start angular speed of the disk, counter-clockwise positive [rad/s]
    double CT{};  // torsional stiffness of each element [N*m/rad]
    double KR{};  // radial damping of each element [N*s/m]
    double KT{};  // torsional damping of each element [N*m*s/rad]
    // Integration step [s]. Read again at every display cycle: the one input
    // that may change during a run.
    double h{};

    // Mass of body b [kg].
    constexpr double M(int b) const { return b == 0 ? m0 : m1; }
};

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
struct StartValues {
    double J0{};    // moment of inertia of the disk [kg*m^2]
    double CR{};    // radial stiffness of each element [N/m]
    double Fmrv{};  // the lateral force claimed by the formula on the window [N]
    double E0{};    // total energy at Start [J]
};

// What the step advances: the state vector, the time, and the damping's
// memory of the last step.
struct State {
    StateVector StateY{};
    double T{};                  // simulated time, a running sum of h [s]
    double ROld[kElements]{};    // element length at the end of the last step [m]
    double DfiOld[kElements]{};  // twist at the end of the last step [rad]
    // Backward differences over the last step, which all four evaluations
    // of the next step use: the damping lags the motion by one step.
    double VR[kElements]{};  // radial speed [m/s]
    double VT[kElements]{};  // twist rate [rad/s]

    double X(int b) const { return StateY[state::kX + b]; }    // [m]
    double Y(int b) const { return StateY[state::kY + b]; }    // [m]
    double VX(int b) const { return StateY[state::kVX + b]; }  // [m/s]
    double VY(int b) const { return StateY[state::kVY + b]; }  // [m/s]
    double fi0() const { return StateY[state::kAngle]; }       // disk angle [rad]
    double w0() const { return StateY[state::kSpin]; }         // disk angular speed now [rad/s]
};

// Where the elements are at one state: element e against load e + 1.
struct Geometry {
    double DX[kElements]{};  // the load relative to the disk centre [m]
    double DY[kElements]{};
    double R[kElements]{};           // distance of the load from the disk centre [m]
    double fi[kElements]{};          // polar angle of the load about the disk centre, in [0, 2 Pi) [rad]
    double AcuteAngle[kElements]{};  // |atn(DY/DX)|, Pi/2 on the Y axis: the forces are projected with it [rad]
    double FiAttach[kElements]{};    // angle of the element's point on the disk, reduced to one turn [rad]
    double Dfi[kElements]{};         // twist, FiAttach - fi wrapped by +-0.9 rad [rad]
};

// What the elements exert on their loads at one evaluation; the disk takes
// the opposite.
struct Forces {
    double FR[kElements]{};   // radial force, + is tension [N]
    double FT[kElements]{};   // tangential force, + pushes the load counter-clockwise [N]
    double FRX[kElements]{};  // components on the load [N]
    double FRY[kElements]{};
    double FTX[kElements]{};
    double FTY[kElements]{};
};

// A started model: what a run reads, what it advances, and what its last
// step left to show.
struct Model {
    Parameters p;
    StartValues start;
    State s;
    Geometry geo;   // after a step: at the new state; before the first, nothing
    Forces forces;  // after a step: of its fourth evaluation, at the start state + K3
};

}  // namespace sim
