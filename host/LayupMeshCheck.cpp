// The mesh checks of the exported interface: each draws one aspect of the
// shell mesh into its own graphics segment, and its erase function deletes
// that segment. The checks report nothing and change no model data (the
// material-orientation check fills and empties the orientation store).

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "host/CKpDB.h"
#include "host/CKpGra.h"
#include "host/LayupApi.h"
#include "host/LayupSlot.h"
#include "host/guard_export.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/angle_util.h"
#include "layuplib/elem_sort.h"

namespace {

enum Segment {
    kFaces = 11,
    kNodes = 12,
    kFreeEdges = 13,
    kBranches = 14,
    kNormals = 15,
    kNormalBoundaries = 16,
    kDuplicates = 17,
    kConnectivities = 18,
    kMaterialOrients = 19,
    kFeatureAngles = 20
};

void toFloats(const CKpTriplet& p, float out[3]) {
    out[0] = static_cast<float>(p.getx());
    out[1] = static_cast<float>(p.gety());
    out[2] = static_cast<float>(p.getz());
}

// The element's node positions in stored order, 3 floats each; false when a
// node is not linked.
bool nodePositions(const CKpElem* elem, std::vector<float>& xyz) {
    const int n = elem->getnnod();
    xyz.assign(3 * static_cast<size_t>(n > 0 ? n : 0), 0.0f);
    for (int i = 0; i < n; ++i) {
        const CKpNode* node = elem->getckpnodes(i);
        if (!node) return false;
        toFloats(*node->getCKpPoint(), &xyz[3 * static_cast<size_t>(i)]);
    }
    return true;
}

// Draws the edge (vertex e, vertex e+1) of `facet` as a line.
void drawFacetEdge(CKpGra* gra, int segment, int id, int colour, const CKpFacet* facet, int e) {
    const CKpPoint* a = facet->getCKpPoint(e);
    const CKpPoint* b = facet->getCKpPoint(CKpFacet::GetNextVertex(e));
    if (!a || !b) return;
    float p[3], q[3];
    toFloats(*a, p);
    toFloats(*b, q);
    gra->GraDrawLine(segment, id, colour, 0.0f, p, q);
}

// Which perimeter edges an edge check draws.
enum class EdgeTest { Free, Branch, NormalFlip };

bool edgePasses(const CKpFacet* facet, int e, EdgeTest test) {
    const int count = facet->getNeighn(e);
    switch (test) {
        case EdgeTest::Free:
            return count == 0;
        case EdgeTest::Branch:
            return count > 1;
        default:
            // Codes below 3: the neighbour runs the edge the same way, so
            // the normals disagree; negative codes count as well.
            return count == 1 && facet->getNedge(e) < 3;
    }
}

// Visits the facet edges on each element's boundary, element by element in
// ascending id order, drawing those that pass `test`.
int plotPerimeterEdges(int segment, int colour, EdgeTest test) {
    CKpLayup* m = slotLayup();
    if (!m) return 1;
    CKpElemStore* elems = m->pElems();
    CKpFacetStore* facets = m->pFacs();
    if (!elems || !facets) return 0;
    CKpGra* gra = m->pGra();
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (++it) {
        const CKpElem* elem = it.key();
        if (!elem) continue;
        // (local facet, edge) pairs on the element boundary.
        static const int kQuad4[][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
        static const int kQuad8[][2] = {{0, 0}, {1, 0}, {2, 0}, {3, 0},
                                        {4, 0}, {5, 0}, {6, 0}, {7, 0}};
        static const int kTria3[][2] = {{0, 0}, {0, 1}, {0, 2}};
        static const int kTria6[][2] = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}};
        const int(*edges)[2] = nullptr;
        int n = 0;
        switch (elem->getgmtp()) {
            case 1:
                edges = kQuad4;
                n = 4;
                break;
            case 2:
                edges = kQuad8;
                n = 8;
                break;
            case 11:
                edges = kTria3;
                n = 3;
                break;
            case 12:
                edges = kTria6;
                n = 6;
                break;
            default:
                break;
        }
        for (int k = 0; k < n; ++k) {
            if (edges[k][0] >= elem->getnfac()) continue;
            const CKpFacet* facet = facets->pFac(elem->getfacs(edges[k][0]));
            if (!facet) continue;
            const int e = edges[k][1];
            if (edgePasses(facet, e, test))
                drawFacetEdge(gra, segment, elem->id(), colour, facet, e);
        }
    }
    return 0;
}

int erase(int segment) {
    CKpLayup* m = slotLayup();
    if (!m) return 1;
    m->pGra()->delete_segment(segment);
    return 0;
}

}  // namespace

extern "C" {

int LayupPlotElemFaces(void) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpElemStore* elems = m->pElems();
        if (!elems) return 0;
        std::vector<float> xyz;
        CVekObjectStoreIterator<CKpElem> it(*elems);
        while (++it) {
            const CKpElem* elem = it.key();
            if (!elem || !nodePositions(elem, xyz)) continue;
            m->pGra()->GraDrawPolygon(kFaces, elem->id(), 1, 0.0f, elem->getnnod(), xyz.data());
        }
        return 0;
    });
}

int LayupEraseElemFaces(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kFaces); });
}

int LayupPlotElemNodes(void) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpNodeStore* nodes = m->pNodes();
        if (!nodes) return 0;
        CVekObjectStoreIterator<CKpNode> it(*nodes);
        while (++it) {
            const CKpNode* node = it.key();
            if (!node) continue;
            float p[3];
            toFloats(*node->getCKpPoint(), p);
            m->pGra()->GraDrawMarker(kNodes, node->id(), 4, 0.0f, p, 1, 14);
        }
        return 0;
    });
}

int LayupEraseElemNodes(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kNodes); });
}

int LayupPlotElemFreeEdges(void) {
    return guard_export(
        __func__, -1, [&]() -> int { return plotPerimeterEdges(kFreeEdges, 101, EdgeTest::Free); });
}

int LayupEraseElemFreeEdges(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kFreeEdges); });
}

int LayupPlotElemBranches(void) {
    return guard_export(
        __func__, -1, [&]() -> int { return plotPerimeterEdges(kBranches, 5, EdgeTest::Branch); });
}

int LayupEraseElemBranches(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kBranches); });
}

int LayupPlotElemNormals(void) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpElemStore* elems = m->pElems();
        if (!elems) return 0;
        CVekObjectStoreIterator<CKpElem> it(*elems);
        while (++it) {
            const CKpElem* elem = it.key();
            if (!elem) continue;
            CKpPoint mid;
            CKpDirn normal;
            elem->GetMidpt(&mid);
            elem->GetNormal(&normal);
            float base[3], vec[3];
            toFloats(mid, base);
            toFloats(normal, vec);
            m->pGra()->GraDrawResultArrow(kNormals, elem->id(), 4, 0.0f, base, vec, 0.1f, 1, "n");
        }
        return 0;
    });
}

int LayupEraseElemNormals(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kNormals); });
}

int LayupPlotElemNormalBoundaries(void) {
    return guard_export(__func__, -1, [&]() -> int {
        return plotPerimeterEdges(kNormalBoundaries, 4, EdgeTest::NormalFlip);
    });
}

int LayupEraseElemNormalBoundaries(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kNormalBoundaries); });
}

int LayupPlotElemDuplicates(void) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpElemStore* elems = m->pElems();
        if (!elems) return 0;
        std::vector<CKpElem*> sorted;
        try {
            sorted.assign(static_cast<size_t>(elems->entries()), nullptr);
        } catch (const std::bad_alloc&) {
            m->pMsg()->Create(4, "Could not allocate memory.");
            return -1;
        }
        size_t filled = 0;
        CVekObjectStoreIterator<CKpElem> it(*elems);
        while (++it && filled < sorted.size()) sorted[filled++] = it.key();
        // Empty entries last, then by node list as stored, ties by id.
        std::sort(sorted.begin(), sorted.end(),
                  [](CKpElem* a, CKpElem* b) { return cmpElemNodesId(&a, &b) < 0; });
        std::vector<float> xyz;
        for (size_t i = 0; i + 1 < sorted.size(); ++i) {
            const CKpElem* a = sorted[i];
            const CKpElem* b = sorted[i + 1];
            if (!a || !b || cmpElemNodes(&sorted[i], &sorted[i + 1]) != 0) continue;
            if (!nodePositions(b, xyz)) continue;
            m->pGra()->GraDrawPolygon(kDuplicates, b->id(), 1, 0.0f, b->getnnod(), xyz.data());
        }
        return 0;
    });
}

int LayupEraseElemDuplicates(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kDuplicates); });
}

int LayupPlotElemConnectivities(void) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpElemStore* elems = m->pElems();
        CKpFacetStore* facets = m->pFacs();
        if (!elems || !facets) return 0;
        CVekObjectStoreIterator<CKpElem> it(*elems);
        while (++it) {
            const CKpElem* elem = it.key();
            if (!elem || elem->getnfac() < 1) continue;
            const CKpFacet* facet = facets->pFac(elem->getfacs(0));
            if (!facet) continue;
            const CKpPoint* a1 = facet->getCKpPoint(0);
            const CKpPoint* a2 = facet->getCKpPoint(1);
            const CKpPoint* a3 = facet->getCKpPoint(2);
            if (!a1 || !a2 || !a3) continue;
            CKpDirn d1, d2, c, inward;
            d1.set2pts(a1, a2);
            d2.set2pts(a1, a3);
            c.setCrossProduct(&d1, &d2);
            inward.setCrossProduct(&c, &d1);
            inward.unitize();
            const double len = 0.15 * d1.mag();
            const double px = 0.3 * a1->getx() + 0.7 * a2->getx();
            const double py = 0.3 * a1->gety() + 0.7 * a2->gety();
            const double pz = 0.3 * a1->getz() + 0.7 * a2->getz();
            float p[3] = {static_cast<float>(px), static_cast<float>(py), static_cast<float>(pz)};
            float q[3] = {static_cast<float>(px + len * inward.getx()),
                          static_cast<float>(py + len * inward.gety()),
                          static_cast<float>(pz + len * inward.getz())};
            float tip[3];
            toFloats(*a2, tip);
            m->pGra()->GraDrawLine(kConnectivities, 0, 1, 0.0f, p, q);
            m->pGra()->GraDrawLine(kConnectivities, 0, 1, 0.0f, q, tip);
        }
        return 0;
    });
}

int LayupEraseElemConnectivities(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kConnectivities); });
}

int LayupPlotElemMaterialOrients(void) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpElemStore* elems = m->pElems();
        CKpOrientStore* orients = m->pOrients();
        if (orients) orients->Clear();
        // A failed read leaves the angles the elements already hold.
        if (m->pDB()) m->pDB()->getProp(m->pMsg(), elems, orients, m->pCoords());
        CKpGra* gra = m->pGra();
        gra->select_segment(kMaterialOrients);
        if (elems) {
            CVekObjectStoreIterator<CKpElem> it(*elems);
            while (++it) {
                const CKpElem* elem = it.key();
                if (elem) elem->plotOrient(m->pMsg(), gra, 0, 2, elem->theta(), 0, 0.0, 0.0);
            }
        }
        if (orients) orients->Clear();
        return 0;
    });
}

int LayupEraseElemMaterialOrients(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kMaterialOrients); });
}

int LayupPlotElemFeatureAngles(float angle) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpFacetStore* facets = m->pFacs();
        if (!facets) return 0;
        const double limit = std::cos(radians(angle));
        const int n = facets->entries();
        for (int i = 0; i < n; ++i) {
            const CKpFacet* facet = facets->pFac(i);
            if (!facet) continue;
            for (int e = 0; e < 3; ++e) {
                const int j = facet->getNeigh(e);
                if (facet->getNeighn(e) != 1 || j <= i) continue;
                const CKpFacet* other = facets->pFac(j);
                if (!other) continue;
                CKpDirn u1, u2;
                facet->GetNormal(&u1);
                other->GetNormal(&u2);
                u1.unitize();
                u2.unitize();
                if (limit >= std::fabs(u1.DotProduct(&u2)))
                    drawFacetEdge(m->pGra(), kFeatureAngles, 0, 101, facet, e);
            }
        }
        return 0;
    });
}

int LayupEraseElemFeatureAngles(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kFeatureAngles); });
}

}  // extern "C"
