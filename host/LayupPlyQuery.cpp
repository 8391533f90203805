// Ply queries of the exported interface: counts, names and array sizes.

#include <climits>
#include <cstring>

#include "host/LayupApi.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/IVekPlyStore.h"
#include "layuplib/copy_text.h"

namespace {

CKpLayup* model() {
    return static_cast<CKpLayup*>(LayupSlotModel());
}

IVekPlyStore* plyStore(CKpLayup* m) {
    IVekPlyStore* s = m->GetPlyStore();
    if (!s) m->pMsg()->Create(4, "Invalid ply store.");
    return s;
}

bool matches(IVekPly* ply, int type) {
    return ply && (type == 0 || ply->GetType() == type);
}

int countMatching(IVekPlyStore* s, int type) {
    int n = 0;
    for (int i = 0; i < s->Count(); ++i) n += matches(s->Get(i), type) ? 1 : 0;
    return n;
}

}  // namespace

extern "C" {

int LayupGetNumPlies(int type, int* count) {
    CKpLayup* m = model();
    if (!m) return 1;
    IVekPlyStore* s = plyStore(m);
    if (!s) return -1;
    const int n = countMatching(s, type);
    if (count) *count = n;
    return 0;
}

int LayupGetPlyNames(int type, int size, char** names, int* results) {
    CKpLayup* m = model();
    if (!m) return 1;
    IVekPlyStore* s = plyStore(m);
    if (!s) return -1;
    const int n = countMatching(s, type);
    if (n != size) {
        m->pMsg()->Create(1,
                          "LayupGetPlyNames: The ply name array size %d is not equal to the "
                          "number of matching plies %d.",
                          size, n);
        return -1;
    }
    int k = 0;
    for (int i = 0; i < s->Count(); ++i) {
        IVekPly* ply = s->Get(i);
        if (!matches(ply, type)) continue;
        if (names && names[k]) {
            const char* name = ply->GetName();
            const size_t len = name ? std::strlen(name) : 0;
            copy_text(names[k], len < INT_MAX ? static_cast<int>(len) + 1 : INT_MAX, name);
        }
        if (results) results[k] = ply->GetSimulationResult();
        ++k;
    }
    return 0;
}

int LayupGetPlySizes(int type, const char* name, int* elementCount, int* splitEdgeCount,
                     int* seedCurveEdgeCounts) {
    CKpLayup* m = model();
    if (!m) return 1;
    IVekPlyStore* s = plyStore(m);
    if (!s) return -1;
    IVekPly* ply = name ? s->Get(name) : nullptr;
    if (!ply) {
        m->pMsg()->Create(4, "Could not find specified ply.");
        return -1;
    }
    if (type != 0 && ply->GetType() != type) {
        m->pMsg()->Create(4, "Ply not of specified type.");
        return -1;
    }
    if (elementCount) *elementCount = ply->GetNumElements();
    if (splitEdgeCount) *splitEdgeCount = ply->GetNumSplitEdges();
    if (seedCurveEdgeCounts) {
        seedCurveEdgeCounts[0] = ply->GetNumSeedCurveEdges(0);
        seedCurveEdgeCounts[1] = ply->GetNumSeedCurveEdges(1);
    }
    return 0;
}

}  // extern "C"
