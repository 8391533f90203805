// The laminate functions of the exported interface: laminate counts of the
// property-generation set, per-element laminate queries and the laminate
// verification's drawing.

#include <algorithm>
#include <climits>
#include <new>
#include <vector>

#include "host/CKpGra.h"
#include "host/LayupApi.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/IVekLam.h"
#include "layuplib/IVekLamLayerStore.h"
#include "layuplib/IVekLamStore.h"
#include "layuplib/IVekPropGenSet.h"
#include "layuplib/copy_text.h"
#include "layuplib/elem_sort.h"

namespace {

CKpLayup* model() {
    return static_cast<CKpLayup*>(LayupSlotModel());
}

const int kVerifySegment = 705;
const double kDegrees = 180.0 / 3.14159265358979323846;

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

// The caller sized its text buffers from the counts; no length crosses.
void putText(char* buffer, const char* text) {
    copy_text(buffer, INT_MAX, text);
}

// Writes entry k of the given layer arrays from layer k of `lam`. False at
// the first layer whose material is missing (earlier entries stay written).
bool putLayers(CKpLayup* m, CKpLam* lam, char** mats, char** extMats, float* thicks, float* angles,
               int* gplies) {
    CKpMatStore* store = m->pMats();
    const int n = lam->NumLayers();
    for (int k = 0; k < n; ++k) {
        const CKpLamLyr* lyr = lam->LamLyrs()->Get(k);
        CKpMat* mat = (lyr && store) ? store->find(lyr->mid()) : nullptr;
        if (!mat) return false;
        if (mats) putText(mats[k], mat->GetName());
        if (extMats) putText(extMats[k], mat->extmtrlnmStt(lyr->sttid()));
        if (thicks) thicks[k] = static_cast<float>(lyr->t());
        if (angles) angles[k] = static_cast<float>(lyr->theta() * kDegrees);
        if (gplies) gplies[k] = lyr->gplyid();
    }
    return true;
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

int LayupGetLam(char* name, float* offset, float* nsm, float* sb, int* ft, float* tref, float* ge,
                int* lamopt, int* nLayers, char** mats, char** extMats, float* thicks,
                float* angles, int* gplies) {
    CKpLayup* m = model();
    if (!m) return 1;
    if (offset) *offset = 0.0f;
    if (nLayers) *nLayers = 0;
    CKpLamStore* lams = m->pLams();
    CKpLam* lam = (lams && name) ? lams->findByName(name) : nullptr;
    if (!lam) return -1;
    putText(name, lam->name());
    if (offset) *offset = static_cast<float>(lam->GetOffset());
    if (nsm) *nsm = static_cast<float>(lam->nsm());
    if (sb) *sb = static_cast<float>(lam->sb());
    if (ft) *ft = lam->ft();
    if (tref) *tref = static_cast<float>(lam->tref());
    if (ge) *ge = static_cast<float>(lam->ge());
    if (lamopt) *lamopt = lam->lamopt();
    if (nLayers) *nLayers = lam->NumLayers();
    return putLayers(m, lam, mats, extMats, thicks, angles, gplies) ? 0 : -1;
}

int LayupGetLamElem(int elemId, float* normal, float* offset, char* name, int* nLayers, char** mats,
                    char** extMats, float* thicks, float* angles, int* gplies) {
    CKpLayup* m = model();
    if (!m) return 1;
    if (normal) normal[0] = normal[1] = normal[2] = 0.0f;
    if (offset) *offset = 0.0f;
    if (nLayers) *nLayers = 0;
    if (name) name[0] = '\0';
    CKpElemStore* elems = m->pElems();
    CKpElem* elem = elems ? elems->find(elemId) : nullptr;
    if (!elem) return -1;
    if (normal) {
        CKpDirn n;
        elem->GetNormal(&n);
        normal[0] = static_cast<float>(n.getx());
        normal[1] = static_cast<float>(n.gety());
        normal[2] = static_cast<float>(n.getz());
    }
    CKpLam* lam = elementLaminate(m, elemId);
    if (!lam) return -1;
    if (offset) *offset = static_cast<float>(lam->GetOffset());
    if (name) putText(name, lam->name());
    if (nLayers) *nLayers = lam->NumLayers();
    if (!mats && !extMats && !thicks && !angles && !gplies) return 0;
    return putLayers(m, lam, mats, extMats, thicks, angles, gplies) ? 0 : -1;
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
    std::sort(sorted.begin(), sorted.end(),
              [](const CKpElem* a, const CKpElem* b) { return cmpElemPidId(&a, &b) < 0; });
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
