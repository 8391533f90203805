// The model slot, its construction and destruction, the factories for
// outside clients and the lifecycle functions of the exported interface.

#include <cmath>
#include <new>
#include <vector>

#include "host/CKpDB.h"
#include "host/CMorvek.h"
#include "host/CMorvekGUI.h"
#include "host/LayupApi.h"
#include "host/PlotRoutines.h"
#include "host/guard_export.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/PlyImport.h"
#include "layuplib/angle_util.h"

namespace {

ILayup* g_model = nullptr;

CKpLayup* slot() {
    return static_cast<CKpLayup*>(g_model);
}

// The read sequence shared by the read functions. `check`: make the element
// check whatever the mask; `wbMask`, `wbResults`: what is written back.
int readSequence(ILayup::EFormat format, const char* path, int mask, int results, const char* path2,
                 bool check, int wbMask, int wbResults) {
    CKpLayup* model = slot();
    if (!model) return 1;
    if (check || mask != 0) {
        int count = 0;
        model->GetNumElems(&count);
        if (count > 0) {
            model->SetMessage(ILayup::eError, "Cannot import model data as model already exists.");
            return 2;
        }
    }
    if (model->Read(format, path, mask, results, path2) != 0) return 3;
    CKpDB* db = model->pDB();
    if (!db || !db->exists()) return 0;
    return model->Write(ILayup::eHostDatabase, nullptr, wbMask, wbResults, 1, 0) != 0 ? 4 : 0;
}

// A second model on the slot model's adapters, filled from the host
// database (its read result is not looked at). Null when it cannot be
// allocated.
CKpLayup* databaseModel(CKpLayup* model, int mask) {
    CKpLayup* temp = new (std::nothrow) CKpLayup(model->pDB(), model->pGUI());
    if (temp) temp->Read(ILayup::eHostDatabase, nullptr, mask, 0, nullptr);
    return temp;
}

// Ply import onto the slot's model from layup and bulk-data files.
int importPlies(int areaCount, int* areaIds, int fileCount, char** files, double angle,
                double distance, int normalCalculation, int importLayup, int preview,
                int mergeNodes, int boundaryCurves, double splitWidth, int* uncoveredCount,
                int* uncoveredIds) {
    CKpLayup* model = slot();
    if (!model) return 1;
    return ImportMultipleLayups(model, areaCount, areaIds, fileCount, files, angle, distance,
                                normalCalculation, importLayup, preview, mergeNodes,
                                boundaryCurves, splitWidth, uncoveredCount, uncoveredIds);
}

}  // namespace

ILayup* LayupSlotModel() {
    return g_model;
}

int CreateLayupApp(CKpDB* db, CKpGUI* gui, ILayup** out) {
    return guard_export(__func__, -1, [&]() -> int {
        if (!out) return -1;
        CKpLayup* model = new (std::nothrow) CKpLayup(db, gui);
        if (!model) return -1;
        *out = model;
        return 0;
    });
}

int DeleteLayupApp(ILayup* model) {
    return guard_export(__func__, -1, [&]() -> int {
        if (!model) return -1;
        delete model;
        return 0;
    });
}

extern "C" {

int LayupConstruct(int kind, const char*, const char*) {
    return guard_export(__func__, -1, [&]() -> int {
        if (g_model) {
            g_model->SetMessage(ILayup::eError,
                                "A Layup object cannot be created as one is already defined.");
            return 1;
        }
        if (kind != 0) return 2;
        CMorvek* db = new (std::nothrow) CMorvek();
        CMorvekGUI* gui = db ? new (std::nothrow) CMorvekGUI() : nullptr;
        CKpLayup* model = gui ? new (std::nothrow) CKpLayup(db, gui) : nullptr;
        if (!model) {
            delete gui;
            delete db;
            return 2;
        }
        g_model = model;
        return 0;
    });
}

int LayupDestruct(void) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* model = slot();
        if (!model) return 1;
        CKpDB* db = model->pDB();
        CKpGUI* gui = model->pGUI();
        delete model;
        g_model = nullptr;
        delete db;
        delete gui;
        return 0;
    });
}

int LayupOpenMessage(const char* path) {
    return guard_export(__func__, -1,
                        [&]() -> int { return g_model ? g_model->OpenMessage(path) : 1; });
}

int LayupCloseMessage(void) {
    return guard_export(__func__, -1,
                        [&]() -> int { return g_model ? g_model->CloseMessage() : 1; });
}

int LayupNewLayupMesh(int nNodes, int* nodeIds, float* xyz, int nElems, int* elemIds, int* values,
                      int* topologies, int width, int* connectivity, float tolerance, float b) {
    return guard_export(__func__, -1, [&]() -> int {
        if (!g_model) return 1;
        // Only a count and an array the model can take are widened; anything
        // else goes on as it came, for the model to refuse with its message.
        std::vector<double> wide;
        const double* coords = nullptr;
        if (nNodes > 0 && xyz) {
            try {
                wide.resize(3 * static_cast<size_t>(nNodes));
            } catch (...) {
                g_model->SetMessage(ILayup::eError, "Could not allocate memory.");
                return -1;
            }
            for (size_t i = 0; i < wide.size(); ++i) wide[i] = xyz[i];
            coords = wide.data();
        }
        return g_model->NewLayupMesh(nNodes, nodeIds, coords, nElems, elemIds, values, topologies,
                                     width, connectivity, tolerance, b);
    });
}

int LayupNewLayup(float tolerance, float b) {
    return guard_export(__func__, -1,
                        [&]() -> int { return g_model ? g_model->NewLayup(tolerance, b) : 1; });
}

int LayupOpenLayup(const char* path, int compressed) {
    return LayupOpenLayup2(path, compressed, 1);
}

int LayupOpenLayup2(const char* path, int compressed, int check) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* model = slot();
        if (!model) return 1;
        if (model->OpenLayup(path, compressed) != 0) return 2;
        if (check == 0) return 0;
        CKpLayup* temp = nullptr;
        CKpDB* db = model->pDB();
        if (db && db->exists()) {
            temp = databaseModel(model, 1);
            if (!temp) return 3;
        }
        const int differs = model->CheckMatch(temp);
        delete temp;
        if (differs == 0) return 0;
        model->pFacs();  // the surface exists once asked for
        PlotFacets(model->pGra(), model->pFacs());
        const int answer = model->pMsg()->CreateDirect(
            100005, 1029,
            "The mesh in the opened Layup file differs from the mesh in the database. The free "
            "edges of the Layup file mesh are plotted in the current viewport. We recommend that "
            "you either 1) Create a new Layup file compatible with the database mesh, then import "
            "the plies from the original Layup file onto the new mesh, or 2) Import the model from "
            "the current Layup file into a new database. Do you wish to continue?");
        model->pGra()->delete_segment(6);
        return answer == 1 ? 0 : 100005;
    });
}

int LayupSaveLayup(const char* path, int detail, int compress) {
    return guard_export(__func__, -1, [&]() -> int {
        return g_model ? g_model->SaveLayup(path, detail, compress) : 1;
    });
}

int LayupCloseLayup(void) {
    return guard_export(__func__, -1, [&]() -> int { return g_model ? g_model->CloseLayup() : 1; });
}

int LayupGetVersions(int* api, int* file, int* lib) {
    return guard_export(
        __func__, -1, [&]() -> int { return g_model ? g_model->GetVersions(api, file, lib) : 1; });
}

int LayupRead(int format, const char* path, int mask, int results) {
    return guard_export(__func__, -1, [&]() -> int {
        return readSequence(static_cast<ILayup::EFormat>(format), path, mask, results, nullptr,
                            false, mask, results);
    });
}

int LayupRead2(int format, const char* path, int mask, int results, const char* path2) {
    return guard_export(__func__, -1, [&]() -> int {
        return readSequence(static_cast<ILayup::EFormat>(format), path, mask, results, path2, false,
                            mask, results);
    });
}

int LayupKorRead(const char* path, int) {
    return guard_export(__func__, -1, [&]() -> int {
        return readSequence(ILayup::eBulkData, path, 7, 0, nullptr, true, 7, 0);
    });
}

int LayupKorF06Read(const char* path, int mask, const char* path2, int results) {
    return guard_export(__func__, -1, [&]() -> int {
        return readSequence(ILayup::ePrintedOutput, path, mask, results, path2, false, mask,
                            results);
    });
}

int LayupKorOp2Read(const char* path, int mask, int results) {
    return guard_export(__func__, -1, [&]() -> int {
        return readSequence(ILayup::eBinaryOutput, path, mask, results, nullptr, false, mask,
                            results);
    });
}

int LayupImportMorvek25(const char* path) {
    return guard_export(__func__, -1, [&]() -> int {
        return readSequence(ILayup::eNeutral, path, 1, 0, nullptr, true, 1, 0);
    });
}

int LayupFemapAccess(int, const char*) {
    return guard_export(__func__, -1, [&]() -> int {
        return readSequence(ILayup::eFemap, nullptr, 1, 0, nullptr, true, 1, 0);
    });
}

int LayupWrite(int format, const char* path, int option, int mask) {
    return guard_export(__func__, -1, [&]() -> int {
        if (!g_model) return 1;
        return g_model->Write(static_cast<ILayup::EFormat>(format), path, mask, 0, 0, option) != 0
                   ? 2
                   : 0;
    });
}

int LayupWrite2(int format, const char* path, int option, int mask, int results, int c) {
    return guard_export(__func__, -1, [&]() -> int {
        if (!g_model) return 1;
        return g_model->Write(static_cast<ILayup::EFormat>(format), path, mask, results, c,
                              option) != 0
                   ? 2
                   : 0;
    });
}

int LayupKorWrite(const char* path, int, int e) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* model = slot();
        if (!model) return 1;
        CKpDB* db = model->pDB();
        CKpLayup* temp = nullptr;
        if (db && db->exists()) {
            temp = databaseModel(model, 7);
            if (!temp) {
                model->pMsg()->Create(4, "Could not allocate memory.");
                return -1;
            }
        }
        const int rc = (temp ? temp : model)->Write(ILayup::eBulkData, path, 7, 0, e, 0);
        delete temp;
        return rc;
    });
}

int LayupImportPly(int a, int* ids, int nFiles, char** files, float angle, float b, int c, int d,
                   int e, int f, float g) {
    return guard_export(__func__, -1, [&]() -> int {
        return importPlies(a, ids, nFiles, files, radians_as_float(angle), b, 0, c, d, e, f, g,
                           nullptr, nullptr);
    });
}

int LayupImportPly2(int a, int* ids, int nFiles, char** files, float angle, float b, int c, int d,
                    int e, int f, float g, int* out1, int* out2) {
    return guard_export(__func__, -1, [&]() -> int {
        return importPlies(a, ids, nFiles, files, radians_as_float(angle), b, 0, c, d, e, f, g,
                           out1, out2);
    });
}

int LayupImportPly3(int a, int* ids, int nFiles, char** files, float angle, float b, int h, int c,
                    int d, int e, int f, float g, int* out1, int* out2) {
    return guard_export(__func__, -1, [&]() -> int {
        return importPlies(a, ids, nFiles, files, radians_as_float(angle), b, h, c, d, e, f, g,
                           out1, out2);
    });
}

}  // extern "C"
