// Selection, mesh and area functions of the exported interface.

#include "host/LayupSelect.h"

#include <cmath>
#include <new>
#include <vector>

#include "host/LayupApi.h"
#include "host/LayupSlot.h"
#include "host/guard_export.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/IVekSelect.h"
#include "layuplib/IVekSolidGenSet.h"
#include "layuplib/angle_util.h"
#include "layuplib/surface_div.h"

namespace {

IVekSelect* selection(CKpLayup* m) {
    return m ? m->GetSelect() : nullptr;
}

float toFloat(double v) {
    return static_cast<float>(v);
}

// Doubles for `points` points, or none for a count below 1; false when
// they cannot be allocated.
bool coordinates(std::vector<double>& xyz, int points) {
    if (points < 1) return true;
    try {
        xyz.resize(3 * static_cast<size_t>(points));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void round(const std::vector<double>& xyz, float* out) {
    if (!out) return;
    for (size_t k = 0; k < xyz.size(); ++k) out[k] = toFloat(xyz[k]);
}

// GetMesh of the model or of the solid generation set through doubles;
// the caller's floats are written only when the mesh was.
template <class Source>
int meshThroughDoubles(Source& source, int nodes, int* nodeIds, float* xyz, int elements,
                       int* elemIds, int* patchIds, int* topologies, int width,
                       int* connectivity) {
    std::vector<double> tmp;
    if (!coordinates(tmp, nodes)) return 1;
    const int rc = source.GetMesh(nodes, nodeIds, tmp.empty() ? nullptr : tmp.data(), elements,
                                  elemIds, patchIds, topologies, width, connectivity);
    if (rc == 0) round(tmp, xyz);
    return rc;
}

}  // namespace

extern "C" {

int LayupSelectClear(void) {
    return guard_export(__func__, -1, [&]() -> int {
        IVekSelect* s = selection(slotLayup());
        return s ? s->Clear() : 1;
    });
}

int LayupSelectSetElements(int count, int* ids) {
    return guard_export(__func__, -1, [&]() -> int {
        IVekSelect* s = selection(slotLayup());
        return s ? s->SetElementIds(count, ids) : 1;
    });
}

int LayupSelectGetNumSelectionGroups(int* groups) {
    return guard_export(__func__, -1, [&]() -> int {
        IVekSelect* s = selection(slotLayup());
        return s ? s->GetNumSelectionGroups(groups) : 1;
    });
}

int LayupSelectGetNumElements(int group, int* numBoundary, int* numInterior) {
    return guard_export(__func__, -1, [&]() -> int {
        IVekSelect* s = selection(slotLayup());
        return s ? s->GetNumElements(group, numBoundary, numInterior) : 1;
    });
}

int LayupSelectGetElementIds(int group, int numBoundary, int* boundaryIds, int numInterior,
                             int* interiorIds) {
    return guard_export(__func__, -1, [&]() -> int {
        IVekSelect* s = selection(slotLayup());
        return s ? s->GetElementIds(group, numBoundary, boundaryIds, numInterior, interiorIds) : 1;
    });
}

int LayupSelectGetBoundaryNum(int group, int* rings, int* points) {
    return guard_export(__func__, -1, [&]() -> int {
        IVekSelect* s = selection(slotLayup());
        return s ? s->GetBoundarySizes(group, rings, points) : 1;
    });
}

int LayupSelectGetBoundary(int group, int rings, int points, int* perRing, float* xyz, int* ids) {
    return guard_export(__func__, -1, [&]() -> int {
        IVekSelect* s = selection(slotLayup());
        if (!s) return 1;
        std::vector<double> tmp;
        if (!coordinates(tmp, points)) return 2;
        // The selection writes nothing on failure; the floats follow only a
        // success, so a refusal leaves every caller array as it was.
        if (s->GetBoundary(group, rings, points, perRing, tmp.empty() ? nullptr : tmp.data(),
                           ids) != 0)
            return 2;
        round(tmp, xyz);
        return 0;
    });
}

int LayupMergeFree(float tolerance) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        return m ? m->MergeFree(tolerance) : 1;
    });
}

int LayupSewFree(float tolerance) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        return m ? m->SewFree(tolerance) : 1;
    });
}

int LayupGetNumElems(int* count) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        return m ? m->GetNumElems(count) : 1;
    });
}

int LayupGetElemIds(int count, int* ids) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        return m ? m->GetElemIds(count, ids) : 1;
    });
}

int LayupSelectAreaEID(int count, int* ids, int order) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        return m ? m->SelectAreaEID(count, ids, order) : 1;
    });
}

int LayupRestoreArea(void) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        if (surface_restore(m->pElems(), m->pFacs()) != 0) {
            m->pMsg()->Create(4, "Could not restore surface area");
            return -1;
        }
        m->pMsg()->Create(1, "Area restored");
        return 0;
    });
}

int LayupGetNodeBounds(int* nodes, float* xmin, float* xmax, float* ymin, float* ymax, float* zmin,
                       float* zmax) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpNodeStore* store = m->pNodes();
        const int n = store ? store->GetNumNodes() : 0;
        if (nodes) *nodes = n;
        if (n < 1) return 0;
        double b[6];
        if (store->GetBounds(&b[0], &b[1], &b[2], &b[3], &b[4], &b[5]) != 0) return -1;
        float* out[6] = {xmin, xmax, ymin, ymax, zmin, zmax};
        for (int k = 0; k < 6; ++k)
            if (out[k]) *out[k] = toFloat(b[k]);
        return 0;
    });
}

int LayupGetMeshSizes(int* nodes, int* elements, int* width) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        return m ? m->GetMeshSizes(nodes, elements, width) : 1;
    });
}

int LayupGetMesh(int nodes, int* nodeIds, float* xyz, int elements, int* elemIds, int* patchIds,
                 int* topologies, int width, int* connectivity) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        return meshThroughDoubles(*m, nodes, nodeIds, xyz, elements, elemIds, patchIds, topologies,
                                  width, connectivity);
    });
}

int LayupGetSolidMeshSizes(int* nodes, int* elements, int* width) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        IVekSolidGenSet* set = m ? m->GetSolidGenSet() : nullptr;
        if (!set) return 1;
        int n = 0, e = 0, w = 0;
        const int rc = set->GetMeshSizes(n, e, w);
        if (rc != 0) return rc;
        if (nodes) *nodes = n;
        if (elements) *elements = e;
        if (width) *width = w;
        return 0;
    });
}

int LayupGetSolidMesh(int nodes, int* nodeIds, float* xyz, int elements, int* elemIds,
                      int* patchIds, int* topologies, int width, int* connectivity) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        IVekSolidGenSet* set = m ? m->GetSolidGenSet() : nullptr;
        if (!set) return 1;
        return meshThroughDoubles(*set, nodes, nodeIds, xyz, elements, elemIds, patchIds,
                                  topologies, width, connectivity);
    });
}

int LayupGetElem(int id, int* type, int* nodeIds, float* xyz, float* area, float* normal,
                 float* reference, float* materialAngle, float* orientationAngle, float* thickness,
                 int* offsetFlag, float* offset, float* lamThickness, float* lamPosition) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpElemStore* elems = m->pElems();
        CKpElem* e = elems ? elems->find(id) : nullptr;
        if (!e) return -1;
        if (type) *type = e->getgmtp();
        if (nodeIds) {
            const int n = e->getnnod();
            for (int i = 0; i < n; ++i) {
                nodeIds[i] = e->getunid(i);
                // Coordinates only into an array the caller gave.
                if (!xyz) continue;
                xyz[3 * i] = toFloat(e->getckpnodesX(i));
                xyz[3 * i + 1] = toFloat(e->getckpnodesY(i));
                xyz[3 * i + 2] = toFloat(e->getckpnodesZ(i));
            }
        }
        if (area) {
            double a = 0.0;
            if (e->GetArea(&a) != 0) a = 0.0;
            *area = toFloat(a);
        }
        if (normal) {
            CKpDirn d;
            if (e->GetNormal(&d) != 0) d = CKpDirn();
            normal[0] = toFloat(d.getx());
            normal[1] = toFloat(d.gety());
            normal[2] = toFloat(d.getz());
        }
        if (reference) {
            CKpDirn d;
            if (e->GetReference(&d) != 0) d = CKpDirn();
            reference[0] = toFloat(d.getx());
            reference[1] = toFloat(d.gety());
            reference[2] = toFloat(d.getz());
        }
        if (materialAngle) *materialAngle = toFloat(e->thetaKor(m->pMsg()) * kDegPerRad);
        if (orientationAngle) *orientationAngle = toFloat(e->theta() * kDegPerRad);
        if (thickness) *thickness = toFloat(e->thck());
        if (offsetFlag) *offsetFlag = e->getoff_fg();
        if (offset) *offset = toFloat(e->getoff_val());
        CKpLamStore* lams = m->pLams();
        CKpLam* lam = lams && e->pid() > 0 ? lams->find(e->pid()) : nullptr;
        if (lamThickness) *lamThickness = lam ? toFloat(lam->t()) : 0.0f;
        if (lamPosition) *lamPosition = lam ? toFloat(lam->z0()) : 0.0f;
        return 0;
    });
}

int LayupGetMeshLowId(int* nodeId, int* elemId) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpNodeStore* nodes = m->pNodes();
        CKpElemStore* elems = m->pElems();
        CKpNode* node = nodes ? nodes->find(0) : nullptr;
        CKpElem* elem = elems ? elems->find(0) : nullptr;
        if (nodeId && node && node->id() > 0) *nodeId = node->id();
        if (elemId && elem && elem->id() > 0) *elemId = elem->id();
        return 0;
    });
}

}  // extern "C"

int LayupCutAreaEID(int count, int* ids, int* edges) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        return m ? m->CutAreaEID(count, ids, edges) : 1;
    });
}
