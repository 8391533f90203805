#include "layuplib/CKpSolidGenSet.h"

#include <cstdlib>

#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpPropStore.h"

CKpSolidGenSet::CKpSolidGenSet()
    : m_layup(nullptr),
      m_layupSet(0),
      m_generated(0),
      m_name(),
      m_elemIds(),
      m_extrusionMethod(0),
      m_nodeIdOffset(0),
      m_elemIdOffset(0),
      m_numThroughThick(1),
      m_enforceContinuity(0),
      m_fillVoids(0),
      m_fillMaterial(),
      m_smoothFaces(0),
      m_smoothValue(0.0),
      m_snap(0),
      m_snapTol(0.0),
      m_snapCount(0),
      m_snapNodeIds(nullptr),
      m_snapValueCounts(nullptr),
      m_snapValues(nullptr),
      m_nodes(new CKpNodeStore()),
      m_elems(new CKpElemStore()),
      m_coords(new CKpCoordStore(nullptr)),
      m_lams(new CKpLamStore(nullptr)),
      m_props(new CKpPropStore()),
      m_propSetOptions(),
      m_propMode(0),
      m_coordIds(),
      m_origins(),
      m_directions(),
      m_switchAngle(0.0),
      m_angTol(0.0),
      m_thkTol(0.0),
      m_firstCoordId(0),
      m_firstLamId(0),
      m_firstPropId(0),
      m_ignoreThickness(0),
      m_equallySpaced(0),
      m_shearCorrection(0) {}

CKpSolidGenSet::~CKpSolidGenSet() {
    Clear();
    delete m_nodes;
    delete m_elems;
    delete m_coords;
    delete m_lams;
    delete m_props;
}

int CKpSolidGenSet::Clear() {
    m_generated = 0;
    m_name.Clear();
    m_elemIds.eraseAllObjects();
    m_nodeIdOffset = 0;
    m_elemIdOffset = 0;
    m_numThroughThick = 1;
    m_enforceContinuity = 0;
    m_fillVoids = 0;
    m_fillMaterial.Clear();
    m_smoothFaces = 0;
    m_smoothValue = 0.0;
    m_snap = 0;
    m_snapTol = 0.0;
    m_snapCount = 0;
    std::free(m_snapNodeIds);
    std::free(m_snapValueCounts);
    std::free(m_snapValues);
    m_snapNodeIds = nullptr;
    m_snapValueCounts = nullptr;
    m_snapValues = nullptr;
    m_nodes->eraseAllObjects();
    m_elems->eraseAllObjects();
    m_coords->eraseAllObjects();
    m_lams->eraseAllObjects();
    m_props->eraseAllObjects();
    for (int& option : m_propSetOptions) option = 0;
    m_propMode = 0;
    m_coordIds[0] = m_coordIds[1] = 0;
    m_switchAngle = 0.0;
    m_angTol = 0.0;
    m_thkTol = 0.0;
    m_firstCoordId = 0;
    m_firstLamId = 0;
    m_ignoreThickness = 0;
    m_equallySpaced = 0;
    m_shearCorrection = 0;
    return 0;
}

int CKpSolidGenSet::SetLayup(CKpLayup* layup) {
    if (!layup) return 1;
    m_layup = layup;
    m_coords->SetLayup(layup);
    m_lams->SetLayup(layup);
    m_layupSet = 1;
    return 0;
}
