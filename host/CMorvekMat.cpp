// CMorvek: laminates and materials (getLam, putLam, getMat, putMat,
// putMatVal).

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>
#include <unordered_map>
#include <vector>

#include "host/CMorvek.h"
#include "host/MorvekHost.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/num_util.h"
#include "layuplib/store_or_free.h"

namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;
constexpr const char* kDescription = "Imported via the Layup module.";
constexpr int kLayerCountWord = 40;

// One host material word and the constant it carries. `get` is null for a
// word only read.
struct MatWord {
    int word;
    double (*get)(const CKpMatProp&);
    void (*set)(CKpMatProp&, double);
};

#define MAT_FIELD(field, setter)                             \
    [](const CKpMatProp& p) -> double { return p.field(); }, \
        [](CKpMatProp& p, double v) { p.setter(v); }

// Common words in writing order.
const MatWord kCommonWrite[] = {
    {99, MAT_FIELD(fxt, setFxt)},
    {102, MAT_FIELD(fyt, setFyt)},
    {100, MAT_FIELD(fxc, setFxc)},
    {103, MAT_FIELD(fyc, setFyc)},
    {101, MAT_FIELD(fs12, setFs12)},
    {132, [](const CKpMatProp& p) -> double { return std::min(p.fs23(), p.fs31()); },
     [](CKpMatProp& p, double v) {
         p.setFs23(v);
         p.setFs31(v);
     }},
    {133, MAT_FIELD(f12, setF12)},
    {148, MAT_FIELD(f23, setF23)},
    {149, MAT_FIELD(f31, setF31)},
    {16, MAT_FIELD(dens, setDens)},
    {1, MAT_FIELD(tref, setTref)},
    {30, MAT_FIELD(ge, setGe)},
};

// Common words only read.
const MatWord kCommonReadOnly[] = {
    {104, nullptr, [](CKpMatProp& p, double v) { p.setFs23(v); }},
    {107, nullptr, [](CKpMatProp& p, double v) { p.setFs31(v); }},
};

// Words by directionality, in writing order.
const MatWord kIsotropic[] = {
    {2, MAT_FIELD(ex, setEx)},
    {5, MAT_FIELD(nuxy, setNuxy)},
    {8, MAT_FIELD(gxy, setGxy)},
    {24, MAT_FIELD(alpx, setAlpx)},
};
const MatWord kOrthotropic3D[] = {
    {2, MAT_FIELD(ex, setEx)},      {3, MAT_FIELD(ey, setEy)},      {4, MAT_FIELD(ez, setEz)},
    {5, MAT_FIELD(nuxy, setNuxy)},  {6, MAT_FIELD(nuyz, setNuyz)},  {7, MAT_FIELD(nuzx, setNuzx)},
    {8, MAT_FIELD(gxy, setGxy)},    {9, MAT_FIELD(gyz, setGyz)},    {10, MAT_FIELD(gzx, setGzx)},
    {24, MAT_FIELD(alpx, setAlpx)}, {25, MAT_FIELD(alpy, setAlpy)}, {26, MAT_FIELD(alpz, setAlpz)},
};
const MatWord kAnisotropic3D[] = {
    {54, MAT_FIELD(ex, setEx)},     {57, MAT_FIELD(ey, setEy)},     {59, MAT_FIELD(ez, setEz)},
    {55, MAT_FIELD(nuxy, setNuxy)}, {58, MAT_FIELD(nuyz, setNuyz)}, {56, MAT_FIELD(nuzx, setNuzx)},
    {60, MAT_FIELD(gxy, setGxy)},   {63, MAT_FIELD(gyz, setGyz)},   {65, MAT_FIELD(gzx, setGzx)},
    {66, MAT_FIELD(c14, setC14)},   {67, MAT_FIELD(c15, setC15)},   {68, MAT_FIELD(c16, setC16)},
    {69, MAT_FIELD(c24, setC24)},   {70, MAT_FIELD(c25, setC25)},   {71, MAT_FIELD(c26, setC26)},
    {72, MAT_FIELD(c34, setC34)},   {73, MAT_FIELD(c35, setC35)},   {74, MAT_FIELD(c36, setC36)},
    {61, MAT_FIELD(c45, setC45)},   {62, MAT_FIELD(c46, setC46)},   {64, MAT_FIELD(c56, setC56)},
    {24, MAT_FIELD(alpx, setAlpx)}, {25, MAT_FIELD(alpy, setAlpy)}, {26, MAT_FIELD(alpz, setAlpz)},
    {27, MAT_FIELD(a4, setA4)},     {28, MAT_FIELD(a5, setA5)},     {29, MAT_FIELD(a6, setA6)},
};
const MatWord kOrthotropic2D[] = {
    {2, MAT_FIELD(ex, setEx)},      {3, MAT_FIELD(ey, setEy)},      {5, MAT_FIELD(nuxy, setNuxy)},
    {8, MAT_FIELD(gxy, setGxy)},    {9, MAT_FIELD(gyz, setGyz)},    {10, MAT_FIELD(gzx, setGzx)},
    {24, MAT_FIELD(alpx, setAlpx)}, {25, MAT_FIELD(alpy, setAlpy)},
};
const MatWord kAnisotropic2D[] = {
    {75, MAT_FIELD(ex, setEx)},     {78, MAT_FIELD(ey, setEy)},     {76, MAT_FIELD(nuxy, setNuxy)},
    {80, MAT_FIELD(gxy, setGxy)},   {77, MAT_FIELD(c14, setC14)},   {79, MAT_FIELD(c24, setC24)},
    {24, MAT_FIELD(alpx, setAlpx)}, {25, MAT_FIELD(alpy, setAlpy)}, {27, MAT_FIELD(a4, setA4)},
};

#undef MAT_FIELD

struct WordTable {
    const MatWord* words;
    int count;
};

template <size_t N>
constexpr WordTable table(const MatWord (&words)[N]) {
    return {words, static_cast<int>(N)};
}

// The words of directionality 1 to 5; empty for any other.
WordTable directionalWords(int dir) {
    switch (dir) {
        case 1:
            return table(kIsotropic);
        case 2:
            return table(kOrthotropic3D);
        case 3:
            return table(kAnisotropic3D);
        case 4:
            return table(kOrthotropic2D);
        case 5:
            return table(kAnisotropic2D);
        default:
            return {nullptr, 0};
    }
}

// Material codes of DbFCreateMaterial (third, fifth argument); false for a
// directionality outside 1-5.
bool materialCodes(int dir, int* code, int* hostDir) {
    static const int kCodes[5][2] = {{1, 1}, {2, 2}, {3, 3}, {5, 4}, {4, 5}};
    if (dir < 1 || dir > 5) return false;
    *code = kCodes[dir - 1][0];
    *hostDir = kCodes[dir - 1][1];
    return true;
}

// Stores one word read from the host by the common table and the table of
// `dir`; words in neither are ignored.
void storeWord(CKpMatProp& prop, int dir, int word, double value) {
    for (const MatWord& w : kCommonWrite)
        if (w.word == word) w.set(prop, value);
    for (const MatWord& w : kCommonReadOnly)
        if (w.word == word) w.set(prop, value);
    const WordTable t = directionalWords(dir);
    for (int k = 0; k < t.count; ++k)
        if (t.words[k].word == word) t.words[k].set(prop, value);
}

// The element ids of the store, ascending, and their regions; false after
// the message of a failing host call.
bool regionsOfElements(CKpMsg* msg, CKpElemStore* elems, std::vector<int>* ids,
                       std::vector<int>* regions) {
    const int n = elems->entries();
    ids->resize(n);
    regions->assign(n, 0);
    for (int k = 0; k < n; ++k) (*ids)[k] = (*elems)[k]->id();
    const int status = DbFGetRegionForElements(n, ids->data(), regions->data());
    if (status != 0) {
        if (msg) msg->Create(4, " DbFGetRegionForElements: status %d", status);
        return false;
    }
    return true;
}

// Distinct values of at least 1, ascending.
std::vector<int> distinctIds(std::vector<int> ids) {
    int n = static_cast<int>(ids.size());
    cleanIntArray(&n, ids.data());
    ids.resize(std::max(n, 0));
    return ids;
}

}  // namespace

int CMorvek::putMatVal(CKpMsg* msg, int materialId, int wordId, double value) {
    const double magnitude = std::fabs(value);
    if (magnitude <= 5e-36) return 0;
    float v = magnitude < 1.5e-35 ? 0.0f : static_cast<float>(value);
    int word = wordId, field = 0;
    const int status = DbCreateMaterialPropValue(materialId, &word, &field, &v, 1);
    if (status != 0) {
        if (msg) msg->Create(4, " DbCreateMaterialPropValue: status %d", status);
        return -1;
    }
    return 0;
}

int CMorvek::getLam(CKpMsg* msg, CKpElemStore* elems, CKpLamStore* lams) {
    if (!elems || !lams) return -1;
    try {
        // 1. Regions of the elements.
        std::vector<int> ids, regions;
        if (!regionsOfElements(msg, elems, &ids, &regions)) return -1;
        const std::vector<int> distinct = distinctIds(regions);

        // 2. Each region's laminate material (0 none).
        std::unordered_map<int, int> lamOfRegion;
        std::vector<int> lamMats;
        for (const int rid : distinct) {
            char name[32] = {0};
            int o[10] = {0};
            const int status = DbFGetRegionDefinition(rid, name, &o[0], &o[1], &o[2], &o[3], &o[4],
                                                      &o[5], &o[6], &o[7], &o[8], &o[9]);
            if (status != 0) {
                if (msg) msg->Create(4, " DbFGetRegionDefinition: status %d", status);
                return -1;
            }
            const int mid = o[5] == 3 ? o[7] : 0;
            lamOfRegion[rid] = mid;
            lamMats.push_back(mid);
        }

        // 3. One laminate per laminate material.
        for (const int mid : distinctIds(lamMats)) {
            int count = 0;
            int status = DbGetMaterialPropValueCount(mid, &count);
            if (status != 0) {
                if (msg) msg->Create(4, " DbGetMaterialPropValueCount: status %d", status);
                return -1;
            }
            if (count < 1) continue;
            std::vector<int> words(count), fields(count);
            std::vector<float> values(count);
            status = DbGetMaterialPropValue(mid, words.data(), fields.data(), values.data());
            if (status != 0) {
                if (msg) msg->Create(4, " DbGetMaterialPropValue: status %d", status);
                return -1;
            }
            const auto w40 = std::find(words.begin(), words.end(), kLayerCountWord);
            if (w40 == words.end()) continue;
            const float layerValue = values[w40 - words.begin()];
            // The count sizes the arrays below: only a finite value in int
            // range is a count.
            if (!std::isfinite(layerValue) || layerValue >= 2147483648.0f ||
                layerValue <= -2147483649.0f) {
                if (msg)
                    msg->Create(2, " Invalid layer count %g for laminate material %d",
                                static_cast<double>(layerValue), mid);
                continue;
            }
            const int n = static_cast<int>(layerValue);
            if (n < 1) continue;

            char name[32] = {0};
            int a = 0, b = 0, noOffset = 0;
            double offset = 0.0;
            std::vector<int> mats(n), gply(n);
            std::vector<double> thick(n), angles(n);
            status = DbGetCompLamIdsById2(mid, n, name, &a, mats.data(), thick.data(),
                                          angles.data(), &b, &offset, &noOffset, gply.data());
            if (status != 0) {
                if (msg) msg->Create(4, " DbGetCompLamIdsById2: status %d", status);
                return -1;
            }
            name[31] = '\0';
            if (lams->find(mid)) continue;
            CKpLam* lam = new CKpLam(mid, name, offset);
            if (noOffset != 0) {
                lam->z0(0.0);
                lam->z0_blank(1);
            }
            if (store_or_free(lams, lam, msg, "laminate") != 0) return -1;
            CKpLamLyrStore* layers = lam->LamLyrs();
            if (!layers) throw std::bad_alloc();
            for (int k = 0; k < n; ++k) {
                CKpLamLyr* lyr = layers->New();
                if (!lyr) throw std::bad_alloc();
                lyr->setMid(mats[k]);
                lyr->setT(thick[k]);
                lyr->setTheta(angles[k] * kDegToRad);
                lyr->setGplyid(gply[k]);
            }
        }

        // 4. Property ids.
        for (size_t k = 0; k < ids.size(); ++k) {
            const auto found = lamOfRegion.find(regions[k]);
            if (found == lamOfRegion.end() || found->second < 1 || !lams->find(found->second))
                continue;
            elems->find(ids[k])->pid(found->second);
        }
        return 0;
    } catch (const std::bad_alloc&) {
        if (msg) msg->Create(4, "Could not allocate memory.");
        return -1;
    }
}

int CMorvek::getMat(CKpMsg* msg, CKpLamStore* lams, CKpMatStore* mats) {
    if (!lams || !mats) return 0;
    try {
        for (int l = 0; l < lams->entries(); ++l) {
            CKpLamLyrStore* layers = (*lams)[l]->LamLyrs();
            const int nLayers = layers ? layers->Count() : 0;
            for (int k = 0; k < nLayers; ++k) {
                const int mid = layers->Get(k)->mid();
                if (mats->find(mid)) continue;

                // 1.-2. Name and directionality; after a failure the material
                // is made with what the buffers held before.
                char name[256] = {0};
                char description[1024] = {0};
                int a = 0, b = 0, dir = 0, c = 0, d = 0;
                int status = DbFGetMaterial(mid, name, &a, &b, &dir, description, &c, &d);
                if (status != 0 && msg)
                    msg->Create(4, " DbFGetMaterial: status %d for matid %d", status, mid);
                name[255] = '\0';
                CKpMat* mat = new CKpMat(mid);
                if (store_or_free(mats, mat, msg, "material") != 0) return -1;
                mat->setMtrlnm(name);
                mat->setExtmtrlnm(name);
                mat->setExtmtrlid(mid);
                if (dir >= 1 && dir <= 5) {
                    mat->setDir(dir);
                } else {
                    if (msg)
                        msg->Create(4, " Unsupported directionality %d for material '%s'", dir,
                                    name);
                    dir = 0;
                }

                // 3. Words.
                int count = 0;
                status = DbGetMaterialPropValueCount(mid, &count);
                if (status != 0) {
                    if (msg)
                        msg->Create(4, " DbGetMaterialPropValueCount: status %d for matid %d",
                                    status, mid);
                    continue;
                }
                if (count < 1) continue;
                std::vector<int> words(count), fields(count);
                std::vector<float> values(count);
                if (DbGetMaterialPropValue(mid, words.data(), fields.data(), values.data()) != 0)
                    continue;  // the arrays hold nothing valid
                for (int w = 0; w < count; ++w) storeWord(*mat, dir, words[w], values[w]);
            }
        }
    } catch (const std::bad_alloc&) {
        if (msg) msg->Create(4, "Could not allocate memory.");
    }
    return 0;
}

int CMorvek::putMat(CKpMsg* msg, CKpMatStore* mats) {
    if (!mats) return 0;
    for (int k = 0; k < mats->entries(); ++k) {
        CKpMat* mat = (*mats)[k];
        const char* name = mat->mtrlnm();
        int code = 0, hostDir = 0;
        if (!materialCodes(mat->dir(), &code, &hostDir)) {
            if (msg)
                msg->Create(4, " Unsupported directionality %d for material '%s'", mat->dir(),
                            name);
            continue;
        }
        // 1. The host material; only a created one has an id to write to.
        int id = 0;
        int status = DbFCreateMaterial(name, kDescription, code, 1, hostDir, 0, &id);
        if (status != 0) {
            if (msg) msg->Create(4, " DbFCreateMaterial: status %d for mat %s", status, name);
            continue;
        }
        mat->setExtmtrlid(id);

        // 2. Constitutive models 1 and 4.
        int models[2] = {1, 4};
        status = DbCreateMatlConstModelDefn(id, models, 2);
        if (status != 0 && msg)
            msg->Create(4, " DbCreateMatlConstModelDefn: status %d for mat %s", status, name);
        for (const int model : models) {
            int zeros[2] = {0, 0};
            status = DbCreateConstitutiveModelsSpecified(id, model, zeros, 1);
            if (status != 0 && msg)
                msg->Create(4, " DbCreateConstitutiveModelsSpecified: status %d for mat %s", status,
                            name);
        }

        // 3. The words.
        for (const MatWord& w : kCommonWrite) putMatVal(msg, id, w.word, w.get(*mat));
        const WordTable t = directionalWords(mat->dir());
        for (int w = 0; w < t.count; ++w) putMatVal(msg, id, t.words[w].word, t.words[w].get(*mat));
    }
    return 0;
}

int CMorvek::putLam(CKpMsg* msg, CKpMatStore* mats, CKpLamStore* lams) {
    if (!mats || !lams) return 0;
    try {
        for (int l = 0; l < lams->entries(); ++l) {
            CKpLam* lam = (*lams)[l];
            const char* name = lam->name();

            // 2. The stacking table first: a layer without host material
            // leaves the whole laminate out.
            const int n = lam->NumLayers();
            std::vector<int> hostMats(n), gply(n);
            std::vector<double> thick(n), angles(n);
            bool complete = true;
            for (int k = 0; k < n && complete; ++k) {
                CKpLamLyr* lyr = lam->LamLyrs()->Get(k);
                CKpMat* mat = mats->find(lyr->mid());
                if (!mat || mat->extmtrlid() < 1) {
                    complete = false;
                    break;
                }
                hostMats[k] = mat->extmtrlid();
                thick[k] = lyr->t();
                angles[k] = lyr->theta() / kDegToRad;
                gply[k] = lyr->gplyid();
            }
            if (!complete) {
                if (msg) msg->Create(4, " No host material for lam '%s'", name);
                continue;
            }

            // 1. The laminate material.
            int id = 0;
            int status = DbFCreateMaterial(name, kDescription, 6, 1, 5, 1, &id);
            if (status != 0) {
                if (msg) msg->Create(4, " DbFCreateMaterial: status %d for lam '%s'", status, name);
                continue;
            }
            lam->SetExtId(id);

            // 3. Stacking table, with global ply ids only when usable.
            const bool withGply = lam->GPlyIdsOK(msg) == 1;
            status =
                DbSetCompLamById2(id, n, hostMats.data(), thick.data(), angles.data(), 1, lam->z0(),
                                  lam->z0_blank() ? 1 : 0, withGply ? gply.data() : nullptr);
            if (status != 0 && msg)
                msg->Create(4, " DbSetCompLamById2: status %d for lam '%s'", status, name);

            // 4. The layer count.
            if (putMatVal(msg, id, kLayerCountWord, n) != 0) return -1;
        }
    } catch (const std::bad_alloc&) {
        if (msg) msg->Create(4, "Could not allocate memory.");
    }
    return 0;
}
