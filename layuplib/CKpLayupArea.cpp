// The model's area operations: restoring and selecting areas of the
// faceted surface, cutting it along element edges, finding where a point
// meets the selected area, and sets from patch numbers.
//
// Element counts of -1 with an id list mean every element of the model.
// RestoreArea: the result of surface_restore (0). RestoreAndSelectArea: 0;
// 1 restore failed; 2 selecting all failed; 3 selecting the listed elements
// failed. SelectAreaEID adds to the selection: n = -1 selects all (0, or -1
// on failure), otherwise the result of surface_select_elements_order.
// CutAreaEID (n, element ids, 1-based element edge numbers) divides the
// surface along each listed element edge; GetElemIntersect and
// CreateSetsPatches are described at their definitions.

#include <climits>
#include <cmath>
#include <cstdio>
#include <map>
#include <new>
#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpSetStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/CalcElementData2.h"
#include "layuplib/CalcStart.h"
#include "layuplib/facet_query.h"
#include "layuplib/surface_div.h"

int CKpLayup::RestoreArea() {
    return surface_restore(pElems(), pFacs());
}

int CKpLayup::RestoreAndSelectArea(int n, const int* ids) {
    CKpElemStore* elems = pElems();
    CKpFacetStore* facets = pFacs();
    if (surface_restore(elems, facets) != 0) return 1;
    if (n == -1) return surface_select_all(elems, facets) != 0 ? 2 : 0;
    // The selection routines only read the ids.
    if (surface_select_elements(elems, facets, n, const_cast<int*>(ids)) != 0) return 3;
    return 0;
}

int CKpLayup::SelectAreaEID(int n, const int* ids, int order) {
    CKpElemStore* elems = pElems();
    CKpFacetStore* facets = pFacs();
    if (n == -1) return surface_select_all(elems, facets) != 0 ? -1 : 0;
    return surface_select_elements_order(elems, facets, n, const_cast<int*>(ids), order);
}

// `first` holds element ids, `second` the 1-based edge of each element
// (corner to corner, CKpElem::GetFacEdges). Cuts stay when a later one fails.
int CKpLayup::CutAreaEID(int n, const int* first, const int* second) {
    if (n < 1) return 0;
    if (!first || !second) {
        m_msg.Create(4, "Could not cut area by element ID");
        return -1;
    }
    CKpElemStore* elems = pElems();
    CKpFacetStore* facets = pFacs();
    for (int i = 0; i < n; ++i) {
        if (surface_divide_elementid(&m_msg, elems, facets, first[i], second[i]) != 0) {
            m_msg.Create(4, "Could not cut area by element ID");
            return -1;
        }
        m_msg.Create(1, "Area cut");
    }
    return 0;
}

// Restores the surface, selects the n elements of `ids` (order 0) and
// finds the point of that area met from `point` (3 doubles) along
// `direction` (3 doubles; CalcStart); a zero direction takes the point of
// the area nearest to `point` (CalcPointFacetsPointWobble). Writes the
// point found into pointOut (3 doubles), the id of its element into
// *elemOut (when elemOut is given) and that element's unit normal into
// normalOut (3 doubles). The selection stays. 0; -1 when the restore or the
// selection fails, when no facet is found (information "Start facet not
// found."), when the element's geometry fails, or with the error
// "GetElemIntersect: an input or output array is missing." for a null
// point, direction, pointOut or normalOut.
int CKpLayup::GetElemIntersect(int n, const int* ids, const double* point, const double* direction,
                               int* elemOut, double* pointOut, double* normalOut) {
    if (!point || !direction || !pointOut || !normalOut) {
        m_msg.Create(4, "GetElemIntersect: an input or output array is missing.");
        return -1;
    }
    if (RestoreArea() != 0) return -1;
    if (SelectAreaEID(n, ids, 0) != 0) return -1;

    CKpFacetStore* facets = pFacs();
    CKpPoint p, hit;
    CKpDirn d;
    p.Set(point);
    d.Set(direction);
    int facet = -1;
    int found;
    if (d.mag() > 0.0) {
        int side = 0;
        found = CalcStart(&m_msg, facets, p, d, 0, facet, hit, side);
    } else {
        found = CalcPointFacetsPointWobble(&m_msg, facets, p, facet, hit);
    }
    const CKpFacet* f = facets->pFac(facet);
    if (found != 0 || !f) {
        m_msg.Create(1, "Start facet not found.");
        return -1;
    }

    hit.Get(pointOut);
    if (elemOut) *elemOut = f->GetElemId();
    CKpPoint midpt;
    CKpDirn normal, ref;
    double area = 0.0;
    if (CalcElementData2(&m_msg, f->getElement(), &midpt, &normal, &ref, &area) != 0) return -1;
    normal.Get(normalOut);
    return 0;
}

// Puts the elements of each patch number p > 0 into a new set named
// "Patch.%03d" (p). The sets follow the largest id of the set store,
// keeping the gaps between patch numbers: the set of patch p gets id p +
// (largest set id + 1 - smallest patch number). Existing sets stay; a
// second call makes the sets again under new ids. 0 (also when no element
// has a patch number); -1 with the error "Could not allocate memory." when
// memory runs out, or with the error "CreateSetsPatches: patch %d gives a
// set id beyond the largest possible id." (nothing created then).
int CKpLayup::CreateSetsPatches() {
    CKpSetStore* sets = pSets();
    std::map<int, std::vector<int>> patches;  // patch number -> element ids, ascending
    try {
        CVekObjectStoreIterator<CKpElem> it(*pElems());
        while (++it) {
            const CKpElem* elem = it.key();
            if (elem->GetPatchID() > 0) patches[elem->GetPatchID()].push_back(elem->id());
        }
    } catch (const std::bad_alloc&) {
        m_msg.Create(4, "Could not allocate memory.");
        return -1;
    }
    if (patches.empty()) return 0;

    const long long shift = static_cast<long long>(sets->maxId()) + 1 - patches.begin()->first;
    const int lastPatch = patches.rbegin()->first;
    if (lastPatch + shift > INT_MAX) {
        m_msg.Create(4,
                     "CreateSetsPatches: patch %d gives a set id beyond the largest possible id.",
                     lastPatch);
        return -1;
    }

    for (const auto& patch : patches) {
        CKpSet* set = new (std::nothrow) CKpSet(static_cast<int>(patch.first + shift));
        if (!set) {
            m_msg.Create(4, "Could not allocate memory.");
            return -1;
        }
        char name[32];
        std::snprintf(name, sizeof name, "Patch.%03d", patch.first);
        set->setName(name);
        if (set->AddIds(static_cast<int>(patch.second.size()), patch.second.data()) != 0 ||
            sets->insert(set) != 0) {
            delete set;
            m_msg.Create(4, "Could not allocate memory.");
            return -1;
        }
    }
    return 0;
}
