#include "layuplib/CKpPropGenSet.h"

#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpFieldStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CKpPropStore.h"
#include "layuplib/CKpSubLypStore.h"

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

int CKpPropGenSet::SetPropertySetOptions(const int options[6]) {
    if (options)
        for (int i = 0; i < 6; ++i) m_options[i] = options[i];
    return 0;
}

int CKpPropGenSet::SetPropertyMode(int mode) {
    m_propMode = mode;
    return 0;
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
