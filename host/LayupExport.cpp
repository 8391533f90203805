#include "host/LayupExport.h"

#include <cstdio>
#include <new>
#include <vector>

#include "host/LayupApi.h"
#include "host/guard_export.h"
#include "layuplib/CKpCoord.h"
#include "layuplib/CKpFile.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLyp.h"
#include "layuplib/ExportLaserLayup.h"
#include "layuplib/IVekPly.h"
#include "layuplib/IVekPlyStore.h"
#include "layuplib/IVekSolidGenSet.h"
#include "layuplib/SaveBacon.h"
#include "layuplib/angle_util.h"
#include "layuplib/gen_flat_pat_igs.h"
#include "layuplib/save_neutral.h"
#include "layuplib/surface_div.h"

namespace {

CKpLayup* slotModel() {
    return static_cast<CKpLayup*>(LayupSlotModel());
}

// Open, write, report, close: the shared frame of the BACON and index
// exports. `write` returns nonzero when it wrote its file.
template <class Writer>
int writeTextFile(CKpLayup* model, const char* file, const char* done, const char* failed,
                  Writer write) {
    const char* name = file ? file : "";
    FILE* fp = std::fopen(name, "w");
    if (!fp) {
        model->pMsg()->Create(4, "Could not open file '%s' for writing.", name);
        return -1;
    }
    if (write(fp) == 0 || std::ferror(fp)) {
        model->pMsg()->Create(4, "%s", failed);
        std::fclose(fp);
        return -1;
    }
    model->pMsg()->Create(1, "%s", done);
    if (std::fclose(fp) != 0) {
        model->pMsg()->Create(4, "Could not close file");
        return -1;
    }
    return 0;
}

// The ply of `name`, or null after the error.
IVekPly* findPly(CKpLayup* model, const char* name) {
    IVekPlyStore* plys = model->GetPlyStore();
    if (!plys) {
        model->pMsg()->Create(4, "Invalid ply store.");
        return nullptr;
    }
    IVekPly* ply = name ? plys->Get(name) : nullptr;
    if (!ply) model->pMsg()->Create(4, "Ply name '%s' does not exist.", name ? name : "");
    return ply;
}

}  // namespace

extern "C" {

int LayupExportMorvek25(const char* file) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* model = slotModel();
        if (!model) return 1;
        CKpFile record;
        record.SetName(file);
        if (save_neutral(model->pMsg(), &record, model->pNodes(), model->pElems(),
                         model->pMats()) != 0) {
            model->pMsg()->Create(4, "Could not write MORVEK 2.5 file");
            return -1;
        }
        model->pMsg()->Create(1, "MORVEK 2.5 file written");
        return 0;
    });
}

int LayupExportBacon(const char* file, int elemIdOffset) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* model = slotModel();
        if (!model) return 1;
        return writeTextFile(model, file, "BACON file exported", "Could not save BACON file",
                             [&](FILE* fp) {
                                 return SaveBacon(model->pMsg(), model->pMats(), model->pPlys(),
                                                  &model->pLyp()->LypPlys(), fp, elemIdOffset);
                             });
    });
}

int LayupSaveIndex(const char* file) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* model = slotModel();
        if (!model) return 1;
        return writeTextFile(
            model, file, "Index saved", "Could not save index data",
            [&](FILE* fp) { return SaveIndex(model->pElems(), &model->pLyp()->LypPlys(), fp); });
    });
}

int LayupExportLaserLayup(int mask, const char* base, const char* partNumber, int units, int n,
                          const int* counts, const float* xyz) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* model = slotModel();
        if (!model) return 1;
        // Counts are checked before anything is allocated or written.
        long total = 0;
        bool valid = n >= 0 && (n == 0 || counts);
        for (int k = 0; valid && k < n; ++k) {
            if (counts[k] < 0) valid = false;
            total += counts[k];
        }
        if (valid && total > 0 && !xyz) valid = false;
        if (!valid) {
            model->pMsg()->Create(4, "Could not export laser layup data");
            return -1;
        }
        std::vector<double> targets;
        try {
            targets.assign(xyz, xyz + 3 * total);
        } catch (const std::bad_alloc&) {
            model->pMsg()->Create(4, "Could not allocate memory.");
            return -1;
        }
        if (ExportLaserLayup(model->pMsg(), mask, base, partNumber, units, n, counts,
                             targets.data()) != 0) {
            model->pMsg()->Create(4, "Could not export laser layup data");
            return -1;
        }
        model->pMsg()->Create(1, "Laser layup data exported");
        return 0;
    });
}

int LayupExportMouldSurfIGES(const char* file) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* model = slotModel();
        if (!model) return 1;
        if (surface_restore(model->pElems(), model->pFacs()) != 0) return -1;
        CKpFile record;
        record.SetName(file);
        if (gen_mould_surf_igs(model->pMsg(), model->pNodes(), model->pFacs(), &record) != 0) {
            model->pMsg()->Create(4, "Could not export mould surfaces in IGES format");
            return -1;
        }
        model->pMsg()->Create(1, "Mould surfaces exported in IGES format");
        return 0;
    });
}

int LayupExportLayupLaser(int numIds, const int* ids, int frameExtId, int frameType,
                          const float* origin, const float* axes, int offset, int minimise,
                          float angTolDeg, float distTol, int unused, int separate,
                          const char* prefix, float markerSize, int startMarker, int refMarker,
                          int warp, int fill, int flatOutline, const char* flatPrefix,
                          const char* path, int draw) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* model = slotModel();
        if (!model) return 1;
        CKpCoord frame(0);
        frame.setType(static_cast<CKpCoordType>(frameType));
        frame.SetExtId(frameExtId);
        frame.setRid(0);
        double o[3] = {0.0, 0.0, 0.0}, a[9] = {1.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0};
        if (origin)
            for (int k = 0; k < 3; ++k) o[k] = origin[k];
        if (axes)
            for (int k = 0; k < 9; ++k) a[k] = axes[k];
        frame.SetCoordsByOriginAxes(o, a);
        return ExportLayupLaser(model, numIds, ids, &frame, offset, minimise,
                                angTolDeg * kRadPerDeg, distTol, unused, separate, prefix,
                                markerSize, startMarker, refMarker, warp, fill, flatOutline,
                                flatPrefix, path, draw);
    });
}

int LayupExportPly3dLaser(const char* name, int kind, const char* file, int flag) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* model = slotModel();
        if (!model) return 1;
        IVekPly* ply = findPly(model, name);
        return ply ? ply->Export3dLaser(kind, file, flag) : -1;
    });
}

int LayupExportPly3dDXF(const char* name, const char* file, const char* layer, int flag) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* model = slotModel();
        if (!model) return 1;
        IVekPly* ply = findPly(model, name);
        return ply ? ply->Export3dDXF(file, layer, flag) : -1;
    });
}

int LayupExportPly3dVFP(const char* name, const char* file, const char* solid, int flag) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* model = slotModel();
        if (!model) return 1;
        IVekPly* ply = findPly(model, name);
        return ply ? ply->Export3dVFP(file, solid, flag) : -1;
    });
}

int LayupExportPly3dIGES(const char* name, const char* file, int flag) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* model = slotModel();
        if (!model) return 1;
        IVekPly* ply = findPly(model, name);
        return ply ? ply->Export3dIGES(file, flag) : -1;
    });
}

int LayupExportPly2dDXF(const char* name, const char* file, const char* layer, const char* style,
                        int flag) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* model = slotModel();
        if (!model) return 1;
        IVekPly* ply = findPly(model, name);
        return ply ? ply->Export2dDXF(file, layer, style, flag) : -1;
    });
}

int LayupExportPly2dIGES(const char* name, const char* file, int flag) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* model = slotModel();
        if (!model) return 1;
        IVekPly* ply = findPly(model, name);
        return ply ? ply->Export2dIGES(file, flag) : -1;
    });
}

int LayupExportPly2dVirtek(const char* name, const char* file, int flag) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* model = slotModel();
        if (!model) return 1;
        IVekPly* ply = findPly(model, name);
        return ply ? ply->Export2dVirtek(file, flag) : -1;
    });
}

int LayupClearSolidModel(void) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* model = slotModel();
        if (!model) return 1;
        IVekSolidGenSet* set = model->GetSolidGenSet();
        if (!set) return 1;
        set->Clear();
        return 0;
    });
}

int LayupEraseLayupLaser(void) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* model = slotModel();
        if (!model) return 1;
        model->pGra()->delete_segment(505);
        return 0;
    });
}

}  // extern "C"
