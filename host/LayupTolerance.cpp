// Tolerance regions of the exported interface.

#include "blt/lamlayup.h"
#include "host/LayupApi.h"
#include "host/LayupSlot.h"
#include "host/guard_export.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpTol.h"
#include "layuplib/CKpTolStore.h"
#include "layuplib/angle_util.h"
#include "layuplib/surface_div.h"

namespace {

int regionCount(CKpTolStore* tols) {
    return tols ? static_cast<int>(tols->entries()) : 0;
}

}  // namespace

extern "C" {

int LayupSetTolerance(float angle, float thickness, int count, int* elementIds) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        if (set_tol_region_data(m->pMsg(), m->pElems(), m->pFacs(), m->pTols(),
                                radians_as_float(angle), thickness, count, elementIds) != 0) {
            m->pMsg()->Create(4, "Could not set tolerance region data");
            return -1;
        }
        m->pMsg()->Create(1, "Tolerance region data set");
        return 0;
    });
}

int LayupRestoreTolerance(float angle, float thickness) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        restore_tolerance(m->pElems(), radians_as_float(angle), thickness, m->pGTol(), m->pTols());
        m->pMsg()->Create(1, "Tolerance restored");
        return 0;
    });
}

int LayupGetNoTolRegions(int, int* count) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        if (count) *count = regionCount(m->pTols());
        return 0;
    });
}

int LayupGetTolRegionsSize(int, int* sizes) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpTolStore* tols = m->pTols();
        const int n = regionCount(tols);
        if (BltArrayShort(sizes, n)) {
            m->pMsg()->Create(4, "The tolerance region size array holds fewer than %d entries.", n);
            return -1;
        }
        for (int i = 0; i < n && sizes; ++i)
            if (CKpTol* t = (*tols)[i]) sizes[i] = t->pElems() ? t->pElems()->entries() : 0;
        return 0;
    });
}

int LayupGetTolDefn(int, float* globalAngle, float* globalThickness, float* angles,
                    float* thicknesses, int* elementIds) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpTolStore* tols = m->pTols();
        const int n = regionCount(tols);
        long long total = 0;
        for (int i = 0; i < n; ++i)
            if (CKpTol* t = (*tols)[i]) total += t->pElems() ? t->pElems()->entries() : 0;
        // Host arrays are checked before anything is written.
        if (BltArrayShort(angles, n) || BltArrayShort(thicknesses, n) || BltArrayShort(elementIds, total)) {
            m->pMsg()->Create(4, "The tolerance definition arrays are too small for %d regions.",
                              n);
            return -1;
        }
        if (CKpTol* g = m->pGTol()) {
            if (globalAngle) *globalAngle = degrees_as_float(g->getangtol());
            if (globalThickness) *globalThickness = static_cast<float>(g->getthktol());
        }
        long long at = 0;
        for (int i = 0; i < n; ++i) {
            CKpTol* t = (*tols)[i];
            if (!t) continue;
            if (angles) angles[i] = degrees_as_float(t->getangtol());
            if (thicknesses) thicknesses[i] = static_cast<float>(t->getthktol());
            CVekList<CKpTolElem>* elems = t->pElems();
            for (CKpTolElem* e = elems ? elems->First() : nullptr; e; e = elems->Next(e)) {
                if (elementIds) elementIds[at] = e->getElemId();
                ++at;
            }
        }
        return 0;
    });
}

}  // extern "C"
