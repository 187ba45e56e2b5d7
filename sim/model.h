// The model record: everything the physics knows, in one plain aggregate.
// Arrays keep the window's own indexing: state components 1..14, bodies 0..2
// (0 the disk, 1 and 2 the loads), elastic elements 1..2. Nothing here is
// allocated after construction; a run works on it in place.
#pragma once

namespace sim {

inline constexpr int kStateSize = 46;  // indices 0..45 declared, 1..14 used
inline constexpr int kBodies = 4;      // indices 0..3 declared, 0..2 used
inline constexpr int kBodyCount = 3;   // the disk 0 and the loads 1 and 2
inline constexpr int kElements = 2;    // element i joins the disk to load i

// Where each quantity sits in StateY and its companions. Components 1..7
// are positions and the disk angle, 8..14 their rates in the same order.
namespace state {
inline constexpr int kFirst = 1, kLast = 14;
inline constexpr int kLastPosition = 7;
inline constexpr int kRate = 7;   // component k + kRate is the rate of k
inline constexpr int kX = 1;      // X of body b at kX + b
inline constexpr int kY = 4;      // Y of body b at kY + b
inline constexpr int kAngle = 7;  // disk angle fi0, unreduced
inline constexpr int kVX = 8;     // X velocity of body b at kVX + b
inline constexpr int kVY = 11;    // Y velocity of body b at kVY + b
inline constexpr int kSpin = 14;  // disk angular speed w0
}  // namespace state

struct Model {
    // --- state vector and Runge-Kutta work arrays (layout above) ---
    double StateY[kStateSize] = {};
    double DerivF[kStateSize] = {};     // time derivatives of StateY
    double StateBase[kStateSize] = {};  // state at the start of the step
    double K1[kStateSize] = {};         // h * DerivF of each stage
    double K2[kStateSize] = {};
    double K3[kStateSize] = {};
    double K4[kStateSize] = {};

    // --- per-body arrays ---
    double M[kBodies] = {};  // masses m0, m1, m2 [kg]; M[2] copies M[1]
    double R[kBodies] = {};  // R[0] disk radius R0; R[1..2] load distances [m]
    double X[kBodies] = {};  // positions [m]
    double Y[kBodies] = {};
    double VX[kBodies] = {};  // velocities [m/s]; VX[0] holds V0 at start
    double VY[kBodies] = {};
    double fi[kBodies] = {};        // fi[0] disk angle (unreduced), fi[1..2] polar
                                    // angles of the loads about the disk centre [rad]
    double FiAttach[kBodies] = {};  // attachment angles, reduced to one turn [rad]
    double DX[kBodies] = {};        // load i relative to the disk centre [m]
    double DY[kBodies] = {};
    double AcuteAngle[kBodies] = {};  // |atn(DY/DX)|, Pi/2 on the Y axis: projection angle [rad]
    double Dfi[kBodies] = {};         // twist of element i [rad]
    double DfiOld[kBodies] = {};      // twist at the end of the previous step [rad]
    double ROld[kBodies] = {};        // distance at the end of the previous step [m]
    double VR[kBodies] = {};          // radial speed, backward difference [m/s]
    double VT[kBodies] = {};          // twist rate, backward difference [rad/s]
    double FR[kBodies] = {};          // radial force of element i, + is tension [N]
    double FT[kBodies] = {};          // tangential force, + pushes the load ccw [N]
    double FRX[kBodies] = {};         // components on load i [N]
    double FRY[kBodies] = {};
    double FTX[kBodies] = {};
    double FTY[kBodies] = {};
    double FX[kBodies] = {};  // total force on load i, for readouts [N]
    double FY[kBodies] = {};

    // --- parameters ---
    double w0{};  // angular speed of the disk [rad/s]: the input at Start,
                  // then the current state component 14
    double CT{};  // torsional stiffness [N*m/rad]
    double KR{};  // radial damping [N*s/m]
    double KT{};  // torsional damping [N*m*s/rad]
    double J0{};  // disk moment of inertia [kg*m^2], derived at Start
    double CR{};  // radial stiffness [N/m], derived at Start

    // --- constants, set when the window loads ---
    double Pi{};         // 3.14159265358979, the one value of pi used
    double DegPerRad{};  // 180 / Pi
    double Vsv{};        // 10^8 * 2.998, speed of light [m/s]

    // --- time and the energy balance ---
    double T{};     // simulated time, a running sum of h [s]
    double h{};     // integration step [s]
    double E{};     // total energy now [J]
    double E0{};    // total energy at Start [J]
    double Fmrv{};  // claimed lateral force by the label formula [N]
    double Ymrv{};  // ordinate the disk would reach under Fmrv [m]
    // A constant force along +Y on the disk [N]. Zero in every real run; the
    // verifier's self-test sets it to show what a real lateral force does to
    // the conservation ledger.
    double InjectedForceY0{};
};

// Sets Pi, DegPerRad and Vsv (window load).
void SetConstants(Model& m);

}  // namespace sim
