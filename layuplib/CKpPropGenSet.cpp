#include "layuplib/CKpPropGenSet.h"

#include <new>
#include <vector>

#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFieldStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CKpPropStore.h"
#include "layuplib/CKpSetStore.h"
#include "layuplib/CKpSubLypStore.h"
#include "layuplib/CreateSubLayups.h"
#include "layuplib/LamsToMats.h"
#include "layuplib/SaveLaminate.h"

CKpPropGenSet::CKpPropGenSet()
    : m_layup(nullptr),
      m_hasLayup(0),
      m_resultsValid(0),
      m_options{0, 0, 0, 0, 0, 0},
      m_propMode(0),
      m_coordIds{0, 0},
      m_switchAngle(0.0),
      m_angleTol(0.0),
      m_thickTol(0.0),
      m_firstCoordId(0),
      m_firstFieldId(0),
      m_firstLamId(0),
      m_firstPropId(0),
      m_ignoreThickness(0),
      m_equallySpaced(0),
      m_shearCorrection(0) {}

CKpPropGenSet::~CKpPropGenSet() {
    Clear();
}

int CKpPropGenSet::SetLayup(CKpLayup* layup) {
    if (!layup) return 1;
    m_layup = layup;
    m_hasLayup = 1;
    return 0;
}

int CKpPropGenSet::Clear() {
    m_resultsValid = 0;
    m_name.Clear();
    m_elemIds.eraseAllObjects();

    for (int& option : m_options) option = 0;
    m_propMode = 0;
    m_coordIds[0] = m_coordIds[1] = 0;
    m_switchAngle = m_angleTol = m_thickTol = 0.0;
    m_firstCoordId = m_firstFieldId = m_firstLamId = m_firstPropId = 0;
    m_ignoreThickness = m_equallySpaced = m_shearCorrection = 0;

    if (!m_layup) return 0;  // the case during construction

    // The stores are reached through the model's getters, which create a
    // missing one; a store that still cannot be had is passed over.
    if (CKpLamStore* lams = m_layup->pLams()) lams->Clear();
    if (CKpCoordStore* coords = m_layup->pCoords()) coords->eraseAllObjects();
    if (CKpOrientStore* orients = m_layup->pOrients()) orients->Clear();
    if (CKpMatStore* lamMats = m_layup->pLamMats()) lamMats->eraseAllObjects();
    if (CKpPropStore* props = m_layup->pProps()) props->eraseAllObjects();
    if (CKpFieldStore* fields = m_layup->pFields()) fields->eraseAllObjects();
    if (CKpSubLypStore* subLyps = m_layup->pSubLyps()) subLyps->eraseAllObjects();
    return 0;
}

int CKpPropGenSet::SetName(const char* name) {
    m_name = name ? name : "";
    return 0;
}

int CKpPropGenSet::SetElementIds(int n, const int* ids) {
    if (!m_layup) return 1;
    m_resultsValid = 0;
    if (n < -1 || (n > 0 && !ids)) {
        m_layup->pMsg()->Create(4, "Invalid element id list.");
        return -1;
    }
    CKpElemStore* elems = m_layup->pElems();
    if (!elems) return -1;
    try {
        std::vector<int> all;
        if (n == -1) {
            int count = elems->entries();
            all.resize(static_cast<size_t>(count));
            if (count > 0) elems->GetAllIds(count, all.data());
            ids = all.data();
            n = count;
        }
        for (int i = 0; i < n; ++i) {
            if (!elems->find(ids[i])) continue;
            if (!m_elemIds.findOrCreate(ids[i])) {
                m_layup->pMsg()->Create(4, "Could not allocate memory.");
                return -1;
            }
        }
    } catch (const std::bad_alloc&) {
        m_layup->pMsg()->Create(4, "Could not allocate memory.");
        return -1;
    }
    return 0;
}

int CKpPropGenSet::SetPropertySetOptions(const int options[6]) {
    if (options)
        for (int i = 0; i < 6; ++i) m_options[i] = options[i];
    return 0;
}

int CKpPropGenSet::SetPropertyMode(int mode) {
    m_propMode = mode;
    return 0;
}

int CKpPropGenSet::SetPropertyModeByCodeAndOrientation(EVekCode code, EVekOrientation orientation) {
    int mode;
    if (code == 21 && orientation == 1)
        mode = 7;
    else if ((code == 21 || code == 31) && orientation == 2)
        mode = 6;
    else if (code == 31 && orientation == 1)
        mode = 4;
    else if (code == 22 && orientation == 3)
        mode = 13009;
    else
        return 1;
    return SetPropertyMode(mode);
}

int CKpPropGenSet::SetCoordId(int which, int id) {
    if (which != 0 && which != 1) return 1;
    m_coordIds[which] = id;
    return 0;
}

int CKpPropGenSet::SetCoordOrigin(int which, const double p[3]) {
    if (which != 0 && which != 1) return 1;
    m_coordOrigins[which].Set(p);
    return 0;
}

int CKpPropGenSet::SetVectorDirection(int which, const double v[3]) {
    if (which != 0 && which != 1) return 1;
    m_vectors[which].Set(v);
    return 0;
}

int CKpPropGenSet::SetSwitchAngle(double angle) {
    m_switchAngle = angle;
    return 0;
}

int CKpPropGenSet::SetAngleTolerance(double angle) {
    m_angleTol = angle;
    return 0;
}

int CKpPropGenSet::SetThicknessTolerance(double percent) {
    m_thickTol = percent;
    return 0;
}

int CKpPropGenSet::SetFirstCoordId(int id) {
    m_firstCoordId = id;
    return 0;
}

int CKpPropGenSet::SetFirstFieldId(int id) {
    m_firstFieldId = id;
    return 0;
}

int CKpPropGenSet::SetFirstLamId(int id) {
    m_firstLamId = id;
    return 0;
}

int CKpPropGenSet::SetFirstPropId(int id) {
    m_firstPropId = id;
    return 0;
}

int CKpPropGenSet::SetIgnoreThickness(int flag) {
    m_ignoreThickness = flag;
    return 0;
}

int CKpPropGenSet::SetEquallySpacedVariables(int flag) {
    m_equallySpaced = flag;
    return 0;
}

int CKpPropGenSet::SetShearCorrection(int flag) {
    m_shearCorrection = flag;
    return 0;
}

int CKpPropGenSet::ClearResults() {
    m_resultsValid = 0;
    return 0;
}

int CKpPropGenSet::Run() {
    if (!m_layup) return 1;
    CKpMsg* log = m_layup->pMsg();

    // 2. The listed elements become the selection.
    const int n = m_elemIds.entries();
    if (n > 0) {
        std::vector<int> ids;
        try {
            ids.resize(static_cast<size_t>(n));
        } catch (const std::bad_alloc&) {
            return 2;
        }
        int count = n;
        m_elemIds.GetAllIds(count, ids.data());
        if (m_layup->RestoreAndSelectArea(n, ids.data()) != 0) return 3;
    }

    // 3. Sub-layups.
    if (m_propMode == 13009) {
        const int status = CreateSubLayups(m_name, m_ignoreThickness, m_layup);
        m_resultsValid = 1;
        return status;
    }

    // 4. Laminates and property sets.
    if (SaveLaminate(log, m_name, m_options, m_layup->pElems(), m_propMode, m_coordIds[0],
                     m_coordIds[1], m_vectors[0], m_vectors[1], m_switchAngle, m_angleTol,
                     m_thickTol, m_firstCoordId, m_firstFieldId, m_firstLamId, m_firstPropId,
                     m_ignoreThickness, m_equallySpaced, m_shearCorrection, m_layup->pProps(),
                     m_layup->pLams(), m_layup->pCoords(), m_layup->pFields(),
                     m_layup->pOrients()) != 0) {
        log->Create(4, "Could not save laminate data");
        m_resultsValid = 0;
        return -1;
    }
    log->Create(1, "Laminate saved");
    if (m_propMode == 118 && LamsToMats(m_layup) != 0) {
        m_resultsValid = 0;
        return -1;
    }

    m_resultsValid = 1;
    return 0;
}

IVekLamStore* CKpPropGenSet::GetLamStore() {
    return m_layup ? m_layup->pLams() : nullptr;
}

IVekCoordStore* CKpPropGenSet::GetCoordStore() {
    return m_layup ? m_layup->pCoords() : nullptr;
}

IVekFieldStore* CKpPropGenSet::GetFieldStore() {
    return m_layup ? m_layup->pFields() : nullptr;
}

IVekMaterialStore* CKpPropGenSet::GetGeneratedMaterialStore() {
    return m_layup ? m_layup->pLamMats() : nullptr;
}

IVekPropertySetStore* CKpPropGenSet::GetPropertySetStore() {
    return m_layup ? m_layup->pProps() : nullptr;
}

IVekSetStore* CKpPropGenSet::GetSetStore() {
    return m_layup ? m_layup->pSets() : nullptr;
}

IVekSubLayupStore* CKpPropGenSet::GetSubLayupStore() {
    return m_layup ? m_layup->pSubLyps() : nullptr;
}
