#include "layuplib/VerifyLaminate.h"

#include <cmath>
#include <vector>

#include "host/CKpGra.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPlyCtyStore.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/angle_util.h"
#include "layuplib/find_nei.h"
#include "layuplib/num_util.h"
#include "layuplib/surface_div.h"

namespace {

const int kNumRules = 10;
const int kRecordInts = 1 + kNumRules;
const int kSegment = 705;
const int kMaxNeigh = 8;

enum Result { kNotRun = 0, kPassed = 1, kFailed = 2 };

// Thickness per direction band, relative to theta_ref: 0, +45, -45, +90.
struct Bands {
    double t[4] = {0.0, 0.0, 0.0, 0.0};
    double total() const { return t[0] + t[1] + t[2] + t[3]; }
    double min() const { return std::fmin(std::fmin(t[0], t[1]), std::fmin(t[2], t[3])); }
};

// The band of a layer at `x` from theta_ref (wrapped into -pi/2..pi/2),
// each band half-open like CKpLamLyr::GetThickAtAngle: 0, 1 (+45), 2 (-45)
// or 3 (90).
int BandOf(double x) {
    const double e = kPi / 8.0;
    if (x > -e && x <= e) return 0;
    if (x > e && x <= 3.0 * e) return 1;
    if (x > -3.0 * e && x <= -e) return 2;
    return 3;
}

Bands BandThicknesses(const CKpLam* lam, double ref) {
    const double centre[4] = {ref, ref + kPi / 4.0, ref - kPi / 4.0, ref + kPi / 2.0};
    Bands b;
    const CKpLamLyrStore* layers = lam->LamLyrs();
    if (!layers) return b;
    for (const CKpLamLyr* lyr = layers->First(); lyr; lyr = layers->Next(lyr)) {
        int band = -1;
        int hits = 0;
        for (int k = 0; k < 4; ++k) {
            if (lyr->GetThickAtAngle(centre[k], kPi / 8.0) != 0.0) {
                band = k;
                ++hits;
            }
        }
        // On a band edge rounding may give no band or two: the layer then
        // goes to the band its offset from theta_ref lies in, so that T
        // stays the thickness of the stack.
        if (hits != 1) band = BandOf(piby2_piby2(lyr->theta() - ref));
        b.t[band] += lyr->t();
    }
    return b;
}

// Global ply id of the first (or last) layer; 0 without layers.
int OuterGplyId(const CKpLam* lam, bool last) {
    const CKpLamLyrStore* layers = lam->LamLyrs();
    const CKpLamLyr* lyr = layers ? (last ? layers->Last() : layers->First()) : nullptr;
    return lyr ? lyr->gplyid() : 0;
}

// `count` exceeds the limit truncated toward zero (no overflow for any
// float; NaN never exceeded).
bool ExceedsCount(int count, float limit) {
    return static_cast<double>(count) > std::trunc(static_cast<double>(limit));
}

// The element's outline in the rule's colour and line width.
void DrawFailure(CKpGra* gra, const CKpElem* elem, int colour, float width) {
    CKpPoint corners[4];
    const int nv = elem->GetNumVertices();
    if (nv < 3 || nv > 4 || elem->GetVertices(corners) != 0) return;
    float points[12];
    for (int c = 0; c < nv; ++c) corners[c].fvals(points + 3 * c);
    gra->GraSetColor(colour);
    gra->GraDrawPolygon(kSegment, 0, colour, width, nv, points);
}

// The selected neighbours of one element with their laminates.
struct Neighbours {
    int count = 0;
    const CKpElem* elem[kMaxNeigh] = {};
    CKpLam* lam[kMaxNeigh] = {};
    int dnfg[kMaxNeigh] = {};
};

// false when the neighbours cannot be found or one has no laminate.
bool FindNeighbours(CKpLayup* model, const CKpElem* elem, Neighbours& out) {
    int n = 0;
    int ids[kMaxNeigh], edges[kMaxNeigh], dnfgs[kMaxNeigh], pids[kMaxNeigh];
    if (elem->GetSelectedNeigh(model->pMsg(), model->pFacs(), &n, ids, edges, dnfgs, pids) != 0)
        return false;
    for (int i = 0; i < n && i < kMaxNeigh; ++i) {
        if (ids[i] <= 0) continue;
        const CKpElem* other = model->pElems()->find(ids[i]);
        // Across the border of the selection lies no neighbour of the group.
        if (!other || !other->getSltd()) continue;
        CKpLam* lam = pids[i] >= 1 ? model->pLams()->find(pids[i]) : nullptr;
        if (!lam) return false;
        out.elem[out.count] = other;
        out.lam[out.count] = lam;
        out.dnfg[out.count] = dnfgs[i];
        ++out.count;
    }
    return true;
}

// Everything one element's rules read.
struct ElemCase {
    CKpLayup* model;
    CKpElem* elem;
    CKpLam* lam;
    const CKpDirn* direction;
    double thetaRef;
    Bands bands;
    Neighbours neigh;
};

bool SlopeFails(const ElemCase& c, const float* limits) {
    CKpMsg* msg = c.model->pMsg();
    CKpPoint mid;
    if (c.elem->GetMidpt(&mid) != 0) return false;
    const double T = c.bands.total();
    bool failed = false;
    for (int i = 0; i < c.neigh.count; ++i) {
        CKpPoint other;
        if (c.neigh.elem[i]->GetMidpt(&other) != 0) continue;
        CKpDirn v;
        v.set2pts(&mid, &other);
        const double dist = v.mag();
        if (dist == 0.0) {
            msg->Create(
                2, "Centroids of elements %d and %d are coincident. Skipping Slope Ratio test.",
                c.elem->id(), c.neigh.elem[i]->id());
            continue;
        }
        const double r = std::fabs(T - c.neigh.lam[i]->t()) / dist;
        const double angle = c.direction->Angle(&v);
        const float limit = (angle < kPi / 4.0 || angle > 3.0 * kPi / 4.0) ? limits[8] : limits[9];
        if (limit != 0.0f && r > 1.0 / limit) failed = true;
    }
    return failed;
}

bool DropoffFails(const ElemCase& c, const float* limits) {
    const double T = c.bands.total();
    for (int i = 0; i < c.neigh.count; ++i) {
        // A refusal (reported by the store) leaves the ids matched so far,
        // which still measure the drop-off.
        CKpPlyCtyStore common;
        common.SetCommonGplyId(c.model->pMsg(), c.lam, c.neigh.lam[i], c.neigh.dnfg[i]);
        int count = 0;
        double thick = 0.0;
        common.GetMaxDropoff(c.model->pMsg(), c.lam, count, thick);
        if (ExceedsCount(count, limits[12]) || thick > limits[13] / 100.0 * T) return true;
    }
    return false;
}

bool OuterPliesFail(const ElemCase& c) {
    const int first = OuterGplyId(c.lam, false);
    const int last = OuterGplyId(c.lam, true);
    for (int i = 0; i < c.neigh.count; ++i) {
        if (first < 1 || last < 1) return true;
        const bool same = c.neigh.dnfg[i] >= 1;
        const int nFirst = OuterGplyId(c.neigh.lam[i], !same);
        const int nLast = OuterGplyId(c.neigh.lam[i], same);
        if (first != nFirst || last != nLast) return true;
    }
    return false;
}

// Rule k on the element: true when it fails.
bool RuleFails(int k, const ElemCase& c, double angTol, double tolB, const float* limits) {
    const Bands& b = c.bands;
    const double T = b.total();
    switch (k) {
        case 0:
            return c.lam->TestSymmetry(angTol, tolB) != 0;
        case 1: {
            const double sum = b.t[1] + b.t[2];
            return sum != 0.0 && std::fabs((b.t[1] - b.t[2]) * 2.0 / sum) > tolB;
        }
        case 2:
            return b.min() < limits[4] / 100.0 * T;
        case 3:
            return b.t[0] < limits[6] / 100.0 * T;
        case 4:
            return SlopeFails(c, limits);
        case 5:
            return T > limits[10] && b.min() < limits[11] / 100.0 * T;
        case 6:
            return DropoffFails(c, limits);
        case 7:
            return OuterPliesFail(c);
        case 8:
            return b.t[0] > 0.0;
        case 9: {
            int count = 0;
            double thick = 0.0;
            c.lam->GetMaxAdjacent(c.thetaRef, 4, count, thick);
            return ExceedsCount(count, limits[18]) && thick > limits[19];
        }
        default:
            return false;
    }
}

}  // namespace

int VerifyLaminate(CKpLayup* model, int n, const int* ids, const float* direction, double angTol,
                   double tolB, const int* tests, const int* colours, const float* limits,
                   const float* widths, int* summarySize, int* summary) {
    if (!model) return -1;
    CKpMsg* msg = model->pMsg();
    const int capacity = summarySize && *summarySize > 0 ? *summarySize : 0;
    if (summarySize) *summarySize = 0;
    if (n < -1) {
        msg->Create(4, "VerifyLaminate: invalid element count %d.", n);
        return -1;
    }
    if ((n > 0 && !ids) || !direction || !tests || !colours || !limits || !widths) {
        msg->Create(4,
                    "VerifyLaminate: an element, direction, rule or parameter array is missing.");
        return -1;
    }
    if (capacity > 0 && !summary) {
        msg->Create(4, "VerifyLaminate: the summary array is missing.");
        return -1;
    }

    CKpElemStore* elems = model->pElems();
    CKpFacetStore* facs = model->pFacs();
    CKpLamStore* lams = model->pLams();
    CKpGra* gra = model->pGra();

    // 1. The element list.
    std::vector<int> list;
    try {
        if (n == -1) {
            int count = elems->entries();
            list.resize(static_cast<size_t>(count));
            if (count > 0) elems->GetAllIds(count, list.data());
        } else {
            list.assign(ids, ids + n);
        }
    } catch (...) {
        msg->Create(4, "Could not allocate memory.");
        return -1;
    }
    if (list.empty()) return 0;
    int count = static_cast<int>(list.size());
    cleanIntArray(&count, list.data());

    // 2. Selection and its neighbour relations.
    if (surface_select_elements(elems, facs, count, list.data()) != 0) return -1;
    if (find_selected_neighbour(msg, gra, facs, elems) != 0) return -1;

    const bool needNeigh = tests[4] || tests[6] || tests[7];
    CKpDirn dirn;
    dirn.Set(direction[0], direction[1], direction[2]);
    int written = 0;

    // 3. Each element.
    for (int e = 0; e < count; ++e) {
        CKpElem* elem = elems->find(list[static_cast<size_t>(e)]);
        if (!elem || !elem->getSltd()) continue;
        int record[kRecordInts] = {elem->id()};

        double projected = 0.0;
        if (elem->GetProjectedAngle(msg, dirn, &projected) != 0) {
            msg->Create(2,
                        "Direction <%g,%g,%g> cannot be projected onto element %d. Skipping "
                        "tests on this element.",
                        direction[0], direction[1], direction[2], elem->id());
            continue;
        }
        CKpLam* lam = elem->pid() >= 1 ? lams->find(elem->pid()) : nullptr;
        if (!lam) {
            msg->Create(2,
                        "Element %d does not reference a laminate. Skipping tests on this "
                        "element.",
                        elem->id());
            continue;
        }
        ElemCase c{model,   elem,        lam, &dirn, pi_pi(projected - elem->theta()),
                   Bands(), Neighbours()};
        c.bands = BandThicknesses(lam, c.thetaRef);
        if (needNeigh && !FindNeighbours(model, elem, c.neigh)) {
            msg->Create(2,
                        "The neighbours of element %d cannot be determined correctly. Skipping "
                        "tests on this element.",
                        elem->id());
            continue;
        }

        bool anyFailed = false;
        for (int k = 0; k < kNumRules; ++k) {
            if (!tests[k]) continue;
            if (RuleFails(k, c, angTol, tolB, limits)) {
                record[1 + k] = kFailed;
                anyFailed = true;
                if (k != 4) DrawFailure(gra, elem, colours[k], widths[k]);
            } else {
                record[1 + k] = kPassed;
            }
        }

        if (capacity > 0 && anyFailed) {
            if (capacity - written >= kRecordInts) {
                for (int i = 0; i < kRecordInts; ++i) summary[written + i] = record[i];
                written += kRecordInts;
            } else {
                msg->Create(2,
                            "Failure summary for element %d cannot be returned as the array "
                            "size is too small.",
                            elem->id());
            }
        }
    }

    // 4.
    if (summarySize) *summarySize = written;
    return 0;
}
