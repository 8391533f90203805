// The laminate functions of the exported interface: laminate counts of the
// property-generation set, per-element laminate queries and the laminate
// verification's drawing.

#include <algorithm>
#include <new>
#include <vector>

#include "host/CKpGra.h"
#include "host/LayupApi.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/IVekLam.h"
#include "layuplib/IVekLamLayerStore.h"
#include "layuplib/IVekLamStore.h"
#include "layuplib/IVekPropGenSet.h"

namespace {

CKpLayup* model() {
    return static_cast<CKpLayup*>(LayupSlotModel());
}

const int kVerifySegment = 705;

// The laminate of an element's pid; null when the element or the laminate
// is missing.
CKpLam* elementLaminate(CKpLayup* m, int elemId) {
    CKpElemStore* elems = m->pElems();
    CKpLamStore* lams = m->pLams();
    if (!elems || !lams) return nullptr;
    CKpElem* elem = elems->find(elemId);
    if (!elem || elem->pid() < 1) return nullptr;
    return lams->find(elem->pid());
}

}  // namespace

extern "C" {

int LayupClearLaminate(void) {
    CKpLayup* m = model();
    if (!m) return 1;
    IVekPropGenSet* set = m->GetPropGenSet();
    if (!set) return 1;
    set->Clear();
    return 0;
}

int LayupGetNumLams2(int source, int* count, int* layers) {
    CKpLayup* m = model();
    if (!m) return 1;
    // Only the property-generation set hands out its laminates here.
    if (source != 2) return 1;
    IVekPropGenSet* set = m->GetPropGenSet();
    IVekLamStore* store = set ? set->GetLamStore() : nullptr;
    if (!store) return 1;
    const int n = store->Count();
    int total = 0;
    for (int i = 0; i < n; ++i) {
        IVekLam* lam = store->Get(i);
        IVekLamLayerStore* lyrs = lam ? lam->GetLamLayerStore() : nullptr;
        if (lyrs) total += lyrs->Count();
    }
    if (count) *count = n;
    if (layers) *layers = total;
    return 0;
}

int LayupGetNumLams(int* count, int* layers) {
    return LayupGetNumLams2(2, count, layers);
}

int LayupGetLamElemGPlyId(int elemId, int layer) {
    CKpLayup* m = model();
    if (!m) return 1;
    CKpLam* lam = elementLaminate(m, elemId);
    if (!lam || layer < 0 || layer >= lam->NumLayers()) return 0;
    CKpLamLyr* lyr = lam->LamLyrs()->Get(layer);
    return lyr ? lyr->gplyid() : 0;
}

int LayupGetLamElemSize(int* largest) {
    CKpLayup* m = model();
    if (!m) return 1;
    int most = 0;
    if (CKpLamStore* lams = m->pLams()) {
        CVekObjectStoreIterator<CKpLam> it(*lams);
        while (++it)
            if (const CKpLam* lam = it.key()) most = std::max(most, lam->NumLayers());
    }
    if (largest) *largest = most;
    return 0;
}

int LayupGetLamsElems(int nLams, char** names, int* counts, int* ids) {
    CKpLayup* m = model();
    if (!m) return 1;
    CKpElemStore* elems = m->pElems();
    CKpLamStore* lams = m->pLams();
    std::vector<const CKpElem*> sorted;
    try {
        sorted.reserve(elems ? static_cast<size_t>(elems->entries()) : 0);
    } catch (const std::bad_alloc&) {
        m->pMsg()->Create(4, "Could not allocate memory.");
        return -1;
    }
    if (elems) {
        CVekObjectStoreIterator<CKpElem> it(*elems);
        while (++it)
            if (const CKpElem* e = it.key()) sorted.push_back(e);
    }
    // By pid, then id: each laminate's elements form one run.
    std::sort(sorted.begin(), sorted.end(), [](const CKpElem* a, const CKpElem* b) {
        return a->pid() != b->pid() ? a->pid() < b->pid() : a->id() < b->id();
    });
    int next = 0;
    for (int i = 0; i < nLams; ++i) {
        if (counts) counts[i] = 0;
        CKpLam* lam = (lams && names && names[i]) ? lams->findByName(names[i]) : nullptr;
        if (!lam) continue;
        const int pid = lam->id();
        auto first = std::lower_bound(sorted.begin(), sorted.end(), pid,
                                      [](const CKpElem* e, int p) { return e->pid() < p; });
        for (auto e = first; e != sorted.end() && (*e)->pid() == pid; ++e) {
            if (ids) ids[next] = (*e)->id();
            ++next;
            if (counts) ++counts[i];
        }
    }
    return 0;
}

int LayupVerifyLaminateReset(void) {
    CKpLayup* m = model();
    if (!m) return 1;
    m->pGra()->delete_segment(kVerifySegment);
    return 0;
}

}  // extern "C"
