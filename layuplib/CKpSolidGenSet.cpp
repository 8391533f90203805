#include "layuplib/CKpSolidGenSet.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFile.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpPropStore.h"
#include "layuplib/CKpRefStore.h"
#include "layuplib/find_nei.h"
#include "layuplib/save_neutral.h"

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

int CKpSolidGenSet::SetName(const char* name) {
    m_name = name;
    return 0;
}

int CKpSolidGenSet::SetElementIds(int n, const int* ids) {
    if (!m_layup) return 1;
    m_generated = 0;
    if (n < -1 || (n > 0 && !ids)) {
        m_layup->pMsg()->Create(4, "Invalid element id list.");
        return -1;
    }
    CKpElemStore* elems = m_layup->pElems();
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

int CKpSolidGenSet::SetExtrusionMethod(EVekExtrusionMethod method) {
    m_extrusionMethod = method;
    return 0;
}

int CKpSolidGenSet::SetNodeIdOffset(int offset) {
    m_nodeIdOffset = offset;
    return 0;
}

int CKpSolidGenSet::SetElementIdOffset(int offset) {
    m_elemIdOffset = offset;
    return 0;
}

int CKpSolidGenSet::SetNumThroughThickElements(int count) {
    m_numThroughThick = count;
    return 0;
}

int CKpSolidGenSet::SetEnforcePlyContinuity(int flag) {
    m_enforceContinuity = flag;
    return 0;
}

int CKpSolidGenSet::SetFillVoidsWithMaterial(int flag, const char* material) {
    m_fillVoids = flag;
    m_fillMaterial = material;
    return 0;
}

int CKpSolidGenSet::SetSmoothFaces(int flag, double value) {
    m_smoothFaces = flag;
    m_smoothValue = value;
    return 0;
}

int CKpSolidGenSet::SetSnapToSurface(int flag, double tolerance, int n, const int* nodeIds,
                                     const int* valueCounts, const double* values) {
    m_snap = flag;
    m_snapTol = tolerance;
    std::free(m_snapNodeIds);
    std::free(m_snapValueCounts);
    std::free(m_snapValues);
    m_snapNodeIds = nullptr;
    m_snapValueCounts = nullptr;
    m_snapValues = nullptr;
    m_snapCount = 0;
    if (n < 1) return 1;
    // Null arrays copy as empty lists rather than being read.
    if (!nodeIds || !valueCounts || !values) return 1;
    const size_t count = static_cast<size_t>(n);
    m_snapNodeIds = static_cast<int*>(std::malloc(count * sizeof(int)));
    if (!m_snapNodeIds) return 2;
    m_snapValueCounts = static_cast<int*>(std::malloc(count * sizeof(int)));
    if (!m_snapValueCounts) return 3;
    m_snapValues = static_cast<double*>(std::malloc(2 * count * sizeof(double)));
    if (!m_snapValues) return 4;
    std::memcpy(m_snapNodeIds, nodeIds, count * sizeof(int));
    std::memcpy(m_snapValueCounts, valueCounts, count * sizeof(int));
    std::memcpy(m_snapValues, values, 2 * count * sizeof(double));
    m_snapCount = n;
    return 0;
}

int CKpSolidGenSet::SetPropertySetOptions(const int options[6]) {
    if (options)
        for (int i = 0; i < 6; ++i) m_propSetOptions[i] = options[i];
    return 0;
}

int CKpSolidGenSet::SetPropertyMode(int mode) {
    m_propMode = mode;
    return 0;
}

int CKpSolidGenSet::SetPropertyModeByCodeAndOrientation(EVekCode code,
                                                        EVekOrientation orientation) {
    if (code != 21 && code != 31) return 1;
    if (orientation != 1 && orientation != 2) return 1;
    return SetPropertyMode(static_cast<int>(orientation) + 106);
}

int CKpSolidGenSet::SetCoordId(int index, int id) {
    if (static_cast<unsigned>(index) > 1u) return 1;
    m_coordIds[index] = id;
    return 0;
}

int CKpSolidGenSet::SetVectorDirection(int index, const double v[3]) {
    if (static_cast<unsigned>(index) > 1u) return 1;
    if (v) m_directions[index].Set(v[0], v[1], v[2]);
    return 0;
}

int CKpSolidGenSet::SetCoordOrigin(int index, const double v[3]) {
    if (static_cast<unsigned>(index) > 1u) return 1;
    if (v) m_origins[index].Set(v[0], v[1], v[2]);
    return 0;
}

int CKpSolidGenSet::SetSwitchAngle(double angle) {
    m_switchAngle = angle;
    return 0;
}

int CKpSolidGenSet::SetAngleTolerance(double angle) {
    m_angTol = angle;
    return 0;
}

int CKpSolidGenSet::SetThicknessTolerance(double percent) {
    m_thkTol = percent;
    return 0;
}

int CKpSolidGenSet::SetFirstCoordId(int id) {
    m_firstCoordId = id;
    return 0;
}

int CKpSolidGenSet::SetFirstLamId(int id) {
    m_firstLamId = id;
    return 0;
}

int CKpSolidGenSet::SetFirstPropId(int id) {
    m_firstPropId = id;
    return 0;
}

int CKpSolidGenSet::SetIgnoreThickness(int flag) {
    m_ignoreThickness = flag;
    return 0;
}

int CKpSolidGenSet::SetEquallySpacedVariables(int flag) {
    m_equallySpaced = flag;
    return 0;
}

int CKpSolidGenSet::SetShearCorrection(int flag) {
    m_shearCorrection = flag;
    return 0;
}

int CKpSolidGenSet::Run() {
    if (!m_layupSet || !m_layup) return 1;
    CKpMsg* msg = m_layup->pMsg();

    // 2. The listed elements become the selection, with their neighbours
    //    and node directions.
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
        if (find_selected_neighbour(msg, m_layup->pGra(), m_layup->pFacs(), m_layup->pElems()) != 0)
            return 4;
        CKpRefStore refs;
        if (m_layup->pNodes()->CreateSelNodeElemRef(msg, m_layup->pElems(), &refs) != 0) return 5;
        if (m_layup->pNodes()->CreateSelNodeNormals(msg, &refs, m_layup->pElems(),
                                                    m_layup->pFacs()) != 0)
            return 6;
    }

    // 3. Generate.
    if (CreateSolidElements(msg, m_layup, m_coords, m_lams, m_props, m_nodeIdOffset, m_elemIdOffset,
                            m_extrusionMethod, m_numThroughThick, m_enforceContinuity, m_fillVoids,
                            m_fillMaterial, m_smoothFaces, m_smoothValue, m_snap, m_snapTol,
                            m_snapCount, m_snapNodeIds, m_snapValueCounts, m_snapValues, m_nodes,
                            m_elems, m_name, m_propSetOptions, m_propMode, m_origins[0],
                            m_origins[1], m_directions[0], m_directions[1], m_switchAngle, m_angTol,
                            m_thkTol, m_firstCoordId, m_firstLamId, m_firstPropId,
                            m_ignoreThickness, m_equallySpaced, m_shearCorrection) != 0) {
        msg->Create(4, "Could not create solid elements");
        return 7;
    }
    m_generated = 1;
    return 0;
}

int CKpSolidGenSet::ExportSolidElements(const char* fileName) {
    if (!fileName || !*fileName) return 0;
    if (!m_layupSet || !m_layup) return 1;
    CKpFile file;
    file.SetName(fileName);
    return gen_solid_elems_neutral(m_layup->pMsg(), &file, m_nodes, m_elems) == 0 ? 0 : 2;
}

int CKpSolidGenSet::GetMeshSizes(int& nodes, int& elements, int& maxNodesPerElement) {
    if (!m_nodes) return 1;
    if (!m_elems) return 2;
    nodes = m_nodes->GetNumNodes();
    elements = m_elems->entries();
    maxNodesPerElement = m_elems->GetMaxNumNodes();
    return 0;
}

int CKpSolidGenSet::GetMesh(int nodeCount, int* nodeIds, double* xyz, int elementCount,
                            int* elementIds, int* patchIds, int* topologies, int width,
                            int* elementNodes) {
    if (!m_nodes) return 1;
    if (!m_elems) return 2;
    if (m_nodes->GetNodes(nodeCount, nodeIds, xyz) != 0) return 3;
    if (m_elems->GetElements(elementCount, elementIds, patchIds, topologies, width, elementNodes) !=
        0)
        return 4;
    return 0;
}

IVekLamStore* CKpSolidGenSet::GetLamStore() {
    return m_lams;
}

IVekCoordStore* CKpSolidGenSet::GetCoordStore() {
    return m_coords;
}

IVekPropertySetStore* CKpSolidGenSet::GetPropertySetStore() {
    return m_props;
}
