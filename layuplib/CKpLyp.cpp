#include "layuplib/CKpLyp.h"

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatPropStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/add_layer.h"
#include "layuplib/copy_text.h"

namespace {}  // namespace

CKpLyp::CKpLyp() : m_layup(nullptr), m_id(0) {}

CKpLyp::~CKpLyp() {
    m_lypPlys.eraseAllObjects();
}

void CKpLyp::reinit() {
    m_id = 0;
    m_name.Clear();
    m_lypPlys.eraseAllObjects();
}

int CKpLyp::Clear() {
    if (!m_layup) return 1;
    setName("");
    if (DeleteLayup(m_layup->pElems(), m_layup->pPlys(), this) != 0) return 2;
    return 0;
}

const char* CKpLyp::GetName() {
    return m_name;
}

int CKpLyp::SetName(const char* name) {
    setName(name);
    return 0;
}

int CKpLyp::Create(int n, const char* const* plyGroups, const char* const* sequences,
                   const int* types, const char* const* plyNames, const int* counts,
                   const int* sides, const double* angleOffsets, const double* thicknessOverrides,
                   const int* globalPlyIds) {
    if (!m_layup) return 1;
    CKpMsg* msg = m_layup->pMsg();
    if (n < 0 || (n > 0 && (!types || !plyNames || !counts || !sides || !angleOffsets ||
                            !thicknessOverrides || !globalPlyIds))) {
        msg->Create(4, "Could not create layup: invalid ply count %d or a missing array.", n);
        return -1;
    }
    m_id = 1;
    for (int i = 0; i < n; ++i) {
        const char* group = plyGroups ? plyGroups[i] : "";
        const char* sequence = sequences ? sequences[i] : "";
        for (int k = 0; k < counts[i]; ++k) {
            if (m_layup->CreateLayupPly(group, sequence, types[i], plyNames[i], sides[i],
                                        angleOffsets[i], thicknessOverrides[i],
                                        globalPlyIds[i]) != 0)
                msg->Create(2, "Error adding ply %s to layup %s.", plyNames[i] ? plyNames[i] : "",
                            name());
        }
    }
    msg->Create(1, "Layup '%s' created", name());
    return 0;
}

IVekLayupPlyStore* CKpLyp::GetLayupPlyStore() {
    return &m_lypPlys;
}

int CKpLyp::GetNumLayupPlyIDs() {
    return m_lypPlys.entries();
}

int CKpLyp::GetLayupPlyIDsNamesThicks(int n, int* ids, char** names, char** materialNames, int size,
                                      double* thicknesses) {
    if (n != GetNumLayupPlyIDs()) return 1;
    CVekObjectStoreIterator<CKpLypPly> it(m_lypPlys);
    for (int i = 0; i < n && ++it; ++i) {
        CKpLypPly* lp = it.key();
        if (ids) ids[i] = lp->id();
        if (names) copy_text(names[i], size, lp->GetName());
        const CKpMat* mat = lp->pPly() ? lp->pPly()->pMat() : nullptr;
        if (!mat) continue;
        if (materialNames) {
            const CKpMatProp* state = mat->MatStates() ? mat->MatStates()->First() : nullptr;
            copy_text(materialNames[i], size, state ? state->extmtrlnm() : "");
        }
        if (thicknesses) thicknesses[i] = mat->mtrlthck();
    }
    return 0;
}

int CKpLyp::GetLayupPlyLayers(int fromTop, int layupPlyId, int size, int& count, int* elemIds,
                              int* positions, int* directions) {
    count = 0;
    if (!m_layup) return 1;
    CKpElemStore* elems = m_layup->pElems();
    if (!elems) return 2;
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (++it) {
        const CKpElem* elem = it.key();
        const CKpElemLypPlyStore* stack = elem ? elem->getElemLypPlies() : nullptr;
        if (!stack) continue;
        int index = 0;
        for (const CKpElemLypPly* e = stack->First(); e; e = stack->Next(e), ++index) {
            if (!e->getLypPly() || e->getLypPlyId() != layupPlyId) continue;
            if (count < size) {
                if (elemIds) elemIds[count] = elem->id();
                if (positions) positions[count] = fromTop ? stack->entries() - index : index + 1;
                if (directions) directions[count] = e->GetElemDnfg();
            }
            ++count;
            break;
        }
    }
    return 0;
}
