#include "layuplib/gen_flat_pat_igs.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
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
#include "layuplib/CKpIgesData.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/calculate_offset.h"

namespace {

const int kMaxSectionLines = 9999999;

CKpPoint xyz(double x, double y, double z) {
    CKpPoint p;
    p.Set(x, y, z);
    return p;
}

// Deletes the entities on every path out of a writer.
struct StoreGuard {
    CKpIgesDataStore& store;
    ~StoreGuard() { store.eraseAllObjects(); }
};

const char* const kGlobal[3] = {
    ",,10H          ,10H          ,10H          ,10H          ,32,38,6,99,   G0000001",
    "15,10H          ,1.0,2,2HMM,32767,1.0D0,10H          ,1.0D-8,           G0000002",
    "10000.0,10H          ,10H          ,6,0;                                G0000003"};

// Refuses a store whose sections would outgrow seven-digit sequence
// numbers. 0; -1 after the error.
int checkSections(CKpMsg* log, const CKpIgesDataStore& store) {
    const int lines[2] = {store.GetNumDirectoryLines(), store.GetNumParameterLines()};
    for (int n : lines)
        if (n > kMaxSectionLines || n < 0) {
            log->Create(4, "IGES section of %d lines is too long for its sequence numbers.", n);
            return -1;
        }
    return 0;
}

// Writes the frame with the store's sections into the open `fp` and closes
// it. 0; -1 after "Could not close file." when a write or the close failed.
int writeFrame(CKpMsg* log, FILE* fp, const char* description, CKpIgesDataStore& store) {
    std::fprintf(fp, "%-72.72sS%07d\n", description, 1);
    for (const char* g : kGlobal) std::fprintf(fp, "%s\n", g);
    const int d = store.WriteDirectorySection(fp);
    const int p = store.WriteParameterSection(fp);
    std::fprintf(fp, "S%07dG%07dD%07dP%07d%40sT%07d\n", 1, 3, d, p, "", 1);
    const bool failed = std::ferror(fp) != 0;
    if (std::fclose(fp) != 0 || failed) {
        log->Create(4, "Could not close file.");
        return -1;
    }
    return 0;
}

FILE* openFile(CKpMsg* log, const CKpFile* file) {
    const char* name = file ? file->GetName() : "";
    FILE* fp = std::fopen(name, "w");
    if (!fp) log->Create(4, "Could not open file '%s' for writing.", name);
    return fp;
}

int noMemory(CKpMsg* log) {
    log->Create(4, "Could not allocate memory.");
    return -1;
}

// A new line entity, or null.
CKpIgesData110* newLine(int level, int status, const CKpPoint& a, const CKpPoint& b) {
    CKpIgesData110* line = new (std::nothrow) CKpIgesData110;
    if (!line) return nullptr;
    line->level = level;
    line->status = status;
    line->x0 = a.getx();
    line->y0 = a.gety();
    line->z0 = a.getz();
    line->x1 = b.getx();
    line->y1 = b.gety();
    line->z1 = b.getz();
    return line;
}

// Inserts a line and makes it a member of `curve`. 0; -1 out of memory
// (the line is then inserted but not a member: the file is not written).
int addLine(CKpIgesDataStore* store, CKpIgesData102* curve, CKpIgesData110* line) {
    store->InsertLastIges110(line);
    return curve->AddRef(line->directoryPointer);
}

// Inserts `curve` when it has members, deletes it otherwise.
void closeCurve(CKpIgesDataStore* store, CKpIgesData102*& curve) {
    if (!curve) return;
    if (curve->GetNumRefs() > 0)
        store->InsertLastIges102(curve);
    else
        delete curve;
    curve = nullptr;
}

CKpPoint nodePoint(const CKpFacet* facet, int vertex) {
    const CKpPoint* p = facet ? facet->getCKpPoint(vertex) : nullptr;
    return p ? *p : CKpPoint();
}

}  // namespace

// ---------------------------------------------------------------- flat

int CreateIgesFlatPat(CKpMsg* log, const CKpPat* pattern, CKpFlatPat* flat, int level,
                      CKpIgesDataStore* store) {
    const double s = pattern->stepUsed();
    CKpIgesData102* curve = new (std::nothrow) CKpIgesData102;
    if (!curve) return noMemory(log);
    curve->level = level;
    curve->status = 1;
    const CKpFlatPatPt* prev = nullptr;
    for (const CKpFlatPatPt* p = flat->GetPoints().First(); p; p = p->getNext()) {
        if (p->getPlot() == 0) continue;
        if (prev) {
            const CKpPoint a = xyz(prev->getU() * s, prev->getV() * s, 0.0);
            const CKpPoint b = xyz(p->getU() * s, p->getV() * s, 0.0);
            CKpIgesData110* line = newLine(level, 10000, a, b);
            if (!line || addLine(store, curve, line) != 0) {
                delete curve;
                return noMemory(log);
            }
        }
        prev = p;
    }
    closeCurve(store, curve);
    return 0;
}

int gen_flat_pat_igs(CKpMsg* log, const CKpFile* file, const CKpPat* pattern,
                     CKpFlatPatStore* flats, int options) {
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

    CKpIgesDataStore store;
    StoreGuard guard{store};
    for (CKpFlatPat* flat = outer; flat; flat = flats->Next(flat))
        if ((flat == outer && (options & 1)) || (options & 32))
            if (CreateIgesFlatPat(log, pattern, flat, 1, &store) != 0) return -1;
    if (options & 2) {
        CKpIgesData110* line = newLine(2, 0, xyz(umin * s, 0.0, 0.0), xyz(umax * s, 0.0, 0.0));
        if (!line) return noMemory(log);
        store.InsertLastIges110(line);
    }
    if (options & 4) {
        const double sn = std::sin(theta);
        if (std::fabs(sn) < 1e-9) {
            log->Create(2, "Fill axis skipped: warp/weft angle %g degrees.",
                        theta * 180.0 / std::acos(-1.0));
        } else {
            const double cot = std::cos(theta) / sn;
            CKpIgesData110* line = newLine(3, 0, xyz(vmin * s * cot, vmin * s, 0.0),
                                           xyz(vmax * s * cot, vmax * s, 0.0));
            if (!line) return noMemory(log);
            store.InsertLastIges110(line);
        }
    }
    if (checkSections(log, store) != 0) return -1;
    FILE* fp = openFile(log, file);
    if (!fp) return -1;
    return writeFrame(log, fp, "IGES file containing flat pattern data from a drape analysis.",
                      store);
}

// ---------------------------------------------------------------- draped

int SaveIgesFibre(CKpMsg* log, CKpIgesDataStore* store, CKpIgesData102*& curve,
                  CKpIgesData110*& line, int level, CKpDrape* grid, int i, int j, int backDir,
                  int& open) {
    const int f = backDir - 2;
    const int du = f == 0 ? 1 : 0, dv = f == 1 ? 1 : 0;
    const CKpDrapePt* pt = grid->pDrapePt(i, j);
    if (!pt) {
        if (open) closeCurve(store, curve);
        open = 0;
        return 0;
    }
    if (open && curve) {
        const CKpDrapePt* prev = grid->pDrapePt(i - du, j - dv);
        if (prev) {
            line = newLine(level, 10000, prev->GetPoint(), pt->GetPoint());
            if (!line || addLine(store, curve, line) != 0) return noMemory(log);
        }
    } else {
        curve = new (std::nothrow) CKpIgesData102;
        if (!curve) return noMemory(log);
        curve->level = level;
        curve->status = 1;
        open = 1;
        if (pt->EndFracSet(backDir)) {
            line = newLine(level, 10000, pt->GetEndPoint(backDir), pt->GetPoint());
            if (!line || addLine(store, curve, line) != 0) return noMemory(log);
        }
    }
    if (pt->EndFracSet(f)) {
        line = newLine(level, 10000, pt->GetPoint(), pt->GetEndPoint(f));
        if (!line || addLine(store, curve, line) != 0) return noMemory(log);
        closeCurve(store, curve);
        open = 0;
    }
    return 0;
}

namespace {

// One fibre through the index range; the curve left open at its end is
// inserted there.
int igesFibre(CKpMsg* log, CKpIgesDataStore* store, CKpDrape* grid, int level, int i, int j,
              int backDir, int last) {
    CKpIgesData102* curve = nullptr;
    CKpIgesData110* line = nullptr;
    int open = 0;
    int rc = 0;
    if (backDir == 2) {
        for (; i <= last && rc == 0; ++i)
            rc = SaveIgesFibre(log, store, curve, line, level, grid, i, j, backDir, open);
    } else {
        for (; j <= last && rc == 0; ++j)
            rc = SaveIgesFibre(log, store, curve, line, level, grid, i, j, backDir, open);
    }
    if (rc != 0) {
        delete curve;
        return rc;
    }
    closeCurve(store, curve);
    return 0;
}

}  // namespace

int gen_draped_pat_igs(CKpMsg* log, const CKpFile* file, CKpFacetStore* facets, CKpBdyStore* bdys,
                       CKpDrape* grid, int options) {
    CKpIgesDataStore store;
    StoreGuard guard{store};
    if (options & 1) {
        CKpBdy* ring = bdys ? bdys->GetBdy(0) : nullptr;
        CKpIgesData102* curve = new (std::nothrow) CKpIgesData102;
        if (!curve) return noMemory(log);
        curve->level = 1;
        curve->status = 1;
        CKpBdy* seg = ring;
        do {
            if (!seg) break;
            const CKpFacet* f = facets ? facets->pFac(seg->getFacet()) : nullptr;
            CKpIgesData110* line =
                newLine(1, 10000, nodePoint(f, seg->vx0()), nodePoint(f, seg->vx1()));
            if (!line || addLine(&store, curve, line) != 0) {
                delete curve;
                return noMemory(log);
            }
            seg = seg->Next();
        } while (seg != ring);
        closeCurve(&store, curve);
    }
    if (grid && (options & (2 | 4 | 8 | 16))) {
        int imin = 0, imax = 0, jmin = 0, jmax = 0;
        grid->GetBounds(imin, imax, jmin, jmax);
        if ((options & 2) && igesFibre(log, &store, grid, 2, imin, 0, 2, imax) != 0) return -1;
        if ((options & 4) && igesFibre(log, &store, grid, 3, 0, jmin, 3, jmax) != 0) return -1;
        if (options & 8)
            for (int j = jmin; j <= jmax; ++j)
                if (j != 0 && igesFibre(log, &store, grid, 4, imin, j, 2, imax) != 0) return -1;
        if (options & 16)
            for (int i = imin; i <= imax; ++i)
                if (i != 0 && igesFibre(log, &store, grid, 5, i, jmin, 3, jmax) != 0) return -1;
    }
    if (checkSections(log, store) != 0) return -1;
    FILE* fp = openFile(log, file);
    if (!fp) return -1;
    return writeFrame(log, fp, "IGES file containing draped pattern data from a drape analysis.",
                      store);
}

// ---------------------------------------------------------------- mould

int gen_mould_surf_igs(CKpMsg* log, CKpNodeStore* nodes, CKpFacetStore* facets,
                       const CKpFile* file) {
    calculate_offset(log, nodes, facets, 0, nullptr);
    FILE* fp = openFile(log, file);
    if (!fp) return -1;
    const int nf = facets ? facets->entries() : 0;

    // 1. Lines: edges 1 and 2 of every facet, shared edges once.
    std::vector<CKpIgesSurf> surfs;
    std::vector<CKpIgesLine> lines;
    try {
        surfs.resize(nf);
        lines.reserve(2 * static_cast<size_t>(nf));
    } catch (const std::bad_alloc&) {
        std::fclose(fp);
        return noMemory(log);
    }
    for (int f = 0; f < nf; ++f) {
        const CKpFacet* fac = facets->pFac(f);
        CKpIgesSurf& surf = surfs[f];
        surf.direction = 1;
        for (int k = 1; k <= 2; ++k) {
            const int n = fac ? fac->getNeigh(k) : -1;
            const int c = fac ? fac->getNedge(k) : -1;
            int index = -1;
            if (n >= 0 && n < f) {
                if (c == 1 || c == 2) {
                    index = c == 1 ? surfs[n].line1 : surfs[n].line2;
                } else if (c == 4 || c == 5) {
                    index = c == 4 ? surfs[n].line1 : surfs[n].line2;
                    surf.direction = surf.direction == 0 ? 1 : 0;
                }
            }
            if (index < 0) {
                index = static_cast<int>(lines.size());
                CKpIgesLine slot;
                slot.facet = f;
                slot.edge = k;
                lines.push_back(slot);
            }
            (k == 1 ? surf.line1 : surf.line2) = index;
        }
    }
    const int nl = static_cast<int>(lines.size());

    // 2. Entities: lines on both offset surfaces, then the ruled surfaces.
    CKpIgesDataStore store;
    StoreGuard guard{store};
    for (int side = 0; side < 2; ++side) {
        for (const CKpIgesLine& slot : lines) {
            const CKpFacet* fac = facets->pFac(slot.facet);
            const int flag = fac ? fac->getSbdmndnfg() : 0;
            // Which of the two offset faces lies on this side for the facet.
            const int s = side == 0 ? (flag <= 0 ? 1 : 0) : (flag > 0 ? 1 : 0);
            CKpPoint ends[2];
            for (int e = 0; e < 2; ++e) {
                const int v = (slot.edge + e) % 3;
                CKpDirn dirs[2];
                double offs[2] = {0.0, 0.0};
                ends[e] = nodePoint(fac, v);
                if (CalcOffsetsFacNode(log, facets, slot.facet, v, dirs, offs, 0, nullptr) == 0)
                    ends[e].Set(ends[e].getx() + dirs[s].getx() * offs[s],
                                ends[e].gety() + dirs[s].gety() * offs[s],
                                ends[e].getz() + dirs[s].getz() * offs[s]);
            }
            CKpIgesData110* line = newLine(side + 1, 0, ends[0], ends[1]);
            if (!line) {
                std::fclose(fp);
                return noMemory(log);
            }
            store.InsertLastIges110(line);
        }
    }
    for (int side = 0; side < 2; ++side) {
        for (const CKpIgesSurf& surf : surfs) {
            CKpIgesData118* ruled = new (std::nothrow) CKpIgesData118;
            if (!ruled) {
                std::fclose(fp);
                return noMemory(log);
            }
            ruled->level = side + 1;
            ruled->curve1 = 2 * (surf.line1 + side * nl) + 1;
            ruled->curve2 = 2 * (surf.line2 + side * nl) + 1;
            ruled->direction = surf.direction;
            ruled->developable = 0;
            store.InsertLastIges118(ruled);
        }
    }
    if (checkSections(log, store) != 0) {
        std::fclose(fp);
        return -1;
    }
    return writeFrame(
        log, fp, "IGES file containing lines and ruled surfaces defining mould shapes.", store);
}
