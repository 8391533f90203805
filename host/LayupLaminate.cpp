// The laminate functions of the exported interface: laminate counts of the
// property-generation set, per-element laminate queries and the laminate
// verification's drawing.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "blt/lamlayup.h"
#include "host/CKpDB.h"
#include "host/CKpGra.h"
#include "host/LayupApi.h"
#include "host/LayupSlot.h"
#include "host/guard_export.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpSortStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/IVekCoordStore.h"
#include "layuplib/IVekField.h"
#include "layuplib/IVekFieldStore.h"
#include "layuplib/IVekLam.h"
#include "layuplib/IVekLamLayer.h"
#include "layuplib/IVekLamLayerStore.h"
#include "layuplib/IVekLamStore.h"
#include "layuplib/IVekMaterial.h"
#include "layuplib/IVekMaterialState.h"
#include "layuplib/IVekMaterialStateStore.h"
#include "layuplib/IVekMaterialStore.h"
#include "layuplib/IVekPropGenSet.h"
#include "layuplib/IVekPropertySet.h"
#include "layuplib/IVekPropertySetStore.h"
#include "layuplib/IVekSolidGenSet.h"
#include "layuplib/VerifyLaminate.h"
#include "layuplib/angle_util.h"
#include "layuplib/cmpLam.h"
#include "layuplib/copy_text.h"

namespace {

const int kVerifySegment = 705;

// The laminate of an element's pid; null when the element or the laminate
// is missing.
CKpLam* elementLaminate(CKpLayup* m, int elemId) {
    CKpElemStore* elems = m->pElems();
    CKpLamStore* lams = m->pLams();
    if (!elems || !lams) return nullptr;
    CKpElem* elem = elems->find(elemId);
    if (!elem || elem->pid() < 1) return nullptr;
    return lams->find(elem->pid());
}

// The caller sized its text buffers from the counts; no length crosses.
void putText(char* buffer, const char* text) {
    copy_text(buffer, INT_MAX, text);
}

// Writes entry k of the given layer arrays from layer k of `lam`. False at
// the first layer whose material is missing (earlier entries stay written).
bool putLayers(CKpLayup* m, CKpLam* lam, char** mats, char** extMats, float* thicks, float* angles,
               int* gplies) {
    CKpMatStore* store = m->pMats();
    const int n = lam->NumLayers();
    for (int k = 0; k < n; ++k) {
        const CKpLamLyr* lyr = lam->LamLyrs()->Get(k);
        CKpMat* mat = (lyr && store) ? store->find(lyr->mid()) : nullptr;
        if (!mat) return false;
        if (mats) putText(mats[k], mat->GetName());
        if (extMats) putText(extMats[k], mat->extmtrlnmStt(lyr->sttid()));
        if (thicks) thicks[k] = static_cast<float>(lyr->t());
        if (angles) angles[k] = static_cast<float>(lyr->theta() * kDegPerRad);
        if (gplies) gplies[k] = lyr->gplyid();
    }
    return true;
}

// The laminate store of a source: 2 the property-generation set's, 3 the
// solid-generation set's. Null for anything else.
IVekLamStore* sourceStore(CKpLayup* m, int source) {
    if (source == 2) {
        IVekPropGenSet* set = m->GetPropGenSet();
        return set ? set->GetLamStore() : nullptr;
    }
    if (source == 3) {
        IVekSolidGenSet* set = m->GetSolidGenSet();
        return set ? set->GetLamStore() : nullptr;
    }
    return nullptr;
}

// The base-state values LayupGetMats hands out, in its argument order: the
// 21 elastic values Ex to C56, the 6 thermal values Alpx to A6, the density.
// Plain functions, as in the material functions (sanitizer-safe).
constexpr int kMatValues = 28;
double (*const kMatValue[kMatValues])(IVekMaterialState*) = {
    [](IVekMaterialState* s) { return s->GetEx(); },
    [](IVekMaterialState* s) { return s->GetEy(); },
    [](IVekMaterialState* s) { return s->GetEz(); },
    [](IVekMaterialState* s) { return s->GetNuxy(); },
    [](IVekMaterialState* s) { return s->GetNuyz(); },
    [](IVekMaterialState* s) { return s->GetNuzx(); },
    [](IVekMaterialState* s) { return s->GetGxy(); },
    [](IVekMaterialState* s) { return s->GetGyz(); },
    [](IVekMaterialState* s) { return s->GetGzx(); },
    [](IVekMaterialState* s) { return s->GetC14(); },
    [](IVekMaterialState* s) { return s->GetC15(); },
    [](IVekMaterialState* s) { return s->GetC16(); },
    [](IVekMaterialState* s) { return s->GetC24(); },
    [](IVekMaterialState* s) { return s->GetC25(); },
    [](IVekMaterialState* s) { return s->GetC26(); },
    [](IVekMaterialState* s) { return s->GetC34(); },
    [](IVekMaterialState* s) { return s->GetC35(); },
    [](IVekMaterialState* s) { return s->GetC36(); },
    [](IVekMaterialState* s) { return s->GetC45(); },
    [](IVekMaterialState* s) { return s->GetC46(); },
    [](IVekMaterialState* s) { return s->GetC56(); },
    [](IVekMaterialState* s) { return s->GetAlpx(); },
    [](IVekMaterialState* s) { return s->GetAlpy(); },
    [](IVekMaterialState* s) { return s->GetAlpz(); },
    [](IVekMaterialState* s) { return s->GetA4(); },
    [](IVekMaterialState* s) { return s->GetA5(); },
    [](IVekMaterialState* s) { return s->GetA6(); },
    [](IVekMaterialState* s) { return s->GetDensity(); },
};

}  // namespace

extern "C" {

int LayupCreateLaminate(int nElems, int* ids, char* name, int* options, int mode, int coord0,
                        int coord1, float* vector0, float* vector1, float* switchAngle,
                        float* angTol, float* thickTol, int firstCoord, int firstField,
                        int firstLam, int firstProp, int ignoreThickness, int equallySpaced,
                        int shearCorrection, int* nCoords, int* nFields, int* nFieldElems,
                        int* nMats, int* nLams, int* nLayers, int* nPropSets, int* nWords,
                        int* nPropElems) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekPropGenSet* set = m->GetPropGenSet();
        if (!set) return 1;
        auto radians = [](const float* deg) {
            return deg ? static_cast<double>(static_cast<float>(*deg / kDegPerRad)) : 0.0;
        };
        auto widen = [](const float* v, double out[3]) {
            for (int i = 0; i < 3; ++i) out[i] = v ? v[i] : 0.0;
        };
        set->Clear();
        set->SetName(name);
        set->SetElementIds(nElems, ids);
        set->SetPropertySetOptions(options);
        set->SetPropertyMode(mode);
        set->SetCoordId(0, coord0);
        set->SetCoordId(1, coord1);
        double v[3];
        widen(vector0, v);
        set->SetVectorDirection(0, v);
        widen(vector1, v);
        set->SetVectorDirection(1, v);
        set->SetSwitchAngle(radians(switchAngle));
        set->SetAngleTolerance(radians(angTol));
        set->SetThicknessTolerance(thickTol ? *thickTol : 0.0);
        set->SetFirstCoordId(firstCoord);
        set->SetFirstFieldId(firstField);
        set->SetFirstLamId(firstLam);
        set->SetFirstPropId(firstProp);
        set->SetIgnoreThickness(ignoreThickness);
        set->SetEquallySpacedVariables(equallySpaced);
        set->SetShearCorrection(shearCorrection);
        if (set->Run() != 0) return 2;

        if (IVekCoordStore* coords = set->GetCoordStore())
            if (nCoords) *nCoords = coords->Count();
        if (nFields) *nFields = 0;
        if (nFieldElems) *nFieldElems = 0;
        if (IVekFieldStore* fields = set->GetFieldStore()) {
            int elems = 0;
            for (int i = 0; i < fields->Count(); ++i)
                if (IVekField* f = fields->Get(i)) elems += f->GetNumElems();
            if (nFields) *nFields = fields->Count();
            if (nFieldElems) *nFieldElems = elems;
        } else {
            m->pMsg()->Create(4, "Invalid field store.");
        }
        IVekMaterialStore* mats = set->GetGeneratedMaterialStore();
        if (nMats) *nMats = mats ? mats->Count() : 0;
        LayupGetNumLams2(2, nLams, nLayers);
        // Counting may stop early: the caller never sees stale values.
        if (nPropSets) *nPropSets = 0;
        if (nWords) *nWords = 0;
        if (nPropElems) *nPropElems = 0;
        if (IVekPropertySetStore* props = set->GetPropertySetStore()) {
            int sets = 0, words = 0, elems = 0;
            for (int i = 0; i < props->Count(); ++i) {
                IVekPropertySet* p = props->Get(i);
                if (!p) continue;
                if (p->GetNumWords() < 1) {
                    m->pMsg()->Create(4, "LayupGetNumProps(): No property words defined.");
                    return 0;
                }
                ++sets;
                words += p->GetNumWords();
                elems += p->GetNumElems();
            }
            if (nPropSets) *nPropSets = sets;
            if (nWords) *nWords = words;
            if (nPropElems) *nPropElems = elems;
        }
        return 0;
    });
}

int LayupCompressLaminate(float thickTol, float angTol, int* count, int* ids, int* heads) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpDB* db = m->pDB();
        if (!db || !db->exists()) {
            m->pMsg()->Create(4, "LayupCompressLaminate() only usable with attached database.");
            return -1;
        }
        CKpLamStore* lams = m->pLams();
        if (!lams) return -1;
        lams->Clear();
        db->getLam(m->pMsg(), m->pElems(), lams);
        const int n = lams->entries();
        if (count) *count = n;
        // Only now is the number of the host's laminates known.
        if (BltArrayShort(ids, n) || BltArrayShort(heads, n)) {
            m->pMsg()->Create(
                4, "LayupCompressLaminate: the id arrays hold fewer than the %d laminates.", n);
            lams->Clear();
            return -1;
        }
        int rc = 0;
        if (n >= 1) {
            std::vector<CKpLam*> sorted;
            std::vector<int> groupHeads;
            std::vector<CKpSort> pairs;
            try {
                sorted.reserve(static_cast<size_t>(n));
                groupHeads.assign(static_cast<size_t>(n), 0);
                pairs.assign(static_cast<size_t>(n), CKpSort());
            } catch (const std::bad_alloc&) {
                m->pMsg()->Create(4, "Could not allocate memory.");
                lams->Clear();
                return -1;
            }
            CVekObjectStoreIterator<CKpLam> it(*lams);
            while (++it)
                if (CKpLam* lam = it.key()) sorted.push_back(lam);
            const int have = static_cast<int>(sorted.size());
            cmpLamSetTol(thickTol, static_cast<double>(angTol) / kDegPerRad);
            if (sortLamsId(sorted.data(), have) != 0 ||
                groupLams(sorted.data(), have, groupHeads.data()) < 0) {
                m->pMsg()->Create(4, "Could not allocate memory.");
                rc = -1;
            } else {
                for (int i = 0; i < have; ++i) {
                    pairs[static_cast<size_t>(i)].value = sorted[static_cast<size_t>(i)]->id();
                    pairs[static_cast<size_t>(i)].index = groupHeads[static_cast<size_t>(i)];
                }
                std::sort(pairs.begin(), pairs.begin() + have,
                          [](const CKpSort& a, const CKpSort& b) { return cmpSort(&a, &b) < 0; });
                for (int k = 0; k < have; ++k) {
                    if (ids) ids[k] = static_cast<int>(pairs[static_cast<size_t>(k)].value);
                    if (heads) heads[k] = pairs[static_cast<size_t>(k)].index;
                }
            }
        }
        // The host's laminates were only borrowed for the comparison.
        lams->Clear();
        return rc;
    });
}

int LayupClearLaminate(void) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekPropGenSet* set = m->GetPropGenSet();
        if (!set) return 1;
        set->Clear();
        return 0;
    });
}

int LayupGetNumLams2(int source, int* count, int* layers) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekLamStore* store = sourceStore(m, source);
        if (!store) return 1;
        const int n = store->Count();
        int total = 0;
        for (int i = 0; i < n; ++i) {
            IVekLam* lam = store->Get(i);
            IVekLamLayerStore* lyrs = lam ? lam->GetLamLayerStore() : nullptr;
            if (lyrs) total += lyrs->Count();
        }
        if (count) *count = n;
        if (layers) *layers = total;
        return 0;
    });
}

int LayupGetNumLams(int* count, int* layers) {
    return LayupGetNumLams2(2, count, layers);
}

int LayupGetLams2(int source, int, int, char** names, char** descriptions, int* flags,
                  int* layerCounts, char** mats, char** extMats, float* thicks, float* angles,
                  int* gplies, char** offsets, char** actions) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekLamStore* store = sourceStore(m, source);
        if (!store) return 1;
        const int n = store->Count();
        int total = 0;
        for (int i = 0; i < n; ++i) {
            IVekLam* lam = store->Get(i);
            IVekLamLayerStore* lyrs = lam ? lam->GetLamLayerStore() : nullptr;
            if (lyrs) total += lyrs->Count();
        }
        for (const void* a :
             {static_cast<const void*>(names), static_cast<const void*>(descriptions),
              static_cast<const void*>(flags), static_cast<const void*>(layerCounts),
              static_cast<const void*>(offsets), static_cast<const void*>(actions)})
            if (BltArrayShort(a, n)) {
                m->pMsg()->Create(
                    4, "LayupGetLams: a laminate array holds fewer than the %d laminates.", n);
                return -1;
            }
        for (const void* a : {static_cast<const void*>(mats), static_cast<const void*>(extMats),
                              static_cast<const void*>(thicks), static_cast<const void*>(angles),
                              static_cast<const void*>(gplies)})
            if (BltArrayShort(a, total)) {
                m->pMsg()->Create(4, "LayupGetLams: a layer array holds fewer than the %d layers.",
                                  total);
                return -1;
            }
        int k = 0;
        for (int i = 0; i < n; ++i) {
            IVekLam* lam = store->Get(i);
            if (!lam) continue;
            IVekLamLayerStore* lyrs = lam->GetLamLayerStore();
            const int nl = lyrs ? lyrs->Count() : 0;
            if (names) putText(names[i], lam->GetName());
            if (descriptions) putText(descriptions[i], "generated by Plystrand");
            if (flags) flags[i] = 1;
            if (layerCounts) layerCounts[i] = nl;
            for (int j = 0; j < nl; ++j, ++k) {
                IVekLamLayer* lyr = lyrs->Get(j);
                if (!lyr) continue;
                IVekMaterial* mat = lyr->GetMaterial();
                if (!mat) {
                    if (mats) putText(mats[k], "NO MAT REF");
                    if (extMats) putText(extMats[k], "NO MAT REF");
                } else {
                    const char* matName = mat->GetName();
                    const char* ext = lyr->GetExternalMaterialName();
                    if (!ext || !*ext) {
                        m->pMsg()->Create(1,
                                          "The external material name for material %s is not set, "
                                          "using material name.",
                                          matName ? matName : "");
                        ext = matName;
                    }
                    if (mats) putText(mats[k], matName);
                    if (extMats) putText(extMats[k], ext);
                }
                if (thicks) thicks[k] = static_cast<float>(lyr->GetThickness());
                // Ply angles are symmetric under a half turn: folded into [-90, 90].
                double deg = simplify_degrees(lyr->GetAngle() * kDegPerRad);
                while (deg > 90.0) deg -= 180.0;
                while (deg < -90.0) deg += 180.0;
                if (angles) angles[k] = static_cast<float>(deg);
                if (gplies) gplies[k] = lyr->GetGlobalPlyID();
            }
            if (offsets) {
                char text[64];
                std::snprintf(text, sizeof text, "%16.8G", lam->GetOffset());
                putText(offsets[i], text);
            }
            if (actions) putText(actions[i], "Create");
        }
        return 0;
    });
}

int LayupGetLams(int a, int b, char** names, char** descriptions, int* flags, int* layerCounts,
                 char** mats, char** extMats, float* thicks, float* angles, int* gplies,
                 char** offsets, char** actions) {
    return LayupGetLams2(2, a, b, names, descriptions, flags, layerCounts, mats, extMats, thicks,
                         angles, gplies, offsets, actions);
}

int LayupGetNumMats(int* count) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekPropGenSet* set = m->GetPropGenSet();
        IVekMaterialStore* store = set ? set->GetGeneratedMaterialStore() : nullptr;
        if (count) *count = store ? store->Count() : 0;
        return 0;
    });
}

int LayupGetMats(int, char** names, int* directionalities, float* ex, float* ey, float* ez,
                 float* nuxy, float* nuyz, float* nuzx, float* gxy, float* gyz, float* gzx,
                 float* c14, float* c15, float* c16, float* c24, float* c25, float* c26, float* c34,
                 float* c35, float* c36, float* c45, float* c46, float* c56, float* alpx,
                 float* alpy, float* alpz, float* a4, float* a5, float* a6, float* densities) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekPropGenSet* set = m->GetPropGenSet();
        IVekMaterialStore* store = set ? set->GetGeneratedMaterialStore() : nullptr;
        if (!store) return 0;
        float* const v[kMatValues] = {ex,  ey,   ez,   nuxy, nuyz, nuzx, gxy, gyz,      gzx, c14,
                                      c15, c16,  c24,  c25,  c26,  c34,  c35, c36,      c45, c46,
                                      c56, alpx, alpy, alpz, a4,   a5,   a6,  densities};
        const int n = store->Count();
        bool fits = !BltArrayShort(names, n) && !BltArrayShort(directionalities, n);
        for (float* a : v) fits = fits && !BltArrayShort(a, n);
        if (!fits) {
            m->pMsg()->Create(
                4, "LayupGetMats: a material array holds fewer than the %d materials.", n);
            return -1;
        }
        // The store keeps its materials in ascending id order.
        for (int i = 0; i < n; ++i) {
            IVekMaterial* mat = store->Get(i);
            if (!mat) continue;
            if (names) putText(names[i], mat->GetName());
            IVekMaterialStateStore* states = mat->GetMaterialStateStore();
            IVekMaterialState* base = states ? states->Get(0) : nullptr;
            if (!base) continue;
            if (directionalities) directionalities[i] = base->GetTropy();
            for (int k = 0; k < kMatValues; ++k)
                if (v[k]) v[k][i] = static_cast<float>(kMatValue[k](base));
        }
        return 0;
    });
}

int LayupGetLam(char* name, float* offset, float* nsm, float* sb, int* ft, float* tref, float* ge,
                int* lamopt, int* nLayers, char** mats, char** extMats, float* thicks,
                float* angles, int* gplies) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        if (offset) *offset = 0.0f;
        if (nLayers) *nLayers = 0;
        CKpLamStore* lams = m->pLams();
        CKpLam* lam = (lams && name) ? lams->findByName(name) : nullptr;
        if (!lam) return -1;
        putText(name, lam->name());
        if (offset) *offset = static_cast<float>(lam->GetOffset());
        if (nsm) *nsm = static_cast<float>(lam->nsm());
        if (sb) *sb = static_cast<float>(lam->sb());
        if (ft) *ft = lam->ft();
        if (tref) *tref = static_cast<float>(lam->tref());
        if (ge) *ge = static_cast<float>(lam->ge());
        if (lamopt) *lamopt = lam->lamopt();
        if (nLayers) *nLayers = lam->NumLayers();
        return putLayers(m, lam, mats, extMats, thicks, angles, gplies) ? 0 : -1;
    });
}

int LayupGetLamElem(int elemId, float* normal, float* offset, char* name, int* nLayers, char** mats,
                    char** extMats, float* thicks, float* angles, int* gplies) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        if (normal) normal[0] = normal[1] = normal[2] = 0.0f;
        if (offset) *offset = 0.0f;
        if (nLayers) *nLayers = 0;
        if (name) name[0] = '\0';
        CKpElemStore* elems = m->pElems();
        CKpElem* elem = elems ? elems->find(elemId) : nullptr;
        if (!elem) return -1;
        if (normal) {
            CKpDirn n;
            elem->GetNormal(&n);
            normal[0] = static_cast<float>(n.getx());
            normal[1] = static_cast<float>(n.gety());
            normal[2] = static_cast<float>(n.getz());
        }
        CKpLam* lam = elementLaminate(m, elemId);
        if (!lam) return -1;
        if (offset) *offset = static_cast<float>(lam->GetOffset());
        if (name) putText(name, lam->name());
        if (nLayers) *nLayers = lam->NumLayers();
        if (!mats && !extMats && !thicks && !angles && !gplies) return 0;
        return putLayers(m, lam, mats, extMats, thicks, angles, gplies) ? 0 : -1;
    });
}

int LayupGetLamElemGPlyId(int elemId, int layer) {
    return guard_export(__func__, 0, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpLam* lam = elementLaminate(m, elemId);
        if (!lam || layer < 0 || layer >= lam->NumLayers()) return 0;
        CKpLamLyr* lyr = lam->LamLyrs()->Get(layer);
        return lyr ? lyr->gplyid() : 0;
    });
}

int LayupGetLamElemSize(int* largest) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        int most = 0;
        if (CKpLamStore* lams = m->pLams()) {
            CVekObjectStoreIterator<CKpLam> it(*lams);
            while (++it)
                if (const CKpLam* lam = it.key()) most = std::max(most, lam->NumLayers());
        }
        if (largest) *largest = most;
        return 0;
    });
}

int LayupGetLamsElems(int nLams, char** names, int* counts, int* ids) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpElemStore* elems = m->pElems();
        CKpLamStore* lams = m->pLams();
        // Each element as one key, pid in the high half and id in the low, both
        // offset to sort as unsigned: sorting the keys orders by pid, then id,
        // as cmpElemPidId does, without a pointer chase per comparison.
        auto key = [](int pid, int id) {
            return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(pid) ^ 0x80000000u)
                    << 32) |
                   (static_cast<std::uint32_t>(id) ^ 0x80000000u);
        };
        std::vector<std::uint64_t> sorted;
        std::unordered_map<std::string, CKpLam*> byName;
        try {
            sorted.reserve(elems ? static_cast<size_t>(elems->entries()) : 0);
            if (elems) {
                CVekObjectStoreIterator<CKpElem> it(*elems);
                while (++it)
                    if (const CKpElem* e = it.key()) sorted.push_back(key(e->pid(), e->id()));
            }
            // Many names: one index, keeping the first laminate of a name in
            // ascending id order as findByName does.
            if (lams && nLams > 16) {
                CVekObjectStoreIterator<CKpLam> it(*lams);
                while (++it)
                    if (CKpLam* lam = it.key()) byName.emplace(lam->name(), lam);
            }
        } catch (const std::bad_alloc&) {
            m->pMsg()->Create(4, "Could not allocate memory.");
            return -1;
        }
        std::sort(sorted.begin(), sorted.end());
        int next = 0;
        for (int i = 0; i < nLams; ++i) {
            if (counts) counts[i] = 0;
            CKpLam* lam = nullptr;
            if (lams && names && names[i]) {
                if (byName.empty()) {
                    lam = lams->findByName(names[i]);
                } else {
                    const auto found = byName.find(names[i]);
                    lam = found == byName.end() ? nullptr : found->second;
                }
            }
            if (!lam) continue;
            const std::uint64_t pid = key(lam->id(), INT_MIN) >> 32;
            for (auto e = std::lower_bound(sorted.begin(), sorted.end(), key(lam->id(), INT_MIN));
                 e != sorted.end() && (*e >> 32) == pid; ++e) {
                if (ids) ids[next] = static_cast<int>(static_cast<std::uint32_t>(*e) ^ 0x80000000u);
                ++next;
                if (counts) ++counts[i];
            }
        }
        return 0;
    });
}

int LayupVerifyLaminate(int nElems, int* ids, float* direction, float angTol, float relTol,
                        int* tests, int* colours, float* limits, float* widths, int* resultSize,
                        int* results) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        // With a host database open the check runs on the database's model.
        // Owned here, so that an exception from inside frees it too.
        std::unique_ptr<CKpLayup> temp;
        CKpDB* db = m->pDB();
        if (db && db->exists()) {
            temp.reset(new (std::nothrow) CKpLayup(m->pDB(), m->pGUI()));
            if (!temp) {
                m->pMsg()->Create(4, "Could not allocate memory.");
                return -1;
            }
            temp->Read(ILayup::eHostDatabase, nullptr, 7, 0, nullptr);
        }
        return VerifyLaminate(temp ? temp.get() : m, nElems, ids, direction,
                              static_cast<double>(angTol) * kRadPerDeg, relTol, tests, colours,
                              limits, widths, resultSize, results);
    });
}

int LayupVerifyLaminateReset(void) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        m->pGra()->delete_segment(kVerifySegment);
        return 0;
    });
}

}  // extern "C"
