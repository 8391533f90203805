// The material functions of the exported interface: materials with all
// their states in the flat argument layout of the host.

#include <climits>
#include <cmath>
#include <cstring>
#include <new>

#include "blt/lamlayup.h"
#include "host/LayupApi.h"
#include "host/LayupSlot.h"
#include "host/guard_export.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatPropStore.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/angle_util.h"
#include "layuplib/copy_text.h"

namespace {

constexpr int kValues = 42;

// Plain functions rather than pointers to members of the state's base
// interfaces: those need a this-adjustment that the sanitizers' type check
// of member calls misreads.
struct Access {
    double (*get)(IVekMaterialState*);
    void (*set)(IVekMaterialState*, double);
};

// The state values in their order across the interface.
const Access kAccess[kValues] = {
    {[](IVekMaterialState* s) { return s->GetEx(); },
     [](IVekMaterialState* s, double v) { s->SetEx(v); }},
    {[](IVekMaterialState* s) { return s->GetEy(); },
     [](IVekMaterialState* s, double v) { s->SetEy(v); }},
    {[](IVekMaterialState* s) { return s->GetEz(); },
     [](IVekMaterialState* s, double v) { s->SetEz(v); }},
    {[](IVekMaterialState* s) { return s->GetNuxy(); },
     [](IVekMaterialState* s, double v) { s->SetNuxy(v); }},
    {[](IVekMaterialState* s) { return s->GetNuyz(); },
     [](IVekMaterialState* s, double v) { s->SetNuyz(v); }},
    {[](IVekMaterialState* s) { return s->GetNuzx(); },
     [](IVekMaterialState* s, double v) { s->SetNuzx(v); }},
    {[](IVekMaterialState* s) { return s->GetGxy(); },
     [](IVekMaterialState* s, double v) { s->SetGxy(v); }},
    {[](IVekMaterialState* s) { return s->GetGyz(); },
     [](IVekMaterialState* s, double v) { s->SetGyz(v); }},
    {[](IVekMaterialState* s) { return s->GetGzx(); },
     [](IVekMaterialState* s, double v) { s->SetGzx(v); }},
    {[](IVekMaterialState* s) { return s->GetC14(); },
     [](IVekMaterialState* s, double v) { s->SetC14(v); }},
    {[](IVekMaterialState* s) { return s->GetC15(); },
     [](IVekMaterialState* s, double v) { s->SetC15(v); }},
    {[](IVekMaterialState* s) { return s->GetC16(); },
     [](IVekMaterialState* s, double v) { s->SetC16(v); }},
    {[](IVekMaterialState* s) { return s->GetC24(); },
     [](IVekMaterialState* s, double v) { s->SetC24(v); }},
    {[](IVekMaterialState* s) { return s->GetC25(); },
     [](IVekMaterialState* s, double v) { s->SetC25(v); }},
    {[](IVekMaterialState* s) { return s->GetC26(); },
     [](IVekMaterialState* s, double v) { s->SetC26(v); }},
    {[](IVekMaterialState* s) { return s->GetC34(); },
     [](IVekMaterialState* s, double v) { s->SetC34(v); }},
    {[](IVekMaterialState* s) { return s->GetC35(); },
     [](IVekMaterialState* s, double v) { s->SetC35(v); }},
    {[](IVekMaterialState* s) { return s->GetC36(); },
     [](IVekMaterialState* s, double v) { s->SetC36(v); }},
    {[](IVekMaterialState* s) { return s->GetC45(); },
     [](IVekMaterialState* s, double v) { s->SetC45(v); }},
    {[](IVekMaterialState* s) { return s->GetC46(); },
     [](IVekMaterialState* s, double v) { s->SetC46(v); }},
    {[](IVekMaterialState* s) { return s->GetC56(); },
     [](IVekMaterialState* s, double v) { s->SetC56(v); }},
    {[](IVekMaterialState* s) { return s->GetAlpx(); },
     [](IVekMaterialState* s, double v) { s->SetAlpx(v); }},
    {[](IVekMaterialState* s) { return s->GetAlpy(); },
     [](IVekMaterialState* s, double v) { s->SetAlpy(v); }},
    {[](IVekMaterialState* s) { return s->GetAlpz(); },
     [](IVekMaterialState* s, double v) { s->SetAlpz(v); }},
    {[](IVekMaterialState* s) { return s->GetA4(); },
     [](IVekMaterialState* s, double v) { s->SetA4(v); }},
    {[](IVekMaterialState* s) { return s->GetA5(); },
     [](IVekMaterialState* s, double v) { s->SetA5(v); }},
    {[](IVekMaterialState* s) { return s->GetA6(); },
     [](IVekMaterialState* s, double v) { s->SetA6(v); }},
    {[](IVekMaterialState* s) { return s->GetFxt(); },
     [](IVekMaterialState* s, double v) { s->SetFxt(v); }},
    {[](IVekMaterialState* s) { return s->GetFyt(); },
     [](IVekMaterialState* s, double v) { s->SetFyt(v); }},
    {[](IVekMaterialState* s) { return s->GetFzt(); },
     [](IVekMaterialState* s, double v) { s->SetFzt(v); }},
    {[](IVekMaterialState* s) { return s->GetFxc(); },
     [](IVekMaterialState* s, double v) { s->SetFxc(v); }},
    {[](IVekMaterialState* s) { return s->GetFyc(); },
     [](IVekMaterialState* s, double v) { s->SetFyc(v); }},
    {[](IVekMaterialState* s) { return s->GetFzc(); },
     [](IVekMaterialState* s, double v) { s->SetFzc(v); }},
    {[](IVekMaterialState* s) { return s->GetFs12(); },
     [](IVekMaterialState* s, double v) { s->SetFs12(v); }},
    {[](IVekMaterialState* s) { return s->GetFs23(); },
     [](IVekMaterialState* s, double v) { s->SetFs23(v); }},
    {[](IVekMaterialState* s) { return s->GetFs31(); },
     [](IVekMaterialState* s, double v) { s->SetFs31(v); }},
    {[](IVekMaterialState* s) { return s->GetF12(); },
     [](IVekMaterialState* s, double v) { s->SetF12(v); }},
    {[](IVekMaterialState* s) { return s->GetF23(); },
     [](IVekMaterialState* s, double v) { s->SetF23(v); }},
    {[](IVekMaterialState* s) { return s->GetF31(); },
     [](IVekMaterialState* s, double v) { s->SetF31(v); }},
    {[](IVekMaterialState* s) { return s->GetDensity(); },
     [](IVekMaterialState* s, double v) { s->SetDensity(v); }},
    {[](IVekMaterialState* s) { return s->GetTref(); },
     [](IVekMaterialState* s, double v) { s->SetTref(v); }},
    {[](IVekMaterialState* s) { return s->GetGe(); },
     [](IVekMaterialState* s, double v) { s->SetGe(v); }},
};

// The caller's buffer holds the whole text (agreed outside the interface);
// within a built-in copy_text keeps to the host's slot.
void putText(char* buffer, const char* text) {
    if (!text) text = "";
    const size_t n = std::strlen(text);
    copy_text(buffer, n < INT_MAX ? static_cast<int>(n) + 1 : INT_MAX, text);
}

IVekMaterialStore* store(CKpLayup* m) {
    IVekMaterialStore* s = m->GetMaterialStore();
    if (!s) m->pMsg()->Create(4, "Invalid material store");
    return s;
}

IVekMaterial* find(CKpLayup* m, IVekMaterialStore* s, const char* name) {
    IVekMaterial* mat = s->Get(name);
    if (!mat) m->pMsg()->Create(4, "Could not find material '%s'", name ? name : "");
    return mat;
}

// The named material of the layup's store; a missing store or material is
// reported on the layup's messages.
IVekMaterial* lookup(CKpLayup* m, const char* name) {
    IVekMaterialStore* s = store(m);
    return s ? find(m, s, name) : nullptr;
}

int countMatching(IVekMaterialStore* s, int type) {
    int n = 0;
    for (int i = 0; i < s->Count(); ++i) {
        IVekMaterial* mat = s->Get(i);
        if (mat && (type == 0 || mat->GetType() == type)) ++n;
    }
    return n;
}

double entry(const float* a, int i) {
    return a ? static_cast<double>(a[i]) : 0.0;
}

}  // namespace

extern "C" {

int LayupCreateMaterial(int type, const char* name, float thickness, float warpWeft,
                        float maxStrain, int n, const float* keys, char** externalNames,
                        const int* externalIds, const int* tropies, const float* ex,
                        const float* ey, const float* ez, const float* nuxy, const float* nuyz,
                        const float* nuzx, const float* gxy, const float* gyz, const float* gzx,
                        const float* c14, const float* c15, const float* c16, const float* c24,
                        const float* c25, const float* c26, const float* c34, const float* c35,
                        const float* c36, const float* c45, const float* c46, const float* c56,
                        const float* alpx, const float* alpy, const float* alpz, const float* a4,
                        const float* a5, const float* a6, const float* fxt, const float* fyt,
                        const float* fzt, const float* fxc, const float* fyc, const float* fzc,
                        const float* fs12, const float* fs23, const float* fs31, const float* f12,
                        const float* f23, const float* f31, const float* density, const float* tref,
                        const float* ge) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        const float* v[kValues] = {
            ex,  ey,  ez,  nuxy, nuyz, nuzx, gxy,  gyz,  gzx,  c14,  c15, c16,     c24,  c25,
            c26, c34, c35, c36,  c45,  c46,  c56,  alpx, alpy, alpz, a4,  a5,      a6,   fxt,
            fyt, fzt, fxc, fyc,  fzc,  fs12, fs23, fs31, f12,  f23,  f31, density, tref, ge};
        if (!name || !*name) {
            m->pMsg()->Create(4, "Cannot create a material with no name.");
            return -1;
        }
        IVekMaterialStore* s = store(m);
        if (!s) return -1;
        IVekMaterial* mat = s->New(0);
        if (!mat) {
            m->pMsg()->Create(4, "Could not create material '%s'", name);
            return -1;
        }
        if (mat->SetName(name) != 0) {
            m->pMsg()->Create(4, "Could not name material '%s'", name);
            s->Delete(mat);
            return -1;
        }
        mat->SetType(static_cast<EVekMaterialType>(type));
        mat->SetThickness(thickness);
        mat->SetWarpWeftAngle(radians(warpWeft));
        mat->SetMaximumStrain(radians(maxStrain));
        IVekMaterialStateStore* states = mat->GetMaterialStateStore();
        for (int i = 0; states && i <= n; ++i) {
            const double key = i == 0 ? 0.0 : radians(keys ? keys[i] : 0.0f);
            IVekMaterialState* st = states->Add(key);
            if (!st) {
                m->pMsg()->Create(2, "Could not create state %g for material '%s'", key, name);
                continue;
            }
            st->SetTropy(static_cast<EVekMaterialTropy>(tropies ? tropies[i] : 0));
            st->SetExternalName(externalNames ? externalNames[i] : nullptr);
            st->SetExternalId(externalIds ? externalIds[i] : 0);
            for (int k = kValues - 3; k < kValues; ++k) kAccess[k].set(st, entry(v[k], i));
            for (int k = 0; k < kValues - 3; ++k) kAccess[k].set(st, entry(v[k], i));
        }
        return 0;
    });
}

int LayupModifyMaterial(int type, const char* name, const char* newName, float thickness,
                        float warpWeft, float maxStrain, int n, const float* keys,
                        char** externalNames, const int* externalIds, const int* tropies,
                        const float* ex, const float* ey, const float* ez, const float* nuxy,
                        const float* nuyz, const float* nuzx, const float* gxy, const float* gyz,
                        const float* gzx, const float* c14, const float* c15, const float* c16,
                        const float* c24, const float* c25, const float* c26, const float* c34,
                        const float* c35, const float* c36, const float* c45, const float* c46,
                        const float* c56, const float* alpx, const float* alpy, const float* alpz,
                        const float* a4, const float* a5, const float* a6, const float* fxt,
                        const float* fyt, const float* fzt, const float* fxc, const float* fyc,
                        const float* fzc, const float* fs12, const float* fs23, const float* fs31,
                        const float* f12, const float* f23, const float* f31, const float* density,
                        const float* tref, const float* ge) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        const float* v[kValues] = {
            ex,  ey,  ez,  nuxy, nuyz, nuzx, gxy,  gyz,  gzx,  c14,  c15, c16,     c24,  c25,
            c26, c34, c35, c36,  c45,  c46,  c56,  alpx, alpy, alpz, a4,  a5,      a6,   fxt,
            fyt, fzt, fxc, fyc,  fzc,  fs12, fs23, fs31, f12,  f23,  f31, density, tref, ge};
        if (!name || !*name || !newName || !*newName) {
            m->pMsg()->Create(4, "Cannot modify a material with no name.");
            return -1;
        }
        // Angles as the single-precision radians the host would have sent.
        const double wwa = static_cast<float>(radians(warpWeft));
        const double strain = static_cast<float>(radians(maxStrain));
        CKpMat* mat = m->pMats()->findByName(name);
        if (!mat) {
            m->pMsg()->Create(4, "Could not find specified material.");
            return -1;
        }
        double b[kValues];
        for (int k = 0; k < kValues; ++k) b[k] = entry(v[k], 0);
        if (mat->setMatVal(
                type, newName, thickness, wwa, strain, externalNames ? externalNames[0] : nullptr,
                externalIds ? externalIds[0] : 0, tropies ? tropies[0] : 0, b[0], b[1], b[2], b[3],
                b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15], b[16],
                b[17], b[18], b[19], b[20], b[21], b[22], b[23], b[24], b[25], b[26], b[27], b[28],
                b[29], b[30], b[31], b[32], b[33], b[34], b[35], b[36], b[37], b[38], b[39], b[40],
                b[41], 0.0, 0.0, 0.0, 0.0, 0.0, 0.0) != 0) {
            m->pMsg()->Create(4, "Could not modify material");
            return -1;
        }
        mat->Clear();
        CKpMatPropStore* states = mat->MatStates();
        for (int i = 1; states && i <= n; ++i) {
            const double key = static_cast<float>(radians(keys ? keys[i] : 0.0f));
            double x[kValues];
            for (int k = 0; k < kValues; ++k) x[k] = entry(v[k], i);
            CKpMatProp* st = new (std::nothrow)
                CKpMatProp(i, key, 1.0, externalNames ? externalNames[i] : nullptr,
                           externalIds ? externalIds[i] : 0, tropies ? tropies[i] : 0, x[0], x[1],
                           x[2], x[3], x[4], x[5], x[6], x[7], x[8], x[9], x[10], x[11], x[12],
                           x[13], x[14], x[15], x[16], x[17], x[18], x[19], x[20], x[21], x[22],
                           x[23], x[24], x[25], x[26], x[27], x[28], x[29], x[30], x[31], x[32],
                           x[33], x[34], x[35], x[36], x[37], x[38], x[39], x[40], x[41]);
            if (!st) {
                m->pMsg()->Create(4, "Could not allocate memory.");
                return -1;
            }
            states->InsertLast(st);
            m->pMsg()->Create(1, "Material state created");
        }
        m->pMsg()->Create(1, "Material modified");
        return 0;
    });
}

int LayupDeleteMaterial(int, const char* name) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekMaterialStore* s = store(m);
        if (!s) return -1;
        IVekMaterial* mat = find(m, s, name);
        if (!mat) return -1;
        if (s->Delete(mat) != 0) {
            m->pMsg()->Create(4, "Could not delete material '%s'", name);
            return -1;
        }
        m->pMsg()->Create(1, "Material '%s' deleted", name);
        return 0;
    });
}

int LayupGetNumMaterials(int type, int* count) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekMaterialStore* s = store(m);
        if (!s) return -1;
        const int n = countMatching(s, type);
        if (count) *count = n;
        return 0;
    });
}

int LayupGetMaterialNames(int type, int size, char** names) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekMaterialStore* s = store(m);
        if (!s) return -1;
        const int n = countMatching(s, type);
        if (n != size) {
            m->pMsg()->Create(1,
                              "LayupGetMaterialNames: The material name array size %d is not equal "
                              "to the number of matching materials %d.",
                              size, n);
            return -1;
        }
        int k = 0;
        for (int i = 0; i < s->Count() && names; ++i) {
            IVekMaterial* mat = s->Get(i);
            if (mat && (type == 0 || mat->GetType() == type)) putText(names[k++], mat->GetName());
        }
        return 0;
    });
}

int LayupGetMaterial(int* type, const char* name, float* thickness, float* warpWeft,
                     float* maxStrain, char* externalName, int* externalId, int* tropy, float* ex,
                     float* ey, float* ez, float* nuxy, float* nuyz, float* nuzx, float* gxy,
                     float* gyz, float* gzx, float* c14, float* c15, float* c16, float* c24,
                     float* c25, float* c26, float* c34, float* c35, float* c36, float* c45,
                     float* c46, float* c56, float* alpx, float* alpy, float* alpz, float* a4,
                     float* a5, float* a6, float* fxt, float* fyt, float* fzt, float* fxc,
                     float* fyc, float* fzc, float* fs12, float* fs23, float* fs31, float* f12,
                     float* f23, float* f31, float* density, float* tref, float* ge) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        float* v[kValues] = {ex,   ey,   ez,   nuxy, nuyz, nuzx, gxy,     gyz,  gzx, c14, c15,
                             c16,  c24,  c25,  c26,  c34,  c35,  c36,     c45,  c46, c56, alpx,
                             alpy, alpz, a4,   a5,   a6,   fxt,  fyt,     fzt,  fxc, fyc, fzc,
                             fs12, fs23, fs31, f12,  f23,  f31,  density, tref, ge};
        IVekMaterial* mat = lookup(m, name);
        if (!mat) return -1;
        if (type) {
            if (*type != 0 && *type != mat->GetType()) {
                m->pMsg()->Create(4, "Material not of specified type.");
                return -1;
            }
            *type = mat->GetType();
        }
        if (thickness) *thickness = static_cast<float>(mat->GetThickness());
        if (warpWeft) *warpWeft = degrees_as_float(mat->GetWarpWeftAngle());
        if (maxStrain) *maxStrain = degrees_as_float(mat->GetMaximumStrain());
        IVekMaterialStateStore* states = mat->GetMaterialStateStore();
        if (!states || states->Count() < 1) {
            m->pMsg()->Create(4, "Material '%s' has no states.", name);
            return -1;
        }
        IVekMaterialState* st = states->Get(0);
        if (!st) {
            m->pMsg()->Create(4, "Material '%s' has no basic state.", name);
            return -1;
        }
        if (externalName) putText(externalName, st->GetExternalName());
        if (externalId) *externalId = st->GetExternalId();
        if (tropy) *tropy = st->GetTropy();
        for (int k = 0; k < kValues; ++k)
            if (v[k]) *v[k] = static_cast<float>(kAccess[k].get(st));
        return 0;
    });
}

int LayupGetNumMaterialStates(int, const char* name, int* count) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekMaterial* mat = lookup(m, name);
        if (!mat) return -1;
        IVekMaterialStateStore* states = mat->GetMaterialStateStore();
        if (!states || states->Count() < 1) {
            m->pMsg()->Create(4, "Material '%s' has no states.", name);
            return -1;
        }
        if (count) *count = states->Count() - 1;
        return 0;
    });
}

int LayupGetMaterialStates(int type, const char* name, float* thickness, float* warpWeft,
                           float* maxStrain, int, float* keys, char** externalNames,
                           int* externalIds, int* tropies, float* ex, float* ey, float* ez,
                           float* nuxy, float* nuyz, float* nuzx, float* gxy, float* gyz,
                           float* gzx, float* c14, float* c15, float* c16, float* c24, float* c25,
                           float* c26, float* c34, float* c35, float* c36, float* c45, float* c46,
                           float* c56, float* alpx, float* alpy, float* alpz, float* a4, float* a5,
                           float* a6, float* fxt, float* fyt, float* fzt, float* fxc, float* fyc,
                           float* fzc, float* fs12, float* fs23, float* fs31, float* f12,
                           float* f23, float* f31, float* density, float* tref, float* ge) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        float* v[kValues] = {ex,   ey,   ez,   nuxy, nuyz, nuzx, gxy,     gyz,  gzx, c14, c15,
                             c16,  c24,  c25,  c26,  c34,  c35,  c36,     c45,  c46, c56, alpx,
                             alpy, alpz, a4,   a5,   a6,   fxt,  fyt,     fzt,  fxc, fyc, fzc,
                             fs12, fs23, fs31, f12,  f23,  f31,  density, tref, ge};
        IVekMaterial* mat = lookup(m, name);
        if (!mat) return -1;
        if (type != 0 && type != mat->GetType()) {
            m->pMsg()->Create(4, "Material not of specified type.");
            return -1;
        }
        if (!thickness || !warpWeft || !maxStrain) {
            m->pMsg()->Create(4, "Material '%s': no place for its thickness and angles.", name);
            return -1;
        }
        IVekMaterialStateStore* states = mat->GetMaterialStateStore();
        const int count = states ? states->Count() : 0;
        // Host arrays are checked before anything is written: a short one
        // would be written past its end.
        const void* arrays[kValues + 4] = {keys, externalNames, externalIds, tropies};
        for (int k = 0; k < kValues; ++k) arrays[k + 4] = v[k];
        for (const void* a : arrays) {
            const int elems = BltArrayElems(a);
            if (elems >= 0 && elems < count) {
                m->pMsg()->Create(4, "Material '%s' has %d states; a state array holds %d.", name,
                                  count, elems);
                return -1;
            }
        }
        *thickness = static_cast<float>(mat->GetThickness());
        *warpWeft = degrees_as_float(mat->GetWarpWeftAngle());
        *maxStrain = degrees_as_float(mat->GetMaximumStrain());
        if (count < 1) {
            m->pMsg()->Create(4, "Material '%s' has no states.", name);
            return -1;
        }
        for (int i = 0; i < count; ++i) {
            IVekMaterialState* st = states->Get(i);
            if (!st) {
                m->pMsg()->Create(4, "Material '%s' has no state %d.", name, i);
                continue;
            }
            if (keys) keys[i] = i == 0 ? 0.0f : degrees_as_float(st->GetState());
            if (externalNames) putText(externalNames[i], st->GetExternalName());
            if (externalIds) externalIds[i] = st->GetExternalId();
            if (tropies) tropies[i] = st->GetTropy();
            for (int k = 0; k < kValues; ++k)
                if (v[k]) v[k][i] = static_cast<float>(kAccess[k].get(st));
        }
        return 0;
    });
}

}  // extern "C"
