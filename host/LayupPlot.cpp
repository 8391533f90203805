// The plot and erase functions for plies, elements, layups and laminates.

#include "host/LayupPlot.h"

#include <new>
#include <vector>

#include "host/CKpGra.h"
#include "host/LayupApi.h"
#include "host/LayupSlot.h"
#include "host/PlotRoutines.h"
#include "host/guard_export.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLine.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpLypPlyStore.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOrient.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CKpPlane.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/CalcElementData2.h"
#include "layuplib/IVekPly.h"
#include "layuplib/IVekPlyStore.h"
#include "layuplib/VekTList.h"
#include "layuplib/calculate_offset.h"
#include "layuplib/geom_util.h"

namespace {

enum Segment {
    kDraping = 0,
    kDrapedPattern = 1,
    kFlatPattern = 2,
    kPlyAngles = 3,
    kSurfaceAngles = 4,
    kOutline = 5,
    kBoundary = 6,
    kLayupElement = 8,
    kCrossSection = 9,
    kLayupSurface = 10,
    kLayupPly = 21,
    kExploded = 22,
    kOrients = 23,
    kLamThicks = 24,
    kLamOrients = 25,
    kLayupSolid = 501,
    kLayupThick = 502,
    kLayupThicks = 503,
    kLayupOrients = 504,
    kLamSurface = 701,
    kLamSolid = 702,
    kLamThick = 703,
    kLamElement = 704
};

int erase(int segment) {
    CKpLayup* m = slotLayup();
    if (!m) return 1;
    return m->pGra()->delete_segment(segment);
}

// The named ply for the ply plots; null after the message.
IVekPly* findPly(CKpLayup* m, const char* name, bool* noStore) {
    IVekPlyStore* plies = m->GetPlyStore();
    *noStore = plies == nullptr;
    if (!plies) {
        m->pMsg()->Create(4, "Invalid ply store.");
        return nullptr;
    }
    IVekPly* ply = plies->Get(name);
    if (!ply) m->pMsg()->Create(4, "Ply name '%s' does not exist.", name ? name : "");
    return ply;
}

enum class PlyPlot { DrapedPattern, FlatPattern, Outline, Boundary };

int plotPly(const char* name, PlyPlot which, int mode) {
    CKpLayup* m = slotLayup();
    if (!m) return 1;
    bool noStore = false;
    IVekPly* ply = findPly(m, name, &noStore);
    if (!ply) return -1;
    switch (which) {
        case PlyPlot::DrapedPattern:
            return ply->PlotDrapedPattern(mode);
        case PlyPlot::FlatPattern:
            return ply->PlotFlatPattern();
        case PlyPlot::Outline:
            return ply->PlotOutline();
        default:
            return ply->PlotBoundary();
    }
}

void toFloats(double x, double y, double z, float out[3]) {
    out[0] = static_cast<float>(x);
    out[1] = static_cast<float>(y);
    out[2] = static_cast<float>(z);
}

// p + t d
CKpPoint moved(const CKpPoint& p, const CKpDirn& d, double t) {
    CKpPoint q;
    q.Set(p.getx() + t * d.getx(), p.gety() + t * d.gety(), p.getz() + t * d.getz());
    return q;
}

// The material of a laminate layer, from the model's material store where
// generated and read laminates refer to it; null after the error.
CKpMat* layerMaterial(CKpLayup* m, const CKpLamLyr* lyr) {
    CKpMatStore* mats = m->pMats();
    CKpMat* mat = mats ? mats->find(lyr->mid()) : nullptr;
    if (!mat) m->pMsg()->Create(4, "Could not find laminate layer material");
    return mat;
}

// The stack entry of layup ply `id` (the first from the bottom) with the
// bottom of its mid-plane walk: *z the stack bottom plus the plies below.
const CKpElemLypPly* findStackEntry(const CKpElem* elem, int id, double* z) {
    const CKpElemLypPlyStore* stack = elem->getElemLypPlies();
    if (!stack) return nullptr;
    double bottom = elem->off();
    for (const CKpElemLypPly* p = stack->First(); p; p = stack->Next(p)) {
        if (p->getLypPlyId() == id) {
            *z = bottom;
            return p;
        }
        bottom += p->thck();
    }
    return nullptr;
}

// Corner nodes (stored positions) of a shell element; 0 for other types.
int cornerPositions(int gmtp, int pos[4]) {
    static const int kQuad4[] = {0, 1, 2, 3}, kQuad8[] = {0, 2, 4, 6}, kTria3[] = {0, 1, 2},
                     kTria6[] = {0, 2, 4};
    const int* src = nullptr;
    int n = 0;
    switch (gmtp) {
        case 1:
            src = kQuad4;
            n = 4;
            break;
        case 2:
            src = kQuad8;
            n = 4;
            break;
        case 11:
            src = kTria3;
            n = 3;
            break;
        case 12:
            src = kTria6;
            n = 3;
            break;
        default:
            return 0;
    }
    for (int i = 0; i < n; ++i) pos[i] = src[i];
    return n;
}

// Bottom and top surfaces of the material, surface type 0 (element stacks)
// or 1 (laminates), as two closed polygons per shell element.
int plotSurface(CKpLayup* m, int surfaceType, int segment) {
    CKpMsg* msg = m->pMsg();
    CKpGra* gra = m->pGra();
    CKpFacetStore* facets = m->pFacs();
    CKpLamStore* lams = m->pLams();
    // The node offsets feed CalcOffsetsElemNode; a failure leaves zero
    // offsets, which still draw the reference surface.
    calculate_offset(msg, m->pNodes(), facets, surfaceType, lams);
    gra->select_segment(segment);
    gra->select_pen(1, 0.0);
    CKpElemStore* elems = m->pElems();
    if (!elems) return 0;
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (++it) {
        CKpElem* elem = it.key();
        if (!elem) continue;
        int pos[4];
        const int n = cornerPositions(elem->getgmtp(), pos);
        CKpPoint bottom[4], top[4];
        bool linked = n > 0;
        for (int i = 0; i < n && linked; ++i) {
            const CKpNode* node = elem->getckpnodes(pos[i]);
            if (!node) {
                linked = false;
                break;
            }
            CKpDirn dirs[2];
            double offs[2] = {0.0, 0.0};
            CalcOffsetsElemNode(msg, elem, facets, pos[i], dirs, offs, surfaceType, lams);
            bottom[i] = moved(*node->getCKpPoint(), dirs[0], offs[0]);
            top[i] = moved(*node->getCKpPoint(), dirs[1], offs[1]);
        }
        if (!linked) continue;
        for (const CKpPoint* ring : {bottom, top}) {
            gra->MoveTo3d(&ring[0]);
            for (int i = 1; i < n; ++i) gra->LineTo3d(&ring[i]);
            gra->LineTo3d(&ring[0]);
        }
    }
    return 0;
}

// Layer plots of the named laminates: thicknesses or orientations.
int plotLamLayers(int nLams, char** names, int nLayers, const int* layers, double scale, double gap,
                  bool thicks) {
    CKpLayup* m = slotLayup();
    if (!m) return 1;
    if (nLayers < 0) return 0;
    CKpMsg* msg = m->pMsg();
    if (nLayers > 0 && !layers) {
        msg->Create(4, "Missing layer numbers.");
        return -1;
    }
    CKpGra* gra = m->pGra();
    const int segment = thicks ? kLamThicks : kLamOrients;
    gra->select_segment(segment);
    if (nLams < 1 || !names) return 0;
    CKpLamStore* lams = m->pLams();
    CKpElemStore* elems = m->pElems();
    CKpFacetStore* facets = m->pFacs();
    if (!lams || !elems) return 0;
    std::vector<const CKpElem*> onLam;
    for (int i = 0; i < nLams; ++i) {
        CKpLam* lam = names[i] ? lams->findByName(names[i]) : nullptr;
        const CKpLamLyrStore* lyrs = lam ? lam->LamLyrs() : nullptr;
        if (!lyrs) continue;
        onLam.clear();
        CVekObjectStoreIterator<CKpElem> it(*elems);
        while (++it)
            if (it.key() && it.key()->pid() == lam->id()) onLam.push_back(it.key());
        double z = lam->z0();
        int matched = 0;
        int k = 1;
        for (const CKpLamLyr* lyr = lyrs->First(); lyr; lyr = lyrs->Next(lyr), ++k) {
            if (nLayers > 0 && matched == nLayers) break;
            const double t = lyr->t();
            const double mid = z + t / 2.0;
            z = mid + t / 2.0;
            if (nLayers > 0) {
                if (k != layers[matched]) continue;
                ++matched;
            }
            const CKpMat* mat = layerMaterial(m, lyr);
            if (!mat) return -1;
            const int colour = MaterialColour(mat->id());
            for (const CKpElem* elem : onLam) {
                if (thicks)
                    elem->PlotEdgeThick(msg, gra, 1, segment, colour, facets, mid * scale,
                                        t * scale * (1.0 - gap));
                else
                    elem->plotOrient(msg, gra, 0, colour, elem->theta() + lyr->theta(), 0, 0.0,
                                     mid * scale);
            }
        }
    }
    return 0;
}

// Thickness or orientation of one layup ply on every element holding it.
int plotLayupPlyStack(int id, double scale, double gap, bool thicks) {
    CKpLayup* m = slotLayup();
    if (!m) return 1;
    CKpGra* gra = m->pGra();
    const int segment = thicks ? kLayupThicks : kLayupOrients;
    gra->select_segment(segment);
    CKpElemStore* elems = m->pElems();
    if (!elems) return 0;
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (++it) {
        const CKpElem* elem = it.key();
        double z = 0.0;
        const CKpElemLypPly* p = elem ? findStackEntry(elem, id, &z) : nullptr;
        if (!p) continue;
        const double t = p->thck();
        const double mid = z + t / 2.0;
        const int colour = MaterialColour(p->mtrl());
        if (thicks)
            elem->PlotEdgeThick(m->pMsg(), gra, 0, segment, colour, nullptr, mid * scale,
                                t * scale * (1.0 - gap));
        else
            elem->PlotPlyOrient(m->pMsg(), gra, p, mid * scale, colour);
    }
    return 0;
}

}  // namespace

extern "C" {

// ---- Erase

int LayupErasePlyDraping(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kDraping); });
}
int LayupErasePlyDrapedPattern(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kDrapedPattern); });
}
int LayupErasePlyFlatPattern(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kFlatPattern); });
}
int LayupErasePlyAngles(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kPlyAngles); });
}
int LayupEraseLayupSurfaceAngles(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kSurfaceAngles); });
}
int LayupErasePlyOutline(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kOutline); });
}
int LayupErasePlyBoundary(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kBoundary); });
}
int LayupEraseLayupElement(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kLayupElement); });
}
int LayupEraseLayupCrossSection(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kCrossSection); });
}
int LayupEraseLayupSurface(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kLayupSurface); });
}
int LayupEraseLayupPly(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kLayupPly); });
}
int LayupEraseLayupExploded(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kExploded); });
}
int LayupEraseOrients(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kOrients); });
}
int LayupEraseLamThicks(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kLamThicks); });
}
int LayupEraseLamOrients(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kLamOrients); });
}
int LayupEraseLayupSolid(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kLayupSolid); });
}
int LayupEraseLayupThick(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kLayupThick); });
}
int LayupEraseLayupThicks(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kLayupThicks); });
}
int LayupEraseLayupOrients(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kLayupOrients); });
}
int LayupEraseLamSurface(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kLamSurface); });
}
int LayupEraseLamSolid(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kLamSolid); });
}
int LayupEraseLamThick(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kLamThick); });
}
int LayupEraseLamElement(void) {
    return guard_export(__func__, -1, [&]() -> int { return erase(kLamElement); });
}
int LayupEraseElems(int segment) {
    return guard_export(__func__, -1, [&]() -> int { return erase(segment); });
}
int LayupEraseElemEdges(void) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        return m->EraseElemEdges();
    });
}

// ---- Plies

int LayupPlotPlyDrapedPattern(const char* plyName, int mode) {
    return guard_export(__func__, -1,
                        [&]() -> int { return plotPly(plyName, PlyPlot::DrapedPattern, mode); });
}
int LayupPlotPlyFlatPattern(const char* plyName) {
    return guard_export(__func__, -1,
                        [&]() -> int { return plotPly(plyName, PlyPlot::FlatPattern, 0); });
}
int LayupPlotPlyOutline(const char* plyName) {
    return guard_export(__func__, -1,
                        [&]() -> int { return plotPly(plyName, PlyPlot::Outline, 0); });
}
int LayupPlotPlyBoundary(const char* plyName) {
    return guard_export(__func__, -1,
                        [&]() -> int { return plotPly(plyName, PlyPlot::Boundary, 0); });
}

int LayupPlotPlyAngles(int, const char* plyName) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        bool noStore = false;
        IVekPly* ply = findPly(m, plyName, &noStore);
        if (!ply) return noStore ? 1 : 2;
        VekTList<int> ids;
        VekTList<double> mids, warps, wefts, sizes;
        if (ply->GetOrientations(ids, mids, warps, wefts, sizes) != 0) return 3;
        const int type = static_cast<int>(ply->GetType());
        CKpGra* gra = m->pGra();
        const int n = ids.GetSize();
        if (mids.GetSize() < 3 * n || warps.GetSize() < 3 * n || wefts.GetSize() < 3 * n ||
            sizes.GetSize() < n)
            return 3;
        for (int k = 0; k < n; ++k) {
            const double* c = mids.GetData() + 3 * k;
            const double* w = warps.GetData() + 3 * k;
            const double* f = wefts.GetData() + 3 * k;
            const double size = sizes[k];
            float a[3], b[3];
            if (type == 1) {
                toFloats(c[0], c[1], c[2], a);
                gra->GraDrawMarker(kPlyAngles, ids[k], 1, 0.0f, a, 1, 5);
                continue;
            }
            if (type < 2 || type > 5) continue;
            const double hw = size / 2.0;
            toFloats(c[0] - hw * w[0], c[1] - hw * w[1], c[2] - hw * w[2], a);
            toFloats(c[0] + hw * w[0], c[1] + hw * w[1], c[2] + hw * w[2], b);
            gra->GraDrawLine(kPlyAngles, ids[k], 1, 0.0f, a, b);
            if (type == 2 || type == 4) continue;
            const double hf = size / 4.0;
            toFloats(c[0] - hf * f[0], c[1] - hf * f[1], c[2] - hf * f[2], a);
            toFloats(c[0] + hf * f[0], c[1] + hf * f[1], c[2] + hf * f[2], b);
            gra->GraDrawLine(kPlyAngles, ids[k], 4, 0.0f, a, b);
        }
        return 0;
    });
}

int LayupPlotLayupSurfaceAngles(void) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        PlotSurfaceAngles(m->pMsg(), m->pGra(), m->pElems());
        return 0;
    });
}

// ---- Elements

int LayupPlotElems(int count, int* ids, float* offset, int mode, int colour, int segment) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        if (m->RestoreAndSelectArea(count, ids) != 0) return -1;
        double shift[3];
        if (offset)
            for (int i = 0; i < 3; ++i) shift[i] = offset[i];
        PlotElems(m->pMsg(), m->pGra(), m->pElems(), m->pFacs(), 0, offset ? shift : nullptr, mode,
                  colour, segment);
        return 0;
    });
}

int LayupPlotElemEdges(int all) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        return m->PlotElemEdges(all);
    });
}

// ---- Layups

int LayupPlotLayupElement(int elemId, int, int orients, int thicks, float scale, float gap) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpElem* elem = m->pElems() ? m->pElems()->find(elemId) : nullptr;
        if (!elem) return -1;
        PlotLayupElement(m->pMsg(), m->pGra(), elem, orients, thicks, scale, gap);
        return 0;
    });
}

int LayupPlotLayupCrossSection(float* point, float* direction, float distance, float scale,
                               float gap) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpMsg* msg = m->pMsg();
        if (!point || !direction) {
            msg->Create(4, "Missing cross-section point or direction.");
            return -1;
        }
        // 1. The cutting plane: unit normal d through point + distance x d.
        CKpDirn d;
        d.Set(direction[0], direction[1], direction[2]);
        d.unitize();
        if (d.IsNull()) {
            msg->Create(2, "Cross-section direction is zero.");
            return 0;
        }
        const double s0 = scale, g = gap;
        CKpPoint origin;
        origin.Set(point[0] + distance * d.getx(), point[1] + distance * d.gety(),
                   point[2] + distance * d.getz());
        CKpPlane plane;
        plane.a = d.getx();
        plane.b = d.gety();
        plane.c = d.getz();
        plane.d = -(d.getx() * origin.getx() + d.gety() * origin.gety() + d.getz() * origin.getz());

        CKpGra* gra = m->pGra();
        gra->select_segment(kCrossSection);
        CKpFacetStore* facets = m->pFacs();
        if (!facets) return 0;
        for (int f = 0; f < facets->entries(); ++f) {
            const CKpFacet* facet = facets->pFac(f);
            if (!facet) continue;
            // 2. Edge points within the edges; only a clean cut of two counts.
            CKpPoint x[3];
            int hits = 0;
            bool complete = true;
            for (int e = 0; e < 3 && complete; ++e) {
                const CKpPoint* a = facet->getCKpPoint(e);
                const CKpPoint* b = facet->getCKpPoint(CKpFacet::GetNextVertex(e));
                if (!a || !b) {
                    complete = false;
                    break;
                }
                CKpLine edge;
                edge.Set2Points(a, b);
                CKpPoint hit;
                if (int_line_edge(edge, plane, &hit) == 1) x[hits++] = hit;
            }
            if (!complete || hits != 2) continue;
            // 4. s in the cutting plane with s . n = 1; a facet parallel to the
            // plane has none and would draw NaN lines.
            CKpDirn n, c, s;
            facet->GetNormal(&n);
            c.setCrossProduct(&n, &d);
            s.setCrossProduct(&d, &c);
            const double sn = s.DotProduct(&n);
            if (sn == 0.0) continue;
            s.Scale(1.0 / sn);
            // 3. The section line.
            gra->select_pen(7, 0.0);
            gra->MoveTo3d(&x[0]);
            gra->LineTo3d(&x[1]);
            // 5. The plies of the facet's element, bottom and top lines each.
            const CKpElem* elem = facet->getElement();
            const CKpElemLypPlyStore* stack = elem ? elem->getElemLypPlies() : nullptr;
            if (!stack) continue;
            double z = elem->off();
            for (const CKpElemLypPly* p = stack->First(); p; p = stack->Next(p)) {
                const double t = p->thck();
                const double mid = z + t / 2.0;
                const double half = t * s0 * (1.0 - g) / 2.0;
                gra->select_pen(MaterialColour(p->mtrl()), 0.0);
                for (const double at : {s0 * mid - half, s0 * mid + half}) {
                    const CKpPoint a = moved(x[0], s, at), b = moved(x[1], s, at);
                    gra->MoveTo3d(&a);
                    gra->LineTo3d(&b);
                }
                z = mid + t / 2.0;
            }
        }
        return 0;
    });
}

int LayupPlotLayupSurface(void) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        return plotSurface(m, 0, kLayupSurface);
    });
}

int LayupPlotLayupPly(int layupPlyId, int colour) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        if (!m->pLyp()->LypPlys().find(layupPlyId)) {
            m->pMsg()->Create(4, "Could not find specified layup ply.");
            return -1;
        }
        CKpElemStore* elems = m->pElems();
        if (!elems) return 0;
        std::vector<float> xyz;
        CVekObjectStoreIterator<CKpElem> it(*elems);
        while (++it) {
            const CKpElem* elem = it.key();
            double z = 0.0;
            const CKpElemLypPly* p = elem ? findStackEntry(elem, layupPlyId, &z) : nullptr;
            if (!p) continue;
            z += p->thck() / 2.0;
            CKpPoint mid;
            CKpDirn normal, ref;
            double area = 0.0;
            if (CalcElementData2(m->pMsg(), elem, &mid, &normal, &ref, &area) != 0) continue;
            const int n = elem->getnnod();
            xyz.assign(3 * static_cast<size_t>(n), 0.0f);
            bool linked = true;
            for (int i = 0; i < n && linked; ++i) {
                const CKpNode* node = elem->getckpnodes(i);
                if (!node) {
                    linked = false;
                    break;
                }
                moved(*node->getCKpPoint(), normal, z).fvals(&xyz[3 * static_cast<size_t>(i)]);
            }
            if (linked)
                m->pGra()->GraDrawPolygon(kLayupPly, elem->id(), colour, 0.0f, n, xyz.data());
        }
        return 0;
    });
}

int LayupPlotLayupExploded(int layupPlyId, float* offset, int mode, int colour) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpMsg* msg = m->pMsg();
        CKpLypPly* lypPly = m->pLyp()->LypPlys().find(layupPlyId);
        if (!lypPly) {
            msg->Create(4, "Could not find specified layup ply.");
            return -1;
        }
        CKpPly* ply = m->pPlys() ? m->pPlys()->find(lypPly->lyrid()) : nullptr;
        if (!ply) {
            msg->Create(4, "Could not find specified ply.");
            return -1;
        }
        const int n = ply->GetNumElements();
        if (n < 1) {
            msg->Create(1, "Ply has no elements.");
            return 0;
        }
        std::vector<int> ids;
        try {
            ids.resize(static_cast<size_t>(n));
        } catch (const std::bad_alloc&) {
            msg->Create(4, "Could not allocate memory.");
            return -1;
        }
        if (ply->GetElementIdsOrders(n, ids.data(), nullptr) != 0) return 0;
        LayupPlotElems(n, ids.data(), offset, mode, colour, kExploded);
        return 0;
    });
}

int LayupPlotOrients(int count, char** names) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpGra* gra = m->pGra();
        gra->select_segment(kOrients);
        CKpOrientStore* orients = m->pOrients();
        CKpElemStore* elems = m->pElems();
        if (count < 1 || !names || !orients || !elems) return 0;
        for (int i = 0; i < count; ++i) {
            const CKpOrient* orient = names[i] ? orients->findByName(names[i]) : nullptr;
            if (!orient) continue;
            CVekObjectStoreIterator<CKpElem> it(*elems);
            while (++it) {
                const CKpElem* elem = it.key();
                if (elem && elem->pOrient() == orient)
                    elem->plotOrient(m->pMsg(), gra, 0, 1, elem->theta(), 0, 0.0, 0.0);
            }
        }
        return 0;
    });
}

int LayupPlotLayupThicks(int layupPlyId, float scale, float gap) {
    return guard_export(__func__, -1,
                        [&]() -> int { return plotLayupPlyStack(layupPlyId, scale, gap, true); });
}

int LayupPlotLayupOrients(int layupPlyId, float scale) {
    return guard_export(__func__, -1,
                        [&]() -> int { return plotLayupPlyStack(layupPlyId, scale, 0.0, false); });
}

// ---- Laminates

int LayupPlotLamThicks(int nLams, char** names, int nLayers, int* layers, float scale, float gap) {
    return guard_export(__func__, -1, [&]() -> int {
        return plotLamLayers(nLams, names, nLayers, layers, scale, gap, true);
    });
}

int LayupPlotLamOrients(int nLams, char** names, int nLayers, int* layers, float scale) {
    return guard_export(__func__, -1, [&]() -> int {
        return plotLamLayers(nLams, names, nLayers, layers, scale, 0.0, false);
    });
}

int LayupPlotLamSurface(void) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        return plotSurface(m, 1, kLamSurface);
    });
}

int LayupPlotLamElement(int elemId, int, int orients, int thicks, float scale, float gap) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        const CKpElem* elem = m->pElems() ? m->pElems()->find(elemId) : nullptr;
        CKpLam* lam = elem && m->pLams() ? m->pLams()->find(elem->pid()) : nullptr;
        if (!lam) return -1;
        CKpMsg* msg = m->pMsg();
        CKpGra* gra = m->pGra();
        gra->select_segment(kLamElement);
        const CKpLamLyrStore* lyrs = lam->LamLyrs();
        if (!lyrs || !lyrs->First()) return 0;
        for (int pass = 0; pass < 2; ++pass) {
            if ((pass == 0 && !orients) || (pass == 1 && !thicks)) continue;
            double z = lam->z0();
            for (const CKpLamLyr* lyr = lyrs->First(); lyr; lyr = lyrs->Next(lyr)) {
                const CKpMat* mat = layerMaterial(m, lyr);
                if (!mat) return -1;
                const int colour = MaterialColour(mat->id());
                const double t = lyr->t();
                const double mid = z + t / 2.0;
                if (pass == 0)
                    elem->plotOrient(msg, gra, 0, colour, elem->theta() + lyr->theta(), 0, 0.0,
                                     mid * scale);
                else
                    elem->PlotEdgeThick(msg, gra, 0, kLamElement, colour, nullptr, mid * scale,
                                        t * scale * (1.0 - gap));
                z = mid + t / 2.0;
            }
        }
        return 0;
    });
}

// ---- Nothing drawn

int LayupPlotLayupSolid(void) {
    return 0;
}
int LayupPlotLayupThick(void) {
    return 0;
}
int LayupPlotLamSolid(void) {
    return 0;
}
int LayupPlotLamThick(void) {
    return 0;
}

}  // extern "C"
