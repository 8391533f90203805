#include "layuplib/CKpSelect.h"

#include <new>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/find_nei.h"
#include "layuplib/surface_div.h"

CKpSelect::CKpSelect()
    : m_layup(nullptr), m_layupSet(0), m_resultsValid(0), m_elemIds(), m_groups() {}

CKpSelect::~CKpSelect() = default;

int CKpSelect::Clear() {
    m_elemIds.eraseAllObjects();
    return ClearResults();
}

int CKpSelect::SetElementIds(int n, int* ids) {
    if (!m_layupSet) return 1;
    if (n > 0 && !ids) {
        m_layup->pMsg()->Create(4, "Invalid element id list.");
        return -1;
    }
    if (m_resultsValid) ClearResults();
    CKpElemStore* elems = m_layup->pElems();
    if (!elems) return 0;
    if (n == -1) {
        for (int i = 0; i < elems->entries(); ++i)
            if (CKpElem* elem = (*elems)[i]) m_elemIds.findOrCreate(elem->id());
        return 0;
    }
    for (int i = 0; i < n; ++i)
        if (elems->find(ids[i])) m_elemIds.findOrCreate(ids[i]);
    return 0;
}

int CKpSelect::GetNumSelectionGroups(int* numGroups) {
    if (!m_layupSet) return 1;
    if (!m_resultsValid && Run() != 0) return 2;
    if (!numGroups) return BadArguments("GetNumSelectionGroups: null output.");
    *numGroups = m_groups.entries();
    return 0;
}

int CKpSelect::GetNumElements(int group, int* numBoundary, int* numInterior) {
    CKpBdyStore* store = nullptr;
    const int status = Group(group, &store);
    if (status != 0) return status;
    if (!numBoundary || !numInterior) return BadArguments("GetNumElements: null output.");
    *numBoundary = store->GetNumElements();
    *numInterior = store->GetNumInteriorElements();
    return 0;
}

int CKpSelect::GetElementIds(int group, int numBoundary, int* boundaryIds, int numInterior,
                             int* interiorIds) {
    CKpBdyStore* store = nullptr;
    const int status = Group(group, &store);
    if (status != 0) return status;
    // A list whose count does not match is left as it is.
    store->GetElementIds(numBoundary, boundaryIds);
    store->GetInteriorElementIds(numInterior, interiorIds);
    return 0;
}

int CKpSelect::GetBoundarySizes(int group, int* numRings, int* numPoints) {
    CKpBdyStore* store = nullptr;
    const int status = Group(group, &store);
    if (status != 0) return status;
    if (!numRings || !numPoints) return BadArguments("GetBoundarySizes: null output.");
    *numRings = store->GetNumBdys();
    *numPoints = store->GetNumPoints();
    return 0;
}

int CKpSelect::GetBoundary(int group, int numRings, int numPoints, int* perRing, double* xyz,
                           int* ids) {
    CKpBdyStore* store = nullptr;
    const int status = Group(group, &store);
    if (status != 0) return status;
    // The caller's arrays were sized from GetBoundarySizes: anything else
    // would write past them.
    const int rings = store->GetNumBdys();
    const int points = store->GetNumPoints();
    if (numRings != rings || numPoints != points) {
        m_layup->pMsg()->Create(4,
                                "Selection group %d has %d boundaries with %d points, not %d "
                                "boundaries with %d points.",
                                group, rings, points, numRings, numPoints);
        return 4;
    }
    store->GetPoints(m_layup->pFacs(), perRing, xyz, ids);
    return 0;
}

int CKpSelect::Run() {
    // 1.-3. The model, fresh results, something to group.
    if (!m_layupSet) return 1;
    ClearResults();
    const int n = m_elemIds.entries();
    if (n == 0) return 0;
    CKpMsg* msg = m_layup->pMsg();
    CKpGra* gra = m_layup->pGra();
    CKpElemStore* elems = m_layup->pElems();
    CKpFacetStore* facets = m_layup->pFacs();

    // 4. The whole surface, nothing selected, no divisions.
    if (surface_restore(elems, facets) != 0) return 3;

    // 5. The chosen elements, selected on the surface.
    std::vector<int> ids;
    try {
        ids.resize(static_cast<size_t>(n));
    } catch (const std::bad_alloc&) {
        return 2;
    }
    int count = n;
    m_elemIds.GetAllIds(count, ids.data());
    if (surface_select_elements_order(elems, facets, n, ids.data(), 0) != 0) return 3;

    // 6. Links of the selection, shell branches resolved.
    if (find_selected_neighbour(msg, gra, facets, elems) != 0) return 4;

    // 7. One boundary store per connected group.
    if (m_groups.CreateFromSelection(msg, gra, elems, facets) != 0) return 5;
    m_resultsValid = 1;
    return 0;
}

int CKpSelect::SetLayup(CKpLayup* layup) {
    if (!layup) return 1;
    m_layup = layup;
    m_layupSet = 1;
    return 0;
}

int CKpSelect::ClearResults() {
    m_groups.eraseAllObjects();
    m_resultsValid = 0;
    return 0;
}

int CKpSelect::Group(int group, CKpBdyStore** store) {
    if (!m_layupSet) return 1;
    if (!m_resultsValid && Run() != 0) return 2;
    // Group g is the boundary store of id g + 1.
    if (group < 0 || group >= m_groups.entries()) return 3;
    *store = m_groups.find(group + 1);
    return *store ? 0 : 3;
}

int CKpSelect::BadArguments(const char* text) {
    m_layup->pMsg()->Create(4, "%s", text);
    return 4;
}
