// Ply creation, replacement and deletion of the exported interface.

#include <cstring>

#include "blt/lamlayup.h"
#include "host/LayupApi.h"
#include "host/LayupSlot.h"
#include "host/guard_export.h"
#include "layuplib/CKpBdyStore.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CalcStart.h"
#include "layuplib/IVekPlyStore.h"
#include "layuplib/angle_util.h"
#include "layuplib/find_nei.h"
#include "layuplib/surface_div.h"

namespace {

IVekPlyStore* plyStore(CKpLayup* m) {
    IVekPlyStore* s = m->GetPlyStore();
    if (!s) m->pMsg()->Create(4, "Invalid ply store.");
    return s;
}

// Every setting but the name, in the order the ply expects them. A setter's
// failure is a warning; the next setter runs.
struct Settings {
    int type;
    const char* material;
    float seed[3], app[3], ref[3];
    float refAngle;
    int originFlag;
    const float* origin;
    const char* frame;
    float warpWeft, ratio, maxStrain, step;
    int curveType;
    const char* curveDir;
    const int* curveCounts;
    const int* curveElems;
    const int* curveEdges;
    int extension, inadmMode;
    float inadmTol;
    float bounds[4];
    int nElems;
    const int* elems;
    const int* orders;
    int nSplit;
    const int* splitElems;
    const int* splitEdges;
    const int* splitValues;
};

void warn(CKpLayup* m, const char* setter, int rc) {
    if (rc != 0) m->pMsg()->Create(2, "Ply::%s(): %d", setter, rc);
}

void apply(CKpLayup* m, IVekPly* ply, const Settings& s) {
    auto wide = [](const float* f, double* d) {
        for (int k = 0; k < 3; ++k) d[k] = f[k];
    };
    double seed[3], app[3], ref[3];
    wide(s.seed, seed);
    wide(s.app, app);
    wide(s.ref, ref);
    warn(m, "SetType", ply->SetType(static_cast<EVekMaterialType>(s.type)));
    warn(m, "SetMaterialName", ply->SetMaterialName(s.material));
    warn(m, "SetElementIdsOrders", ply->SetElementIdsOrders(s.nElems, s.elems, s.orders));
    warn(m, "SetSeedPoint", ply->SetSeedPoint(seed));
    warn(m, "SetApplicationDirection", ply->SetApplicationDirection(app));
    warn(m, "SetReferenceDirection", ply->SetReferenceDirection(ref));
    warn(m, "SetReferenceAngle", ply->SetReferenceAngle(radians(s.refAngle)));
    if (s.originFlag != 0) {
        double origin[3] = {0, 0, 0};
        if (s.origin) wide(s.origin, origin);
        warn(m, "SetCoordOriginName", ply->SetCoordOriginName(origin, s.frame));
    }
    warn(m, "SetWarpWeftAngle", ply->SetWarpWeftAngle(radians(s.warpWeft)));
    warn(m, "SetWarpWeftRatio", ply->SetWarpWeftRatio(s.ratio));
    warn(m, "SetMaximumStrain", ply->SetMaximumStrain(radians(s.maxStrain)));
    warn(m, "SetStepLength", ply->SetStepLength(s.step));
    warn(m, "SetSeedCurveType", ply->SetSeedCurveType(s.curveType));
    warn(m, "SetSeedCurveDirectionAngle", ply->SetSeedCurveDirectionAngle(s.curveDir));
    // Without counts both curves are empty; the second curve's arrays are
    // formed only from arrays that exist.
    const int n0 = s.curveCounts ? s.curveCounts[0] : 0;
    const int n1 = s.curveCounts ? s.curveCounts[1] : 0;
    warn(m, "SetSeedCurveEdges", ply->SetSeedCurveEdges(0, n0, s.curveElems, s.curveEdges));
    const int skip = n0 > 0 ? n0 : 0;
    warn(m, "SetSeedCurveEdges",
         ply->SetSeedCurveEdges(1, n1, s.curveElems ? s.curveElems + skip : nullptr,
                                s.curveEdges ? s.curveEdges + skip : nullptr));
    warn(m, "SetExtensionType", ply->SetExtensionType(s.extension));
    warn(m, "SetInadmissibleOptions", ply->SetInadmissibleOptions(s.inadmMode, s.inadmTol));
    warn(m, "SetSplitEdges",
         ply->SetSplitEdges(s.nSplit, s.splitElems, s.splitEdges, s.splitValues));
    const double warp2[2] = {s.bounds[0], s.bounds[1]};
    const double weft2[2] = {s.bounds[2], s.bounds[3]};
    warn(m, "SetBounds", ply->SetBounds(warp2, weft2));
}

Settings settings(int type, const char* material, float sx, float sy, float sz, float ax, float ay,
                  float az, float rx, float ry, float rz, float refAngle, int originFlag,
                  const float* origin, const char* frame, float warpWeft, float ratio,
                  float maxStrain, float step, int curveType, const char* curveDir,
                  const int* curveCounts, const int* curveElems, const int* curveEdges,
                  int extension, int inadmMode, float inadmTol, float b1, float b2, float b3,
                  float b4, int nElems, const int* elems, const int* orders, int nSplit,
                  const int* splitElems, const int* splitEdges, const int* splitValues) {
    return Settings{type,       material,  {sx, sy, sz}, {ax, ay, az},     {rx, ry, rz}, refAngle,
                    originFlag, origin,    frame,        warpWeft,         ratio,        maxStrain,
                    step,       curveType, curveDir,     curveCounts,      curveElems,   curveEdges,
                    extension,  inadmMode, inadmTol,     {b1, b2, b3, b4}, nElems,       elems,
                    orders,     nSplit,    splitElems,   splitEdges,       splitValues};
}

// Inside a built-in call, the fixed-size host arrays must be complete: the
// origin holds 3 coordinates, the seed curve counts 2.
bool shortFixedArrays(CKpLayup* m, const Settings& s) {
    const int origin = s.originFlag != 0 ? BltArrayElems(s.origin) : -1;
    const int counts = BltArrayElems(s.curveCounts);
    if ((origin >= 0 && origin < 3) || (counts >= 0 && counts < 2)) {
        m->pMsg()->Create(4, "The ply origin needs 3 coordinates and the seed curves 2 counts.");
        return true;
    }
    return false;
}

int create(const char* name, const Settings& s) {
    CKpLayup* m = slotLayup();
    if (!m) return 1;
    if (shortFixedArrays(m, s)) return -1;
    if (!name || !*name) {
        m->pMsg()->Create(4, "Cannot create a ply with no name.");
        return -1;
    }
    IVekPlyStore* store = plyStore(m);
    if (!store) return -1;
    if (store->Get(name)) {
        m->pMsg()->Create(4, "Ply name '%s' already used.", name);
        return -1;
    }
    IVekPly* ply = store->New();
    if (!ply) {
        m->pMsg()->Create(4, "Could not create new ply.");
        return -1;
    }
    warn(m, "SetName", ply->SetName(name));
    apply(m, ply, s);
    m->FlushMessageStore();
    const int rc = ply->Simulate();
    if (rc != 0) {
        m->pMsg()->Create(2, "Ply::Simulate(): %d", rc);
        ILayup::EMsgTyp kind;
        char text[1024];
        while (m->GetFirstMessageInStore(60.0, kind, text, sizeof text) == 0) {
        }
    }
    m->pMsg()->Create(1, "Ply '%s' created.", ply->GetName());
    return 0;
}

int modify(const char* name, const char* newName, const Settings& s) {
    CKpLayup* m = slotLayup();
    if (!m) return 1;
    if (shortFixedArrays(m, s)) return -1;
    if (!name || !*name || !newName || !*newName) {
        m->pMsg()->Create(4, "Cannot modify a ply with no name.");
        return -1;
    }
    IVekPlyStore* store = plyStore(m);
    if (!store) return -1;
    IVekPly* old = store->Get(name);
    if (!old) {
        m->pMsg()->Create(4, "Ply name '%s' does not exist.", name);
        return -1;
    }
    if (std::strcmp(name, newName) != 0 && store->Get(newName)) {
        m->pMsg()->Create(4, "Ply name '%s' already used.", newName);
        return -1;
    }
    IVekPly* ply = store->New();
    if (!ply) {
        m->pMsg()->Create(4, "Could not create new ply.");
        return -1;
    }
    apply(m, ply, s);
    ply->Simulate();
    if (ply->GetSimulationResult() != 0) {
        if (old->GetSimulationResult() != 0) {
            m->pMsg()->Create(2,
                              "The draping simulation for ply '%s' has failed. The ply "
                              "specifications will be saved for reference, but this ply cannot "
                              "be used in a layup.",
                              newName);
        } else {
            m->pMsg()->Create(4,
                              "The draping simulation for ply '%s' has failed. The existing ply "
                              "will be retained.",
                              newName);
            store->Delete(ply);
            return -1;
        }
    }
    if (store->Replace(old, ply, newName) != 0) {
        // The nameless new ply would stay behind and be found by nothing.
        store->Delete(ply);
        m->pMsg()->Create(4, "Could not replace ply '%s'.", name);
        return -1;
    }
    m->pMsg()->Create(1, "Ply '%s' modified.", ply->GetName());
    return 0;
}

// The element of a pattern entry: its linked element, else the one of its id.
CKpElem* patElement(CKpElemStore* elems, const CKpPatElem* pe) {
    return pe->pelem() ? pe->pelem() : elems->find(pe->GetElemId());
}

// Selects the pattern's elements (each at its own order), then the added
// ids, then unselects the removed ids; unknown ids are skipped.
void selectEditedRegion(CKpElemStore* elems, CKpFacetStore* facets, const CKpPatElemStore* list,
                        int nAdd, const int* add, int nRemove, const int* remove) {
    for (const CKpPatElem* pe = list->First(); pe; pe = list->Next(pe))
        if (CKpElem* e = patElement(elems, pe)) surface_select_elem(e, facets, pe->order());
    for (int k = 0; add && k < nAdd; ++k)
        if (CKpElem* e = elems->find(add[k])) surface_select_elem(e, facets, 0);
    for (int k = 0; remove && k < nRemove; ++k)
        if (CKpElem* e = elems->find(remove[k])) surface_unselect_elem(e, facets);
}

// Each pattern element whose first facet lies in the traced region hands
// its drape results to that facet, which then counts as set. Elements left
// outside the region get nothing, so the rebuilt list drops them.
void seedFacets(CKpElemStore* elems, CKpFacetStore* facets, const CKpPatElemStore* list) {
    for (const CKpPatElem* pe = list->First(); pe; pe = list->Next(pe)) {
        const CKpElem* e = patElement(elems, pe);
        if (!e || e->getnfac() < 1) continue;
        CKpFacet* f = facets->pFac(e->getfacs(0));
        if (!f || !f->getPntd()) continue;
        f->setFacetDirection(pe->dnfg());
        f->setwpang(pe->warpAngle());
        f->setwtang(pe->weftAngle());
        f->setstrn(pe->shear());
        f->setNrpat(1);
    }
}

}  // namespace

extern "C" {

int LayupCreatePly4(int type, const char* name, const char* material, float sx, float sy, float sz,
                    float ax, float ay, float az, float rx, float ry, float rz, float refAngle,
                    int originFlag, const float* origin, const char* frame, float warpWeft,
                    float ratio, float maxStrain, float step, int curveType, const char* curveDir,
                    const int* curveCounts, const int* curveElems, const int* curveEdges,
                    int extension, int inadmMode, float inadmTol, float b1, float b2, float b3,
                    float b4, int nElems, const int* elems, const int* orders, int nSplit,
                    const int* splitElems, const int* splitEdges, const int* splitValues) {
    return guard_export(__func__, -1, [&]() -> int {
        return create(name, settings(type, material, sx, sy, sz, ax, ay, az, rx, ry, rz, refAngle,
                                     originFlag, origin, frame, warpWeft, ratio, maxStrain, step,
                                     curveType, curveDir, curveCounts, curveElems, curveEdges,
                                     extension, inadmMode, inadmTol, b1, b2, b3, b4, nElems, elems,
                                     orders, nSplit, splitElems, splitEdges, splitValues));
    });
}

int LayupCreatePly3(int type, const char* name, const char* material, float sx, float sy, float sz,
                    float ax, float ay, float az, float rx, float ry, float rz, float refAngle,
                    int originFlag, const float* origin, const char* frame, float warpWeft,
                    float ratio, float maxStrain, float step, int curveType, const char* curveDir,
                    const int* curveCounts, const int* curveElems, const int* curveEdges,
                    int extension, float b1, float b2, float b3, float b4, int nElems,
                    const int* elems, const int* orders, int nSplit, const int* splitElems,
                    const int* splitEdges, const int* splitValues) {
    return LayupCreatePly4(type, name, material, sx, sy, sz, ax, ay, az, rx, ry, rz, refAngle,
                           originFlag, origin, frame, warpWeft, ratio, maxStrain, step, curveType,
                           curveDir, curveCounts, curveElems, curveEdges, extension, 0, 0.0f, b1,
                           b2, b3, b4, nElems, elems, orders, nSplit, splitElems, splitEdges,
                           splitValues);
}

int LayupCreatePly2(int type, const char* name, const char* material, float sx, float sy, float sz,
                    float ax, float ay, float az, float rx, float ry, float rz, float refAngle,
                    float warpWeft, float ratio, float maxStrain, float step, int curveType,
                    const char* curveDir, const int* curveCounts, const int* curveElems,
                    const int* curveEdges, int extension, float b1, float b2, float b3, float b4,
                    int nElems, const int* elems, const int* orders, int nSplit,
                    const int* splitElems, const int* splitEdges, const int* splitValues) {
    return LayupCreatePly3(type, name, material, sx, sy, sz, ax, ay, az, rx, ry, rz, refAngle, 0,
                           nullptr, nullptr, warpWeft, ratio, maxStrain, step, curveType, curveDir,
                           curveCounts, curveElems, curveEdges, extension, b1, b2, b3, b4, nElems,
                           elems, orders, nSplit, splitElems, splitEdges, splitValues);
}

int LayupCreatePly(int type, const char* name, const char* material, float sx, float sy, float sz,
                   float ax, float ay, float az, float rx, float ry, float rz, float refAngle,
                   float warpWeft, float ratio, float maxStrain, float step, int curveType,
                   const char* curveDir, const int* curveCounts, const int* curveElems,
                   const int* curveEdges, int extension, float b1, float b2, float b3, float b4,
                   int nElems, const int* elems, const int* orders, int nSplit,
                   const int* splitElems, const int* splitEdges) {
    return LayupCreatePly3(type, name, material, sx, sy, sz, ax, ay, az, rx, ry, rz, refAngle, 0,
                           nullptr, nullptr, warpWeft, ratio, maxStrain, step, curveType, curveDir,
                           curveCounts, curveElems, curveEdges, extension, b1, b2, b3, b4, nElems,
                           elems, orders, nSplit, splitElems, splitEdges, nullptr);
}

int LayupModifyPly4(int type, const char* name, const char* newName, const char* material, float sx,
                    float sy, float sz, float ax, float ay, float az, float rx, float ry, float rz,
                    float refAngle, int originFlag, const float* origin, const char* frame,
                    float warpWeft, float ratio, float maxStrain, float step, int curveType,
                    const char* curveDir, const int* curveCounts, const int* curveElems,
                    const int* curveEdges, int extension, int inadmMode, float inadmTol, float b1,
                    float b2, float b3, float b4, int nElems, const int* elems, const int* orders,
                    int nSplit, const int* splitElems, const int* splitEdges,
                    const int* splitValues) {
    return guard_export(__func__, -1, [&]() -> int {
        return modify(
            name, newName,
            settings(type, material, sx, sy, sz, ax, ay, az, rx, ry, rz, refAngle, originFlag,
                     origin, frame, warpWeft, ratio, maxStrain, step, curveType, curveDir,
                     curveCounts, curveElems, curveEdges, extension, inadmMode, inadmTol, b1, b2,
                     b3, b4, nElems, elems, orders, nSplit, splitElems, splitEdges, splitValues));
    });
}

int LayupModifyPly3(int type, const char* name, const char* newName, const char* material, float sx,
                    float sy, float sz, float ax, float ay, float az, float rx, float ry, float rz,
                    float refAngle, int originFlag, const float* origin, const char* frame,
                    float warpWeft, float ratio, float maxStrain, float step, int curveType,
                    const char* curveDir, const int* curveCounts, const int* curveElems,
                    const int* curveEdges, int extension, float b1, float b2, float b3, float b4,
                    int nElems, const int* elems, const int* orders, int nSplit,
                    const int* splitElems, const int* splitEdges, const int* splitValues) {
    return LayupModifyPly4(type, name, newName, material, sx, sy, sz, ax, ay, az, rx, ry, rz,
                           refAngle, originFlag, origin, frame, warpWeft, ratio, maxStrain, step,
                           curveType, curveDir, curveCounts, curveElems, curveEdges, extension, 0,
                           0.0f, b1, b2, b3, b4, nElems, elems, orders, nSplit, splitElems,
                           splitEdges, splitValues);
}

int LayupModifyPly2(int type, const char* name, const char* newName, const char* material, float sx,
                    float sy, float sz, float ax, float ay, float az, float rx, float ry, float rz,
                    float refAngle, float warpWeft, float ratio, float maxStrain, float step,
                    int curveType, const char* curveDir, const int* curveCounts,
                    const int* curveElems, const int* curveEdges, int extension, float b1, float b2,
                    float b3, float b4, int nElems, const int* elems, const int* orders, int nSplit,
                    const int* splitElems, const int* splitEdges, const int* splitValues) {
    return LayupModifyPly3(type, name, newName, material, sx, sy, sz, ax, ay, az, rx, ry, rz,
                           refAngle, 0, nullptr, nullptr, warpWeft, ratio, maxStrain, step,
                           curveType, curveDir, curveCounts, curveElems, curveEdges, extension, b1,
                           b2, b3, b4, nElems, elems, orders, nSplit, splitElems, splitEdges,
                           splitValues);
}

int LayupModifyPly(int type, const char* name, const char* newName, const char* material, float sx,
                   float sy, float sz, float ax, float ay, float az, float rx, float ry, float rz,
                   float refAngle, float warpWeft, float ratio, float maxStrain, float step,
                   int curveType, const char* curveDir, const int* curveCounts,
                   const int* curveElems, const int* curveEdges, int extension, float b1, float b2,
                   float b3, float b4, int nElems, const int* elems, const int* orders, int nSplit,
                   const int* splitElems, const int* splitEdges) {
    return LayupModifyPly3(type, name, newName, material, sx, sy, sz, ax, ay, az, rx, ry, rz,
                           refAngle, 0, nullptr, nullptr, warpWeft, ratio, maxStrain, step,
                           curveType, curveDir, curveCounts, curveElems, curveEdges, extension, b1,
                           b2, b3, b4, nElems, elems, orders, nSplit, splitElems, splitEdges,
                           nullptr);
}

int LayupDeletePly(int, const char* name) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekPlyStore* store = m->GetPlyStore();
        if (!store) {
            m->pMsg()->Create(4, "Invalid ply store");
            return -1;
        }
        IVekPly* ply = store->Get(name);
        if (!ply) {
            m->pMsg()->Create(4, "Could not find ply '%s'", name ? name : "");
            return -1;
        }
        if (store->Delete(ply) != 0) {
            m->pMsg()->Create(4, "Could not delete ply '%s'", name);
            return -1;
        }
        m->pMsg()->Create(1, "Ply '%s' deleted", name);
        return 0;
    });
}

int LayupModifyPlyEdit(const char* name, const char* newName, int nAdd, const int* add, int nRemove,
                       const int* remove) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpMsg* msg = m->pMsg();
        CKpPlyStore* plies = m->pPlys();
        CKpPly* ply = plies && name ? plies->findByName(name) : nullptr;
        if (!ply) {
            msg->Create(4, "Could not find specified ply.");
            return -1;
        }
        CKpPat* pattern = m->pPats() ? m->pPats()->find(ply->pttrnid()) : nullptr;
        CKpPatElemStore* list = pattern ? pattern->PatElems() : nullptr;
        if (!list) {
            msg->Create(4, "Could not find specified pattern 2");
            return -1;
        }
        // Two plies of one name would make every lookup by name find the first.
        const bool rename = newName && *newName && std::strcmp(newName, ply->name()) != 0;
        if (rename && plies->findByName(newName)) {
            msg->Create(4, "Ply name '%s' already used.", newName);
            return -1;
        }

        CKpElemStore* elems = m->pElems();
        CKpFacetStore* facets = m->pFacs();
        if (surface_restore(elems, facets) != 0) return -1;
        selectEditedRegion(elems, facets, list, nAdd, add, nRemove, remove);
        if (find_selected_neighbour(msg, m->pGra(), facets, elems) != 0) return -1;

        int startFacet = -1;
        int side = 0;
        CKpPoint start;
        CKpPoint eye;
        CKpDirn eyed;
        eye.Set(pattern->eyex(), pattern->eyey(), pattern->eyez());
        eyed.Set(pattern->eyedx(), pattern->eyedy(), pattern->eyedz());
        if (CalcStart(msg, facets, eye, eyed, 0, startFacet, start, side) != 0) {
            msg->Create(4, "Start facet not found.");
            return -1;
        }
        if (m->pBdys()->CalculateBoundary(msg, facets, startFacet, side) != 0) {
            msg->Create(4, "Cannot create boundary around selected elements.");
            return -1;
        }

        facets->SimulationInitialise();
        seedFacets(elems, facets, list);
        facets->SimulationInterpolate();
        list->eraseAllObjects();
        if (list->SimulationTransfer(elems, facets, pattern->stdn()) != 0) return -1;

        // The name is free (checked above); the pattern's name follows it.
        if (rename) ply->SetName(newName);
        // Rebuilds the ply elements, and the layup's element stacks when the
        // layup uses this ply.
        if (ply->UpdatePlyElems() != 0) return -1;
        return 0;
    });
}

}  // extern "C"
