#include "layuplib/CKpDrape.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpOln.h"
#include "layuplib/calculate_thickness.h"

namespace {
constexpr int kInitialHalfWidth = 100;
constexpr int kGrowth = 20;
// Far beyond any drape (a million steps each way); keeps the index
// arithmetic clear of overflow.
constexpr int kMaxIndex = 1000000;
}  // namespace

int dn_0_7_dn03(int code) {
    switch (code) {
        case 0:
            return 0;
        case 2:
            return 1;
        case 4:
            return 2;
        case 6:
            return 3;
        default:
            return -1;
    }
}

int dn_0_7_uv(int code, int& du, int& dv) {
    switch (code) {
        case 0:
        case 8:
            du = 1;
            dv = 0;
            break;
        case 2:
            du = 0;
            dv = 1;
            break;
        case 4:
            du = -1;
            dv = 0;
            break;
        case 6:
            du = 0;
            dv = -1;
            break;
        default:
            break;
    }
    return 0;
}

CKpDrape::CKpDrape()
    : owner(nullptr),
      cells(nullptr),
      smin(-kInitialHalfWidth),
      smax(kInitialHalfWidth),
      tmin(-kInitialHalfWidth),
      tmax(kInitialHalfWidth),
      minu(0),
      maxu(0),
      minv(0),
      maxv(0),
      count(0) {
    const size_t n = static_cast<size_t>(smax - smin + 1) * static_cast<size_t>(tmax - tmin + 1);
    cells = static_cast<CKpDrapePt**>(std::calloc(n, sizeof(CKpDrapePt*)));
    if (!cells) smin = smax = tmin = tmax = 0;
}

CKpDrape::~CKpDrape() {
    reinit();
    std::free(cells);
}

CKpDrapePt* CKpDrape::pDrapePt(int u, int v) const {
    if (!inUsed(u, v) || !inWindow(u, v)) return nullptr;
    return cells[cellIndex(u, v)];
}

int CKpDrape::pDrapePt(int u, int v, CKpDrapePt* point) {
    if (u < -kMaxIndex || u > kMaxIndex || v < -kMaxIndex || v > kMaxIndex) return -1;
    if (!inWindow(u, v)) {
        // 1. Widen only the exceeded sides, by a block beyond the index, so
        //    that a drape advancing ring by ring reallocates rarely.
        long long window[4];
        windowFor(u, v, window);
        const int nsmin = static_cast<int>(window[0]), nsmax = static_cast<int>(window[1]);
        const int ntmin = static_cast<int>(window[2]), ntmax = static_cast<int>(window[3]);
        const size_t width = static_cast<size_t>(static_cast<long>(nsmax) - nsmin + 1);
        const size_t height = static_cast<size_t>(static_cast<long>(ntmax) - ntmin + 1);
        CKpDrapePt** grown =
            static_cast<CKpDrapePt**>(std::calloc(width * height, sizeof(CKpDrapePt*)));
        if (!grown) return -1;
        if (cells) {
            for (int j = minv; j <= maxv; ++j) {
                for (int i = minu; i <= maxu; ++i) {
                    CKpDrapePt* p = cells[cellIndex(i, j)];
                    if (p)
                        grown[static_cast<size_t>(j - ntmin) * width +
                              static_cast<size_t>(i - nsmin)] = p;
                }
            }
            std::free(cells);
        }
        cells = grown;
        smin = nsmin;
        smax = nsmax;
        tmin = ntmin;
        tmax = ntmax;
    }
    // 2. Widen the used range, 3. store.
    if (u < minu) minu = u;
    if (u > maxu) maxu = u;
    if (v < minv) minv = v;
    if (v > maxv) maxv = v;
    cells[cellIndex(u, v)] = point;
    if (point) {
        point->SetId(++count);
        point->SetDrape(this);
    }
    return 0;
}

void CKpDrape::windowFor(int u, int v, long long window[4]) const {
    // Without cells the new window also covers the used range.
    window[0] = cells ? smin : minu;
    window[1] = cells ? smax : maxu;
    window[2] = cells ? tmin : minv;
    window[3] = cells ? tmax : maxv;
    if (u < window[0]) window[0] = static_cast<long long>(u) - kGrowth;
    if (u > window[1]) window[1] = static_cast<long long>(u) + kGrowth;
    if (v < window[2]) window[2] = static_cast<long long>(v) - kGrowth;
    if (v > window[3]) window[3] = static_cast<long long>(v) + kGrowth;
}

long long CKpDrape::WidenedCells(int u, int v) const {
    if (inWindow(u, v)) return 0;
    long long window[4];
    windowFor(u, v, window);
    return (window[1] - window[0] + 1) * (window[3] - window[2] + 1);
}

void CKpDrape::GetBounds(int& umin, int& umax, int& vmin, int& vmax) const {
    umin = minu;
    umax = maxu;
    vmin = minv;
    vmax = maxv;
}

int CKpDrape::GetNumSteps() const {
    int n = -minu;
    if (maxu > n) n = maxu;
    if (-minv > n) n = -minv;
    if (maxv > n) n = maxv;
    return n;
}

int CKpDrape::GetStepNumPoints(int k) {
    if (k < 0) return 0;
    if (k == 0) return 1;
    return 8 * k;
}

int CKpDrape::GetStepPointUV(int k, int i, int& u, int& v) {
    // Rings beyond the index limit have more points than an int counts.
    if (k < 0 || i < 0 || k > kMaxIndex || i >= GetStepNumPoints(k)) return -1;
    if (k == 0) {
        u = v = 0;
        return 0;
    }
    const int side = i / (2 * k);
    const int r = i - 2 * k * side;
    switch (side) {
        case 0:
            u = r - k;
            v = -k;
            break;
        case 1:
            u = k;
            v = r - k;
            break;
        case 2:
            u = k - r;
            v = k;
            break;
        default:
            u = -k;
            v = k - r;
            break;
    }
    return 0;
}

int CKpDrape::Join(int ua, int va, int ub, int vb) {
    CKpDrapePt* a = pDrapePt(ua, va);
    CKpDrapePt* b = pDrapePt(ub, vb);
    if (!a || !b) return -1;
    // Direction index from a to b; b joins back in the opposite one.
    int d;
    if (vb == va && ub == ua + 1)
        d = 0;
    else if (ub == ua && vb == va + 1)
        d = 1;
    else if (vb == va && ub == ua - 1)
        d = 2;
    else if (ub == ua && vb == va - 1)
        d = 3;
    else
        return -1;
    a->SetJoined(d, 1);
    b->SetJoined((d + 2) % 4, 1);
    return 0;
}

int CKpDrape::GetBiasJoinPoints(int ua, int va, int ub, int vb, int a[2], int b[2], int c[2],
                                int d[2], int e[2], int f[2]) {
    if (!a || !b || !c || !d || !e || !f) return -1;
    const int du = ub - ua, dv = vb - va;
    // Cell i = (e, f) with warp neighbour (a, b) and weft neighbour (c, d).
    auto cell = [&](int i, int eu, int ev, int wu, int wv, int tu, int tv) {
        e[i] = eu;
        f[i] = ev;
        a[i] = wu;
        b[i] = wv;
        c[i] = tu;
        d[i] = tv;
    };
    if ((du == 1 && dv == 1) || (du == -1 && dv == -1)) {
        cell(0, ub, va, ua, va, ub, vb);
        cell(1, ua, vb, ub, vb, ua, va);
        return 0;
    }
    if ((du == 1 && dv == -1) || (du == -1 && dv == 1)) {
        cell(0, ua, vb, ub, vb, ua, va);
        cell(1, ub, va, ua, va, ub, vb);
        return 0;
    }
    return -1;
}

int CKpDrape::GetFirstOl(int& u, int& v) const {
    for (int i = minu; i <= maxu; ++i) {
        for (int j = minv; j <= maxv; ++j) {
            if (pDrapePt(i, j)) {
                u = i;
                v = j;
                return 0;
            }
        }
    }
    return -1;
}

double CKpDrape::GetStrnOln(const CKpOln* entry) const {
    if (!entry) return 0.0;
    const CKpDrapePt* p = pDrapePt(entry->getU(), entry->getV());
    return p ? p->GetStrn() : 0.0;
}

void CKpDrape::CalculateThickness(const CKpMat* material) {
    for (int v = minv; v <= maxv; ++v)
        for (int u = minu; u <= maxu; ++u)
            if (CKpDrapePt* p = pDrapePt(u, v))
                if (p->GetThck() == 0.0) p->SetThck(calculate_thickness(material, p->GetStrn()));
}

template <typename Pick>
double CKpDrape::scanPoints(double start, Pick pick) const {
    double best = start;
    for (int v = minv; v <= maxv; ++v)
        for (int u = minu; u <= maxu; ++u)
            if (const CKpDrapePt* p = pDrapePt(u, v)) best = pick(best, *p);
    return best;
}

double CKpDrape::GetMinimumThickness() const {
    return scanPoints(1e12,
                      [](double m, const CKpDrapePt& p) { return std::fmin(m, p.GetThck()); });
}

double CKpDrape::GetMaximumThickness() const {
    return scanPoints(-1e12,
                      [](double m, const CKpDrapePt& p) { return std::fmax(m, p.GetThck()); });
}

double CKpDrape::GetMinimumStrain() const {
    return scanPoints(1e12,
                      [](double m, const CKpDrapePt& p) { return std::fmin(m, p.GetStrn()); });
}

double CKpDrape::GetMaximumStrain() const {
    return scanPoints(-1e12,
                      [](double m, const CKpDrapePt& p) { return std::fmax(m, p.GetStrn()); });
}

double CKpDrape::GetMaximumAbsoluteStrain() const {
    return scanPoints(
        -1e12, [](double m, const CKpDrapePt& p) { return std::fmax(m, std::fabs(p.GetStrn())); });
}

void CKpDrape::reinit() {
    if (cells) {
        for (int v = minv; v <= maxv; ++v) {
            for (int u = minu; u <= maxu; ++u) {
                CKpDrapePt*& cell = cells[cellIndex(u, v)];
                delete cell;
                cell = nullptr;
            }
        }
    }
    minu = maxu = minv = maxv = 0;
    count = 0;
    ClearOpenCells();
}

int CKpDrape::SameOpenCell(std::uint64_t key, const std::uint64_t* inputs, std::size_t n) const {
    if (!inputs) return 0;
    const auto it = openCells.find(key);
    if (it == openCells.end() || it->second.size() != n) return 0;
    return std::equal(inputs, inputs + n, it->second.begin()) ? 1 : 0;
}

void CKpDrape::KeepOpenCell(std::uint64_t key, const std::uint64_t* inputs, std::size_t n) {
    if (!inputs) return;
    try {
        openCells[key].assign(inputs, inputs + n);
    } catch (const std::bad_alloc&) {
        openCells.erase(key);
    }
}

void CKpDrape::ClearOpenCells() {
    openCells.clear();
}
