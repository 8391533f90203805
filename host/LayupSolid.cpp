// The solid model functions of the exported interface: solid generation
// through the model's settings, and the node and shell queries around it.

#include "host/LayupSlot.h"
#include "host/LayupSolid.h"

#include <algorithm>
#include <new>
#include <vector>

#include "blt/lamlayup.h"
#include "host/CKpDB.h"
#include "host/LayupApi.h"
#include "host/guard_export.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/CKpRefStore.h"
#include "layuplib/IVekSolidGenSet.h"
#include "layuplib/angle_util.h"
#include "layuplib/facet_query.h"
#include "layuplib/find_nei.h"
#include "layuplib/surface_div.h"

namespace {

double at(const float* v, int i) {
    return v ? static_cast<double>(v[i]) : 0.0;
}

}  // namespace

extern "C" {

int LayupCreateSolidModel(int nElems, int* elemIds, const char*, int elemIdOffset, int nodeIdOffset,
                          int method, int nThrough, int enforce, int fillVoids,
                          const char* voidMaterial, int smooth, float smoothValue, int snap,
                          float snapTol, int nSnap, int* snapIds, int* snapCounts,
                          float* snapValues, const char* prefix, int* options, int propMode,
                          float* vector1, float* vector2, float switchAngle, float angTol,
                          float thickTol, int firstCoord, int firstLam, int firstProp,
                          int ignoreThick, int equallySpaced, int shearCorr) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpMsg* msg = m->pMsg();
        // The log lines below read every snap node: nothing is read or set
        // when their arrays are missing.
        if (nSnap > 0 && (!snapIds || !snapCounts || !snapValues)) {
            msg->Create(
                4, "CreateSolidElements: %d snap nodes given without their ids, counts or values.",
                nSnap);
            return -1;
        }

        // 1. The settings as the caller gave them.
        auto text = [](const char* s) { return s ? s : ""; };
        const int opt[6] = {options ? options[0] : 0, options ? options[1] : 0,
                            options ? options[2] : 0, options ? options[3] : 0,
                            options ? options[4] : 0, options ? options[5] : 0};
        msg->Create(1, "CreateSolidElements:");
        msg->Create(1, " ext_mthd: %d", method);
        msg->Create(1, " num_thru_elems: %d", nThrough);
        msg->Create(1, " enforce_contin: %d", enforce);
        msg->Create(1, " fill_voids: %d", fillVoids);
        msg->Create(1, " fill_voids_mat: %s", text(voidMaterial));
        msg->Create(1, " smooth_faces: %d", smooth);
        msg->Create(1, " smooth_faces_val: %g", static_cast<double>(smoothValue));
        msg->Create(1, " snap_faces: %d", snap);
        msg->Create(1, " snap_faces_tol: %g", static_cast<double>(snapTol));
        msg->Create(1, " num_sel_nodes: %d", nSnap);
        for (int k = 0; k < nSnap; ++k)
            msg->Create(1, " nodes id: %6d num_ints %d int_vals %12g %12g", snapIds[k],
                        snapCounts[k], static_cast<double>(snapValues[2 * k]),
                        static_cast<double>(snapValues[2 * k + 1]));
        msg->Create(1, " prefix: %s", text(prefix));
        msg->Create(1, " ep_ids: %d %d %d %d %d %d", opt[0], opt[1], opt[2], opt[3], opt[4],
                    opt[5]);
        msg->Create(1, " prop_mode: %d", propMode);
        msg->Create(1, " vector_1: %g %g %g", at(vector1, 0), at(vector1, 1), at(vector1, 2));
        msg->Create(1, " vector_2: %g %g %g", at(vector2, 0), at(vector2, 1), at(vector2, 2));
        msg->Create(1, " switch_angle: %g", static_cast<double>(switchAngle));
        msg->Create(1, " angtol: %g", static_cast<double>(angTol));
        msg->Create(1, " thktol: %g", static_cast<double>(thickTol));
        msg->Create(1, " first_coord_id: %d", firstCoord);
        msg->Create(1, " first_lam_id: %d", firstLam);
        msg->Create(1, " first_prop_id: %d", firstProp);
        msg->Create(1, " ignore_thick: %d", ignoreThick);
        msg->Create(1, " eql_spcd_vars: %d", equallySpaced);
        msg->Create(1, " shear_corr: %d", shearCorr);

        // 2. Radians and double snap values.
        const double switchRad = static_cast<double>(switchAngle) * kRadPerDeg;
        const double angTolRad = static_cast<double>(angTol) * kRadPerDeg;
        std::vector<double> values;
        try {
            values.resize(nSnap > 0 ? 2 * static_cast<size_t>(nSnap) : 0);
        } catch (const std::bad_alloc&) {
            msg->Create(4, "Could not allocate memory.");
            return -1;
        }
        for (size_t k = 0; k < values.size(); ++k) values[k] = snapValues[k];

        // 3.-4. The settings, in the order generation expects them, and the run.
        IVekSolidGenSet* set = m->GetSolidGenSet();
        if (!set) return 1;
        const double v1[3] = {at(vector1, 0), at(vector1, 1), at(vector1, 2)};
        const double v2[3] = {at(vector2, 0), at(vector2, 1), at(vector2, 2)};
        set->Clear();
        set->SetName(prefix);
        set->SetElementIds(nElems, elemIds);
        set->SetExtrusionMethod(static_cast<EVekExtrusionMethod>(method));
        set->SetNodeIdOffset(nodeIdOffset);
        set->SetElementIdOffset(elemIdOffset);
        set->SetNumThroughThickElements(nThrough);
        set->SetEnforcePlyContinuity(enforce);
        set->SetFillVoidsWithMaterial(fillVoids, voidMaterial);
        set->SetSmoothFaces(smooth, smoothValue);
        set->SetSnapToSurface(snap, snapTol, nSnap, snapIds, snapCounts,
                              values.empty() ? nullptr : values.data());
        set->SetPropertySetOptions(options);
        set->SetPropertyMode(propMode);
        set->SetVectorDirection(0, v1);
        set->SetVectorDirection(1, v2);
        set->SetSwitchAngle(switchRad);
        set->SetAngleTolerance(angTolRad);
        set->SetThicknessTolerance(thickTol);
        set->SetFirstCoordId(firstCoord);
        set->SetFirstLamId(firstLam);
        set->SetFirstPropId(firstProp);
        set->SetIgnoreThickness(ignoreThick);
        set->SetEquallySpacedVariables(equallySpaced);
        set->SetShearCorrection(shearCorr);
        set->Run();

        // 5. The run leaves its selection behind.
        if (surface_restore(m->pElems(), m->pFacs()) != 0) return -1;

        // 6. Snapping results go to the host.
        if (snap != 0)
            if (CKpDB* db = m->pDB()) db->putRes(msg, m->pRess());
        return 0;
    });
}

int LayupGetNumSelNodes(int nElems, int* ids, int* count) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        if (m->RestoreAndSelectArea(nElems, ids) != 0) return 1;
        CKpRefStore refs;
        if (m->pNodes()->CreateSelNodeElemRef(m->pMsg(), m->pElems(), &refs) != 0) return 2;
        if (count) *count = refs.entries();
        return 0;
    });
}

int LayupGetSelNodeData(int capacity, int* ids, float* positions, float* normals) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpMsg* msg = m->pMsg();
        CKpRefStore refs;
        if (m->pNodes()->CreateSelNodeElemRef(msg, m->pElems(), &refs) != 0) return 1;
        if (find_selected_neighbour(msg, m->pGra(), m->pFacs(), m->pElems()) != 0) return 2;
        if (m->pNodes()->CreateSelNodeNormals(msg, &refs, m->pElems(), m->pFacs()) != 0) return 3;

        const int n = std::min(std::max(capacity, 0), refs.entries());
        if (BltArrayShort(ids, n) || BltArrayShort(positions, 3LL * n) || BltArrayShort(normals, 3LL * n)) {
            msg->Create(
                4, "LayupGetSelNodeData: the node arrays cannot hold the %d selected nodes.", n);
            return -1;
        }
        // The store keeps its references in ascending node id.
        for (int k = 0; k < n; ++k) {
            const CKpRef* ref = refs[k];
            const CKpNode* node = ref ? m->pNodes()->find(ref->id()) : nullptr;
            if (!node) continue;
            if (ids) ids[k] = node->id();
            if (positions) {
                positions[3 * k] = static_cast<float>(node->getCKpPointX());
                positions[3 * k + 1] = static_cast<float>(node->getCKpPointY());
                positions[3 * k + 2] = static_cast<float>(node->getCKpPointZ());
            }
            if (normals) {
                normals[3 * k] = static_cast<float>(node->getCKpDirnX());
                normals[3 * k + 1] = static_cast<float>(node->getCKpDirnY());
                normals[3 * k + 2] = static_cast<float>(node->getCKpDirnZ());
            }
        }
        return 0;
    });
}

int LayupGetSolidShells(int nPoints, float* points, int* elemIds) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        if (!points || !elemIds) return 0;
        CKpFacetStore* facets = m->pFacs();
        for (int k = 0; k < nPoints; ++k) {
            CKpPoint p;
            p.Set(points[3 * k], points[3 * k + 1], points[3 * k + 2]);
            int f = -1;
            CKpPoint hit;
            if (CalcPointFacetsPoint(m->pMsg(), facets, p, f, hit, 1) != 0) continue;
            const CKpFacet* facet = facets->pFac(f);
            const CKpElem* elem = facet ? facet->getElement() : nullptr;
            const CKpElemLypPlyStore* plies = elem ? elem->getElemLypPlies() : nullptr;
            if (!plies || plies->entries() < 1) continue;
            CKpDirn normal;
            facet->GetNormal(&normal);
            CKpDirn along;
            along.Set(p.getx() - hit.getx(), p.gety() - hit.gety(), p.getz() - hit.getz());
            const double d = along.DotProduct(&normal);
            const double o = elem->off();
            if (o <= d && d <= o + elem->thck()) elemIds[k] = elem->id();
        }
        return 0;
    });
}

}  // extern "C"
