#include "host/LayupLayupFns.h"

#include <new>
#include <vector>

#include "host/CKpDB.h"
#include "host/LayupApi.h"
#include "host/guard_export.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLyp.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpLypPlyStore.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/LayupFromLams.h"
#include "layuplib/angle_util.h"
#include "layuplib/copy_text.h"

namespace {

void text(char** array, int i, const char* value, int size) {
    if (array) copy_text(array[i], size, value);
}

template <class T>
void put(T* array, int i, T value) {
    if (array) array[i] = value;
}

}  // namespace

namespace layupfns {

int CreateLayup2(CKpLayup* model, const char* name, int count, const char* const* plyGroups,
                 const char* const* sequences, const int* types, const char* const* plyNames,
                 const int* instanceCounts, const int* sides, const float* angleOffsets,
                 const float* thicknessOverrides, const int* globalPlyIds) {
    if (!model) return 1;
    IVekPlyLayup* layup = model->GetPlyLayup();
    if (!layup) {
        model->pMsg()->Create(4, "Invalid ply layup.");
        return 1;
    }
    // Every array is read count times: a missing one is refused before any
    // layup ply is made.
    if (count >= 1 && (!types || !plyNames || !instanceCounts || !sides || !angleOffsets ||
                       !thicknessOverrides || !globalPlyIds)) {
        model->pMsg()->Create(4, "Missing layup arrays for %d entries.", count);
        return -1;
    }
    try {
        const size_t n = count >= 1 ? static_cast<size_t>(count) : 0;
        std::vector<double> angles(n), thicknesses(n);
        std::vector<int> typeCopy(n);
        for (size_t i = 0; i < n; ++i) {
            angles[i] = radians(angleOffsets[i]);
            thicknesses[i] = thicknessOverrides[i];
            typeCopy[i] = types[i];
        }
        layup->SetName(name);
        return layup->Create(count, plyGroups, sequences, n ? typeCopy.data() : nullptr, plyNames,
                             instanceCounts, sides, n ? angles.data() : nullptr,
                             n ? thicknesses.data() : nullptr, globalPlyIds);
    } catch (const std::bad_alloc&) {
        model->pMsg()->Create(4, "Could not allocate memory.");
        return -1;
    }
}

int CreateLayupLaminate(CKpLayup* model) {
    if (!model) return 1;
    if (model->pLyp()->GetNumLayupPlyIDs() > 0) {
        model->pMsg()->Create(4,
                              "Cannot create a ply layup from laminates as layup plies already "
                              "exist.");
        return -1;
    }
    CKpDB* db = model->pDB();
    const bool host = db && db->exists();
    if (host) {
        // The host's laminates take the place of the model's.
        model->pLams()->Clear();
        model->pOrients()->Clear();
        db->getLam(model->pMsg(), model->pElems(), model->pLams());
        db->getMat(model->pMsg(), model->pLams(), model->pMats());
        db->getProp(model->pMsg(), model->pElems(), model->pOrients(), model->pCoords());
    }
    const int result = ::CreateLayupLaminate(model);
    if (host) {
        model->pLams()->Clear();
        model->pOrients()->Clear();
    }
    return result;
}

int DeleteLayup(CKpLayup* model) {
    if (!model) return 1;
    return model->GetPlyLayup()->Clear() != 0 ? 2 : 0;
}

int GetLayupSizes(CKpLayup* model, int* count) {
    if (!model) return 1;
    IVekLayupPlyStore* store = model->GetPlyLayup()->GetLayupPlyStore();
    if (!store) return 2;
    if (count) *count = store->Count();
    return 0;
}

int GetLayup2(CKpLayup* model, char* name, int count, char** plyGroups, char** sequences,
              int* types, char** plyNames, int* instances, int* sides, float* angleOffsets,
              int* globalPlyIds, int textSize) {
    if (!model) return 1;
    IVekPlyLayup* layup = model->GetPlyLayup();
    if (!layup) {
        model->pMsg()->Create(4, "Invalid ply layup.");
        return 1;
    }
    IVekLayupPlyStore* store = layup->GetLayupPlyStore();
    if (!store) {
        model->pMsg()->Create(4, "Invalid layup ply store.");
        return 2;
    }
    if (count != store->Count()) return 3;
    copy_text(name, textSize, layup->GetName());
    for (int i = 0; i < count; ++i) {
        IVekLayupPly* ply = store->Get(i);
        text(plyGroups, i, ply->GetPlyGroup(), textSize);
        text(sequences, i, ply->GetSequence(), textSize);
        put(types, i, static_cast<int>(ply->GetType()));
        text(plyNames, i, ply->GetPlyName(), textSize);
        put(instances, i, ply->GetInstance());
        put(sides, i, ply->GetSide());
        put(angleOffsets, i, degrees_as_float(ply->GetAngleOffset()));
        put(globalPlyIds, i, ply->GetGlobalPlyID());
    }
    return 0;
}

int GetLayupElementSize(CKpLayup* model, int elemId, int* count) {
    if (!model) return 1;
    const CKpElem* elem = model->pElems()->find(elemId);
    if (!elem) return -1;
    const CKpElemLypPlyStore* stack = elem->getElemLypPlies();
    if (count) *count = stack ? stack->entries() : 0;
    return 0;
}

int GetLayupElement(CKpLayup* model, int elemId, float* normal, int count, char** plyNames,
                    int* types, int* instances, int* directions, char** materialNames,
                    char** externalMaterialNames, float* thicknesses, float* referenceAngles,
                    float* rotations, int* globalPlyIds, int textSize) {
    if (!model) return 1;
    const CKpElem* elem = model->pElems()->find(elemId);
    if (!elem) return 1;
    if (normal) {
        CKpDirn n;
        elem->GetNormal(&n);
        normal[0] = static_cast<float>(n.getx());
        normal[1] = static_cast<float>(n.gety());
        normal[2] = static_cast<float>(n.getz());
    }
    const CKpElemLypPlyStore* stack = elem->getElemLypPlies();
    const int layers = stack ? stack->entries() : 0;
    if (count != layers) {
        model->pMsg()->Create(
            1, "LayupGetLayupElement: The array size %d is not equal to the number of layers %d.",
            count, layers);
        return 2;
    }
    int i = 0;
    for (const CKpElemLypPly* entry = layers ? stack->First() : nullptr; entry;
         entry = stack->Next(entry), ++i) {
        CKpPly* ply = model->pPlys()->find(entry->lyrid());
        if (!ply) {
            model->pMsg()->Create(4, "Could not find specified ply.");
            return 3;
        }
        CKpPat* pat = ply->pPat() ? ply->pPat() : model->pPats()->find(ply->pttrnid());
        if (!pat) {
            model->pMsg()->Create(4, "Could not find specified pattern 4");
            return 4;
        }
        CKpMat* mat = ply->pMat() ? ply->pMat() : model->pMats()->find(ply->mtrlid());
        if (!mat) {
            model->pMsg()->Create(4, "Could not find specified material.");
            return 5;
        }
        const CKpLypPly* lypPly = model->pLyp()->LypPlys().find(entry->getLypPlyId());
        const int direction = lypPly ? entry->dnfg() * ply->stdn() * lypPly->side() : 0;
        text(plyNames, i, ply->GetName(), textSize);
        put(types, i, entry->lyrtp());
        put(instances, i, entry->instance());
        put(directions, i, direction);
        text(materialNames, i, mat->mtrlnm(), textSize);
        text(externalMaterialNames, i, mat->extmtrlnm(), textSize);
        put(thicknesses, i, static_cast<float>(entry->thck()));
        put(referenceAngles, i, degrees_as_float(ply->GetReferenceAngle()));
        put(rotations, i, degrees_as_float(entry->rotn()));
        put(globalPlyIds, i, entry->gplyid());
    }
    return 0;
}

int GetLayupElemGPlyID(CKpLayup* model, int elemId, int layer) {
    if (!model) return 1;
    const CKpElem* elem = model->pElems()->find(elemId);
    const CKpElemLypPlyStore* stack = elem ? elem->getElemLypPlies() : nullptr;
    if (!stack || layer < 0 || layer >= stack->entries()) return 0;
    return stack->GetIndex(layer)->gplyid();
}

}  // namespace layupfns

// ---- The exported layup functions, on the slot's model ----

namespace {

// Texts copied into caller buffers: at most this much (the command-language
// wrapper cuts them further to the host's slots).
constexpr int kTextSize = 256;

CKpLayup* slotModel() {
    return static_cast<CKpLayup*>(LayupSlotModel());
}

}  // namespace

extern "C" {

int LayupCreateLayup2(const char* name, int count, char** plyGroups, char** sequences, int* types,
                      char** plyNames, int* instanceCounts, int* sides, float* angleOffsets,
                      float* thicknessOverrides, int* globalPlyIds) {
    return guard_export(__func__, -1, [&]() -> int {
        return layupfns::CreateLayup2(slotModel(), name, count, plyGroups, sequences, types,
                                      plyNames, instanceCounts, sides, angleOffsets,
                                      thicknessOverrides, globalPlyIds);
    });
}

int LayupCreateLayup(const char* name, int count, int* types, char** plyNames, int* instanceCounts,
                     int* sides, float* angleOffsets, float* thicknessOverrides,
                     int* globalPlyIds) {
    return LayupCreateLayup2(name, count, nullptr, nullptr, types, plyNames, instanceCounts, sides,
                             angleOffsets, thicknessOverrides, globalPlyIds);
}

int LayupCreateLayupLaminate(void) {
    return guard_export(__func__, -1,
                        [&]() -> int { return layupfns::CreateLayupLaminate(slotModel()); });
}

int LayupDeleteLayup(int) {
    return guard_export(__func__, -1, [&]() -> int { return layupfns::DeleteLayup(slotModel()); });
}

int LayupGetLayupSizes(int* count) {
    return guard_export(__func__, -1,
                        [&]() -> int { return layupfns::GetLayupSizes(slotModel(), count); });
}

int LayupGetLayup2(char* name, int count, char** plyGroups, char** sequences, int* types,
                   char** plyNames, int* instances, int* sides, float* angleOffsets,
                   int* globalPlyIds) {
    return guard_export(__func__, -1, [&]() -> int {
        return layupfns::GetLayup2(slotModel(), name, count, plyGroups, sequences, types, plyNames,
                                   instances, sides, angleOffsets, globalPlyIds, kTextSize);
    });
}

int LayupGetLayup(char* name, int count, int* types, char** plyNames, int* instances, int* sides,
                  float* angleOffsets, int* globalPlyIds) {
    return LayupGetLayup2(name, count, nullptr, nullptr, types, plyNames, instances, sides,
                          angleOffsets, globalPlyIds);
}

int LayupGetLayupElementSize(int elemId, int* count) {
    return guard_export(__func__, -1, [&]() -> int {
        return layupfns::GetLayupElementSize(slotModel(), elemId, count);
    });
}

int LayupGetLayupElement(int elemId, float* normal, int count, char** plyNames, int* types,
                         int* instances, int* directions, char** materialNames,
                         char** externalMaterialNames, float* thicknesses, float* referenceAngles,
                         float* rotations, int* globalPlyIds) {
    return guard_export(__func__, -1, [&]() -> int {
        return layupfns::GetLayupElement(slotModel(), elemId, normal, count, plyNames, types,
                                         instances, directions, materialNames,
                                         externalMaterialNames, thicknesses, referenceAngles,
                                         rotations, globalPlyIds, kTextSize);
    });
}

int LayupGetLayupElemGPlyID(int elemId, int layer) {
    return guard_export(__func__, 0, [&]() -> int {
        return layupfns::GetLayupElemGPlyID(slotModel(), elemId, layer);
    });
}

}  // extern "C"
