#include "layuplib/CreateElementLookupTable.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemRef.h"
#include "layuplib/CKpElemRefStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetIntPts.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpSortStore.h"
#include "layuplib/CalcElementData2.h"
#include "layuplib/EntityGraphSearch.h"
#include "layuplib/angle_util.h"
#include "layuplib/facet_query.h"
#include "layuplib/geom_util.h"
#include "layuplib/num_util.h"
#include "layuplib/store_or_free.h"
#include "layuplib/surface_div.h"

namespace {

// Progress lines name ids that are multiples of 1000, tested in single
// precision as the messages always were.
bool everyThousand(int id) {
    return std::fmod(static_cast<float>(id), 1000.0f) == 0.0f;
}

double coord(const CKpPoint* p, int axis) {
    return axis == 0 ? p->getx() : axis == 1 ? p->gety() : p->getz();
}

double comp(const CKpTriplet& d, int axis) {
    return axis == 0 ? d.getx() : axis == 1 ? d.gety() : d.getz();
}

// Adds a reference from source element `s` to destination element `e`,
// unless one exists (then `exists` is reported with both ids).
void addRef(CKpMsg* msg, CKpElem* s, CKpElem* e, double angle, int flag, const char* exists) {
    CKpElemRefStore* refs = s->pElemRefs();
    if (!refs) return;
    if (refs->find(e->id())) {
        if (msg) msg->Create(1, exists, e->id(), s->id());
        return;
    }
    CKpElemRef* ref = new (std::nothrow) CKpElemRef(e, angle, flag);
    if (!ref) return;
    store_or_free(refs, ref, msg, "element reference");
}

double nearest(const CKpFacetIntPts& hits) {
    return hits.GetNumPts() > 0 ? hits.GetDist(0) : 1e12;
}

// The six condition tables of the piercing: facet minima (side 0) and
// maxima (side 1) along each axis, ascending.
struct AxisTables {
    CKpSortStore table[3][2];
};

// A uniform grid over the facets' boxes: each facet is listed in every cell
// its box touches. It finds the facets whose boxes overlap a query box in
// time proportional to what is near it, where the per-axis tables alone
// leave a large share of the mesh (every element away from the mesh's rim).
class FacetGrid {
  public:
    void build(const std::vector<double>& box, int nf) {
        if (nf <= 0) return;
        double hi[3], mean = 0.0;
        for (int a = 0; a < 3; ++a) lo_[a] = 1e300, hi[a] = -1e300;
        for (int f = 0; f < nf; ++f) {
            const double* b = &box[6 * static_cast<size_t>(f)];
            double size = 0.0;
            for (int a = 0; a < 3; ++a) {
                lo_[a] = std::min(lo_[a], b[2 * a]);
                hi[a] = std::max(hi[a], b[2 * a + 1]);
                size = std::max(size, b[2 * a + 1] - b[2 * a]);
            }
            mean += size;
        }
        mean /= nf;
        double h = mean > 0.0 ? 2.0 * mean : 1.0;
        // At most about four cells per facet.
        for (;;) {
            double cells = 1.0;
            for (int a = 0; a < 3; ++a) cells *= std::floor((hi[a] - lo_[a]) / h) + 1.0;
            if (cells <= 4.0 * nf + 64.0) break;
            h *= 1.5;
        }
        for (int a = 0; a < 3; ++a) {
            inv_[a] = 1.0 / h;
            n_[a] = static_cast<int>(std::floor((hi[a] - lo_[a]) / h)) + 1;
        }
        const size_t cells = static_cast<size_t>(n_[0]) * n_[1] * n_[2];
        start_.assign(cells + 1, 0);
        for (int pass = 0; pass < 2; ++pass) {
            if (pass == 1) {
                for (size_t c = 0; c < cells; ++c) start_[c + 1] += start_[c];
                items_.resize(static_cast<size_t>(start_[cells]));
                fill_.assign(start_.begin(), start_.end() - 1);
            }
            for (int f = 0; f < nf; ++f) {
                int r0[3], r1[3];
                range(&box[6 * static_cast<size_t>(f)], r0, r1);
                for (int z = r0[2]; z <= r1[2]; ++z)
                    for (int y = r0[1]; y <= r1[1]; ++y)
                        for (int x = r0[0]; x <= r1[0]; ++x) {
                            const size_t c = cell(x, y, z);
                            if (pass == 0)
                                ++start_[c + 1];
                            else
                                items_[static_cast<size_t>(fill_[c]++)] = f;
                        }
            }
        }
        stamp_.assign(static_cast<size_t>(nf), 0);
    }

    // The facets whose boxes overlap [lower, upper] (the six conditions),
    // ascending by index, into `out`.
    void query(const std::vector<double>& box, const double lower[3], const double upper[3],
               std::vector<int>& out) {
        out.clear();
        if (n_[0] == 0) return;
        ++mark_;
        double q[6] = {lower[0], upper[0], lower[1], upper[1], lower[2], upper[2]};
        int r0[3], r1[3];
        range(q, r0, r1);
        for (int z = r0[2]; z <= r1[2]; ++z)
            for (int y = r0[1]; y <= r1[1]; ++y)
                for (int x = r0[0]; x <= r1[0]; ++x) {
                    const size_t c = cell(x, y, z);
                    for (int k = start_[c]; k < start_[c + 1]; ++k) {
                        const int f = items_[static_cast<size_t>(k)];
                        if (stamp_[static_cast<size_t>(f)] == mark_) continue;
                        stamp_[static_cast<size_t>(f)] = mark_;
                        const double* b = &box[6 * static_cast<size_t>(f)];
                        if (b[0] <= upper[0] && b[1] >= lower[0] && b[2] <= upper[1] &&
                            b[3] >= lower[1] && b[4] <= upper[2] && b[5] >= lower[2])
                            out.push_back(f);
                    }
                }
        std::sort(out.begin(), out.end());
    }

  private:
    size_t cell(int x, int y, int z) const {
        return (static_cast<size_t>(z) * n_[1] + y) * n_[0] + x;
    }
    int clampCell(double v, int a) const {
        const double t = std::floor((v - lo_[a]) * inv_[a]);
        if (!(t > 0.0)) return 0;  // NaN too
        return t >= n_[a] - 1 ? n_[a] - 1 : static_cast<int>(t);
    }
    void range(const double* b, int r0[3], int r1[3]) const {
        for (int a = 0; a < 3; ++a) {
            r0[a] = clampCell(b[2 * a], a);
            r1[a] = clampCell(b[2 * a + 1], a);
        }
    }
    double lo_[3] = {0, 0, 0}, inv_[3] = {1, 1, 1};
    int n_[3] = {0, 0, 0};
    std::vector<int> start_, items_, fill_, stamp_;
    int mark_ = 0;
};

// Candidate runs up to this size are narrowed through the per-axis tables;
// larger ones come from the grid (same facets, found without a pass over
// the mesh).
constexpr int kNarrowLimit = 256;

}  // namespace

double GetValue(int axis, int side, const CKpFacet* facet) {
    if (!facet) return 0.0;
    double v = 0.0;
    for (int i = 0; i < 3; ++i) {
        const CKpPoint* p = facet->getCKpPoint(i);
        if (!p) return 0.0;
        const double c = coord(p, axis);
        if (i == 0 || (side == 0 ? c < v : c > v)) v = c;
    }
    return v;
}

int GetValid(const CKpSortStore* table, int first, int count, double bound, int side,
             int* validFirst, int* validCount, int* otherFirst, int* otherCount) {
    int vf = first, vc = 0, of = first, oc = count > 0 ? count : 0;
    if (table && count > 0) {
        const int last = first + count - 1;
        if (side == 0) {
            if (table->GetValue(first) > bound) {
                // none valid
            } else if (table->GetValue(last) <= bound) {
                vc = count, of = first + count, oc = 0;
            } else {
                int lo = first, hi = last;
                while (hi - lo > 1) {
                    const int mid = lo + (hi - lo + 1) / 2;
                    if (table->GetValue(mid) <= bound)
                        lo = mid;
                    else
                        hi = mid;
                }
                vc = hi - first, of = hi, oc = first + count - hi;
            }
        } else {
            if (bound > table->GetValue(last)) {
                // none valid
            } else if (table->GetValue(first) >= bound) {
                vc = count, of = first + count, oc = 0;
            } else {
                int lo = first, hi = last;
                while (hi - lo > 1) {
                    const int mid = lo + (hi - lo) / 2;
                    if (table->GetValue(mid) >= bound)
                        hi = mid;
                    else
                        lo = mid;
                }
                vf = hi, vc = first + count - hi, of = first, oc = hi - first;
            }
        }
    }
    if (validFirst) *validFirst = vf;
    if (validCount) *validCount = vc;
    if (otherFirst) *otherFirst = of;
    if (otherCount) *otherCount = oc;
    return 0;
}

int CheckElement(CKpMsg* msg, const CKpElem* dst, const CKpElem* src, double tol) {
    if (!dst || !src) return 1;
    if (dst->id() != src->id() || dst->getgmtp() != src->getgmtp() ||
        dst->geteltp() != src->geteltp() || dst->getnnod() != src->getnnod())
        return 1;
    for (int i = 0; i < dst->getnnod(); ++i) {
        const CKpNode* a = dst->getckpnodes(i);
        const CKpNode* b = src->getckpnodes(i);
        if (!a || !b || !nearby(a->getCKpPoint(), b->getCKpPoint(), tol)) return 1;
    }
    if (msg && everyThousand(dst->id()))
        msg->Create(1, "Matching: element id %6d matches imported element id %6d", dst->id(),
                    src->id());
    return 0;
}

int GetAverageNormalByDistance(CKpElemStore* elems, CKpFacetStore* facets,
                               Layup::EntityGraphSearch* search, double distance, int elemId,
                               CKpDirn* normal) {
    if (!elems || !normal) return 1;
    CKpElem* e = elems->find(elemId);
    if (!e) return 1;
    // 2. The element itself.
    CKpDirn n;
    double area = 0.0;
    e->GetAverageNormal(&n);
    e->GetArea(&area);
    double sx = n.getx() * area, sy = n.gety() * area, sz = n.getz() * area;
    int sbdmn = 0, dnfg = 0;
    e->GetSubdomain(facets, &sbdmn, &dnfg);
    // 3. Its graph neighbourhood, only when it holds every selected
    // neighbour (else the neighbourhood is cut off by the selection).
    CVekObjectStore<CVekObject> neigh(64);
    e->GetSelNeigh(facets, neigh);
    if (neigh.entries() > 0 && search && distance > 0.0) {
        std::vector<int> ids;
        std::vector<double> lengths;
        search->GetElemCentroidsFromElemCentroid(elemId, distance, 100, ids, lengths);
        bool all = true;
        for (int k = 0; k < neigh.entries() && all; ++k)
            all = std::find(ids.begin(), ids.end(), neigh[k]->id()) != ids.end();
        if (all) {
            for (size_t k = 0; k < ids.size(); ++k) {
                CKpElem* g = elems->find(ids[k]);
                if (!g) continue;
                int gs = 0, gd = 0;
                g->GetSubdomain(facets, &gs, &gd);
                if (gs != sbdmn) continue;
                CKpDirn gn;
                double ga = 0.0;
                if (g->GetAverageNormal(&gn) != 0 || g->GetArea(&ga) != 0) continue;
                const double w = (1.0 - lengths[k] / distance) * (gd * dnfg) * ga;
                sx += gn.getx() * w;
                sy += gn.gety() * w;
                sz += gn.getz() * w;
            }
        }
    }
    neigh.eraseAllObjects();
    // 4.
    const double len = std::sqrt(sx * sx + sy * sy + sz * sz);
    if (len > 0.0) sx /= len, sy /= len, sz /= len;
    normal->Set(sx, sy, sz);
    return 0;
}

int PierceSplitSides(CKpMsg* msg, CKpDirn normal, CKpDirn* offset, CKpFacetStore* facets,
                     double splitWidth, CKpLine* line, CKpPoint centre, double tmin, double tmax,
                     int all, CKpSortStore* candidates, int first, int count,
                     CKpFacetIntPts& hits) {
    if (splitWidth == 0.0) return 1;
    // 2. Two directions across the normal.
    CKpDirn u, v;
    CKpDirn x;
    x.Set(1.0, 0.0, 0.0);
    const double angle = ang_2dirns(&normal, &x);
    if (angle < kPi * 0.1 / 180.0 || angle > kPi * 179.9 / 180.0) {
        u.Set(0.0, 1.0, 0.0);
        v.Set(0.0, 0.0, 1.0);
    } else {
        u.setCrossProduct(&normal, &x);
        v.setCrossProduct(&u, &normal);
    }
    // 3. Four pairs of lines on both sides.
    const double w = std::fabs(splitWidth);
    CKpFacetIntPts a, b;
    CKpLine probe;
    CKpDirn o;
    for (int i = 0; i < 4; ++i) {
        const double t = i * kPi / 4.0;
        o.Set((std::cos(t) * v.getx() + std::sin(t) * u.getx()) * w,
              (std::cos(t) * v.gety() + std::sin(t) * u.gety()) * w,
              (std::cos(t) * v.getz() + std::sin(t) * u.getz()) * w);
        probe.u = normal;
        probe.P.Set(centre.getx() + o.getx(), centre.gety() + o.gety(), centre.getz() + o.getz());
        if (CalcAllPointsFacetsRay(msg, facets, probe, tmin, tmax, all, candidates, first, count,
                                   a) != 0)
            continue;
        probe.P.Set(centre.getx() - o.getx(), centre.gety() - o.gety(), centre.getz() - o.getz());
        if (CalcAllPointsFacetsRay(msg, facets, probe, tmin, tmax, all, candidates, first, count,
                                   b) != 0)
            continue;
        if (nearest(a) < nearest(hits)) hits.Set(a);
        if (nearest(b) < nearest(hits)) hits.Set(b);
    }
    if (offset) *offset = o;
    if (line) *line = probe;
    return 0;
}

int CreateElementLookupTablePiercing(CKpMsg* msg, CKpNodeStore* dstNodes, CKpElemStore* dstElems,
                                     CKpFacetStore* dstFacets, CKpNodeStore* /*srcNodes*/,
                                     CKpElemStore* srcElems, CKpFacetStore* srcFacets,
                                     double distance, double angle, int normalCalc,
                                     double splitWidth) {
    if (!dstElems || !srcElems || !srcFacets) return -1;
    // 1. The graph for normals by distance, and the split cover.
    std::unique_ptr<Layup::EntityGraphSearch> search;
    if (normalCalc == 3) {
        if (msg) msg->Create(1, "Setting up search for calculating average normals by distance.");
        search.reset(new (std::nothrow) Layup::EntityGraphSearch());
        if (!search || SetupSearch(dstNodes, dstElems, search.get()) != 0) {
            if (msg) msg->Create(2, "Could not set up search for calculating average normals.");
            search.reset();
        }
    }
    const bool splits = splitWidth > 0.0;
    if (splits && msg) msg->Create(1, "Covering splits of width %16.8G", splitWidth);

    // 2. Source elements matched by mapping are not pierced again.
    surface_select_all(srcElems, srcFacets);
    for (int k = 0; k < srcElems->entries(); ++k) {
        CKpElem* s = (*srcElems)[k];
        if (s && s->GetNumElemRefs() > 0) s->setSltd(0);
    }

    // 3. The six condition tables and the working table.
    const int nf = srcFacets->entries();
    AxisTables tables;
    CKpSortStore work;
    for (int a = 0; a < 3; ++a)
        for (int side = 0; side < 2; ++side) {
            CKpSortStore& t = tables.table[a][side];
            if (t.Create(nf) != 0) return -1;
            for (int f = 0; f < nf; ++f)
                t.SetIndexValue(f, f, GetValue(a, side, srcFacets->pFac(f)));
            t.Sort(0, nf);
        }
    if (work.Create(nf) != 0) return -1;
    // Each facet's box once, for the flag pass and the narrowing below.
    std::vector<double> box;
    try {
        box.resize(6 * static_cast<size_t>(nf));
    } catch (const std::bad_alloc&) {
        return -1;
    }
    for (int f = 0; f < nf; ++f)
        for (int a = 0; a < 3; ++a)
            for (int side = 0; side < 2; ++side)
                box[6 * static_cast<size_t>(f) + 2 * a + side] =
                    GetValue(a, side, srcFacets->pFac(f));
    FacetGrid grid;
    std::vector<int> near;
    try {
        grid.build(box, nf);
    } catch (const std::bad_alloc&) {
        return -1;
    }

    CKpFacetIntPts hits;
    // 4. Each selected destination element in ascending id order.
    for (int i = 0; i < dstElems->entries(); ++i) {
        CKpElem* e = (*dstElems)[i];
        if (!e || !e->getSltd()) continue;
        const int eid = e->id();
        bool matched = false;
        CKpPoint c;
        CKpDirn n, ref;
        double area = 0.0;
        if (CalcElementData2(msg, e, &c, &n, &ref, &area) == 0) {
            double reach = distance;
            // 4.2 The chosen normal, with the reach kept along the element's.
            if (normalCalc != 0) {
                CKpDirn m;
                int status = 1;
                if (normalCalc == 2)
                    status = e->GetSelNeighAverageNormal(dstFacets, &m);
                else if (normalCalc == 3)
                    status = search ? GetAverageNormalByDistance(dstElems, dstFacets, search.get(),
                                                                 distance, eid, &m)
                                    : 1;
                else
                    status = e->GetAverageNormal(&m);
                const double mn = m.getx() * n.getx() + m.gety() * n.gety() + m.getz() * n.getz();
                if (status == 0 && mn != 0.0) {
                    n = m;
                    reach = distance / mn;
                }
            }
            // A normal turned past 90 degrees would give a negative reach:
            // the line still runs both ways by its length.
            reach = std::fabs(reach);
            // 4.3 The box around the line.
            double lower[3], upper[3];
            for (int a = 0; a < 3; ++a) {
                const double na = comp(n, a);
                double half = std::fabs(na * reach);
                if (splits) half += std::sqrt(std::max(0.0, 1.0 - na * na)) * splitWidth;
                lower[a] = comp(c, a) - half;
                upper[a] = comp(c, a) + half;
            }
            // 4.4 Quick rejection.
            bool outside = nf == 0;
            for (int a = 0; a < 3 && !outside; ++a)
                outside = tables.table[a][0].GetMinValue() > upper[a] ||
                          lower[a] > tables.table[a][1].GetMaxValue();
            if (!outside) {
                // 4.5 The six conditions by ascending count.
                struct Cond {
                    int axis, side, first, count;
                    double bound;
                } cond[6];
                for (int a = 0; a < 3; ++a)
                    for (int side = 0; side < 2; ++side) {
                        Cond& k = cond[2 * a + side];
                        k.axis = a, k.side = side;
                        k.bound = side == 0 ? upper[a] : lower[a];
                        GetValid(&tables.table[a][side], 0, nf, k.bound, side, &k.first, &k.count,
                                 nullptr, nullptr);
                    }
                for (int p = 0; p < 5; ++p)
                    for (int q = p + 1; q < 6; ++q)
                        if (cond[p].count > cond[q].count) std::swap(cond[p], cond[q]);
                CKpLine line;
                line.P = c;
                line.u = n;
                int status = -1;

                int first = 0, count = 0;
                if (cond[0].count > kNarrowLimit) {
                    // Many facets meet the most selective condition: the
                    // grid gives those that meet all six directly.
                    grid.query(box, lower, upper, near);
                    count = static_cast<int>(near.size());
                    for (int k = 0; k < count; ++k)
                        work.SetIndexValue(k, near[static_cast<size_t>(k)], 0.0);
                } else {
                    // 4.6 The most selective condition's run, narrowed by
                    // the other five in turn.
                    const CKpSortStore& t0 = tables.table[cond[0].axis][cond[0].side];
                    count = cond[0].count;
                    for (int k = 0; k < count; ++k)
                        work.SetIndexValue(k, t0.GetIndex(cond[0].first + k), 0.0);
                    for (int j = 1; j < 6 && count > 0; ++j) {
                        for (int k = 0; k < count; ++k)
                            work.SetValue(k, box[6 * static_cast<size_t>(work.GetIndex(k)) +
                                                 2 * cond[j].axis + cond[j].side]);
                        work.Sort(0, count);
                        int vf = 0, vc = 0;
                        GetValid(&work, 0, count, cond[j].bound, cond[j].side, &vf, &vc, nullptr,
                                 nullptr);
                        if (vf > 0)
                            for (int k = 0; k < vc; ++k)
                                work.SetIndexValue(k, work.GetIndex(vf + k), work.GetValue(vf + k));
                        count = vc;
                    }
                }
                if (count > 0) {
                    status = CalcAllPointsFacetsRay(msg, srcFacets, line, -reach, reach, 0, &work,
                                                    first, count, hits);
                    if (status != 0 && splits) {
                        hits.Clear();
                        CKpDirn offset;
                        CKpLine tried;
                        PierceSplitSides(msg, n, &offset, srcFacets, splitWidth, &tried, c, -reach,
                                         reach, 0, &work, first, count, hits);
                        status = hits.GetNumPts() > 0 ? 0 : -1;
                    }
                }
                // 4.7 Every hit within reach and angle.
                if (status == 0) {
                    for (int h = 0; h < hits.GetNumPts(); ++h) {
                        int fi = -1;
                        CKpPoint point;
                        if (hits.GetPt(h, &fi, &point) != 0) continue;
                        CKpFacet* facet = srcFacets->pFac(fi);
                        CKpElem* s = facet ? facet->getElement() : nullptr;
                        if (!s) continue;
                        CKpPoint sc;
                        CKpDirn sn, sref;
                        double sa = 0.0;
                        if (CalcElementData2(msg, s, &sc, &sn, &sref, &sa) != 0) continue;
                        const double b = ang_2dirns(&n, &sn);
                        if (hits.GetDist(h) < reach && (b <= angle || b >= kPi - angle)) {
                            const double rot = ang_dn_elem(msg, sref, n, ref);
                            addRef(msg, s, e, rot, b <= angle ? 1 : -1,
                                   "Piercing: reference to destination element %6d from source "
                                   "element %d already exists.");
                            matched = true;
                            if (msg && everyThousand(eid))
                                msg->Create(1,
                                            "Piercing: element id %6d matches imported element id "
                                            "%6d at point [%16G,%16G,%16G]",
                                            eid, s->id(), point.getx(), point.gety(), point.getz());
                        } else if (msg && everyThousand(eid)) {
                            msg->Create(1, "Piercing: element id %6d has no match within tolerance",
                                        eid);
                        }
                    }
                }
            }
        }
        // 4.8
        if (!matched && msg && everyThousand(eid))
            msg->Create(1, "Piercing: element id %6d has no match", eid);
    }
    if (msg) msg->Create(1, "Calculated lookup table by piercing.");
    return 0;
}

int CreateElementLookupTable(CKpMsg* msg, CKpNodeStore* dstNodes, CKpElemStore* dstElems,
                             CKpFacetStore* dstFacets, CKpNodeStore* srcNodes,
                             CKpElemStore* srcElems, CKpFacetStore* srcFacets, double tolDistance,
                             double tolAngle, int normalCalc, double splitWidth, int* unmatched) {
    int count = 0;
    if (unmatched) *unmatched = 0;
    if (!dstElems || !srcElems) return 0;
    // 1. Matching tolerance from the destination's element size.
    const double t = 0.001 * std::sqrt(std::max(0.0, dstElems->GetAverageArea(msg)));
    // 2.-3. A merge walk over both meshes by ascending id.
    int j = 0;
    const int ns = srcElems->entries();
    for (int i = 0; i < dstElems->entries(); ++i) {
        CKpElem* d = (*dstElems)[i];
        if (!d || d->id() == 0) break;
        if (!d->getSltd()) continue;
        while (j < ns && (*srcElems)[j] && (*srcElems)[j]->id() < d->id()) ++j;
        CKpElem* s = j < ns ? (*srcElems)[j] : nullptr;
        if (s && s->id() == d->id() && CheckElement(msg, d, s, t) == 0) {
            addRef(msg, s, d, 0.0, 1,
                   "Mapping: reference to destination element %6d from source element %d already "
                   "exists.");
            d->setSltd(0);
        } else {
            ++count;
        }
    }
    if (unmatched) *unmatched = count;
    // 4.
    if (count == 0) return 0;
    if (msg)
        msg->Create(1, "%d elements are unmatched, creating lookup element table by piercing",
                    count);
    // 5. Distance: absolute when negative, else a percentage of the extent.
    double distance;
    if (tolDistance < 0.0) {
        distance = -tolDistance;
    } else {
        double x0, x1, y0, y1, z0, z1;
        if (!dstNodes || dstNodes->GetBounds(&x0, &x1, &y0, &y1, &z0, &z1) != 0) return -1;
        distance = RatPct(tolDistance) * std::max({x1 - x0, y1 - y0, z1 - z0});
    }
    // 6. Angle, at most pi/2.
    double angle = std::fabs(tolAngle);
    if (angle > kPi / 2.0) {
        if (msg)
            msg->Create(2,
                        "Angle tolerance is %g radians, resetting to the maximum allowable value "
                        "of %g radians.",
                        angle, kPi / 2.0);
        angle = kPi / 2.0;
    }
    // 7.
    if (distance == 0.0 || angle == 0.0) {
        if (msg)
            msg->Create(2,
                        "Piercing distance tolerance is %g, angular tolerance is %g radians. As "
                        "one or more import tolerances are zero, ignoring piercing",
                        distance, angle);
        return 0;
    }
    if (msg)
        msg->Create(1,
                    "Piercing distance tolerance is %g, angular tolerance is %g radians, normal "
                    "calculation %d",
                    distance, angle, normalCalc);
    CreateElementLookupTablePiercing(msg, dstNodes, dstElems, dstFacets, srcNodes, srcElems,
                                     srcFacets, distance, angle, normalCalc, splitWidth);
    return 0;
}
