#include "host/LayupExport.h"

#include <cstdio>

#include "host/LayupApi.h"
#include "layuplib/CKpFile.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLyp.h"
#include "layuplib/IVekPly.h"
#include "layuplib/IVekPlyStore.h"
#include "layuplib/IVekSolidGenSet.h"
#include "layuplib/SaveBacon.h"
#include "layuplib/save_neutral.h"

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
    CKpLayup* model = slotModel();
    if (!model) return 1;
    CKpFile record;
    record.SetName(file);
    if (save_neutral(model->pMsg(), &record, model->pNodes(), model->pElems(), model->pMats()) !=
        0) {
        model->pMsg()->Create(4, "Could not write MORVEK 2.5 file");
        return -1;
    }
    model->pMsg()->Create(1, "MORVEK 2.5 file written");
    return 0;
}

int LayupExportBacon(const char* file, int elemIdOffset) {
    CKpLayup* model = slotModel();
    if (!model) return 1;
    return writeTextFile(model, file, "BACON file exported", "Could not save BACON file",
                         [&](FILE* fp) {
                             return SaveBacon(model->pMsg(), model->pMats(), model->pPlys(),
                                              &model->pLyp()->LypPlys(), fp, elemIdOffset);
                         });
}

int LayupSaveIndex(const char* file) {
    CKpLayup* model = slotModel();
    if (!model) return 1;
    return writeTextFile(model, file, "Index saved", "Could not save index data", [&](FILE* fp) {
        return SaveIndex(model->pElems(), &model->pLyp()->LypPlys(), fp);
    });
}

int LayupExportPly3dLaser(const char* name, int kind, const char* file, int flag) {
    CKpLayup* model = slotModel();
    if (!model) return 1;
    IVekPly* ply = findPly(model, name);
    return ply ? ply->Export3dLaser(kind, file, flag) : -1;
}

int LayupExportPly3dDXF(const char* name, const char* file, const char* layer, int flag) {
    CKpLayup* model = slotModel();
    if (!model) return 1;
    IVekPly* ply = findPly(model, name);
    return ply ? ply->Export3dDXF(file, layer, flag) : -1;
}

int LayupExportPly3dVFP(const char* name, const char* file, const char* solid, int flag) {
    CKpLayup* model = slotModel();
    if (!model) return 1;
    IVekPly* ply = findPly(model, name);
    return ply ? ply->Export3dVFP(file, solid, flag) : -1;
}

int LayupExportPly3dIGES(const char* name, const char* file, int flag) {
    CKpLayup* model = slotModel();
    if (!model) return 1;
    IVekPly* ply = findPly(model, name);
    return ply ? ply->Export3dIGES(file, flag) : -1;
}

int LayupExportPly2dDXF(const char* name, const char* file, const char* layer, const char* style,
                        int flag) {
    CKpLayup* model = slotModel();
    if (!model) return 1;
    IVekPly* ply = findPly(model, name);
    return ply ? ply->Export2dDXF(file, layer, style, flag) : -1;
}

int LayupExportPly2dIGES(const char* name, const char* file, int flag) {
    CKpLayup* model = slotModel();
    if (!model) return 1;
    IVekPly* ply = findPly(model, name);
    return ply ? ply->Export2dIGES(file, flag) : -1;
}

int LayupExportPly2dVirtek(const char* name, const char* file, int flag) {
    CKpLayup* model = slotModel();
    if (!model) return 1;
    IVekPly* ply = findPly(model, name);
    return ply ? ply->Export2dVirtek(file, flag) : -1;
}

int LayupClearSolidModel(void) {
    CKpLayup* model = slotModel();
    if (!model) return 1;
    IVekSolidGenSet* set = model->GetSolidGenSet();
    if (!set) return 1;
    set->Clear();
    return 0;
}

}  // extern "C"
