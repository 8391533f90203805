#include "layuplib/PlySimulate.h"

#include <cmath>
#include <exception>
#include <vector>

#include "layuplib/CKpAxis.h"
#include "layuplib/CKpAxisPt.h"
#include "layuplib/CKpBdyStore.h"
#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapeBound.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpElemEdgeStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpFlatPatStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatGeom.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatSplitStore.h"
#include "layuplib/CKpPlane.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CalcStart.h"
#include "layuplib/angle_util.h"
#include "layuplib/find_nei.h"
#include "layuplib/make_axis.h"
#include "layuplib/pattern_wf.h"
#include "layuplib/projected_angles.h"
#include "layuplib/surface_div.h"

namespace {

const double kRadToDeg = 180.0 / kPi;

// Fabric limits: the warp/weft angle must stay 5 degrees away from parallel
// fibres, and the shear limit may not fall below a tenth of that.
const double kMinWarpWeftAngle = kPi / 36.0;
const double kMaxWarpWeftAngle = kPi - kPi / 36.0;
const double kMinRatio = 0.1;
const double kMaxRatio = 10.0;
const double kMinMaxStrain = (kPi / 36.0) / 10.0;

const char* const kTransferFailed =
    "Could not transfer the simulation results to the pattern elements.";

// The pattern's seed point and its application and reference directions.
void seedGeometry(const CKpPat* pattern, CKpPoint& eye, CKpDirn& eyed, CKpDirn& refd) {
    eye.Set(pattern->eyex(), pattern->eyey(), pattern->eyez());
    eyed.Set(pattern->eyedx(), pattern->eyedy(), pattern->eyedz());
    refd.Set(pattern->refdx(), pattern->refdy(), pattern->refdz());
}

// The failure result goes into the pattern on every failing path.
int fail(CKpPat* pattern) {
    pattern->setSimResult(kSimFailed);
    return -1;
}

// Selects the pattern's elements of `order` (every element of the model when
// the pattern lists none, with the information that says so).
void selectPatternElements(CKpMsg* msg, CKpLayup* model, const CKpPatElemStore* list, bool byOrder,
                           int order) {
    if (!list || list->entries() < 1) {
        msg->Create(1, "No explicit element selection, assume all are selected.");
        model->SelectAreaEID(-1, nullptr, 0);
        return;
    }
    std::vector<int> ids(static_cast<size_t>(list->entries()));
    int count = 0;
    if (byOrder)
        list->GetElemIdsOrder(order, count, ids.data(), static_cast<int>(ids.size()));
    else
        count = list->GetElemIds(ids.data(), static_cast<int>(ids.size()));
    model->SelectAreaEID(count, ids.data(), 0);
}

// Traces the region around the start facet into the model's boundary store
// and, when it encloses holes, selects their elements. `noBoundary` is the
// error for a failed trace. 0; -1 after the error.
int traceRegion(CKpMsg* msg, CKpLayup* model, int startFacet, int side, const char* noBoundary) {
    CKpBdyStore* bdys = model->pBdys();
    if (bdys->CalculateBoundary(msg, model->pFacs(), startFacet, side) != 0) {
        msg->Create(4, "%s", noBoundary);
        return -1;
    }
    if (bdys->GetNumBdys() > 1) {
        msg->Create(2, "The selected area contains interior holes.");
        int leftOut = 0;
        if (bdys->SelectInteriorElements(msg, model->pGra(), model->pElems(), model->pFacs(),
                                         &leftOut) != 0 ||
            leftOut != 0) {
            msg->Create(4, "Could not select all interior hole elements.");
            return -1;
        }
    }
    return 0;
}

// Runs a driver body; a container that cannot grow fails the run.
template <class Body>
int guarded(Body body, CKpMat* material, CKpPat* pattern, CKpLayup* model, int update) {
    if (!model || !material || !pattern) return -1;
    try {
        return body(material, pattern, model, update);
    } catch (const std::exception&) {
        model->pMsg()->Create(4, "Could not allocate memory.");
        return fail(pattern);
    }
}

}  // namespace

int PlySimulate(CKpMat* material, CKpPat* pattern, CKpPly* ply, CKpLayup* model, int update) {
    if (!model || !material || !pattern) return -1;
    CKpMsg* msg = model->pMsg();
    CKpDrapeSim* sim = model->pDrapeSim();

    // 1.-2. A fresh workspace that holds this pattern and ply; both belong
    // to the model's stores.
    model->pBdys()->reinit();
    sim->reinit();
    sim->StorePat(pattern);
    sim->patStored(1);
    sim->StorePly(ply);
    sim->plyStored(1);
    pattern->setSimResult(kSimFailed);

    // 3. Painted plies are simulated as projected ones.
    if (ply) ply->ConvertPaintedToProjected();

    // 4. Dispatch on the simulation type.
    int rc = 0;
    switch (pattern->lyrtp()) {
        case 2:
            rc = PatSimulateProjection(material, pattern, model, update);
            break;
        case 3:
            rc = PatSimulateDraping(material, pattern, model, update);
            break;
        case 4:
            pattern->setStwpwtang(kPi / 2.0);
            rc = PatSimulateDraping(material, pattern, model, update);
            break;
        default:
            msg->Create(4, "Ply '%s' has unknown ply simulation type %d", ply ? ply->name() : "",
                        pattern->lyrtp());
            return fail(pattern);
    }
    if (rc != 0) return fail(pattern);

    // 5. The ply's elements follow the rebuilt pattern elements.
    if (update == 0 || !ply) return 0;
    // The name is handed back to its own ply: CKpStr keeps a text assigned
    // to itself.
    if (ply->ModifyAndUpdate(ply->name(), pattern->lyrtp(), material, pattern) != 0) {
        msg->Create(4, "Could not allocate memory.");
        return fail(pattern);
    }
    return 0;
}

namespace {

int project(CKpMat* /*material*/, CKpPat* pattern, CKpLayup* model, int update) {
    CKpMsg* msg = model->pMsg();
    CKpElemStore* elems = model->pElems();
    CKpFacetStore* facets = model->pFacs();
    pattern->setSimResult(kSimFailed);

    // 1. A projection knows no shear, step or fabric angle.
    pattern->setMaxstrn(0.0);
    pattern->setStep(0.0);
    pattern->setStwpwtang(0.0);
    pattern->setExttp(0);

    // 2.-3. The pattern's area and its links.
    surface_restore(elems, facets);
    selectPatternElements(msg, model, pattern->PatElems(), false, 0);
    if (find_selected_neighbour(msg, model->pGra(), facets, elems) != 0) {
        msg->Create(4, "Cannot find selected neighbour.");
        return fail(pattern);
    }

    // 4. The start facet.
    int startFacet = -1;
    int side = 0;
    CKpPoint start, eye;
    CKpDirn eyed, refd;
    seedGeometry(pattern, eye, eyed, refd);
    if (CalcStart(msg, facets, eye, eyed, 0, startFacet, start, side) != 0) {
        msg->Create(4, "Start facet not found.");
        return fail(pattern);
    }

    // 5. The region; holes need no filling, a projection reaches every facet.
    CKpBdyStore* bdys = model->pBdys();
    if (bdys->CalculateBoundary(msg, facets, startFacet, side) != 0) {
        msg->Create(4, "Cannot create boundary.");
        return fail(pattern);
    }
    if (bdys->GetNumBdys() > 1) msg->Create(2, "The selected area contains interior holes.");

    // 6. The fibre directions.
    const int rc = CalcPatternPR(msg, facets, pattern->eyedx(), pattern->eyedy(), pattern->eyedz(),
                                 pattern->refdx(), pattern->refdy(), pattern->refdz(),
                                 pattern->refang(), pattern->axstp(), startFacet);
    if (rc != 0) return fail(pattern);
    pattern->setSimResult(0);

    // 7. Write back.
    if (update == 0) return 0;
    pattern->setStdn(1);
    pattern->SetStartPoint(start);
    if (!pattern->PatElems() ||
        pattern->PatElems()->UpdateFromProjection(elems, facets, pattern->stdn()) != 0) {
        msg->Create(4, "%s", kTransferFailed);
        return fail(pattern);
    }
    return 0;
}

int drape(CKpMat* material, CKpPat* pattern, CKpLayup* model, int update) {
    CKpMsg* msg = model->pMsg();
    CKpGra* gra = model->pGra();
    CKpElemStore* elems = model->pElems();
    CKpFacetStore* facets = model->pFacs();
    CKpDrapeSim* sim = model->pDrapeSim();
    CKpBdyStore* bdys = model->pBdys();
    CKpPatElemStore* patElems = pattern->PatElems();
    pattern->setSimResult(kSimFailed);

    // 1.-2. The area of order 0, cut along the split edges.
    gra->select_segment(0);
    surface_restore(elems, facets);
    selectPatternElements(msg, model, patElems, true, 0);
    if (CKpPatSplitStore* splits = pattern->PatSplits(); splits && splits->entries() > 0) {
        const int n = splits->entries();
        std::vector<int> elemIds(static_cast<size_t>(n)), edgeIds(static_cast<size_t>(n));
        const int count = splits->GetElemIdsEdgeIds(n, elemIds.data(), edgeIds.data());
        // A cut that did not happen would let the fabric run across it.
        if (model->CutAreaEID(count, elemIds.data(), edgeIds.data()) != 0) return fail(pattern);
    }

    // 3. Links of the selection.
    if (find_selected_neighbour(msg, gra, facets, elems) != 0) {
        msg->Create(4, "Cannot find selected neighbour.");
        return fail(pattern);
    }

    // 4.-6. Fabric settings, the material's where the pattern sets none. The
    // comparisons are written so that a non-finite value fails them.
    if (!(pattern->stwpwtang() > 0.0)) pattern->setStwpwtang(material->wpwtang());
    const double wpwtang = pattern->stwpwtang();
    if (!(wpwtang >= kMinWarpWeftAngle && wpwtang <= kMaxWarpWeftAngle)) {
        msg->Create(4,
                    "The warp/weft angle of %g degrees is outside the allowable range of %g-%g "
                    "degrees. Please define an acceptable warp/weft angle.",
                    wpwtang * kRadToDeg, kMinWarpWeftAngle * kRadToDeg,
                    kMaxWarpWeftAngle * kRadToDeg);
        return fail(pattern);
    }
    const double ratio = pattern->WarpWeftRatio();
    if (!(ratio >= kMinRatio && ratio <= kMaxRatio)) {
        msg->Create(4,
                    "The warp/weft ratio of %g is outside the allowable range of %g-%g. Please "
                    "define an acceptable warp/weft ratio.",
                    ratio, kMinRatio, kMaxRatio);
        return fail(pattern);
    }
    if (!(pattern->maxstrn() > 0.0)) pattern->setMaxstrn(material->maxstrn());
    const double maxstrn = pattern->maxstrn();
    if (!(maxstrn >= kMinMaxStrain)) {
        msg->Create(4,
                    "The maximum strain angle of %g degrees is less than the minimum allowable "
                    "value of %g degrees. Please define an acceptable maximum strain angle.",
                    maxstrn * kRadToDeg, kMinMaxStrain * kRadToDeg);
        return fail(pattern);
    }

    // 7. Fabric geometry and reference step.
    CKpMatGeom geom(0.0, 1.0, 0.0);
    geom.SetStartWarpWeftAngle(wpwtang);
    geom.SetWarpWeftRatio(ratio);
    pattern->setDefaultStep(facets->DefaultStep());
    const double step = pattern->stepUsed();
    int startFacet = -1;
    int side = 0;
    CKpPoint start;
    double seedAngle = 0.0;
    const int axstp = pattern->axstp();
    const bool seedCurves = axstp == 3 || axstp == 4;
    CKpPoint eye;
    CKpDirn eyed, refd;
    seedGeometry(pattern, eye, eyed, refd);

    // 8. The start point: on the seed curves, else where the application
    // direction from the seed point meets the selection.
    if (seedCurves) {
        CKpElemEdgeStore* warpCurve = pattern->SeedCurve(0);
        CKpElemEdgeStore* weftCurve = pattern->SeedCurve(1);
        if (!warpCurve || !weftCurve) {
            msg->Create(4, "Could not allocate memory.");
            return fail(pattern);
        }
        if (warpCurve->ArrangeCurve(msg, elems, facets) != 0) return fail(pattern);
        if (axstp == 3 && weftCurve->ArrangeCurve(msg, elems, facets) != 0) return fail(pattern);
        double refang = pattern->refang();
        double warpAngle = 0.0;
        double weftAngle = 0.0;
        // The orientation word is the pattern's seed-curve direction ("Calc",
        // "Warp", ... or an angle).
        const int rc = warpCurve->CalcStartAxes(
            msg, axstp, pattern->axsdn(), weftCurve, model->pNodes(), facets, eye, eyed, refd,
            refang, geom, seedAngle, startFacet, start, side, warpAngle, weftAngle, sim);
        pattern->setRefang(refang);
        if (rc != 0) return fail(pattern);
    } else if (CalcStart(msg, facets, eye, eyed, 0, startFacet, start, side) != 0) {
        return fail(pattern);
    }

    // 9. The region around the start.
    if (traceRegion(msg, model, startFacet, side, "Cannot create boundary.") != 0)
        return fail(pattern);

    // 10. Start directions and fibre axes (seed curves made theirs in 8).
    if (!seedCurves) {
        double warpAngle = 0.0;
        double weftAngle = 0.0;
        CKpPlane warpPlane;
        CKpPlane weftPlane;
        if (CalcStartDirn(msg, facets->pFac(startFacet), start, eyed, refd, pattern->refang(),
                          axstp, wpwtang, warpAngle, weftAngle, &warpPlane, &weftPlane) != 0) {
            // Only a short reference direction and an unknown axis type are
            // reported there; a reference direction along the rotation axis
            // or an application direction in the facet's plane fail silently.
            if (refd.mag() >= 1e-6 && axstp >= 0 && axstp <= 2)
                msg->Create(4, "Could not generate pattern axes");
            return fail(pattern);
        }
        if (CalcAxes(msg, gra, facets, axstp, startFacet, start, warpAngle, weftAngle, warpPlane,
                     weftPlane, sim) != 0) {
            msg->Create(4, "Could not generate pattern axes");
            return fail(pattern);
        }
    }

    // 11.-12. Grid bound and the first order.
    sim->pBound()->Set(ratio, step, pattern->minwp(), pattern->maxwp(), pattern->minwt(),
                       pattern->maxwt());
    if (pattern_wf(msg, model->pGUI(), gra, facets, material, axstp, pattern->exttp(), sim, geom,
                   seedAngle, maxstrn, step, side) != 0) {
        msg->Create(2, "Could not complete simulation.");
        return fail(pattern);
    }

    // 13. The further orders, each added to the selection and draped on.
    const int maxOrder = patElems ? patElems->GetMaxOrder() : 0;
    std::vector<int> ids(patElems ? static_cast<size_t>(patElems->entries()) : 0u);
    for (int k = 1; k <= maxOrder; ++k) {
        msg->Create(1, "Extending ply for order %d of %d.", k, maxOrder);
        int count = 0;
        patElems->GetElemIdsOrder(k, count, ids.data(), static_cast<int>(ids.size()));
        if (count < 1) continue;
        if (bdys->DeselectInteriorElements(elems, facets) != 0) {
            msg->Create(4, "Cannot deselect interior elements.");
            return fail(pattern);
        }
        model->SelectAreaEID(count, ids.data(), k);
        if (find_selected_neighbour(msg, gra, facets, elems) != 0) {
            msg->Create(4, "Cannot find selected neighbour.");
            return fail(pattern);
        }
        if (traceRegion(msg, model, startFacet, side,
                        "Cannot create boundary around selected elements.") != 0)
            return fail(pattern);
        if (ExtendPlyL(msg, model->pGUI(), gra, facets, material, pattern->exttp(), sim,
                       pattern->stwpwtang(), ratio, maxstrn, step, side,
                       pattern->inadmissibleMode(), pattern->inadmissibleTolerance()) != 0) {
            msg->Create(2, "Could not extend ply.");
            return fail(pattern);
        }
    }

    // 14. Results into the pattern.
    CKpDrape* grid = sim->pDrape();
    pattern->setSimResult(0);
    pattern->setStft(startFacet);
    pattern->setStdn(side);
    if (const CKpAxisPt* first = sim->pAxis(0)->pAxisPt(0))
        pattern->SetStartPoint(first->getPosition());
    pattern->SetStartWarpDirection(*sim->pAxis(0));
    pattern->SetStartWeftDirection(*sim->pAxis(1));
    int minu = 0, maxu = 0, minv = 0, maxv = 0;
    grid->GetBounds(minu, maxu, minv, maxv);
    pattern->setMid(0, minu, maxu, minv, maxv);
    pattern->setMinstrnc(grid->GetMinimumStrain());
    pattern->setMaxstrnc(grid->GetMaximumStrain());
    pattern->setMinthck(grid->GetMinimumThickness());
    pattern->setMaxthck(grid->GetMaximumThickness());

    // 15. The pattern elements from the drape.
    if (update != 0 &&
        (!patElems || patElems->UpdateFromDraping(msg, grid, elems, facets, side) != 0)) {
        msg->Create(4, "%s", kTransferFailed);
        return fail(pattern);
    }

    // 16. The flat pattern; without it the drape still stands.
    if (sim->pFlatPats()->Create(msg, facets, bdys, grid, pattern->stwpwtang(), ratio, 0.0, step) !=
        0)
        msg->Create(2, "Could not create flat pattern.");
    return 0;
}

}  // namespace

int PatSimulateProjection(CKpMat* material, CKpPat* pattern, CKpLayup* model, int update) {
    return guarded(project, material, pattern, model, update);
}

int PatSimulateDraping(CKpMat* material, CKpPat* pattern, CKpLayup* model, int update) {
    return guarded(drape, material, pattern, model, update);
}
