// Every double of the model record, for checks that no non-finite value was
// ever stored.
#pragma once

#include <cmath>
#include <string>

#include "sim/model.h"

namespace testing_support {

// Returns the name of the first non-finite member, or an empty string.
inline std::string FirstNonFinite(const sim::Model& m) {
#define MORVANE1_SCAN_ARRAY(a)                                        \
    for (std::size_t i = 0; i < std::size(m.a); ++i)                   \
        if (!std::isfinite(m.a[i])) return #a "(" + std::to_string(i) + ")";
#define MORVANE1_SCAN(v) \
    if (!std::isfinite(m.v)) return #v;
    MORVANE1_SCAN_ARRAY(StateY) MORVANE1_SCAN_ARRAY(DerivF) MORVANE1_SCAN_ARRAY(StateBase)
    MORVANE1_SCAN_ARRAY(K1) MORVANE1_SCAN_ARRAY(K2) MORVANE1_SCAN_ARRAY(K3) MORVANE1_SCAN_ARRAY(K4)
    MORVANE1_SCAN_ARRAY(M) MORVANE1_SCAN_ARRAY(R) MORVANE1_SCAN_ARRAY(X) MORVANE1_SCAN_ARRAY(Y)
    MORVANE1_SCAN_ARRAY(VX) MORVANE1_SCAN_ARRAY(VY) MORVANE1_SCAN_ARRAY(fi) MORVANE1_SCAN_ARRAY(FiAttach)
    MORVANE1_SCAN_ARRAY(DX) MORVANE1_SCAN_ARRAY(DY) MORVANE1_SCAN_ARRAY(AcuteAngle) MORVANE1_SCAN_ARRAY(Dfi)
    MORVANE1_SCAN_ARRAY(DfiOld) MORVANE1_SCAN_ARRAY(ROld) MORVANE1_SCAN_ARRAY(VR) MORVANE1_SCAN_ARRAY(VT)
    MORVANE1_SCAN_ARRAY(FR) MORVANE1_SCAN_ARRAY(FT) MORVANE1_SCAN_ARRAY(FRX) MORVANE1_SCAN_ARRAY(FRY)
    MORVANE1_SCAN_ARRAY(FTX) MORVANE1_SCAN_ARRAY(FTY) MORVANE1_SCAN_ARRAY(FX) MORVANE1_SCAN_ARRAY(FY)
    MORVANE1_SCAN_ARRAY(XOld) MORVANE1_SCAN_ARRAY(YOld)
    MORVANE1_SCAN(w0) MORVANE1_SCAN(CT) MORVANE1_SCAN(KR) MORVANE1_SCAN(KT) MORVANE1_SCAN(J0)
    MORVANE1_SCAN(CR) MORVANE1_SCAN(Pi) MORVANE1_SCAN(DegPerRad) MORVANE1_SCAN(Vsv) MORVANE1_SCAN(T)
    MORVANE1_SCAN(h) MORVANE1_SCAN(TPlot) MORVANE1_SCAN(MT) MORVANE1_SCAN(ML) MORVANE1_SCAN(MV)
    MORVANE1_SCAN(MF) MORVANE1_SCAN(E) MORVANE1_SCAN(E0) MORVANE1_SCAN(Fmrv) MORVANE1_SCAN(Ymrv)
    MORVANE1_SCAN(MarkX) MORVANE1_SCAN(MarkY) MORVANE1_SCAN(MarkXOld) MORVANE1_SCAN(MarkYOld)
#undef MORVANE1_SCAN_ARRAY
#undef MORVANE1_SCAN
    return {};
}

}  // namespace testing_support
