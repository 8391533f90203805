#include "layuplib/CKpLamStore.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpGplyIDStore.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/copy_text.h"

namespace {

// Sorts `v` ascending and drops repeats.
void sortUnique(std::vector<int>& v) {
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
}

}  // namespace

CKpLamStore::CKpLamStore(CKpLayup* layup) : CVekObjectStore<CKpLam>(64), m_layup(layup) {}

CKpLamStore::~CKpLamStore() {
    eraseAllObjects();
}

int CKpLamStore::insert(CKpLam* lam) {
    if (!lam) return -1;
    lam->SetLamStore(this);
    return CVekObjectStore<CKpLam>::insert(lam);
}

CKpLam* CKpLamStore::findByName(const char* name) {
    if (!name) return nullptr;
    CVekObjectStoreIterator<CKpLam> it(*this);
    while (++it)
        if (it.key() && std::strcmp(it.key()->name(), name) == 0) return it.key();
    return nullptr;
}

int CKpLamStore::Clear() {
    if (!m_layup) return 1;
    CKpElemStore* elems = m_layup->pElems();
    if (!elems) return 2;
    if (elems->lamClear() != 0) return 3;
    eraseAllObjects();
    return 0;
}

int CKpLamStore::GetReferencesOfMaterial(int mid) {
    int n = 0;
    CVekObjectStoreIterator<CKpLam> it(*this);
    while (++it)
        if (it.key() && it.key()->LamLyrs() &&
            it.key()->LamLyrs()->GetReferencesOfMaterial(mid) > 0)
            ++n;
    return n;
}

// ---- IVekLamStore ----

CKpLam* CKpLamStore::New(int id) {
    if (id >= 1 && find(id)) return nullptr;
    if (id < 1) {
        if (maxId() == INT_MAX) return nullptr;  // no id left above the highest
        id = maxId() + 1;
    }
    CKpLam* lam = new (std::nothrow) CKpLam(id);
    if (!lam) return nullptr;
    if (!lam->LamLyrs() || insert(lam) != 0) {  // no layer list, or the store could not grow
        delete lam;
        return nullptr;
    }
    return lam;
}

int CKpLamStore::GetMaxNumLayers() {
    int most = 0;
    CVekObjectStoreIterator<CKpLam> it(*this);
    while (++it)
        if (it.key()) most = std::max(most, it.key()->NumLayers());
    return most;
}

int CKpLamStore::GetNumGlobalPlyIDs() {
    try {
        std::vector<int> ids;
        CVekObjectStoreIterator<CKpLam> it(*this);
        while (++it) {
            const CKpLamLyrStore* lyrs = it.key() ? it.key()->LamLyrs() : nullptr;
            if (!lyrs) continue;
            for (const CKpLamLyr* lyr = lyrs->First(); lyr; lyr = lyrs->Next(lyr))
                if (lyr->gplyid() > 0) ids.push_back(lyr->gplyid());
        }
        sortUnique(ids);
        return static_cast<int>(ids.size());
    } catch (...) {
        return -1;
    }
}

int CKpLamStore::GetGlobalPlyIDsNamesThicks(int n, int* ids, char** names, char** matNames, int len,
                                            double* thicks) {
    const int total = GetNumGlobalPlyIDs();
    if (total < 0) return -1;
    if (n != total) return 1;

    // 1. The first layer met with each id defines the global ply.
    CKpGplyIDStore plies;
    CVekObjectStoreIterator<CKpLam> it(*this);
    while (++it) {
        CKpLamLyrStore* lyrs = it.key() ? it.key()->LamLyrs() : nullptr;
        if (!lyrs) continue;
        for (CKpLamLyr* lyr = lyrs->First(); lyr; lyr = lyrs->Next(lyr)) {
            if (lyr->gplyid() < 1 || plies.find(lyr->gplyid())) continue;
            CKpGplyID* ply = plies.findOrCreate(lyr->gplyid());
            if (!ply) return -1;
            ply->SetName(lyr->layupPlyName());
            ply->SetExternalMaterialName(lyr->GetExternalMaterialName());
            const CKpMat* mat = dynamic_cast<CKpMat*>(lyr->GetMaterial());
            ply->SetThickness(mat ? mat->mtrlthck() : 0.0);
        }
    }

    // 2. Written in ascending id order.
    for (int i = 0; i < n; ++i) {
        const CKpGplyID* ply = plies[i];
        if (!ply) break;
        if (ids) ids[i] = ply->id();
        if (names) copy_text(names[i], len, ply->GetName());
        if (matNames) copy_text(matNames[i], len, ply->GetExternalMaterialName());
        if (thicks) thicks[i] = ply->GetThickness();
    }
    return 0;
}

int CKpLamStore::GetGlobalPlyLayers(int gplyId, int capacity, int& count, int* elemIds,
                                    int* layers) {
    if (!m_layup) return 1;
    CKpElemStore* elems = m_layup->pElems();
    if (!elems) return 2;
    int k = 0;
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (k < capacity && ++it) {
        const CKpElem* elem = it.key();
        if (!elem || elem->pid() < 1) continue;
        const CKpLam* lam = find(elem->pid());
        const int pos = lam ? lam->GetGPlyLayerID(gplyId) : 0;
        if (pos < 1) continue;
        if (elemIds) elemIds[k] = elem->id();
        if (layers) layers[k] = pos;
        ++k;
    }
    count = k;
    return 0;
}

int CKpLamStore::GetReferencedMaterials(int nElems, const int* elemIds, int nMats, int& count,
                                        IVekMaterial** mats) {
    if (!m_layup) return 1;
    CKpElemStore* elems = m_layup->pElems();
    if (!elems) return 2;
    CKpMatStore* matStore = m_layup->pMats();
    if (!matStore) return 3;
    if (nMats != matStore->entries()) return 4;
    if (nElems < -1 || (nElems > 0 && !elemIds)) return -1;
    try {
        // 1. The distinct laminate ids of the elements.
        std::vector<int> pids;
        if (nElems == -1) {
            CVekObjectStoreIterator<CKpElem> it(*elems);
            while (++it)
                if (it.key() && it.key()->pid() > 0) pids.push_back(it.key()->pid());
        } else {
            for (int i = 0; i < nElems; ++i) {
                const CKpElem* elem = elems->find(elemIds[i]);
                if (elem && elem->pid() > 0) pids.push_back(elem->pid());
            }
        }
        sortUnique(pids);

        // 2. The distinct material ids of their layers.
        std::vector<int> mids;
        for (int pid : pids) {
            const CKpLam* lam = find(pid);
            const CKpLamLyrStore* lyrs = lam ? lam->LamLyrs() : nullptr;
            if (!lyrs) continue;
            for (const CKpLamLyr* lyr = lyrs->First(); lyr; lyr = lyrs->Next(lyr))
                mids.push_back(lyr->mid());
        }
        sortUnique(mids);

        // 3. The materials that exist; never more than the store holds.
        int k = 0;
        for (int mid : mids) {
            CKpMat* mat = matStore->find(mid);
            if (!mat || k >= nMats) continue;
            if (mats) mats[k] = mat;
            ++k;
        }
        count = k;
        return 0;
    } catch (...) {
        return -1;
    }
}

int CKpLamStore::GetLayerMatsThicksOrients(ELayerType type, int k, int capacity, int& count,
                                           IVekMaterial** mats, int* nverts, double* bottomSurf,
                                           double* midSurf, double* topSurf, double* midPts,
                                           double* fibreDirs, double* transverseDirs,
                                           double* sizes) {
    if (!m_layup) return 1;
    CKpElemStore* elems = m_layup->pElems();
    if (!elems) return 2;
    if (type != eLayerPosition && type != eLayerGlobalPly) return -1;
    int entry = 0, vertexBase = 0;
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (entry < capacity && ++it) {
        const CKpElem* elem = it.key();
        if (!elem || elem->pid() < 1) continue;
        const int nv = elem->GetNumVertices();
        if (nv < 3 || nv > 4) continue;  // only shells have surfaces to draw
        CKpLam* lam = find(elem->pid());
        if (!lam) continue;
        const int pos = type == eLayerPosition ? lam->GetValidLayerID(k) : lam->GetGPlyLayerID(k);
        IVekMaterial* mat = nullptr;
        double bottom = 0.0, top = 0.0, angle = 0.0;
        if (pos < 1 || lam->GetLayerMaterialOffsetsRotation(pos, mat, bottom, top, angle) != 0)
            continue;
        SetMatsThicksOrients(elem, mat, bottom, 0.5 * (bottom + top), top, angle, entry, vertexBase,
                             mats, nverts, bottomSurf, midSurf, topSurf, midPts, fibreDirs,
                             transverseDirs, sizes);
    }
    count = entry;
    return 0;
}

int SetMatsThicksOrients(const CKpElem* elem, IVekMaterial* mat, double zb, double zm, double zt,
                         double angle, int& entry, int& vertexBase, IVekMaterial** mats,
                         int* nverts, double* bottomSurf, double* midSurf, double* topSurf,
                         double* midPts, double* fibreDirs, double* transverseDirs, double* sizes) {
    if (!elem) return -1;
    const int e = entry, v = vertexBase;
    const int nv = elem->GetNumVertices();
    // Each geometric result is formed in a scratch buffer of room for any
    // element and copied over, so that a failure leaves zeros, never junk.
    auto put = [](double* out, int count, bool ok, const double* values) {
        for (int i = 0; i < count; ++i) out[i] = ok ? values[i] : 0.0;
    };
    double buf[3 * 8];
    if (mats) mats[e] = mat;
    if (nverts) nverts[e] = nv;
    const bool fits = nv <= 8;  // no element has more corners; guards the scratch buffer
    if (bottomSurf)
        put(bottomSurf + 3 * v, 3 * nv, fits && elem->GetOffsetSurface(zb, buf) == 0, buf);
    if (midSurf) put(midSurf + 3 * v, 3 * nv, fits && elem->GetOffsetSurface(zm, buf) == 0, buf);
    if (topSurf) put(topSurf + 3 * v, 3 * nv, fits && elem->GetOffsetSurface(zt, buf) == 0, buf);
    if (midPts) put(midPts + 3 * e, 3, elem->GetOffsetMidpt(zm, buf) == 0, buf);
    const double pi = std::acos(-1.0);
    if (fibreDirs)
        put(fibreDirs + 3 * e, 3, elem->GetDirection(angle + elem->theta(), buf) == 0, buf);
    if (transverseDirs)
        put(transverseDirs + 3 * e, 3,
            elem->GetDirection(angle + elem->theta() + 0.5 * pi, buf) == 0, buf);
    if (sizes) {
        double area = 0.0;
        sizes[e] = (elem->GetArea(&area) == 0 && area > 0.0) ? 0.5 * std::sqrt(area) : 0.0;
    }
    vertexBase = v + nv;
    entry = e + 1;
    return 0;
}
