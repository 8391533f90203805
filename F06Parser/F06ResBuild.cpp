#include "F06Parser/F06ResBuild.h"

#include <climits>
#include <cstdio>
#include <new>

#include "layuplib/CKpLayup.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResElem.h"
#include "layuplib/CKpResStore.h"

void FileResElem(CKpRes* res, CKpResElem* elem) {
    CKpResElemStore* store = res->ResElems();
    CKpResElem* existing = store->findRecord(elem->id());
    if (existing) {
        existing->SetRes(*elem);
        delete elem;
        return;
    }
    if (store->insertRecord(elem) != 0) delete elem;
}

int FileResValues(CKpRes* res, int eid, int n, const float* values) {
    if (!res) return -1;
    CKpResElemStore* store = res->ResElems();
    if (CKpResElem* existing = store->findRecord(eid)) {
        // What FileResElem does with a new record of these values.
        if (n >= 0 && n <= CKpResElem::kMaxCount) existing->SetRes(n, values, 0, nullptr);
        return 0;
    }
    CKpResElem* elem = new (store->Blocks(), std::nothrow) CKpResElem(eid, n, values);
    if (!elem) return -1;
    if (store->insertRecord(elem) != 0) delete elem;
    return 0;
}

int FindOrCreateResElem(CKpLayup* model, CF06ResBranchArray* branches, CKpRes** current,
                        CKpResElem* elem) {
    if (!model || !branches || !current || !*current || !elem) {
        delete elem;
        return -1;
    }
    CF06ResBranch::MakeKey(*current, branches->m_key);
    if (branches->m_last && branches->m_key == branches->m_last->GetSortName()) {
        FileResElem(branches->m_last->GetRes(), elem);
        return 0;
    }
    CF06ResBranch* probe = new (std::nothrow) CF06ResBranch(*current, branches->m_key);
    if (!probe) {
        delete elem;
        return -1;
    }
    int index = branches->BinarySearchForIndex(probe);
    CF06ResBranch* hit = branches->GetAt(index);
    if (hit && branches->m_key == hit->GetSortName()) {
        delete probe;
        branches->m_last = hit;
        FileResElem(hit->GetRes(), elem);
        return 0;
    }
    // A new name: the current result is stored and a fresh one follows.
    CKpResStore* store = model->pRess();
    CKpRes* res = *current;
    if (branches->InsertUsingCompare(probe) < 0) {
        delete probe;
        delete elem;
        return -1;
    }
    const int before = store->entries();
    store->insert(res);
    if (store->entries() == before) {
        branches->Delete(branches->BinarySearchForIndex(probe));
        delete elem;
        return -1;
    }
    branches->m_last = probe;
    FileResElem(res, elem);
    // No id left above the highest: no next result, as when memory runs out.
    CKpRes* next =
        store->maxId() < INT_MAX ? new (std::nothrow) CKpRes(store->maxId() + 1) : nullptr;
    *current = next;
    return next ? 0 : -1;
}

namespace {

void SetNames(CKpRes* res, const char* subtitle, const char* label, const char* quantity,
              const char* component, const char* layer, int orient, int type) {
    res->name(0, subtitle);
    res->name(1, label);
    res->name(2, quantity);
    res->name(3, component);
    res->name(4, layer);
    res->orient(orient);
    res->type(type);
    res->loc(1);
}

int FileValues(CKpLayup* model, CF06ResBranchArray* branches, CKpRes** current, int eid, int n,
               const float* values) {
    CKpResElem* elem = new (std::nothrow) CKpResElem(eid, n, values);
    if (!elem) return -1;
    return FindOrCreateResElem(model, branches, current, elem);
}

}  // namespace

int CreateResElemForce(CKpLayup* model, CF06NameBranch*, CF06ResBranchArray* branches,
                       CKpRes** current, const char* subtitle, const char* label, int eid,
                       const float v[8], int second, const float w[8]) {
    if (!current || !*current || !v || (second && !w)) return -1;
    const int n = second ? 12 : 6;
    float membrane[12] = {v[0], v[1], 0.0f, v[2], v[7], v[6]};
    float bending[12] = {v[3], v[4], 0.0f, v[5], 0.0f, 0.0f};
    if (second) {
        const float m2[6] = {w[0], w[1], 0.0f, w[2], w[7], w[6]};
        const float b2[6] = {w[3], w[4], 0.0f, w[5], 0.0f, 0.0f};
        for (int k = 0; k < 6; ++k) {
            membrane[6 + k] = m2[k];
            bending[6 + k] = b2[k];
        }
    }
    SetNames(*current, subtitle, label, "Shell Forces", "Membrane Forces", "", 1, 3);
    if (FileValues(model, branches, current, eid, n, membrane) != 0) return -1;
    SetNames(*current, subtitle, label, "Shell Forces", "Bending Moments", "", 1, 3);
    return FileValues(model, branches, current, eid, n, bending);
}

int CreateResElemFailure(CKpLayup* model, CF06NameBranch*, CF06ResBranchArray* branches,
                         CKpRes** current, const char* subtitle, const char* label,
                         const char* criterion, int layer, int eid, float value, int interfaceFlag,
                         float bond) {
    if (!current || !*current) return -1;
    char layerName[40];
    std::snprintf(layerName, sizeof layerName, "Layer %d", layer);
    SetNames(*current, subtitle, label, "Failure Indices", criterion, layerName, 4, 1);
    if (FileValues(model, branches, current, eid, 1, &value) != 0) return -1;
    if (interfaceFlag != -1) return 0;
    return CreateResElemInterface(model, branches, current, subtitle, label, criterion, layer, eid,
                                  bond);
}

int CreateResElemInterface(CKpLayup* model, CF06ResBranchArray* branches, CKpRes** current,
                           const char* subtitle, const char* label, const char* criterion,
                           int layer, int eid, float bond) {
    if (!current || !*current) return -1;
    char layerName[40];
    std::snprintf(layerName, sizeof layerName, "Interface %d-%d", layer, layer + 1);
    SetNames(*current, subtitle, label, "Failure Indices", criterion, layerName, 4, 1);
    return FileValues(model, branches, current, eid, 1, &bond);
}

int CreateResElemStress(CKpLayup* model, CF06NameBranch*, CF06ResBranchArray* branches,
                        CKpRes** current, const char* subtitle, const char* label, int layer,
                        int eid, const float s[5]) {
    if (!current || !*current || !s) return -1;
    char layerName[40];
    std::snprintf(layerName, sizeof layerName, "Layer %d", layer);
    SetNames(*current, subtitle, label, "Stress Tensor", "Fibre Directions", layerName, 4, 3);
    const float values[6] = {s[0], s[1], 0.0f, s[2], s[4], s[3]};
    return FileValues(model, branches, current, eid, 6, values);
}
