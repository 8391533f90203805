#include "layuplib/CKpResRefStore.h"

#include <cctype>
#include <climits>
#include <cstring>
#include <new>
#include <vector>

#include "layuplib/CKpMsg.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResStore.h"
#include "layuplib/CVekObjectStoreIterator.h"

namespace {

// The decimal number after the first six characters of a layer name
// ("Layer 12" -> 12), read as atoi would but within the name and without
// overflow. 0 when there is none (a short name, no digits, too large).
int LayerNumber(const char* name) {
    if (std::strlen(name) <= 6) return 0;
    const char* p = name + 6;
    while (std::isspace(static_cast<unsigned char>(*p))) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    long long value = 0;
    bool digits = false;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > INT_MAX) return 0;
        digits = true;
    }
    if (!digits) return 0;
    return negative ? -static_cast<int>(value) : static_cast<int>(value);
}

bool IsLayerQuantity(const char* type) {
    return std::strcmp(type, "Stress Tensor") == 0 || std::strcmp(type, "Strain Tensor") == 0 ||
           std::strcmp(type, "Stress") == 0;
}

const char* Text(const char* text) {
    return text ? text : "";
}

}  // namespace

CKpResRefStore::CKpResRefStore() : CVekObjectStore<CKpResRef>(64) {}

CKpResRefStore::~CKpResRefStore() {
    eraseAllObjects();
}

CKpRes* CKpResRefStore::GetLayerResult(int layer) {
    const CKpResRef* ref = find(layer);
    return ref ? ref->GetRes() : nullptr;
}

int CKpResRefStore::GetMaxLayerOnElement(int elementId) {
    int highest = 0;
    CVekObjectStoreIterator<CKpResRef> it(*this);
    while (++it) {
        CKpRes* result = it.key()->GetRes();
        if (result && result->ResElems()->find(elementId)) highest = it.key()->id();
    }
    return highest;
}

int CKpResRefStore::CreateReferencesToLayerResults(CKpMsg* msg, CKpResStore* store,
                                                   const char* const names[5], int match,
                                                   int basis) {
    if (!store || !names) return 1;
    CVekObjectStoreIterator<CKpRes> it(*store);
    while (++it) {
        CKpRes* result = it.key();
        bool same = true;
        if (match) {
            same = std::strcmp(result->name(0), Text(names[0])) == 0 &&
                   std::strcmp(result->name(1), Text(names[1])) == 0 &&
                   IsLayerQuantity(result->name(2));
        } else {
            for (int i = 0; i < 4 && same; ++i)
                same = std::strcmp(result->name(i), Text(names[i])) == 0;
        }
        if (!same) continue;
        if (result->IsStrainResult() && basis == 1) {
            if (msg)
                msg->Create(2,
                            "Calculating failure criteria for strain results on the basis of "
                            "stress is not supported");
            return 1;
        }
        const int layer = LayerNumber(result->name(4));
        if (layer < 1) continue;
        if (find(layer)) {
            if (msg) msg->Create(2, "Duplicate results for Layer %d", layer);
            return 2;
        }
        CKpResRef* ref = new (std::nothrow) CKpResRef(layer, result);
        const int before = entries();
        if (ref) insert(ref);
        if (!ref || entries() == before) {
            delete ref;
            if (msg) msg->Create(2, "Cannot allocate memory");
            return 3;
        }
    }
    return 0;
}

int CKpResRefStore::CompareWithLaminateLayers(CKpMsg* msg, CKpResStore* laminateLayers) {
    if (!laminateLayers) return 1;
    const int count = laminateLayers->entries();
    if (count != entries()) {
        if (msg)
            msg->Create(2, "There are %d laminate layers and %d result layers.", count, entries());
        return 1;
    }
    for (int k = 1; k <= count; ++k) {
        CKpRes* laminateLayer = laminateLayers->find(k);
        if (!laminateLayer) {
            if (msg) msg->Create(2, "Laminate layer %d is missing.", k);
            return 2;
        }
        CKpRes* resultLayer = GetLayerResult(k);
        if (!resultLayer) {
            if (msg) msg->Create(2, "Result layer %d is missing.", k);
            return 3;
        }
        if (laminateLayer->ResElems()->IdsDiffer(*resultLayer->ResElems()) != 0) {
            if (msg) msg->Create(2, "Element ids differ for Laminate and Result layer %d.", k);
            return 4;
        }
    }
    return 0;
}

int CKpResRefStore::AreGlobalLayers() {
    std::vector<int> beforeIds, hereIds;
    const CKpResElemStore* idsOf = nullptr;  // the store beforeIds were read from
    CVekObjectStoreIterator<CKpResRef> it(*this);
    const CKpResRef* previous = nullptr;
    while (++it) {
        const CKpResRef* ref = it.key();
        if (!previous) {
            if (ref->id() > 1) return 1;
            previous = ref;
            continue;
        }
        if (ref->id() != previous->id() + 1) return 2;
        if (!previous->GetRes() || !ref->GetRes()) {
            previous = ref;
            continue;
        }
        CKpResElemStore* before = previous->GetRes()->ResElems();
        CKpResElemStore* here = ref->GetRes()->ResElems();
        if (here->entries() > before->entries()) return 3;
        // Both id lists ascend: one walk over the two, reading ids only,
        // not the records. An id the walk misses is looked up as before.
        int nBefore = before->entries(), nHere = here->entries();
        try {
            beforeIds.resize(static_cast<size_t>(nBefore));
            hereIds.resize(static_cast<size_t>(nHere));
        } catch (const std::bad_alloc&) {
            beforeIds.clear(), hereIds.clear();
            idsOf = nullptr;
            nBefore = nHere = -1;
        }
        if (nHere < 0) {
            CVekObjectStoreIterator<CKpResElem> elems(*here);
            while (++elems)
                if (!before->find(elems.key()->id())) return 4;
        } else if (nHere > 0) {
            // The previous pair's ids of this layer serve again.
            if (idsOf != before) before->GetAllIds(nBefore, beforeIds.data());
            here->GetAllIds(nHere, hereIds.data());
            size_t b = 0;
            for (const int id : hereIds) {
                while (b < beforeIds.size() && beforeIds[b] < id) ++b;
                if ((b == beforeIds.size() || beforeIds[b] != id) && !before->find(id)) return 4;
            }
            beforeIds.swap(hereIds);
            idsOf = here;
        }
        previous = ref;
    }
    return 0;
}
