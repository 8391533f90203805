// Set, generated-data, layup index, curve and orientation queries of the
// exported interface.

#include "host/LayupQuery.h"

#include <climits>
#include <memory>
#include <new>
#include <unordered_map>
#include <vector>

#include "blt/lamlayup.h"
#include "host/LayupApi.h"
#include "host/LayupSlot.h"
#include "host/guard_export.h"
#include "layuplib/CKpCurve.h"
#include "layuplib/CKpCurveStore.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLyp.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpLypPlyStore.h"
#include "layuplib/CKpOrient.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CKpSet.h"
#include "layuplib/CKpSetStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/IVekCoord.h"
#include "layuplib/IVekCoordStore.h"
#include "layuplib/IVekField.h"
#include "layuplib/IVekFieldStore.h"
#include "layuplib/IVekPropGenSet.h"
#include "layuplib/IVekPropertySet.h"
#include "layuplib/IVekPropertySetStore.h"
#include "layuplib/IVekSolidGenSet.h"
#include "layuplib/angle_util.h"
#include "layuplib/copy_text.h"

namespace {

// The caller sized its text buffers from the counts; no length crosses.
void putText(char** texts, long long k, const char* text) {
    if (texts && texts[k]) copy_text(texts[k], INT_MAX, text);
}

// Inside a built-in call a host array shorter than `need` is refused
// before anything is written: arrays cross without their lengths.
bool shortArray(CKpLayup* m, const char* fn, const char* what, const void* p, long long need) {
    const int elems = BltArrayElems(p);
    if (elems < 0 || elems >= need) return false;
    m->pMsg()->Create(4, "%s: The %s array holds %d entries, fewer than the %lld needed.", fn, what,
                      elems, need);
    return true;
}

CKpSet* setByName(CKpLayup* m, const char* name) {
    CKpSetStore* sets = m->pSets();
    return sets ? sets->findByName(name ? name : "") : nullptr;
}

bool badIdList(CKpLayup* m, const char* name, int count, const int* ids) {
    if (count >= 0 && (count == 0 || ids)) return false;
    m->pMsg()->Create(4, "Invalid id list for set '%s'.", name ? name : "");
    return true;
}

IVekCoordStore* coordStore(CKpLayup* m, int source) {
    if (source == 2) {
        IVekPropGenSet* set = m->GetPropGenSet();
        return set ? set->GetCoordStore() : nullptr;
    }
    if (source == 3) {
        IVekSolidGenSet* set = m->GetSolidGenSet();
        return set ? set->GetCoordStore() : nullptr;
    }
    return nullptr;
}

IVekPropertySetStore* propertySetStore(CKpLayup* m, int source) {
    if (source == 2) {
        IVekPropGenSet* set = m->GetPropGenSet();
        return set ? set->GetPropertySetStore() : nullptr;
    }
    if (source == 3) {
        IVekSolidGenSet* set = m->GetSolidGenSet();
        return set ? set->GetPropertySetStore() : nullptr;
    }
    return nullptr;
}

// The property generation set's field store; null after the message of the
// missing piece, *status 1 (no set) or 2 (no store).
IVekFieldStore* fieldStore(CKpLayup* m, int* status) {
    IVekPropGenSet* set = m->GetPropGenSet();
    if (!set) {
        m->pMsg()->Create(4, "Invalid property generation set.");
        *status = 1;
        return nullptr;
    }
    IVekFieldStore* store = set->GetFieldStore();
    if (!store) {
        m->pMsg()->Create(4, "Invalid field store.");
        *status = 2;
        return nullptr;
    }
    return store;
}

// The layup index: per layup ply (ascending id) the stack entries that hold
// it, elements in ascending id, as the index file lists them.
struct IndexEntry {
    int elemId;
    int position;
    int sign;
};
struct LayupIndex {
    std::vector<CKpLypPly*> plies;
    std::vector<std::vector<IndexEntry>> entries;
    int largest = 0;
};

LayupIndex buildIndex(CKpLayup* m) {
    LayupIndex index;
    CKpLypPlyStore& store = m->pLyp()->LypPlys();
    std::unordered_map<int, size_t> slot;
    CVekObjectStoreIterator<CKpLypPly> plies(store);
    while (++plies) {
        CKpLypPly* lp = plies.key();
        if (!lp) continue;
        slot.emplace(lp->id(), index.plies.size());
        index.plies.push_back(lp);
    }
    index.entries.resize(index.plies.size());
    CKpElemStore* elems = m->pElems();
    if (elems) {
        CVekObjectStoreIterator<CKpElem> it(*elems);
        while (++it) {
            const CKpElem* e = it.key();
            const CKpElemLypPlyStore* stack = e ? e->getElemLypPlies() : nullptr;
            if (!stack) continue;
            int position = 0;
            for (CKpElemLypPly* s = stack->First(); s; s = stack->Next(s)) {
                ++position;
                const auto found = slot.find(s->getLypPlyId());
                if (found == slot.end()) continue;
                const CKpLypPly* lp = index.plies[found->second];
                index.entries[found->second].push_back(
                    {e->id(), position, lp->stdn() * s->dnfg()});
            }
        }
    }
    for (const auto& list : index.entries)
        if (static_cast<int>(list.size()) > index.largest)
            index.largest = static_cast<int>(list.size());
    return index;
}

}  // namespace

extern "C" {

// ---- Sets

int LayupCreateSet(const char* name, int count, int* ids) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        if (badIdList(m, name, count, ids)) return -1;
        CKpSetStore* sets = m->pSets();
        if (!sets) return -1;
        if (setByName(m, name)) {
            m->pMsg()->Create(4, "Set name '%s' already used.", name ? name : "");
            return -1;
        }
        if (sets->maxId() == INT_MAX) return -1;  // no id left above the highest
        // Owned here until the store takes it, also when an exception leaves.
        std::unique_ptr<CKpSet> set(new (std::nothrow) CKpSet(sets->maxId() + 1));
        if (!set) return -1;
        set->setName(name);
        if (set->SetIds(count, ids) != 0 || sets->insert(set.get()) != 0) return -1;
        set.release();
        return 0;
    });
}

int LayupModifySet(const char* name, int count, int* ids) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpSet* set = setByName(m, name);
        if (!set) return -1;
        if (badIdList(m, name, count, ids)) return -1;
        return set->SetIds(count, ids) == 0 ? 0 : -1;
    });
}

int LayupDeleteSet(const char* name) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpSet* set = setByName(m, name);
        if (!set) return -1;
        m->pSets()->eraseObject(set);
        return 0;
    });
}

int LayupGetNumSets(int* count) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpSetStore* sets = m->pSets();
        if (count) *count = sets ? sets->Count() : 0;
        return 0;
    });
}

int LayupGetSetNames(int count, char** names) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpSetStore* sets = m->pSets();
        const int n = sets ? sets->Count() : 0;
        if (count != n) {
            m->pMsg()->Create(1,
                              "LayupGetSetNames: The set name array size %d is not equal to the "
                              "number of sets %d.",
                              count, n);
            return 1;
        }
        if (shortArray(m, "LayupGetSetNames", "name", names, n)) return -1;
        for (int i = 0; i < n; ++i)
            if (IVekSet* set = sets->Get(i)) putText(names, i, set->GetName());
        return 0;
    });
}

int LayupGetSetSize(const char* name, int* size, int* id) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpSet* set = setByName(m, name);
        if (!set) return -1;
        if (size) *size = set->GetNumIds();
        if (id) *id = set->id();
        return 0;
    });
}

int LayupGetSet(int id, int count, int* ids) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpSetStore* sets = m->pSets();
        CKpSet* set = sets ? sets->find(id) : nullptr;
        if (!set) return -1;
        // A count other than the set's writes nothing: say so.
        return set->GetIds(count, ids) == 0 ? 0 : 1;
    });
}

// ---- Coordinate frames

int LayupGetNumCoords2(int source, int* count) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekCoordStore* store = coordStore(m, source);
        if (!store) return 1;
        if (count) *count = store->Count();
        return 0;
    });
}

int LayupGetCoords2(int source, int, int* ids, int* types, float* origins, float* axes) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekCoordStore* store = coordStore(m, source);
        if (!store) return 1;
        const int n = store->Count();
        const char* fn = "LayupGetCoords2";
        if (shortArray(m, fn, "id", ids, n) || shortArray(m, fn, "type", types, n) ||
            shortArray(m, fn, "origin", origins, 3LL * n) ||
            shortArray(m, fn, "axis", axes, 9LL * n))
            return -1;
        for (int i = 0; i < n; ++i) {
            IVekCoord* c = store->Get(i);
            if (!c) continue;
            if (ids) ids[i] = c->GetId();
            if (types) types[i] = c->GetType();
            double o[3] = {0.0, 0.0, 0.0};
            c->GetOrigin(o);
            for (int k = 0; origins && k < 3; ++k) origins[3 * i + k] = static_cast<float>(o[k]);
            for (int axis = 0; axes && axis < 3; ++axis) {
                double d[3] = {0.0, 0.0, 0.0};
                c->GetAxisDirection(axis, d);
                for (int k = 0; k < 3; ++k) axes[9 * i + 3 * axis + k] = static_cast<float>(d[k]);
            }
        }
        return 0;
    });
}

int LayupGetNumCoords(int* count) {
    return LayupGetNumCoords2(2, count);
}

int LayupGetCoords(int unused, int* ids, int* types, float* origins, float* axes) {
    return LayupGetCoords2(2, unused, ids, types, origins, axes);
}

// ---- Fields

int LayupGetNumFields(int* fields, int* values) {
    return guard_export(__func__, -1, [&]() -> int {
        if (fields) *fields = 0;
        if (values) *values = 0;
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        int status = 0;
        IVekFieldStore* store = fieldStore(m, &status);
        if (!store) return status;
        const int n = store->Count();
        long long total = 0;
        for (int i = 0; i < n; ++i)
            if (IVekField* f = store->Get(i)) total += f->GetNumElems();
        if (fields) *fields = n;
        if (values) *values = static_cast<int>(total);
        return 0;
    });
}

int LayupGetFields(int count, int, char** names, int* counts, int* elemIds, float* values) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        int status = 0;
        IVekFieldStore* store = fieldStore(m, &status);
        if (!store) return status;
        const int n = count < store->Count() ? count : store->Count();
        long long total = 0;
        for (int i = 0; i < n; ++i)
            if (IVekField* f = store->Get(i)) total += f->GetNumElems();
        const char* fn = "LayupGetFields";
        if (shortArray(m, fn, "name", names, n) || shortArray(m, fn, "count", counts, n) ||
            shortArray(m, fn, "element id", elemIds, total) ||
            shortArray(m, fn, "value", values, total))
            return -1;
        long long at = 0;
        std::vector<int> ids;
        std::vector<double> vals;
        for (int i = 0; i < n; ++i) {
            IVekField* f = store->Get(i);
            if (!f) continue;
            putText(names, i, f->GetName());
            const int ne = f->GetNumElems();
            if (counts) counts[i] = ne;
            if (ne < 1) continue;
            ids.assign(static_cast<size_t>(ne), 0);
            vals.assign(static_cast<size_t>(ne), 0.0);
            if (f->GetElemIdsAndValues(ne, 1, ids.data(), vals.data()) != 0) return 3;
            for (int k = 0; k < ne; ++k) {
                if (elemIds) elemIds[at + k] = ids[k];
                if (values) values[at + k] = static_cast<float>(vals[k] * kDegPerRad);
            }
            at += ne;
        }
        return 0;
    });
}

// ---- Property sets

int LayupGetNumProps2(int source, int* sets, int* words, int* elements) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekPropertySetStore* store = propertySetStore(m, source);
        if (!store) return 1;
        int nSets = 0;
        long long nWords = 0, nElems = 0;
        const int n = store->Count();
        for (int i = 0; i < n; ++i) {
            IVekPropertySet* p = store->Get(i);
            if (!p) continue;
            const int w = p->GetNumWords();
            if (w < 1) {
                m->pMsg()->Create(4, "LayupGetNumProps(): No property words defined.");
                return 1;
            }
            nWords += w;
            nElems += p->GetNumElems();
            ++nSets;
        }
        if (sets) *sets = nSets;
        if (words) *words = static_cast<int>(nWords);
        if (elements) *elements = static_cast<int>(nElems);
        return 0;
    });
}

int LayupGetNumProps(int* sets, int* words, int* elements) {
    return LayupGetNumProps2(2, sets, words, elements);
}

int LayupGetProps2(int source, int, int, int, char** names, int* options, int* wordCounts,
                   int* wordIds, int* wordTypes, char** wordValues, int* elemCounts,
                   int* elemIds) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        IVekPropertySetStore* store = propertySetStore(m, source);
        if (!store) return 1;
        const int n = store->Count();
        long long nSets = 0, nWords = 0, nElems = 0;
        for (int i = 0; i < n; ++i)
            if (IVekPropertySet* p = store->Get(i)) {
                ++nSets;
                nWords += p->GetNumWords();
                nElems += p->GetNumElems();
            }
        const char* fn = "LayupGetProps2";
        if (shortArray(m, fn, "name", names, nSets) ||
            shortArray(m, fn, "option", options, 6 * nSets) ||
            shortArray(m, fn, "word count", wordCounts, nSets) ||
            shortArray(m, fn, "word id", wordIds, nWords) ||
            shortArray(m, fn, "word type", wordTypes, nWords) ||
            shortArray(m, fn, "word value", wordValues, nWords) ||
            shortArray(m, fn, "element count", elemCounts, nSets) ||
            shortArray(m, fn, "element id", elemIds, nElems))
            return -1;
        long long k = 0, wordAt = 0, elemAt = 0;
        std::vector<int> ids, types, elems;
        std::vector<std::vector<char>> text;
        std::vector<char*> textPtrs;
        for (int i = 0; i < n; ++i, ++k) {
            IVekPropertySet* p = store->Get(i);
            if (!p) {
                --k;
                continue;
            }
            putText(names, k, p->GetName());
            int opts[6] = {0, 0, 0, 0, 0, 0};
            p->GetOptions(opts);
            for (int j = 0; options && j < 6; ++j) options[6 * k + j] = opts[j];
            const int w = p->GetNumWords();
            if (wordCounts) wordCounts[k] = w;
            // The values are formatted into buffers of the set's own size and
            // copied from there: the caller's may be smaller.
            const size_t nw = w > 0 ? static_cast<size_t>(w) : 0;
            ids.assign(nw, 0);
            types.assign(nw, 0);
            text.assign(nw, std::vector<char>(IVekPropertySet::WORD_VALUE_LEN, '\0'));
            textPtrs.resize(nw);
            for (size_t j = 0; j < nw; ++j) textPtrs[j] = text[j].data();
            if (p->GetWordIdsTypesValues(w, ids.data(), types.data(), textPtrs.data()) != 0)
                return 1;
            for (size_t j = 0; j < nw; ++j) {
                if (wordIds) wordIds[wordAt + j] = ids[j];
                if (wordTypes) wordTypes[wordAt + j] = types[j];
                putText(wordValues, wordAt + static_cast<long long>(j), textPtrs[j]);
            }
            wordAt += nw;
            const int e = p->GetNumElems();
            if (elemCounts) elemCounts[k] = e;
            const size_t ne = e > 0 ? static_cast<size_t>(e) : 0;
            elems.assign(ne, 0);
            if (p->GetElemIds(e, elems.data()) != 0) return 2;
            for (size_t j = 0; elemIds && j < ne; ++j) elemIds[elemAt + j] = elems[j];
            elemAt += ne;
        }
        return 0;
    });
}

// ---- Layup index

int LayupGetIndexSizes(int* plies, int* largest) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        const LayupIndex index = buildIndex(m);
        if (plies) *plies = static_cast<int>(index.plies.size());
        if (largest) *largest = index.largest;
        return 0;
    });
}

int LayupGetIndex(int plies, int stride, int* ids, int* counts, int* entries) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        const LayupIndex index = buildIndex(m);
        const int n = static_cast<int>(index.plies.size());
        if (plies != n) {
            m->pMsg()->Create(
                1,
                "LayupGetIndex: The layup ply array size %d is not equal to the number "
                "of layup plies %d.",
                plies, n);
            return 1;
        }
        // A narrower stride would write one ply's entries over the next one's.
        if (stride < index.largest) {
            m->pMsg()->Create(
                1, "LayupGetIndex: The stride %d is less than the largest number of elements %d.",
                stride, index.largest);
            return 1;
        }
        for (int k = 0; k < n; ++k) {
            const std::vector<IndexEntry>& list = index.entries[k];
            if (ids) ids[k] = index.plies[k]->id();
            if (counts) counts[k] = static_cast<int>(list.size());
            if (!entries) continue;
            for (size_t j = 0; j < list.size(); ++j) {
                int* at =
                    entries + 3 * (static_cast<long long>(stride) * k + static_cast<long long>(j));
                at[0] = list[j].elemId;
                at[1] = list[j].position;
                at[2] = list[j].sign;
            }
        }
        return 0;
    });
}

// ---- Curves and orientations

int LayupGetNumCurves(int* curves, int* points) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpCurveStore* store = m->pCurves();
        int n = 0;
        long long total = 0;
        if (store) {
            CVekObjectStoreIterator<CKpCurve> it(*store);
            while (++it)
                if (const CKpCurve* c = it.key()) {
                    ++n;
                    total += c->count();
                }
        }
        if (curves) *curves = n;
        if (points) *points = static_cast<int>(total);
        return 0;
    });
}

int LayupGetCurves(int, int, char** names, int* types, int* counts, float* xyz) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpCurveStore* store = m->pCurves();
        if (!store) return 0;
        std::vector<const CKpCurve*> list;
        long long total = 0;
        CVekObjectStoreIterator<CKpCurve> it(*store);
        while (++it)
            if (const CKpCurve* c = it.key()) {
                list.push_back(c);
                total += c->count();
            }
        const long long n = static_cast<long long>(list.size());
        const char* fn = "LayupGetCurves";
        if (shortArray(m, fn, "name", names, n) || shortArray(m, fn, "type", types, n) ||
            shortArray(m, fn, "count", counts, n) ||
            shortArray(m, fn, "coordinate", xyz, 3 * total))
            return -1;
        long long at = 0;
        for (long long i = 0; i < n; ++i) {
            const CKpCurve* c = list[i];
            putText(names, i, c->name());
            if (types) types[i] = c->type();
            if (counts) counts[i] = c->count();
            const int values = 3 * c->count();
            for (int k = 0; xyz && k < values; ++k) xyz[at + k] = static_cast<float>(c->coord(k));
            at += values;
        }
        return 0;
    });
}

int LayupGetNumOrients(int* count) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpOrientStore* store = m->pOrients();
        if (count) *count = store ? store->entries() : 0;
        return 0;
    });
}

int LayupGetOrients(int, char** names) {
    return guard_export(__func__, -1, [&]() -> int {
        CKpLayup* m = slotLayup();
        if (!m) return 1;
        CKpOrientStore* store = m->pOrients();
        if (!store) return 0;
        if (shortArray(m, "LayupGetOrients", "name", names, store->entries())) return -1;
        long long i = 0;
        CVekObjectStoreIterator<CKpOrient> it(*store);
        while (++it) {
            if (const CKpOrient* o = it.key()) putText(names, i, o->name());
            ++i;
        }
        return 0;
    });
}

}  // extern "C"

int LayupGetProps2(int a, int b, int c, char** names, int* options, int* wordCounts, int* wordIds,
                   int* wordTypes, char** wordValues, int* elemCounts, int* elemIds) {
    return LayupGetProps2(2, a, b, c, names, options, wordCounts, wordIds, wordTypes, wordValues,
                          elemCounts, elemIds);
}
