#include "layuplib/gen_flat_pat_dxf.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "layuplib/CKpBdy.h"
#include "layuplib/CKpBdyStore.h"
#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpFile.h"
#include "layuplib/CKpFlatPat.h"
#include "layuplib/CKpFlatPatPt.h"
#include "layuplib/CKpFlatPatPtStore.h"
#include "layuplib/CKpFlatPatStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/CKpPointArray.h"

namespace {

const char* text(const char* s) {
    return s ? s : "";
}

FILE* openFile(CKpMsg* log, const CKpFile* file) {
    const char* name = file ? file->GetName() : "";
    FILE* fp = std::fopen(name, "w");
    if (!fp) log->Create(4, "Could not open file '%s' for writing.", name);
    return fp;
}

void beginEntities(FILE* fp) {
    SaveDxfHeader(fp);
    SaveDxfTables(fp);
    std::fputs("0  \nSECTION\n2  \nENTITIES\n", fp);
}

// Ends the entities section and the file and closes it. 0; -1 after
// "Could not close file." when a write or the close failed.
int endFile(CKpMsg* log, FILE* fp) {
    std::fputs("0  \nENDSEC\n0  \nEOF\n", fp);
    const bool failed = std::ferror(fp) != 0;
    if (std::fclose(fp) != 0 || failed) {
        log->Create(4, "Could not close file.");
        return -1;
    }
    return 0;
}

// Degree-2 B-spline basis N_j(t) on `knots` (Cox-de Boor, half-open spans,
// 0/0 taken as 0).
double basis2(const std::vector<double>& knots, int j, double t) {
    auto n0 = [&](int k) { return knots[k] <= t && t < knots[k + 1] ? 1.0 : 0.0; };
    auto frac = [](double num, double den) { return den == 0.0 ? 0.0 : num / den; };
    auto n1 = [&](int k) {
        return frac(t - knots[k], knots[k + 1] - knots[k]) * n0(k) +
               frac(knots[k + 2] - t, knots[k + 2] - knots[k + 1]) * n0(k + 1);
    };
    return frac(t - knots[j], knots[j + 2] - knots[j]) * n1(j) +
           frac(knots[j + 3] - t, knots[j + 3] - knots[j + 1]) * n1(j + 1);
}

}  // namespace

// ---------------------------------------------------------------- records

int SaveDxfHeader(FILE* fp) {
    std::fputs("0  \nSECTION\n2  \nHEADER\n0  \nENDSEC\n", fp);
    return 0;
}

int SaveDxfTables(FILE* fp) {
    std::fputs(
        "0  \nSECTION\n2  \nTABLES\n0  \nTABLE\n2  \nSTYLE\n70 \n1\n0  \nSTYLE\n2  \nSTANDARD\n"
        "70 \n0\n40 \n0\n41 \n1\n50 \n0\n71 \n0\n42 \n0.2\n3  \ntxt\n4  \n\n0  \nENDTAB\n"
        "0  \nTABLE\n2  \nLAYER\n70 \n1\n0  \nLAYER\n2  \n1\n70 \n0\n62 \n7\n6  \nCONTINUOUS\n"
        "0  \nENDTAB\n0  \nENDSEC\n",
        fp);
    return 0;
}

void SaveDxfPolylineBegin(FILE* fp, const char* layer) {
    std::fprintf(fp, "  0\nPOLYLINE\n  8\n%s\n 66\n     1\n 70\n     8\n", text(layer));
}

void SaveDxfPolylineEnd(FILE* fp, const char* layer) {
    std::fprintf(fp, "0  \nSEQEND\n  8\n%s\n", text(layer));
}

void SaveDxfVertex(FILE* fp, const char* layer, const CKpPoint& p) {
    std::fprintf(fp, "0  \nVERTEX\n  8\n%s\n 10\n%lf\n 20\n%lf\n 30\n%lf\n 70\n    32\n",
                 text(layer), p.getx(), p.gety(), p.getz());
}

int SaveDxfPolyline(FILE* fp, CKpPointArray* points, int closed, const char* layer) {
    const int n = points ? points->entries() : 0;
    if (n < 2) return -1;
    std::fprintf(fp, "0  \nPOLYLINE\n  8\n%s\n66 \n1\n70 \n%d\n40 \n0\n41 \n0\n", text(layer),
                 closed ? 1 : 0);
    for (int i = 0; i < n; ++i) {
        const CKpPoint* p = points->pPoint(i);
        std::fprintf(fp, "0  \nVERTEX\n8  \n%s\n10 \n%g\n20 \n%g\n", text(layer), p->getx(),
                     p->gety());
    }
    std::fprintf(fp, "0  \nSEQEND\n  8\n%s\n", text(layer));
    return 0;
}

int SaveDxfSpline(CKpMsg* log, FILE* fp, int n, CKpPointArray* points, int handle,
                  const char* layer) {
    if (n < 2 || !points || points->entries() < n) return -1;
    const int order = n >= 3 ? 3 : 2;
    std::vector<double> knots, cx, cy, dx, dy;
    try {
        knots.reserve(n + order);
        for (int k = 0; k < order; ++k) knots.push_back(0.0);
        for (int k = 1; k <= n - order + 1; ++k) knots.push_back(k);
        for (int k = 1; k < order; ++k) knots.push_back(n - order + 1);
        for (int i = 0; i < n; ++i) {
            const CKpPoint* p = points->pPoint(i);
            dx.push_back(p->getx());
            dy.push_back(p->gety());
        }
        cx = dx;
        cy = dy;
    } catch (const std::bad_alloc&) {
        log->Create(4, "Could not allocate memory.");
        return -1;
    }
    if (n == 3) {
        cx[1] = 2.0 * dx[1] - (dx[0] + dx[2]) / 2.0;
        cy[1] = 2.0 * dy[1] - (dy[0] + dy[2]) / 2.0;
    } else if (n >= 4) {
        // Interior rows of the collocation matrix: the basis at the data
        // parameters t_i = i - 0.5 (end points are held, not solved).
        std::vector<double> lo, di, up;
        try {
            lo.resize(n);
            di.resize(n);
            up.resize(n);
        } catch (const std::bad_alloc&) {
            log->Create(4, "Could not allocate memory.");
            return -1;
        }
        for (int i = 1; i < n - 1; ++i) {
            const double t = i - 0.5;
            lo[i] = basis2(knots, i - 1, t);
            di[i] = basis2(knots, i, t);
            up[i] = basis2(knots, i + 1, t);
        }
        int sweeps = 0;
        double residual = 0.0;
        do {
            for (int i = 1; i < n - 1; ++i) {
                cx[i] = (dx[i] - lo[i] * cx[i - 1] - up[i] * cx[i + 1]) / di[i];
                cy[i] = (dy[i] - lo[i] * cy[i - 1] - up[i] * cy[i + 1]) / di[i];
            }
            ++sweeps;
            residual = 0.0;
            for (int i = 1; i < n - 1; ++i) {
                const double ex = lo[i] * cx[i - 1] + di[i] * cx[i] + up[i] * cx[i + 1] - dx[i];
                const double ey = lo[i] * cy[i - 1] + di[i] * cy[i] + up[i] * cy[i + 1] - dy[i];
                residual = std::max(residual, std::sqrt(ex * ex + ey * ey));
            }
        } while (residual > 1e-7 && sweeps < 20);
        if (sweeps >= 20) log->Create(2, "Could not fit spline to points.");
    }
    std::fprintf(fp,
                 "  0\nSPLINE\n  5\n%X\n100\nAcDbEntity\n  8\n%s\n100\nAcDbSpline\n"
                 "210\n0.0\n220\n0.0\n230\n1.0\n 70\n     8\n 71\n%d\n 72\n%d\n 73\n%d\n"
                 " 74\n%6d\n 42\n%g\n 43\n%g\n 44\n%g\n",
                 static_cast<unsigned>(handle), text(layer), order - 1,
                 static_cast<int>(knots.size()), n, n, 1e-7, 1e-7, 1e-7);
    for (double k : knots) std::fprintf(fp, " 40\n%g\n", k);
    for (int i = 0; i < n; ++i) std::fprintf(fp, " 10\n%g\n 20\n%g\n 30\n0.0\n", cx[i], cy[i]);
    for (int i = 0; i < n; ++i) std::fprintf(fp, " 11\n%g\n 21\n%g\n 31\n0.0\n", dx[i], dy[i]);
    return 0;
}

// ---------------------------------------------------------------- flat

int SaveDxfFlatPat(CKpMsg* log, FILE* fp, const CKpPat* pattern, CKpFlatPat* flat,
                   const char* layer, const char* style) {
    const double s = pattern->stepUsed();
    CKpPointArray points;
    const CKpFlatPatPt* last = nullptr;
    for (const CKpFlatPatPt* p = flat->GetPoints().First(); p; p = p->getNext())
        if (p->getPlot() != 0) last = p;
    if (std::strcmp(text(style), "SPLINE") == 0) {
        int handle = 256;
        int n = 0;
        for (const CKpFlatPatPt* p = flat->GetPoints().First(); p; p = p->getNext()) {
            if (p->getPlot() == 0) continue;
            CKpPoint* q = points.pPoint(n);
            if (!q) {
                log->Create(4, "Could not allocate memory.");
                return 0;
            }
            q->Set(p->getU() * s, p->getV() * s, 0.0);
            ++n;
            if ((p->getPlot() == 2 || p == last) && n >= 2) {
                ++handle;
                SaveDxfSpline(log, fp, n, &points, handle, layer);
                // The next spline starts where this one ended.
                const CKpPoint end = *points.pPoint(n - 1);
                points.clear();
                *points.pPoint(0) = end;
                n = 1;
            }
        }
    } else {
        int n = 0;
        for (const CKpFlatPatPt* p = flat->GetPoints().First(); p; p = p->getNext()) {
            if (p->getPlot() == 0) continue;
            CKpPoint* q = points.pPoint(n++);
            if (!q) {
                log->Create(4, "Could not allocate memory.");
                return 0;
            }
            q->Set(p->getU() * s, p->getV() * s, 0.0);
        }
        SaveDxfPolyline(fp, &points, 1, layer);
    }
    return 0;
}

int gen_flat_pat_dxf(CKpMsg* log, const CKpFile* file, const CKpPat* pattern,
                     CKpFlatPatStore* flats, const char* layer, const char* style, int options) {
    if (!pattern) {
        log->Create(4, "No pattern data defined.");
        return -1;
    }
    CKpFlatPat* outer = flats ? flats->First() : nullptr;
    if (!outer) {
        log->Create(4, "No flat pattern defined.");
        return -1;
    }
    double umin = 0.0, umax = 0.0, vmin = 0.0, vmax = 0.0;
    outer->GetPoints().GetBounds(umin, umax, vmin, vmax);
    const double s = pattern->stepUsed();
    const double theta = pattern->stwpwtang();
    FILE* fp = openFile(log, file);
    if (!fp) return -1;
    beginEntities(fp);
    for (CKpFlatPat* flat = outer; flat; flat = flats->Next(flat))
        if ((flat == outer && (options & 1)) || (options & 32))
            SaveDxfFlatPat(log, fp, pattern, flat, layer, style);
    const std::string base = text(layer);
    if (options & 2) {
        CKpPointArray axis;
        axis.pPoint(0)->Set(umin * s, 0.0, 0.0);
        axis.pPoint(1)->Set(umax * s, 0.0, 0.0);
        SaveDxfPolyline(fp, &axis, 0, (base + "_princ_warp").c_str());
    }
    if (options & 4) {
        const double sn = std::sin(theta);
        if (std::fabs(sn) < 1e-9) {
            log->Create(2, "Fill axis skipped: warp/weft angle %g degrees.",
                        theta * 180.0 / std::acos(-1.0));
        } else {
            const double cot = std::cos(theta) / sn;
            CKpPointArray axis;
            axis.pPoint(0)->Set(vmin * s * cot, vmin * s, 0.0);
            axis.pPoint(1)->Set(vmax * s * cot, vmax * s, 0.0);
            SaveDxfPolyline(fp, &axis, 0, (base + "_princ_fill").c_str());
        }
    }
    return endFile(log, fp);
}

// ---------------------------------------------------------------- draped

void SaveDxfFibre(FILE* fp, const char* layer, CKpDrape* grid, int i, int j, int backDir,
                  int& open) {
    const CKpDrapePt* pt = grid->pDrapePt(i, j);
    if (!pt) {
        if (open) SaveDxfPolylineEnd(fp, layer);
        open = 0;
        return;
    }
    if (!open) {
        SaveDxfPolylineBegin(fp, layer);
        open = 1;
        if (pt->EndFracSet(backDir)) SaveDxfVertex(fp, layer, pt->GetEndPoint(backDir));
    }
    SaveDxfVertex(fp, layer, pt->GetPoint());
    const int f = backDir - 2;
    if (pt->EndFracSet(f)) {
        SaveDxfVertex(fp, layer, pt->GetEndPoint(f));
        SaveDxfPolylineEnd(fp, layer);
        open = 0;
    }
}

namespace {

// One fibre through the index range, ended at its end when still open.
void dxfFibre(FILE* fp, const char* layer, CKpDrape* grid, int i, int j, int backDir, int last) {
    int open = 0;
    if (backDir == 2)
        for (; i <= last; ++i) SaveDxfFibre(fp, layer, grid, i, j, backDir, open);
    else
        for (; j <= last; ++j) SaveDxfFibre(fp, layer, grid, i, j, backDir, open);
    if (open) SaveDxfPolylineEnd(fp, layer);
}

CKpPoint nodePoint(const CKpFacetStore* facets, const CKpBdy* seg, int vertex) {
    const CKpFacet* f = facets ? facets->pFac(seg->getFacet()) : nullptr;
    const CKpPoint* p = f ? f->getCKpPoint(vertex) : nullptr;
    return p ? *p : CKpPoint();
}

}  // namespace

int gen_draped_pat_dxf(CKpMsg* log, const CKpFile* file, CKpFacetStore* facets, CKpBdyStore* bdys,
                       CKpDrape* grid, const char* layer, int options) {
    FILE* fp = openFile(log, file);
    if (!fp) return -1;
    beginEntities(fp);
    const std::string base = text(layer);
    if (options & 1) {
        const std::string name = base + "_bound";
        CKpBdy* ring = bdys ? bdys->GetBdy(0) : nullptr;
        if (ring) {
            SaveDxfPolylineBegin(fp, name.c_str());
            SaveDxfVertex(fp, name.c_str(), nodePoint(facets, ring, ring->vx0()));
            CKpBdy* seg = ring;
            do {
                SaveDxfVertex(fp, name.c_str(), nodePoint(facets, seg, seg->vx1()));
                seg = seg->Next();
            } while (seg && seg != ring);
            SaveDxfPolylineEnd(fp, name.c_str());
        }
    }
    if (grid) {
        int imin = 0, imax = 0, jmin = 0, jmax = 0;
        grid->GetBounds(imin, imax, jmin, jmax);
        if (options & 2) dxfFibre(fp, (base + "_princ_warp").c_str(), grid, imin, 0, 2, imax);
        if (options & 4) dxfFibre(fp, (base + "_princ_fill").c_str(), grid, 0, jmin, 3, jmax);
        if (options & 8) {
            const std::string name = base + "_warp";
            for (int j = jmin; j <= jmax; ++j)
                if (j != 0) dxfFibre(fp, name.c_str(), grid, imin, j, 2, imax);
        }
        if (options & 16) {
            const std::string name = base + "_fill";
            for (int i = imin; i <= imax; ++i)
                if (i != 0) dxfFibre(fp, name.c_str(), grid, i, jmin, 3, jmax);
        }
    }
    return endFile(log, fp);
}
