// Lamina criteria: any criterion, allowables and loads, through the
// interface sequence of a failure run and through calcFailure. Status 0
// only with finite results, reserve = margin + 1, margin <= 999999, one mode
// in every integer result; a refused Run leaves the results Clear set.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "layuplib/CKpMsg.h"
#include "layuplib/CVekAddinFailureLaminaCowin.h"
#include "layuplib/CVekAddinFailureLaminaHankinson.h"
#include "layuplib/CVekAddinFailureLaminaHill.h"
#include "layuplib/CVekAddinFailureLaminaHoffman.h"
#include "layuplib/CVekAddinFailureLaminaMaximum.h"
#include "layuplib/CVekAddinFailureLaminaTsaiwu.h"
#include "layuplib/calcFailure.h"

namespace {

struct Input {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
    uint8_t Byte() { return pos < size ? data[pos++] : 0; }
    // Special values now and then, otherwise a short mantissa with a decimal
    // exponent from 1e-8 to 1e7.
    double Value() {
        const uint8_t mode = Byte();
        const int mantissa = static_cast<int16_t>(Byte() | (Byte() << 8));
        switch (mode % 8) {
            case 0:
                return std::nan("");
            case 1:
                return HUGE_VAL;
            case 2:
                return -HUGE_VAL;
            case 3:
                return 0.0;
            default:
                return mantissa * std::pow(10.0, (mode >> 3) % 16 - 8);
        }
    }
};

CVekAddinFailureLaminaTemplate* Make(int k) {
    switch (k) {
        case 0:
            return new CVekAddinFailureLaminaTsaiwu;
        case 1:
            return new CVekAddinFailureLaminaMaximum;
        case 2:
            return new CVekAddinFailureLaminaHill;
        case 3:
            return new CVekAddinFailureLaminaHoffman;
        case 4:
            return new CVekAddinFailureLaminaHankinson;
        default:
            return new CVekAddinFailureLaminaCowin;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in{data, size};
    const int which = in.Byte() % 6;
    double allowables[8], loads[6];
    for (double& a : allowables) a = in.Value();
    for (double& l : loads) l = in.Value();

    IVekAddinFailureLamina* c = Make(which);
    c->AddRef();
    c->Clear();
    int n = 0;
    c->GetNumAllowables(n);
    c->SetAllowables(n, allowables);
    c->CheckAllowables();
    c->SetBasis(IVekAddinFailureLamina::eStress);
    for (int d = 0; d < 6; ++d)
        c->SetLoadInDirection(static_cast<IVekAddinFailureLamina::ELoadDirection>(d), loads[d]);
    const int status = c->Run();
    double r[4];
    int modes[4];
    for (int k = 0; k < 4; ++k) {
        c->GetdResult(k, 0, r[k]);
        c->GetiResult(k, 0, modes[k]);
    }
    if (status == 0) {
        for (double v : r)
            if (!std::isfinite(v)) __builtin_trap();
        if (r[1] != r[0] + 1.0 || r[0] > 999999.0) __builtin_trap();
        for (int m : modes)
            if (m != modes[0] || static_cast<double>(m) != r[2]) __builtin_trap();
    } else if (r[0] != 0.0 || r[1] != 0.0 || r[3] != 0.0 || modes[2] != 0) {
        __builtin_trap();
    }
    c->Release();

    // The single-call form on the same numbers in single precision.
    float fl[6], fa[8], out[3] = {0, 0, 0};
    for (int i = 0; i < 6; ++i) fl[i] = static_cast<float>(loads[i]);
    for (int i = 0; i < 8; ++i) fa[i] = static_cast<float>(allowables[i]);
    CKpMsg msg;
    if (calcFailure(&msg, nullptr, 1 + which, nullptr, fl, fa, out) == 0) {
        for (float v : out)
            if (!std::isfinite(v)) __builtin_trap();
        if (out[0] > 999999.0f) __builtin_trap();
    }
    return 0;
}
