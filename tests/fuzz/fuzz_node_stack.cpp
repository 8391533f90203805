// Node stacks: plies with contributions from up to eight elements, split
// markers, offsets and snap values through CKpXLyp in each continuity
// mode. Every thickness, face position and ratio must be finite, T >= 0
// and split ratios within [0, 1].
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "layuplib/CKpXLyp.h"

namespace {

struct Input {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
    uint8_t Byte() { return pos < size ? data[pos++] : 0; }
    // A thickness 0 .. 2.55 in steps of 0.01.
    double Thick() { return Byte() / 100.0; }
    // A signed position -3.2 .. 3.2.
    double Pos() { return static_cast<int8_t>(Byte()) / 40.0; }
};

void check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in{data, size};
    CKpXLyp x(1);
    x.SetPlyContinuity(in.Byte() % 3);
    const int nElems = 1 + in.Byte() % 8;
    for (int e = 1; e <= nElems; ++e) x.Elems().Add(e, in.Thick());
    const int nPlies = in.Byte() % 12;
    for (int p = 0; p < nPlies; ++p) {
        CKpXLypPly* ply = new CKpXLypPly(1 + in.Byte() % 16);
        const uint8_t mask = in.Byte();
        const bool split = (in.Byte() & 7) == 0;
        ply->SetSplit(split ? 1 : 0);
        for (int e = 0; e < nElems; ++e)
            if (mask & (1u << e)) ply->Contributions().Add(e + 1, split ? 0.0 : in.Thick());
        x.Plies().InsertLast(ply);
        if (in.Byte() & 1) x.CompressButted();
    }
    const int nOffsets = in.Byte() % 4;
    for (int i = 0; i < nOffsets; ++i) x.SetOffset(static_cast<int>(in.Byte() % 3) - 1, in.Pos());

    const double t = x.TotThick();
    check(std::isfinite(t) && t >= 0.0);
    for (int face = -1; face <= 1; ++face) check(std::isfinite(x.GetOffset(face)));

    double values[3] = {in.Pos(), in.Pos(), in.Pos()};
    const double tol = in.Pos();
    x.SetSnap(nullptr, tol, in.Byte() % 4, values);
    check(std::isfinite(x.GetSnapRatio()));
    for (int face = -1; face <= 1; ++face) check(std::isfinite(x.GetSnapOffset(face)));

    if (x.SetSplitRatios(nullptr) == 0) {
        for (const CKpXLypPly* p = x.Plies().First(); p; p = x.Plies().Next(p)) {
            if (!p->IsSplit()) continue;
            for (int face = -1; face <= 1; face += 2) {
                double r = -1.0;
                if (x.GetSplitRatio(nullptr, face, p->GetLypPlyId(), r) == 0)
                    check(std::isfinite(r) && r >= 0.0 && r <= 1.0);
            }
        }
    }
    for (const CKpXLypPly* p = x.Plies().First(); p; p = x.Plies().Next(p))
        check(std::isfinite(p->AveThick()) && p->AveThick() >= 0.0);
    return 0;
}
