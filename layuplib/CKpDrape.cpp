#include "layuplib/CKpDrape.h"

#include <cstdlib>

#include "layuplib/CKpDrapePt.h"

namespace {
constexpr int kInitialHalfWidth = 100;
constexpr int kGrowth = 20;
// Far beyond any drape (a million steps each way); keeps the index
// arithmetic clear of overflow.
constexpr int kMaxIndex = 1000000;
}  // namespace

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

void CKpDrape::pDrapePt(int u, int v, CKpDrapePt* point) {
    if (u < -kMaxIndex || u > kMaxIndex || v < -kMaxIndex || v > kMaxIndex) return;
    if (!inWindow(u, v)) {
        // 1. Widen only the exceeded sides, by a block beyond the index, so
        //    that a drape advancing ring by ring reallocates rarely. Without
        //    cells the new window also covers the used range.
        int nsmin = smin, nsmax = smax, ntmin = tmin, ntmax = tmax;
        if (!cells) {
            nsmin = minu;
            nsmax = maxu;
            ntmin = minv;
            ntmax = maxv;
        }
        if (u < nsmin) nsmin = u - kGrowth;
        if (u > nsmax) nsmax = u + kGrowth;
        if (v < ntmin) ntmin = v - kGrowth;
        if (v > ntmax) ntmax = v + kGrowth;
        const size_t width = static_cast<size_t>(static_cast<long>(nsmax) - nsmin + 1);
        const size_t height = static_cast<size_t>(static_cast<long>(ntmax) - ntmin + 1);
        CKpDrapePt** grown =
            static_cast<CKpDrapePt**>(std::calloc(width * height, sizeof(CKpDrapePt*)));
        if (!grown) return;
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
}

void CKpDrape::GetBounds(int& umin, int& umax, int& vmin, int& vmax) const {
    umin = minu;
    umax = maxu;
    vmin = minv;
    vmax = maxv;
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
}
