#include "layuplib/CKpBdyStore.h"

#include <cstdlib>
#include <vector>

#include "host/CKpGra.h"
#include "host/PlotRoutines.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPatSplitStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CalcBoundary.h"
#include "layuplib/CalcStart.h"
#include "layuplib/find_nei.h"
#include "layuplib/sel_interior_elem.h"
#include "layuplib/surface_div.h"

CKpBdyStore::CKpBdyStore(int id)
    : CVekObject(id),
      m_startFacet(-1),
      m_option(0),
      m_outer(nullptr),
      m_numHoles(0),
      m_holes(nullptr),
      m_elemIds(),
      m_interiorIds() {}

CKpBdyStore::~CKpBdyStore() {
    reinit();
}

CKpBdy* CKpBdyStore::GetBdy(int i) const {
    if (i < 0 || i >= GetNumBdys()) return nullptr;
    return i == 0 ? m_outer : pIntrBdy(i - 1);
}

CKpBdy* CKpBdyStore::pIntrBdy(int i) const {
    return (m_holes && i >= 0 && i < m_numHoles) ? m_holes[i] : nullptr;
}

void CKpBdyStore::SetBdy(CKpBdy* ring) {
    if (m_outer != ring) DeleteBoundary(m_outer);
    m_outer = ring;
}

int CKpBdyStore::AddIntrBdy(CKpBdy* ring) {
    if (!ring) return 0;
    void* grown = std::realloc(m_holes, sizeof(CKpBdy*) * (static_cast<size_t>(m_numHoles) + 1));
    if (!grown) return -1;
    m_holes = static_cast<CKpBdy**>(grown);
    m_holes[m_numHoles++] = ring;
    return 0;
}

void CKpBdyStore::reinit() {
    DeleteBoundary(m_outer);
    DeleteIntrBys(m_holes, m_numHoles);
    m_elemIds.eraseAllObjects();
    m_interiorIds.eraseAllObjects();
}

int CKpBdyStore::GetNumSegs(const CKpBdy* ring) {
    int n = 0;
    for (const CKpBdy* seg = ring; seg; seg = seg->Next()) {
        ++n;
        if (seg->Next() == ring) break;
    }
    return n;
}

int CKpBdyStore::GetNumAllSegs() const {
    int n = 0;
    for (int i = 0; i < GetNumBdys(); ++i) n += GetNumSegs(GetBdy(i));
    return n;
}

int CKpBdyStore::GetNumPoints() const {
    return GetNumAllSegs() + GetNumBdys();
}

int CKpBdyStore::GetElementIds(int n, int* ids) {
    if (n != m_elemIds.entries() || (!ids && n > 0)) return 1;
    m_elemIds.GetAllIds(n, ids);
    return 0;
}

int CKpBdyStore::GetInteriorElementIds(int n, int* ids) {
    if (n != m_interiorIds.entries() || (!ids && n > 0)) return 1;
    m_interiorIds.GetAllIds(n, ids);
    return 0;
}

int CKpBdyStore::GetPoints(const CKpFacetStore* facets, int* counts, double* xyz, int* ids) const {
    if (!facets) return -1;
    int point = 0;
    // One point: vertex v of the facet of `seg`.
    auto put = [&](const CKpBdy* seg, int v) {
        const CKpFacet* facet = facets->pFac(seg->getFacet());
        const CKpNode* node = facet ? facet->getCKpNode(v) : nullptr;
        if (xyz) {
            double* out = xyz + 3 * static_cast<size_t>(point);
            out[0] = node ? node->getCKpPointX() : 0.0;
            out[1] = node ? node->getCKpPointY() : 0.0;
            out[2] = node ? node->getCKpPointZ() : 0.0;
        }
        if (ids) ids[point] = node ? node->id() : 0;
        ++point;
    };
    for (int r = 0; r < GetNumBdys(); ++r) {
        const CKpBdy* ring = GetBdy(r);
        if (counts) counts[r] = ring ? GetNumSegs(ring) + 1 : 0;
        if (!ring) continue;
        put(ring, ring->vx0());
        const CKpBdy* seg = ring;
        do {
            put(seg, seg->vx1());
            seg = seg->Next();
        } while (seg && seg != ring);
    }
    return 0;
}

int CKpBdyStore::PlotAllBoundary(CKpGra* gra, CKpFacetStore* facets) {
    PlotInnerBoundaries(gra, facets, this);
    PlotBoundary(gra, facets, m_outer, 4);
    return 0;
}

int CKpBdyStore::CalculateBoundary(CKpMsg* msg, CKpFacetStore* facets, int startFacet, int option) {
    m_startFacet = startFacet;
    m_option = option;
    return CalcBoundary(msg, facets, startFacet, option, this);
}

int CKpBdyStore::SelectInteriorElements(CKpMsg* msg, CKpGra* gra, CKpElemStore* elems,
                                        CKpFacetStore* facets, int* result) {
    if (m_interiorIds.entries() > 0) return 0;
    return sel_interior_elem(msg, gra, elems, facets, m_startFacet, m_option, this, result);
}

int CKpBdyStore::DeselectInteriorElements(CKpElemStore* elems, CKpFacetStore* /*facets*/) {
    if (elems) {
        for (int i = 0; i < m_interiorIds.entries(); ++i) {
            CKpElem* elem = elems->find(m_interiorIds[i]->id());
            if (!elem) continue;
            elem->setSltd(0);
            elem->setIntr(0);
        }
    }
    m_interiorIds.eraseAllObjects();
    return 0;
}

int CKpBdyStore::CheckForInteriorHoles(CKpMsg* msg, CKpGra* gra, CKpFacetStore* facets,
                                       int& found) {
    found = 0;
    CKpBdy* ring = nullptr;
    if (CalcAllBoundary(msg, facets, 1, m_startFacet, m_option, ring, nullptr, nullptr, nullptr) !=
        0)
        return 1;
    // Where the traced front met itself around a hole, segments on linked
    // edges stay on the ring.
    const CKpBdy* seg = ring;
    while (seg) {
        const CKpFacet* facet = facets->pFac(seg->getFacet());
        const int e = seg->getEdge();
        if (facet && facet->getNeigh(e) >= 0 && facet->getNedge(e) >= 0) {
            found = 1;
            break;
        }
        seg = seg->Next();
        if (seg == ring) break;
    }
    if (found) {
        PlotBoundary(gra, facets, ring, 4);
        if (gra) gra->delete_segment(6);
    }
    DeleteBoundary(ring);
    return 0;
}

int CKpBdyStore::CreatePlyBoundary(CKpMsg* msg, CKpGra* gra, CKpFacetStore* facets,
                                   CKpElemStore* elems, CKpPlyStore* plies, CKpPatStore* pats,
                                   const char* plyName, int* nBdy, int* nPts) {
    if (!facets || !elems || !plies || !pats) return -1;
    // 1. The ply and its pattern.
    CKpPly* ply = plyName ? plies->findByName(plyName) : nullptr;
    if (!ply) {
        if (msg) msg->Create(4, "Could not find ply '%s'.", plyName ? plyName : "");
        return -1;
    }
    CKpPat* pat = pats->find(ply->pttrnid());
    if (!pat) {
        if (msg) msg->Create(4, "Could not find pattern id %d", ply->pttrnid());
        return -1;
    }

    // 2. The ply's region on the whole surface, cut along the split edges.
    if (surface_restore(elems, facets) != 0) return -1;
    const CVekList<CKpPlyElem>& plyElems = ply->PlyElems();
    for (CKpPlyElem* pe = plyElems.First(); pe; pe = plyElems.Next(pe)) {
        // Pattern elements are linked to their elements by a simulation;
        // before one, the id names the element.
        CKpElem* elem = pe->pelem();
        if (!elem && pe->ppatelem()) elem = elems->find(pe->ppatelem()->elemId());
        if (elem) surface_select_elem(elem, facets, pe->order());
    }
    CKpPatSplitStore* splits = pat->PatSplits();
    const int nSplits = splits ? splits->entries() : 0;
    if (nSplits > 0) {
        std::vector<int> splitElems(static_cast<size_t>(nSplits));
        std::vector<int> splitEdges(static_cast<size_t>(nSplits));
        const int n = splits->GetElemIdsEdgeIds(nSplits, splitElems.data(), splitEdges.data());
        // A split edge that cannot be divided reports itself; the rest stand.
        for (int i = 0; i < n; ++i)
            surface_divide_elementid(msg, elems, facets, splitElems[i], splitEdges[i]);
    }
    if (find_selected_neighbour(msg, gra, facets, elems) != 0) return -1;

    // 3. The start facet seen from the pattern's eye point.
    CKpPoint eye;
    CKpDirn eyeDirn;
    eye.Set(pat->eyex(), pat->eyey(), pat->eyez());
    eyeDirn.Set(pat->eyedx(), pat->eyedy(), pat->eyedz());
    int startFacet = -1;
    int side = 0;
    CKpPoint start;
    if (CalcStart(msg, facets, eye, eyeDirn, 0, startFacet, start, side) != 0) {
        if (msg) msg->Create(4, "Start facet not found.");
        return -1;
    }

    // 4. The boundary around it.
    if (CalculateBoundary(msg, facets, startFacet, side) != 0) {
        if (msg) msg->Create(4, "Cannot create boundary.");
        return -1;
    }

    // 5. Counts, and the hole elements as interior elements.
    const int rings = GetNumBdys();
    if (rings < 1) {
        if (nBdy) *nBdy = 0;
        if (nPts) *nPts = 0;
        return 0;
    }
    if (nBdy) *nBdy = rings;
    if (nPts) *nPts = GetNumPoints();
    if (rings > 1) {
        int left = 0;
        if (SelectInteriorElements(msg, gra, elems, facets, &left) != 0 || left != 0) {
            if (msg) msg->Create(2, "Could not select all interior hole elements.");
        }
    }
    return 0;
}
