#include "sim/dynamics_impl.h"

namespace sim {

namespace detail {

// Where the processor has AVX, code that ran before a step and left the
// upper halves of the vector registers in use (Qt's option parser and its
// drawing do, and the C library may) makes every SSE instruction of the
// step wait on them on processors with AVX-512: the runner once stepped
// 6.4 times slower than its kernel. Clearing them at the start of each
// step serves every caller (the runner, the verifier's and the sweep's
// threads, the window between its display cycles) and changes no result.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
namespace {
__attribute__((target("avx"), noinline)) void ZeroUpperHalves() { __builtin_ia32_vzeroupper(); }
}  // namespace
void ClearUpperHalves() {
    if (__builtin_cpu_supports("avx")) ZeroUpperHalves();
}
#else
void ClearUpperHalves() {}
#endif

}  // namespace detail

template double WrapTwist(double);
template std::array<double, kElements> AttachmentAngles(double);
template Geometry ComputeGeometry(const StateVector&);
template Evaluation ComputeDerivatives(const Parameters&, const StartValues&, const State&, double);
template void Step(Model&, double);

}  // namespace sim
