#include "layuplib/ExportLaserLayup.h"

#include <cmath>
#include <new>
#include <string>
#include <vector>

#include "host/CKpGra.h"
#include "layuplib/CKpBdy.h"
#include "layuplib/CKpBdyStore.h"
#include "layuplib/CKpCoord.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpFlatPat.h"
#include "layuplib/CKpFlatPatPt.h"
#include "layuplib/CKpFlatPatPtStore.h"
#include "layuplib/CKpFlatPatStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLyp.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpLypPlyStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPlotPointLaser.h"
#include "layuplib/CKpPlotPointStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPoint.h"

namespace {

const char* text(const char* s) {
    return s ? s : "";
}

FILE* openFile(CKpMsg* log, const std::string& name, const char* mode) {
    FILE* fp = std::fopen(name.c_str(), mode);
    if (!fp) log->Create(4, "Could not open file '%s' for writing.", name.c_str());
    return fp;
}

// Closes `fp`. 0; -1 after "Could not close file." when a write or the
// close failed (a full disk shows only here).
int closeFile(CKpMsg* log, FILE* fp) {
    const bool failed = std::ferror(fp) != 0;
    if (std::fclose(fp) != 0 || failed) {
        log->Create(4, "Could not close file.");
        return -1;
    }
    return 0;
}

CKpPoint xyz(double x, double y, double z) {
    CKpPoint p;
    p.Set(x, y, z);
    return p;
}

CKpDirn unitNormal(const CKpFacet* facet) {
    CKpDirn n;
    if (facet) facet->GetNormal(&n);
    return n;
}

// The boundary's outer ring as laser points: the start of the first
// segment, then the end of every segment. Appended to `points`; false when
// memory runs out.
bool ringPoints(CKpFacetStore* facets, CKpBdyStore* bdys, CKpPlotPointStore& points) {
    CKpBdy* ring = bdys ? bdys->GetBdy(0) : nullptr;
    CKpBdy* seg = ring;
    do {
        if (!seg) break;
        const CKpFacet* facet = facets ? facets->pFac(seg->getFacet()) : nullptr;
        const CKpDirn n = unitNormal(facet);
        if (seg == ring) {
            const CKpPoint* p0 = facet ? facet->getCKpPoint(seg->vx0()) : nullptr;
            CKpPlotPointLaser* first = new (std::nothrow)
                CKpPlotPointLaser(p0 ? *p0 : CKpPoint(), n, facet, seg->getDirn());
            if (!first) return false;
            points.InsertLast(first);
        }
        const CKpPoint* p1 = facet ? facet->getCKpPoint(seg->vx1()) : nullptr;
        CKpPlotPointLaser* point =
            new (std::nothrow) CKpPlotPointLaser(p1 ? *p1 : CKpPoint(), n, facet, seg->getDirn());
        if (!point) return false;
        points.InsertLast(point);
        seg = seg->Next();
    } while (seg != ring);
    return true;
}

// Deletes the points of a laser outline on every path.
struct PointsGuard {
    CKpPlotPointStore& points;
    ~PointsGuard() { points.eraseAllObjects(); }
};

// One point of a principal-fibre block, written when the block ends.
struct FibrePoint {
    CKpPoint point;
    CKpDirn normal;
    const CKpFacet* facet;
    int sign;
};

}  // namespace

// ---------------------------------------------------------------- vertices

void fprintfVertexNormal(FILE* fp, const CKpCoord* frame, const CKpPoint& point,
                         const CKpDirn& normal, int sign) {
    CKpPoint p = point;
    CKpDirn n = normal;
    if (frame && frame->type() >= 1) frame->Transform(&p, &n);
    const double k = sign < 1 ? -1.0 : 1.0;
    std::fprintf(fp, "%f %f %f %f %f %f\n", p.getx(), p.gety(), p.getz(), n.getx() * k,
                 n.gety() * k, n.getz() * k);
}

void OutputVertexNormal(int offset, int draw, CKpMsg* log, CKpGra* gra, int lineFlag, FILE* fp,
                        const CKpCoord* frame, const CKpFacet* facet, int lypPlyId,
                        const CKpPoint& point, const CKpDirn& normal, int sign) {
    CKpPoint p = point;
    if (offset) {
        if (facet) {
            CKpDirn d = normal;
            const int rc = facet->OffsetPoint(p, d, lypPlyId, sign);
            if (rc != 0) log->Create(1, "CKpFac::OffsetPoint(): %d", rc);
        } else {
            log->Create(1, "Null facet");
        }
    }
    if (draw && gra) {
        if (lineFlag == 0)
            gra->MoveTo3d(&p);
        else
            gra->LineTo3d(&p);
    }
    if (fp) fprintfVertexNormal(fp, frame, p, normal, sign);
}

// ---------------------------------------------------------------- set-up

int ExportLaserLayupVK(CKpMsg* log, const char* base, const char*, int numProjectors,
                       const int* counts, const double* targets) {
    FILE* fp = openFile(log, std::string(text(base)) + ".cal", "w");
    if (!fp) return -1;
    int t = 0;
    for (int k = 0; k < numProjectors; ++k) {
        const int n = counts ? counts[k] : 0;
        std::fprintf(fp, "%2d\n", n);
        for (int i = 0; i < n; ++i, ++t)
            std::fprintf(fp, "%10.5g %10.5g %10.5g\n", targets[3 * t], targets[3 * t + 1],
                         targets[3 * t + 2]);
    }
    if (closeFile(log, fp) != 0) return -1;
    // An empty ply file, so that ply data can be appended later.
    fp = openFile(log, std::string(text(base)) + ".ply", "w");
    if (!fp) return -1;
    return closeFile(log, fp);
}

int ExportLaserLayupAG(CKpMsg* log, const char* base, const char* partNumber, int units,
                       int numProjectors, const int* counts, const double* targets) {
    FILE* fp = openFile(log, std::string(text(base)) + ".txt", "w");
    if (!fp) return -1;
    std::fprintf(fp, "$*PARTNO %s\n", text(partNumber));
    std::fputs(units == 1 ? "UNITS IN\n" : "UNITS MM\n", fp);
    int t = 0;
    for (int k = 0; k < numProjectors; ++k) {
        const int n = counts ? counts[k] : 0;
        for (int i = 0; i < n; ++i, ++t)
            std::fprintf(fp, "$*SENSOR %d %8g  %8g  %8g\n", t + 1, targets[3 * t],
                         targets[3 * t + 1], targets[3 * t + 2]);
    }
    return closeFile(log, fp);
}

int ExportLaserLayup(CKpMsg* log, int mask, const char* base, const char* partNumber, int units,
                     int numProjectors, const int* counts, const double* targets) {
    int rc = 0;
    if ((mask & 1) &&
        ExportLaserLayupVK(log, base, partNumber, numProjectors, counts, targets) != 0)
        rc = -1;
    if ((mask & 2) &&
        ExportLaserLayupAG(log, base, partNumber, units, numProjectors, counts, targets) != 0)
        rc = -1;
    return rc;
}

// ---------------------------------------------------------------- ply files

int ExportLaserPlyVKData(CKpMsg* log, CKpGra* gra, FILE* fp, const char* plyName, int options,
                         CKpFacetStore* facets, CKpBdyStore* bdys, CKpDrapeSim* drape,
                         const CKpCoord* frame, int offset, int minimise, double angTol,
                         double distTol, int lypPlyId, int separate, const char* prefix,
                         double markerSize, int startMarker, int refMarker, int warp, int fill,
                         int draw) {
    if (!(options & 1)) return 0;
    draw = draw && gra;
    if (draw) {
        gra->select_segment(505);
        gra->select_pen(2, 0.0);
    }

    // 1. The outline, thinned or whole.
    CKpPlotPointStore points;
    PointsGuard guard{points};
    if (!ringPoints(facets, bdys, points)) {
        log->Create(4, "Could not allocate memory.");
        return 0;
    }
    if (minimise && points.entries() > 0)
        points.Minimize(angTol, distTol);
    else
        points.SetPlotAll(2);
    std::string name = text(plyName);
    if (fp) std::fprintf(fp, "START %s\nP %d\n", name.c_str(), points.GetNumPlot());
    int line = 0;
    for (CKpPlotPoint* q = points.First(); q; q = points.Next(q)) {
        if (q->getPlot() == 0) continue;
        const CKpPlotPointLaser* p = static_cast<const CKpPlotPointLaser*>(q);
        OutputVertexNormal(offset, draw, log, gra, line++, fp, frame, p->GetFacet(), lypPlyId,
                           p->GetPoint(), p->GetNormal(), p->GetSide());
    }

    // 2. The second block of a separately applied ply.
    if (fp && separate) {
        std::fprintf(fp, "END %s\n", name.c_str());
        name = std::string(text(prefix)) + name;
        std::fprintf(fp, "START %s\n", name.c_str());
    }

    // 3. Markers at the pattern's start point.
    const CKpPat* pat = drape ? drape->pPat() : nullptr;
    const CKpFacet* start = pat && facets ? facets->pFac(pat->stft()) : nullptr;
    if (start && (startMarker || refMarker)) {
        const CKpDirn n = unitNormal(start);
        CKpDirn w;
        w.Set(pat->stwpdx(), pat->stwpdy(), pat->stwpdz());
        const double along = w.DotProduct(&n);
        w.Set(w.getx() - along * n.getx(), w.gety() - along * n.gety(),
              w.getz() - along * n.getz());
        w.unitize();
        CKpDirn t;
        t.setCrossProduct(&n, &w);
        const CKpPoint s = xyz(pat->stx(), pat->sty(), pat->stz());
        auto at = [&](double a, double b) {
            return xyz(s.getx() + a * w.getx() + b * t.getx(),
                       s.gety() + a * w.gety() + b * t.gety(),
                       s.getz() + a * w.getz() + b * t.getz());
        };
        const double h = markerSize / 2.0;
        if (startMarker) {
            // A square with both diagonals, drawn without lifting the pen.
            const double square[9][2] = {{-h, -h}, {-h, h}, {h, -h}, {h, h},  {-h, -h},
                                         {h, -h},  {-h, h}, {h, h},  {-h, -h}};
            if (fp) std::fputs("P 9\n", fp);
            for (int k = 0; k < 9; ++k)
                OutputVertexNormal(offset, draw, log, gra, k, fp, frame, start, lypPlyId,
                                   at(square[k][0], square[k][1]), n, pat->stdn());
        }
        if (refMarker) {
            if (fp) std::fputs("P 2\n", fp);
            OutputVertexNormal(offset, draw, log, gra, 0, fp, frame, start, lypPlyId, at(0, 0), n,
                               pat->stdn());
            OutputVertexNormal(offset, draw, log, gra, 1, fp, frame, start, lypPlyId,
                               at(3.0 * markerSize, 0.0), n, pat->stdn());
        }
    }

    // 4. Principal fibres, one block per stretch between boundary
    // crossings; the block is collected first so that its count is exact.
    CKpDrape* grid = drape ? drape->pDrape() : nullptr;
    const int stdn = pat ? pat->stdn() : 1;
    for (int axis = 0; axis < 2 && grid; ++axis) {
        if (!(axis == 0 ? warp : fill)) continue;
        const int fwd = axis == 0 ? 0 : 1, back = fwd + 2;
        int lo = 0, hi = 0, jlo = 0, jhi = 0;
        grid->GetBounds(lo, hi, jlo, jhi);
        if (axis == 1) {
            lo = jlo;
            hi = jhi;
        }
        std::vector<FibrePoint> block;
        auto flush = [&]() {
            if (block.empty()) return;
            if (fp) std::fprintf(fp, "P %d\n", static_cast<int>(block.size()));
            for (size_t k = 0; k < block.size(); ++k)
                OutputVertexNormal(offset, draw, log, gra, static_cast<int>(k), fp, frame,
                                   block[k].facet, lypPlyId, block[k].point, block[k].normal,
                                   block[k].sign);
            block.clear();
        };
        for (int k = lo; k <= hi; ++k) {
            const CKpDrapePt* pt = axis == 0 ? grid->pDrapePt(k, 0) : grid->pDrapePt(0, k);
            const CKpFacet* facet = pt && facets ? facets->pFac(pt->GetFacet()) : nullptr;
            if (!facet) {
                flush();
                continue;
            }
            const CKpDirn n = unitNormal(facet);
            const int sign = pt->GetDnfg() * stdn;
            if (pt->GetJoined(back) == 0) {
                flush();
                if (pt->EndFracSet(back)) block.push_back({pt->GetEndPoint(back), n, facet, sign});
            }
            block.push_back({pt->GetPoint(), n, facet, sign});
            if (pt->GetJoined(fwd) == 0) {
                if (pt->EndFracSet(fwd)) block.push_back({pt->GetEndPoint(fwd), n, facet, sign});
                flush();
            }
        }
        flush();
    }
    if (fp) std::fprintf(fp, "END %s\n", name.c_str());
    return 0;
}

int ExportLaserPlyVK(CKpMsg* log, const char* file, const char* plyName, int options,
                     CKpFacetStore* facets, CKpBdyStore* bdys, CKpDrapeSim* drape) {
    FILE* fp = openFile(log, text(file), "a");
    if (!fp) return -1;
    if (options & 1) {
        ExportLaserPlyVKData(log, nullptr, fp, plyName, options, facets, bdys, drape, nullptr, 0, 0,
                             0.0, 0.0, 0, 0, "", 0.0, 0, 0, 0, 0, 0);
        std::fputs("EOD\n", fp);
    }
    return closeFile(log, fp);
}

int ExportLaserPlyAG(CKpMsg* log, const char* file, const char* plyName, int options,
                     CKpFacetStore* facets, CKpBdyStore* bdys, CKpDrapeSim*) {
    FILE* fp = openFile(log, std::string(text(file)) + ".txt", "a");
    if (!fp) return -1;
    if (options & 1) {
        std::fprintf(fp, "$*PLY %s\n", text(plyName));
        CKpPlotPointStore points;
        PointsGuard guard{points};
        if (!ringPoints(facets, bdys, points)) {
            log->Create(4, "Could not allocate memory.");
            std::fclose(fp);
            return -1;
        }
        bool first = true;
        for (CKpPlotPoint* q = points.First(); q; q = points.Next(q)) {
            const CKpPlotPointLaser* p = static_cast<const CKpPlotPointLaser*>(q);
            if (first) std::fputs("PENUP\n", fp);
            std::fputs("GOTO ", fp);
            fprintfVertexNormal(fp, nullptr, p->GetPoint(), p->GetNormal(), p->GetSide());
            if (first) std::fputs("PENDWN\n", fp);
            first = false;
        }
    }
    return closeFile(log, fp);
}

int ExportLaserPlyL(CKpMsg* log, int mask, const char* file, const char* plyName, int options,
                    CKpFacetStore* facets, CKpBdyStore* bdys, CKpDrapeSim* drape) {
    int rc = 0;
    if ((mask & 1) && ExportLaserPlyVK(log, file, plyName, options, facets, bdys, drape) != 0)
        rc = -1;
    if ((mask & 2) && ExportLaserPlyAG(log, file, plyName, options, facets, bdys, drape) != 0)
        rc = -1;
    return rc;
}

int ExportLaserPly2DVKData(CKpMsg* log, FILE* fp, const char* name, int options,
                           const CKpPat* pattern, CKpFlatPat* flat) {
    if (!fp) {
        log->Create(4, "Flat pattern file not open.");
        return -1;
    }
    if (!(options & 1)) return 0;
    const double s = pattern ? pattern->stepUsed() : 0.0;
    std::fprintf(fp, "START %s\nP %d\n", text(name),
                 flat ? flat->GetPoints().GetNumPlotPoints() : 0);
    for (const CKpFlatPatPt* p = flat ? flat->GetPoints().First() : nullptr; p; p = p->getNext())
        if (p->getPlot() != 0)
            std::fprintf(fp, "%f %f %f %f %f %f\n", p->getU() * s, p->getV() * s, 0.0, 0.0, 0.0,
                         1.0);
    std::fprintf(fp, "END %s\n", text(name));
    return 0;
}

// ---------------------------------------------------------------- layup

int ExportLayupLaser(CKpLayup* model, int numIds, const int* ids, const CKpCoord* frame, int offset,
                     int minimise, double angTol, double distTol, int, int separate,
                     const char* prefix, double markerSize, int startMarker, int refMarker,
                     int warp, int fill, int flatOutline, const char* flatPrefix, const char* path,
                     int draw) {
    CKpMsg* log = model->pMsg();
    const double pi = std::acos(-1.0), deg = 180.0 / pi;
    if (numIds < 1 || !ids) {
        log->Create(4, "No layup plies selected.");
        return -1;
    }
    if (minimise) {
        if (angTol < 0.0) {
            log->Create(2, "Angle tolerance negative, reset from %g to %g degrees.", angTol * deg,
                        0.0);
            angTol = 0.0;
        } else if (angTol > pi) {
            log->Create(2, "Angle tolerance too high, reset from %g to %g degrees.", angTol * deg,
                        pi * deg);
            angTol = pi;
        }
        if (distTol < 0.0) {
            log->Create(2, "Distance tolerance negative, reset from %g to %g.", distTol, 0.0);
            distTol = 0.0;
        }
        log->Create(1,
                    "Minimising laser projection points with angle tolerance %g degrees and "
                    "distance tolerance %g",
                    angTol * deg, distTol);
    }
    if (separate && text(prefix)[0] == '\0') {
        log->Create(4, "Prefix for separate application ply '%s' is invalid.", text(prefix));
        return -1;
    }
    if ((startMarker || refMarker) && !(markerSize > 0.0)) {
        log->Create(4, "Marker size must be positive if start or reference markers are required.");
        return -1;
    }
    FILE* fp = nullptr;
    if (text(path)[0] != '\0') {
        fp = std::fopen(path, "w");
        if (!fp) {
            log->Create(4, "Cannot open file '%s'.", path);
            return -1;
        }
        std::fprintf(fp, "LAYER START %s\n", model->pLyp()->name());
    }
    CKpLypPlyStore& lypPlys = model->pLyp()->LypPlys();
    for (int k = 0; k < numIds; ++k) {
        CKpLypPly* lypPly = lypPlys.find(ids[k]);
        if (!lypPly) continue;
        CKpPly* ply = lypPly->pPly();
        if (!ply) {
            log->Create(2, "Cannot get ply pointer for layup ply '%s'",
                        lypPly->GetPlyNameInstance());
            continue;
        }
        ply->Simulate(0);
        CKpDrapeSim* drape = model->pDrapeSim();
        // A simulation that never reached the workspace would leave another
        // ply's outline there: nothing is written under this ply's name.
        if (drape->pPly() != ply) {
            log->Create(2, "No drape simulation exists for ply '%s'.", ply->name());
            continue;
        }
        model->pGra()->delete_segment(0);
        const std::string block =
            std::string(ply->name()) + "_" + std::to_string(lypPly->instance());
        ExportLaserPlyVKData(log, model->pGra(), fp, block.c_str(), 1, model->pFacs(),
                             model->pBdys(), drape, frame, offset, minimise, angTol, distTol,
                             lypPly->id(), separate, prefix, markerSize, startMarker, refMarker,
                             warp, fill, draw);
        if (fp && flatOutline)
            ExportLaserPly2DVKData(log, fp, (std::string(text(flatPrefix)) + block).c_str(), 1,
                                   drape->pPat(), drape->pFlatPats()->First());
    }
    if (fp) {
        std::fprintf(fp, "LAYER END %s\nEOD\n", model->pLyp()->name());
        if (closeFile(log, fp) != 0) return -1;
    }
    return 0;
}
