#include "layuplib/cmpLam.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/angle_util.h"

namespace {

// Process-wide comparison tolerances: thickness in percent, angle in radians.
double g_thickPct = 0.0;
double g_angTol = 0.0;

const CKpLam* lamAt(const void* p) {
    return p ? *static_cast<const CKpLam* const*>(p) : nullptr;
}

// The comparison, written once for two views of a laminate: straight on its
// layer list (single comparisons), and on a contiguous copy of its values
// (sorting, where walking millions of scattered layers would dominate).
// A view gives: valid(), blank(), thick() (total thickness), z0() (the
// stored offset), count(), id(), and a layer cursor begin() / ok() / next()
// with mid(), t(), theta() at the cursor.
template <class V>
int compareViews(const V& A, const V& B) {
    // 1. Null laminates last.
    if (!A.valid()) return B.valid() ? 1 : 0;
    if (!B.valid()) return -1;

    // 2. Offset given or not.
    if (A.blank() != B.blank()) return A.blank() > B.blank() ? 1 : -1;

    // 3. Offsets within p percent of the mean thickness.
    const double tA = A.thick(), tB = B.thick();
    const double zA = A.blank() ? -0.5 * tA : A.z0();
    const double zB = B.blank() ? -0.5 * tB : B.z0();
    const double zTol = 0.01 * g_thickPct * 0.5 * (tA + tB);
    if (zA > zB + zTol) return 1;
    if (zB - zTol > zA) return -1;

    // 4. Layer counts.
    if (A.count() != B.count()) return A.count() > B.count() ? 1 : -1;

    // 5. Materials, a full pass first.
    for (auto x = A.begin(), y = B.begin(); A.ok(x) && B.ok(y); x = A.next(x), y = B.next(y))
        if (A.mid(x) != B.mid(y)) return A.mid(x) > B.mid(y) ? 1 : -1;

    // 6. Thicknesses within p/2 percent of the pair's mean.
    const double hi = 1.0 + 0.005 * g_thickPct, lo = 1.0 - 0.005 * g_thickPct;
    for (auto x = A.begin(), y = B.begin(); A.ok(x) && B.ok(y); x = A.next(x), y = B.next(y)) {
        const double mean = 0.5 * (A.t(x) + B.t(y));
        if (A.t(x) > hi * mean) return 1;
        if (lo * mean > A.t(x)) return -1;
    }

    // 7. Angles.
    for (auto x = A.begin(), y = B.begin(); A.ok(x) && B.ok(y); x = A.next(x), y = B.next(y)) {
        double d = A.theta(x) - B.theta(y);
        if (d > kPi || d < -kPi) d = pi_pi(d);  // pi_pi leaves [-pi, pi] as it is
        if (d > g_angTol) return 1;
        if (d < -g_angTol) return -1;
    }
    return 0;
}

template <class V>
int compareViewsId(const V& A, const V& B) {
    const int c = compareViews(A, B);
    if (c != 0 || !A.valid() || !B.valid()) return c;
    return A.id() > B.id() ? 1 : (A.id() < B.id() ? -1 : 0);
}

// A laminate as it stands.
class ListView {
  public:
    explicit ListView(const CKpLam* lam) : m_lam(lam), m_lyrs(lam ? lam->LamLyrs() : nullptr) {}
    bool valid() const { return m_lam != nullptr; }
    int blank() const { return m_lam->z0_blank(); }
    double thick() const { return m_lam->t(); }
    double z0() const { return m_lam->z0(); }
    int count() const { return m_lyrs ? m_lyrs->entries() : 0; }
    int id() const { return m_lam->id(); }
    const CKpLamLyr* begin() const { return m_lyrs ? m_lyrs->First() : nullptr; }
    bool ok(const CKpLamLyr* x) const { return x != nullptr; }
    const CKpLamLyr* next(const CKpLamLyr* x) const { return m_lyrs->Next(x); }
    int mid(const CKpLamLyr* x) const { return x->mid(); }
    double t(const CKpLamLyr* x) const { return x->t(); }
    double theta(const CKpLamLyr* x) const { return x->theta(); }

  private:
    const CKpLam* m_lam;
    const CKpLamLyrStore* m_lyrs;
};

// Copies of the compared values of many laminates, layers of all of them
// one after the other.
struct Snapshot {
    struct Lam {
        bool valid;
        int blank, count, id;
        double thick, z0;
        size_t first;  // index of its first layer
    };
    struct Layer {
        double t, theta;
        int mid;
    };
    std::vector<Lam> lams;
    std::vector<Layer> layers;  // contiguous per laminate

    // Throws std::bad_alloc when memory runs out.
    Snapshot(CKpLam* const* list, int n) {
        size_t total = 0;
        for (int i = 0; i < n; ++i) total += static_cast<size_t>(ListView(list[i]).count());
        lams.reserve(n);
        layers.reserve(total);
        for (int i = 0; i < n; ++i) {
            const ListView v(list[i]);
            Lam s{v.valid(), 0, 0, 0, 0.0, 0.0, layers.size()};
            if (v.valid()) {
                s.blank = v.blank();
                s.count = v.count();
                s.id = v.id();
                s.z0 = v.blank() ? 0.0 : v.z0();
                // Summed from 0.0 bottom first, as CKpLam::t() does, so that
                // both views give the same thickness to the last bit.
                for (const CKpLamLyr* x = v.begin(); x; x = v.next(x)) {
                    s.thick += x->t();
                    layers.push_back({x->t(), x->theta(), x->mid()});
                }
            }
            lams.push_back(s);
        }
    }
};

// One laminate of a snapshot.
class SnapView {
  public:
    SnapView(const Snapshot& snap, int i) : m_snap(snap), m_lam(snap.lams[i]) {}
    bool valid() const { return m_lam.valid; }
    int blank() const { return m_lam.blank; }
    double thick() const { return m_lam.thick; }
    double z0() const { return m_lam.z0; }
    int count() const { return m_lam.count; }
    int id() const { return m_lam.id; }
    size_t begin() const { return m_lam.first; }
    bool ok(size_t x) const { return x < m_lam.first + static_cast<size_t>(m_lam.count); }
    size_t next(size_t x) const { return x + 1; }
    int mid(size_t x) const { return m_snap.layers[x].mid; }
    double t(size_t x) const { return m_snap.layers[x].t; }
    double theta(size_t x) const { return m_snap.layers[x].theta; }

  private:
    const Snapshot& m_snap;
    const Snapshot::Lam& m_lam;
};

}  // namespace

int cmpLamSetTol(double thickPct, double angTol) {
    if (!std::isfinite(thickPct) || !std::isfinite(angTol) || thickPct < 0.0 || angTol < 0.0)
        return -1;
    g_thickPct = thickPct;
    g_angTol = angTol;
    return 0;
}

int cmpLam(const void* a, const void* b) {
    return compareViews(ListView(lamAt(a)), ListView(lamAt(b)));
}

int cmpLamId(const void* a, const void* b) {
    return compareViewsId(ListView(lamAt(a)), ListView(lamAt(b)));
}

int sortLamsId(CKpLam** lams, int n) {
    if (n < 2) return (n > 0 && !lams) ? -1 : 0;
    if (!lams) return -1;
    try {
        const Snapshot snap(lams, n);
        std::vector<int> order(static_cast<size_t>(n)), buf(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) order[i] = i;
        // Bottom-up merge sort of positions. A merge only ever takes the
        // next element of one of two runs, so whatever the comparator
        // answers, every element is placed exactly once and no index leaves
        // its run.
        int* src = order.data();
        int* dst = buf.data();
        for (int width = 1; width < n; width *= 2) {
            for (int lo = 0; lo < n; lo += 2 * width) {
                const int mid = (n - lo > width) ? lo + width : n;
                const int hi = (n - mid > width) ? mid + width : n;
                int i = lo, j = mid, k = lo;
                while (i < mid && j < hi)
                    dst[k++] = compareViewsId(SnapView(snap, src[j]), SnapView(snap, src[i])) < 0
                                   ? src[j++]
                                   : src[i++];
                while (i < mid) dst[k++] = src[i++];
                while (j < hi) dst[k++] = src[j++];
            }
            std::swap(src, dst);
            if (width > n / 2) break;  // the next width would pass n (and might overflow)
        }
        std::vector<CKpLam*> sorted(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) sorted[i] = lams[src[i]];
        std::copy(sorted.begin(), sorted.end(), lams);
    } catch (...) {
        return -1;  // the array is untouched until the last step
    }
    return 0;
}

int groupLams(CKpLam* const* sorted, int n, int* heads) {
    if (n < 1) return 0;
    if (!sorted || !heads) return -1;
    try {
        const Snapshot snap(sorted, n);
        int groups = 0, head = 0;
        for (int i = 0; i < n; ++i) {
            if (i == 0 || compareViews(SnapView(snap, head), SnapView(snap, i)) != 0) {
                head = i;
                ++groups;
            }
            heads[i] = sorted[head] ? sorted[head]->id() : 0;
        }
        return groups;
    } catch (...) {
        return -1;
    }
}
