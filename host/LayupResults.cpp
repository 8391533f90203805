// Failure criteria, failure analysis, result sorts and result queries of
// the exported interface.

#include "host/LayupResults.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "blt/lamlayup.h"
#include "host/CKpDB.h"
#include "host/CKpGra.h"
#include "host/LayupApi.h"
#include "host/LayupSlot.h"
#include "host/guard_export.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResElem.h"
#include "layuplib/CKpResStore.h"
#include "layuplib/CVekAddinManager.h"
#include "layuplib/IVekAddinFailureLamina.h"
#include "layuplib/copy_text.h"
#include "layuplib/node_reref.h"

namespace {

constexpr int kText = 256;
constexpr const char* kLamina = "IVekAddinFailureLamina";
constexpr int kFailureSegment = 801;
// The id range of a call that created nothing.
constexpr int kNoLowId = 32768;

const char* const kBuiltinNames[7] = {"TsaiWu",    "Maximum", "Hill", "Hoffman",
                                      "Hankinson", "Cowin",   "User"};

// Holds one reference to a criterion and gives it back.
struct CriterionRef {
    IVekAddinFailureLamina* p = nullptr;
    CriterionRef() = default;
    CriterionRef(const CriterionRef&) = delete;
    CriterionRef& operator=(const CriterionRef&) = delete;
    ~CriterionRef() {
        if (p) p->Release();
    }
};

// The five result names in buffers of their own, so that layer labels can
// be written into them whatever the caller's texts hold.
struct ResultNames {
    char text[5][kText] = {};
    char* ptr[5] = {text[0], text[1], text[2], text[3], text[4]};
    explicit ResultNames(char* const* names) {
        for (int k = 0; k < 5; ++k)
            std::snprintf(text[k], kText, "%s", names && names[k] ? names[k] : "");
    }
};

// The element count of a host array inside a built-in call, else `given`.
int hostElems(const void* array, int given) {
    const int elems = BltArrayElems(array);
    return elems >= 0 ? elems : given;
}

bool hasDatabase(CKpLayup* m) {
    CKpDB* db = m->pDB();
    return db && db->exists() != 0;
}

// Walks the enumerated failure-criterion pairs in order; `visit(component)`
// returns true to stop. False when the walk ran to its end.
template <class Visit>
bool forEachCriterionPair(CVekAddinManager* manager, Visit visit) {
    const int size = manager->GetEnumerateSize();
    char component[kText];
    char offered[kText];
    for (int i = 0; i < size; ++i) {
        if (manager->GetEnumerateInterface(i, component, kText, offered, kText) != 0) continue;
        if (std::strcmp(offered, kLamina) != 0) continue;
        if (visit(component)) return true;
    }
    return false;
}

IVekAddinFailureLamina* instantiate(CVekAddinManager* manager, const char* component) {
    void* object = nullptr;
    if (manager->Instantiate(component, kLamina, &object) != 0) return nullptr;
    return static_cast<IVekAddinFailureLamina*>(object);
}

// The lookup of LayupGetFailureLamina; a null provider matches the name only.
int findCriterion(const char* name, const char* provider, int a, int b, int c,
                  IVekAddinFailureLamina** out) {
    if (!out) return 1;
    *out = nullptr;
    CKpLayup* m = slotLayup();
    if (!m) return 1;
    CVekAddinManager* manager = m->VekAddinManager();
    if (!manager) return 1;
    if (!name) return 2;
    if (manager->GetEnumerateSize() < 1) return 2;
    const bool found = forEachCriterionPair(manager, [&](const char* component) {
        IVekAddinFailureLamina* criterion = instantiate(manager, component);
        if (!criterion) return false;
        char own[kText] = "";
        criterion->GetName(own, kText);
        bool same = std::strcmp(own, name) == 0;
        if (same && provider) {
            char from[kText] = "";
            int x = 0, y = 0, z = 0;
            criterion->GetProviderName(from, kText);
            criterion->GetVersion(x, y, z);
            same = std::strcmp(from, provider) == 0 && x == a && y == b && z == c;
        }
        if (same) {
            *out = criterion;
            return true;
        }
        criterion->Release();
        return false;
    });
    return found ? 0 : 2;
}

// The encoded name of `criterion` into `out` (kText bytes); statuses as
// LayupGetFailureLaminaEncodedName.
int encode(IVekAddinFailureLamina* criterion, char out[kText]) {
    char provider[kText] = "";
    char name[kText] = "";
    int a = 0, b = 0, c = 0;
    if (criterion->GetProviderName(provider, kText) != 0) return 2;
    if (criterion->GetName(name, kText) != 0) return 3;
    if (criterion->GetVersion(a, b, c) != 0) return 4;
    const int n = std::snprintf(out, kText, "%s|%s|%d|%d|%d", provider, name, a, b, c);
    return n < 0 || n >= kText ? 3 : 0;
}

// The criterion of an encoded name into `ref`: 0, else the lookup's status.
int lookupEncoded(const char* encoded, CriterionRef& ref) {
    return LayupGetFailureLaminaByEncodedName(encoded, &ref.p);
}

// A model read from the host database for a failure run or a sort: mesh,
// node links, shape check, laminates and materials, messages to `msg`. Null
// with *status -1 when the mesh cannot be linked or memory runs out.
std::unique_ptr<CKpLayup> databaseModel(CKpLayup* m, int* status) {
    CKpMsg* msg = m->pMsg();
    std::unique_ptr<CKpLayup> temp(new (std::nothrow) CKpLayup(m->pDB(), m->pGUI()));
    if (!temp) {
        msg->Create(4, "Could not allocate memory.");
        *status = -1;
        return nullptr;
    }
    CKpDB* db = m->pDB();
    db->getMesh(msg, temp->pNodes(), temp->pElems());
    if (node_reref(msg, temp->pNodes(), temp->pElems()) < 0) {
        *status = -1;
        return nullptr;
    }
    temp->pElems()->CheckShape(msg);
    db->getLam(msg, temp->pElems(), temp->pLams());
    db->getMat(msg, temp->pLams(), temp->pMats());
    *status = 0;
    return temp;
}

// The ids of every element of `m`; false after "Cannot allocate memory.".
bool allElementIds(CKpLayup* m, std::vector<int>& ids) {
    int count = 0;
    m->GetNumElems(&count);
    try {
        ids.assign(static_cast<size_t>(std::max(count, 0)), 0);
    } catch (...) {
        m->pMsg()->Create(4, "Cannot allocate memory.");
        return false;
    }
    if (count > 0) m->GetElemIds(count, ids.data());
    return true;
}

// Reads the named layered results of `ids` from the database into
// `results`. True when at least one layer was read.
bool readLayers(CKpLayup* m, CKpResStore* results, ResultNames& names, std::vector<int>& ids) {
    int maxLayer = 0;
    const int status = m->pDB()->getRes(m->pMsg(), results, names.ptr, static_cast<int>(ids.size()),
                                        ids.empty() ? nullptr : ids.data(), &maxLayer);
    return status == 0 && maxLayer > 0;
}

void reportNoLayers(CKpLayup* m, const ResultNames& names) {
    m->pMsg()->Create(4, "No layered results found for: '%s' '%s' '%s' '%s'", names.text[0],
                      names.text[1], names.text[2], names.text[3]);
}

CKpRes* findResult(CKpLayup* m, int id) {
    CKpRes* r = m->pRess()->find(id);
    if (!r) m->pMsg()->Create(4, "Could not find specified result");
    return r;
}

}  // namespace

int LayupGetFailureLamina(const char* name, const char* provider, int a, int b, int c,
                          IVekAddinFailureLamina** out) {
    return guard_export(__func__, -1, [&]() -> int {
        if (!provider) {
            if (out) *out = nullptr;
            return slotLayup() && out ? 2 : 1;
        }
        return findCriterion(name, provider, a, b, c, out);
    });
}

int LayupGetFailureLaminaByNameOnly(const char* name, IVekAddinFailureLamina** out) {
    return guard_export(__func__, -1,
                        [&]() -> int { return findCriterion(name, nullptr, 0, 0, 0, out); });
}

int LayupGetFailureLaminaEncodedName(IVekAddinFailureLamina* criterion, char* out) {
    return guard_export(__func__, -1, [&]() -> int {
        if (!criterion || !out) return 1;
        char encoded[kText];
        const int status = encode(criterion, encoded);
        if (status != 0) return status;
        copy_text(out, kText, encoded);
        return 0;
    });
}

int LayupGetFailureLaminaByEncodedName(const char* encoded, IVekAddinFailureLamina** out) {
    return guard_export(__func__, -1, [&]() -> int {
        if (out) *out = nullptr;
        if (!slotLayup() || !out) return 1;
        if (!encoded) return 2;
        // Provider and name are texts; the version parts must each read as an
        // int. A missing part gives its position + 1.
        std::vector<const char*> starts;
        starts.push_back(encoded);
        for (const char* p = encoded; *p; ++p)
            if (*p == '|' && starts.size() < 5) starts.push_back(p + 1);
        const size_t partLength0 = std::strcspn(starts[0], "|");
        if (partLength0 == 0 && starts.size() == 1) return 2;
        if (starts.size() < 2) return 3;
        int version[3] = {0, 0, 0};
        for (int k = 0; k < 3; ++k) {
            if (starts.size() < static_cast<size_t>(k) + 3) return k + 4;
            if (std::sscanf(starts[k + 2], "%d", &version[k]) != 1) return k + 4;
        }
        char provider[kText];
        char name[kText];
        std::snprintf(provider, kText, "%.*s", static_cast<int>(partLength0), starts[0]);
        std::snprintf(name, kText, "%.*s", static_cast<int>(std::strcspn(starts[1], "|")),
                      starts[1]);
        return LayupGetFailureLamina(name, provider, version[0], version[1], version[2], out) == 0
                   ? 0
                   : 7;
    });
}

extern "C" {

int LayupGetNumFailureLamina(int* count) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m || !count) return 1;
        CVekAddinManager* manager = m->VekAddinManager();
        if (!manager) return 1;
        int n = 0;
        forEachCriterionPair(manager, [&](const char*) {
            ++n;
            return false;
        });
        *count = n;
        return 0;
    });
}

int LayupGetFailureLaminaEncodedNames(int capacity, char** names) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CVekAddinManager* manager = m->VekAddinManager();
        if (!manager) return 1;
        int pairs = 0;
        LayupGetNumFailureLamina(&pairs);
        // A host array shorter than what could be written is refused first.
        const int need = std::min(std::max(capacity, 0), pairs);
        const int elems = BltArrayElems(names);
        if (elems >= 0 && elems < need) {
            m->pMsg()->Create(4, "The criterion name array holds %d entries; %d are needed.", elems,
                              need);
            return -1;
        }
        int written = 0;
        int status = 0;
        forEachCriterionPair(manager, [&](const char* component) {
            CriterionRef criterion;
            criterion.p = instantiate(manager, component);
            if (!criterion.p) return false;
            if (written >= capacity || !names) {
                status = 2;
                return true;
            }
            char encoded[kText];
            if (encode(criterion.p, encoded) != 0) {
                status = 3;
                return true;
            }
            copy_text(names[written++], kText, encoded);
            return false;
        });
        return status;
    });
}

int LayupGetFailureLaminaDetails(const char* encoded, char* name, char* provider, int* a, int* b,
                                 int* c) {
    return guard_export(__func__, -1, [&]() -> int {
        CriterionRef criterion;
        const int status = lookupEncoded(encoded, criterion);
        if (status != 0) return 1;
        if (!criterion.p) return 2;
        char text[kText] = "";
        if (name && criterion.p->GetName(text, kText) == 0) copy_text(name, kText, text);
        if (provider && criterion.p->GetProviderName(text, kText) == 0)
            copy_text(provider, kText, text);
        int x = 0, y = 0, z = 0;
        criterion.p->GetVersion(x, y, z);
        if (a) *a = x;
        if (b) *b = y;
        if (c) *c = z;
        return 0;
    });
}

int LayupGetFailureLaminaNumAllowables(const char* encoded, int* count) {
    return guard_export(__func__, -1, [&]() -> int {
        CriterionRef criterion;
        if (lookupEncoded(encoded, criterion) != 0) return 1;
        if (!criterion.p) return 2;
        int n = 0;
        criterion.p->GetNumAllowables(n);
        if (count) *count = n;
        return 0;
    });
}

int LayupGetFailureLaminaAllowableLabel(const char* encoded, int index, char* label) {
    return guard_export(__func__, -1, [&]() -> int {
        CriterionRef criterion;
        if (lookupEncoded(encoded, criterion) != 0) return 1;
        if (!criterion.p) return 2;
        char text[kText] = "";
        if (criterion.p->GetAllowableLabel(index, text, kText) != 0) return 3;
        if (label) copy_text(label, kText, text);
        return 0;
    });
}

int LayupGetFailureLaminaNumResults(const char* encoded, int* count) {
    return guard_export(__func__, -1, [&]() -> int {
        CriterionRef criterion;
        if (lookupEncoded(encoded, criterion) != 0) return 1;
        if (!criterion.p) return 2;
        int n = 0;
        criterion.p->GetNumResults(n);
        if (count) *count = n;
        return 0;
    });
}

int LayupGetFailureLaminaResultLabel(const char* encoded, int index, char* label) {
    return guard_export(__func__, -1, [&]() -> int {
        CriterionRef criterion;
        if (lookupEncoded(encoded, criterion) != 0) return 1;
        if (!criterion.p) return 2;
        char text[kText] = "";
        if (criterion.p->GetResultLabel(index, text, kText) != 0) return 3;
        if (label) copy_text(label, kText, text);
        return 0;
    });
}

int LayupGetFailureLaminaNumResultValues(const char* encoded, int index, int* nDoubles, int* nInts,
                                         int* nStrings) {
    return guard_export(__func__, -1, [&]() -> int {
        CriterionRef criterion;
        if (lookupEncoded(encoded, criterion) != 0) return 1;
        if (!criterion.p) return 2;
        int d = 0, i = 0, s = 0;
        if (criterion.p->GetNumResultValues(index, d, i, s) != 0) return 3;
        if (nDoubles) *nDoubles = d;
        if (nInts) *nInts = i;
        if (nStrings) *nStrings = s;
        return 0;
    });
}

int LayupCreateResultsFailure3(char** names, int nElems, int* ids, const char* criterion, int flags,
                               int basis, int nMats, char** matNames, int perMat, float* allowables,
                               int nTypes, int* types, const char* description,
                               const char* reportFile, int* idRange) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpMsg* msg = m->pMsg();

        // 1. The criterion, held until the return.
        CriterionRef crit;
        bool builtin = false;
        for (const char* b : kBuiltinNames)
            builtin = builtin || (criterion && std::strcmp(criterion, b) == 0);
        const int found = builtin ? LayupGetFailureLaminaByNameOnly(criterion, &crit.p)
                                  : LayupGetFailureLaminaByEncodedName(criterion, &crit.p);
        if (found != 0 || !crit.p) {
            msg->Create(4, "Unsupported failure criterion: '%s'", criterion ? criterion : "");
            return 1;
        }

        // 2. Which criterion runs.
        char critName[kText] = "";
        char critProvider[kText] = "";
        crit.p->GetName(critName, kText);
        crit.p->GetProviderName(critProvider, kText);
        msg->Create(1, "Using addin failure criterion: '%s' from '%s'", critName, critProvider);

        // 3. The result switches.
        const int perLayer = (flags & 0x200) ? 1 : 0;
        const int worst = (flags & 0x100) ? 1 : 0;
        const int criticalLayers = (flags & 0x10) ? 1 : 0;

        // 4. The model to run on.
        ResultNames copy(names);
        // Without ids no element can be named.
        const int count = ids ? std::max(nElems, 0) : 0;
        std::unique_ptr<CKpLayup> temp;
        if (hasDatabase(m)) {
            int status = 0;
            temp = databaseModel(m, &status);
            if (!temp) return status;
            std::vector<int> elems;
            try {
                if (ids) elems.assign(ids, ids + count);
            } catch (...) {
                msg->Create(4, "Cannot allocate memory.");
                return -1;
            }
            if (!readLayers(m, temp->pRess(), copy, elems)) {
                reportNoLayers(m, copy);
                return -1;
            }
        }
        CKpLayup* run = temp ? temp.get() : m;

        // 5. Allowables in double precision.
        std::vector<double> values;
        const int materials = std::max(nMats, 0);
        const int per = std::max(perMat, 0);
        if (allowables) {
            try {
                values.assign(allowables, allowables + static_cast<size_t>(materials) * per);
            } catch (...) {
                msg->Create(4, "Cannot allocate memory.");
                return -1;
            }
        }
        const double* valuesIn = values.empty() ? nullptr : values.data();
        const int materialsIn = valuesIn ? materials : 0;

        // 6, 7. A run per basis bit, the id range over both.
        int low = kNoLowId;
        int high = 0;
        for (int b : {1, 2}) {
            if (!(basis & b)) continue;
            int range[2] = {0, 0};
            const int status = run->GetResultStore()->CreateResultsFailureLamina(
                count, ids, copy.ptr, crit.p, perLayer, worst, criticalLayers,
                static_cast<IVekResultStore::EBasis>(b), materialsIn, matNames, per, valuesIn,
                std::max(nTypes, 0), types, description, reportFile, range);
            if (status != 0) return status;
            low = std::min(low, range[0]);
            high = std::max(high, range[1]);
        }

        // 8, 9. The range, then the new results into the database.
        if (idRange) {
            idRange[0] = low;
            idRange[1] = high;
        }
        if (temp) m->pDB()->putRes(msg, temp->pRess(), low, high);
        return 0;
    });
}

int LayupCreateResultsFailure2(char** names, int nElems, int* ids, const char* criterion, int flags,
                               int basis, int nMats, char** matNames, float* allowables,
                               const char* description, const char* reportFile, int* idRange) {
    return guard_export(__func__, -1, [&]() -> int {
        static const int kTypeBits[4][2] = {{0x2, 0}, {0x4, 1}, {0x8, 2}, {0x1, 3}};
        int types[4] = {-1, -1, -1, -1};
        int nTypes = 0;
        for (const auto& bit : kTypeBits)
            if (flags & bit[0]) types[nTypes++] = bit[1];
        flags &= ~0xF;
        return LayupCreateResultsFailure3(names, nElems, ids, criterion, flags, basis, nMats,
                                          matNames, 8, allowables, nTypes, types, description,
                                          reportFile, idRange);
    });
}

int LayupCreateResultsFailure(char** names, int nElems, int* ids, int criterion, int flags,
                              int basis, int nMats, char** matNames, float* allowables,
                              const char* description, const char* reportFile, int* idRange) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        if (criterion < 1 || criterion > 7) {
            m->pMsg()->Create(4, "Unsupported failure criterion id: %d", criterion);
            return 1;
        }
        return LayupCreateResultsFailure2(names, nElems, ids, kBuiltinNames[criterion - 1], flags,
                                          basis, nMats, matNames, allowables, description,
                                          reportFile, idRange);
    });
}

int LayupCreateResultsSort2(char** names, int* flags, char** separators, int option) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        ResultNames copy(names);
        const bool db = hasDatabase(m);
        if (db) {
            std::snprintf(copy.text[4], kText, "Layer ");
            std::vector<int> ids;
            if (!allElementIds(m, ids)) return -1;
            if (ids.empty()) {
                m->pMsg()->Create(2, "No elements in model.");
                return 0;
            }
            if (!readLayers(m, m->pRess(), copy, ids)) {
                m->pMsg()->Create(2, "No valid result layers.");
                return 0;
            }
        }
        // The eight name flags and separators; inside a built-in call entries
        // past the host's arrays count as unset.
        int flagsIn[8] = {0, 0, 0, 0, 0, 0, 0, 0};
        const char* separatorsIn[8] = {};
        const int nFlags = flags ? std::min(hostElems(flags, 8), 8) : 0;
        const int nSeparators = separators ? std::min(hostElems(separators, 8), 8) : 0;
        for (int k = 0; k < nFlags; ++k) flagsIn[k] = flags[k];
        for (int k = 0; k < nSeparators; ++k) separatorsIn[k] = separators[k];
        int range[2] = {0, 0};
        m->GetResultStore()->CreateResultsSortLayup(copy.ptr, flags ? flagsIn : nullptr,
                                                    separators ? separatorsIn : nullptr, option,
                                                    range);
        if (db) m->pDB()->putRes(m->pMsg(), m->pRess(), range[0], range[1]);
        return 0;
    });
}

int LayupCreateResultsSortLaminate(char** names) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        ResultNames copy(names);
        std::unique_ptr<CKpLayup> temp;
        if (hasDatabase(m)) {
            int status = 0;
            temp = databaseModel(m, &status);
            if (!temp) return status;
            std::vector<int> ids;
            if (!allElementIds(m, ids)) return -1;
            if (ids.empty()) {
                m->pMsg()->Create(2, "No elements in model.");
                return 0;
            }
            if (!readLayers(m, temp->pRess(), copy, ids)) {
                reportNoLayers(m, copy);
                return 1;
            }
        }
        CKpLayup* run = temp ? temp.get() : m;
        int range[2] = {0, 0};
        if (run->GetResultStore()->CreateResultsSortLaminate(copy.ptr, range) != 0) return 2;
        if (temp) m->pDB()->putRes(m->pMsg(), temp->pRess(), range[0], range[1]);
        return 0;
    });
}

int LayupGetNumRess(int* count) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        if (count) *count = m->pRess()->entries();
        return 0;
    });
}

int LayupGetResIds(int capacity, int* ids) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpResStore* store = m->pRess();
        const int n = std::min(capacity, static_cast<int>(store->entries()));
        for (int k = 0; ids && k < n; ++k) ids[k] = (*store)[k]->id();
        return 0;
    });
}

int LayupGetRes(int id, char** names, int* orientation, int* type, int* location, int* nElems,
                int* nValues) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpRes* r = findResult(m, id);
        if (!r) return -1;
        for (int k = 0; names && k < 5; ++k)
            if (names[k]) copy_text(names[k], kText, r->name(k));
        if (orientation) *orientation = r->orient();
        if (type) *type = r->type();
        if (location) *location = r->loc();
        CKpResElemStore* records = r->ResElems();
        if (nElems) *nElems = records->entries();
        if (nValues) {
            int sum = 0;
            for (int k = 0; k < records->entries(); ++k) sum += (*records)[k]->GetNumFloats();
            *nValues = sum;
        }
        return 0;
    });
}

int LayupGetResElems(int id, int* elemIds, int* ints, int* counts, float* values) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpRes* r = findResult(m, id);
        if (!r) return -1;
        CKpResElemStore* records = r->ResElems();
        size_t at = 0;
        for (int k = 0; k < records->entries(); ++k) {
            const CKpResElem* e = (*records)[k];
            const int n = e->GetNumFloats();
            if (elemIds) elemIds[k] = e->id();
            if (ints) ints[k] = e->GetNumInts() > 0 ? e->GetInt(0) : 0;
            if (counts) counts[k] = n;
            for (int v = 0; values && v < n; ++v) values[at + v] = e->GetFloat(v);
            at += static_cast<size_t>(n);
        }
        return 0;
    });
}

int LayupDeleteResults(char** names) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        ResultNames copy(names);
        if (CKpRes* r = m->pRess()->findByName(copy.ptr)) m->GetResultStore()->Delete(r);
        return 0;
    });
}

int LayupDeleteResultsAll(void) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        m->GetResultStore()->DeleteAll();
        return 0;
    });
}

int LayupEraseResFI(void) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        m->pGra()->delete_segment(kFailureSegment);
        return 0;
    });
}

int LayupPlotResFI(void) {
    return 0;
}

}  // extern "C"
