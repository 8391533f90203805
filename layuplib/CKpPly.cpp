#include "layuplib/CKpPly.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "host/PlotRoutines.h"
#include "layuplib/CKpBdyStore.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemEdgeStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpField.h"
#include "layuplib/CKpFieldValStore.h"
#include "layuplib/CKpFile.h"
#include "layuplib/CKpFlatPatStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLypPlyStore.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatSplitStore.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpSet.h"
#include "layuplib/CKpVFP.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/ExportLaserLayup.h"
#include "layuplib/PlySimulate.h"
#include "layuplib/VekTList.h"
#include "layuplib/angle_util.h"
#include "layuplib/gen_flat_pat_dxf.h"
#include "layuplib/gen_flat_pat_igs.h"

namespace {

const char* const kSeedCurveWords[] = {"Calc", "Warp", "Bias", "Weft", "Bias2"};

// a wrapped into (-pi, pi].
double wrapHalfOpen(double a) {
    const double pi = std::acos(-1.0);
    const double w = pi_pi(a);
    return w <= -pi ? pi : w;
}

bool sameText(const char* a, const char* b) {
    return std::strcmp(a ? a : "", b ? b : "") == 0;
}

// Whether the model's drape workspace holds `ply`'s drape; if not (its
// simulation never reached the workspace), the error "No drape simulation
// exists for ply '%s'." so that no export writes another ply's drape.
bool holdsDrape(CKpLayup* model, const CKpPly* ply) {
    if (model->pDrapeSim()->pPly() == ply) return true;
    model->pMsg()->Create(4, "No drape simulation exists for ply '%s'.", ply->name());
    return false;
}


}  // namespace

// ---------------------------------------------------------------- lifecycle

CKpPly::CKpPly(int id)
    : CVekObject(id),
      m_store(nullptr),
      m_type(0),
      m_mtrlid(0),
      m_mat(nullptr),
      m_pttrnid(0),
      m_pat(nullptr),
      m_instances(0) {}

CKpPly::CKpPly(int id, const char* name, int type, CKpMat* mat, CKpPat* pat) : CKpPly(id) {
    setname(name);
    m_type = type;
    setMat(mat);
    setPat(pat);
    UpdatePlyElems();
}

CKpPly::~CKpPly() {
    m_plyElems.eraseAllObjects();
}

CKpLayup* CKpPly::GetLayup() const {
    return m_store ? m_store->GetLayup() : nullptr;
}

void CKpPly::setMat(CKpMat* mat) {
    m_mat = mat;
    if (mat) m_mtrlid = mat->id();
}

void CKpPly::setPat(CKpPat* pat) {
    m_pat = pat;
    if (pat) m_pttrnid = pat->id();
}

int CKpPly::mtrlid() const {
    return m_mat ? m_mat->id() : m_mtrlid;
}

int CKpPly::pttrnid() const {
    return m_pat ? m_pat->id() : m_pttrnid;
}

int CKpPly::stdn() const {
    return m_pat ? m_pat->stdn() : 0;
}

double CKpPly::lyrthck() const {
    return m_mat ? m_mat->mtrlthck() : 0.0;
}

int CKpPly::lyrtp(char* text, int size) const {
    if (!text || size < 1) return -1;
    static const char* const words[] = {"Paint", "Project", "Scissor", "Slide"};
    const char* word = (m_type >= 1 && m_type <= 4) ? words[m_type - 1] : "Unknown";
    std::snprintf(text, static_cast<size_t>(size), "%s", word);
    return 0;
}

// ---------------------------------------------------------------- identity

const char* CKpPly::GetName() {
    return m_name;
}

EVekMaterialType CKpPly::GetType() {
    return static_cast<EVekMaterialType>(m_type);
}

const char* CKpPly::GetMaterialName() {
    return m_mat ? m_mat->mtrlnm() : nullptr;
}

int CKpPly::GetNumElements() {
    if (!m_pat || !m_pat->PatElems()) return 0;
    return m_pat->PatElems()->entries();
}

int CKpPly::GetElementIdsOrders(int n, int* ids, int* orders) {
    if (!m_pat) return 2;
    const CKpPatElemStore* list = m_pat->PatElems();
    if (!list) return 3;
    if (n != list->entries()) return 1;
    int k = 0;
    for (const CKpPatElem* pe = list->First(); pe; pe = list->Next(pe), ++k) {
        if (ids) ids[k] = pe->GetElemId();
        if (orders) orders[k] = pe->order();
    }
    return 0;
}

int CKpPly::GetNumOrders() {
    if (m_plyElems.entries() == 0) return 0;
    int highest = 0;
    for (const CKpPlyElem* e = m_plyElems.First(); e; e = m_plyElems.Next(e))
        if (e->order() > highest) highest = e->order();
    return highest + 1;
}

namespace {

// The ids of the ply's pattern elements of order 0 (all of them when
// `allWhenNone` and none has order 0) into `out`. Statuses as the seed-point
// queries: 0, 1 no pattern elements, 2 and 3 out of memory, 4 reading
// failed, 5 none of order 0.
int orderZeroIds(CKpPly& ply, bool allWhenNone, std::vector<int>& out) {
    const int n = ply.GetNumElements();
    if (n < 1) return 1;
    std::vector<int> ids, orders;
    try {
        ids.resize(static_cast<size_t>(n));
    } catch (const std::bad_alloc&) {
        return 2;
    }
    try {
        orders.resize(static_cast<size_t>(n));
    } catch (const std::bad_alloc&) {
        return 3;
    }
    if (ply.GetElementIdsOrders(n, ids.data(), orders.data()) != 0) return 4;
    size_t m = 0;
    for (int k = 0; k < n; ++k)
        if (orders[k] == 0) ids[m++] = ids[k];
    if (m == 0) {
        if (!allWhenNone) return 5;
        m = ids.size();
    }
    ids.resize(m);
    out.swap(ids);
    return 0;
}

}  // namespace

int CKpPly::GetPossibleSeedPointByOriginDirection(const double* origin, const double* direction,
                                                  double* point) {
    std::vector<int> ids;
    const int rc = orderZeroIds(*this, false, ids);
    if (rc != 0) return rc;
    CKpLayup* model = GetLayup();
    if (!model) return 6;
    if (!origin || !direction || !point) return 7;
    double hit[3] = {0.0, 0.0, 0.0};
    double normal[3] = {0.0, 0.0, 0.0};
    if (model->GetElemIntersect(static_cast<int>(ids.size()), ids.data(), origin, direction,
                                nullptr, hit, normal) != 0)
        return 7;
    for (int i = 0; i < 3; ++i) point[i] = hit[i];
    return 0;
}

int CKpPly::GetPossibleSeedPointByDirectionNormal(const double* direction, double* point) {
    std::vector<int> ids;
    const int rc = orderZeroIds(*this, true, ids);
    if (rc != 0) return rc;
    CKpLayup* model = GetLayup();
    if (!model) return 5;
    CKpElemStore* elems = model->pElems();
    if (!elems || !direction || !point) return 6;
    CKpDirn d;
    d.Set(direction);
    const double dlen = d.mag();
    // Either side of the element counts: the smallest |cos| of the folded
    // angle is the largest |n.d| / (|n||d|).
    CKpElem* best = nullptr;
    double bestCos = -1.0;
    for (int id : ids) {
        CKpElem* elem = elems->find(id);
        CKpDirn n;
        if (!elem || elem->GetNormal(&n) != 0) continue;
        const double len = n.mag() * dlen;
        const double c = len > 0.0 ? std::fabs(n.DotProduct(&d)) / len : 0.0;
        if (c > bestCos) {
            best = elem;
            bestCos = c;
        }
    }
    CKpPoint mid;
    if (!best || best->GetMidpt(&mid) != 0) return 6;
    mid.Get(point);
    return 0;
}

// ---------------------------------------------------------------- pattern getters

namespace {

int copy3(double x, double y, double z, double* out) {
    if (!out) return -1;
    out[0] = x;
    out[1] = y;
    out[2] = z;
    return 0;
}

int copy2(double a, double b, double* out) {
    if (!out) return -1;
    out[0] = a;
    out[1] = b;
    return 0;
}

}  // namespace

int CKpPly::GetSeedPoint(double* xyz) {
    return m_pat ? copy3(m_pat->eyex(), m_pat->eyey(), m_pat->eyez(), xyz) : -1;
}

int CKpPly::GetCoordOriginName(double* xyz, char* name, int size) {
    return m_pat ? m_pat->GetCoordOriginName(xyz, name, size) : -1;
}

int CKpPly::GetApplicationDirection(double* xyz) {
    return m_pat ? copy3(m_pat->eyedx(), m_pat->eyedy(), m_pat->eyedz(), xyz) : -1;
}

int CKpPly::GetReferenceDirection(double* xyz) {
    return m_pat ? copy3(m_pat->refdx(), m_pat->refdy(), m_pat->refdz(), xyz) : -1;
}

double CKpPly::GetReferenceAngle() {
    return m_pat ? m_pat->refang() : 0.0;
}

int CKpPly::GetProjectionMethod() {
    return m_pat ? m_pat->axstp() : 0;
}

double CKpPly::GetWarpWeftAngle() {
    return m_pat ? m_pat->stwpwtang() : 0.0;
}

double CKpPly::GetWarpWeftRatio() {
    return m_pat ? m_pat->WarpWeftRatio() : 0.0;
}

double CKpPly::GetMaximumStrain() {
    return m_pat ? m_pat->maxstrn() : 0.0;
}

double CKpPly::GetStepLength() {
    return m_pat ? m_pat->step() : 0.0;
}

int CKpPly::GetSeedCurveType() {
    return m_pat ? m_pat->axstp() : 0;
}

EVekPlySeedCurveDirection CKpPly::GetSeedCurveDirection() {
    if (!m_pat) return EVekPlySeedCurveCalc;
    const char* text = m_pat->axsdn();
    for (int d = 0; d < 5; ++d)
        if (std::strcmp(text, kSeedCurveWords[d]) == 0)
            return static_cast<EVekPlySeedCurveDirection>(d);
    return EVekPlySeedCurveAngle;
}

double CKpPly::GetSeedCurveAngle() {
    if (GetSeedCurveDirection() != EVekPlySeedCurveAngle) return 0.0;
    double angle = 0.0;
    if (std::sscanf(m_pat->axsdn(), "%lg", &angle) != 1) return 0.0;
    return angle;
}

const char* CKpPly::GetSeedCurveDirectionAngle() {
    return m_pat ? m_pat->axsdn() : nullptr;
}

int CKpPly::GetNumSeedCurveEdges(int i) {
    const CKpElemEdgeStore* curve = m_pat ? m_pat->SeedCurve(i) : nullptr;
    return curve ? curve->entries() : 0;
}

int CKpPly::GetSeedCurveEdges(int i, int n, int* elemIds, int* edgeIds, double* coords) {
    if (!m_pat) return 1;
    if (n != GetNumSeedCurveEdges(i)) return 2;
    const CKpElemEdgeStore* curve = m_pat->SeedCurve(i);
    if (!curve) return 0;  // n is 0: nothing to write
    CKpLayup* model = GetLayup();
    int k = 0;
    for (const CKpElemEdge* edge = curve->First(); edge && k < n; edge = curve->Next(edge), ++k) {
        if (elemIds) elemIds[k] = edge->Elem();
        if (edgeIds) edgeIds[k] = edge->Edge();
        if (!coords) continue;
        double* xyz = coords + 6 * static_cast<size_t>(k);
        for (int c = 0; c < 6; ++c) xyz[c] = 0.0;
        if (!model) continue;
        // An arranged edge knows its nodes in curve order; a filled one only
        // its element side, whose corners then give the ends.
        const CKpNode* ends[2] = {nullptr, nullptr};
        if (edge->LastNode() > 0) {
            const bool directed = edge->Dirn() != 0;
            const int a = directed ? edge->GetFirstNode() : edge->NodeId(0);
            const int b = directed ? edge->GetLastNode() : edge->NodeId(edge->LastNode());
            ends[0] = model->pNodes()->find(a);
            ends[1] = model->pNodes()->find(b);
        } else if (const CKpElem* elem = model->pElems()->find(edge->Elem())) {
            const int corners = elem->GetNumVertices();
            if (corners > 0 && edge->Edge() >= 1 && edge->Edge() <= corners) {
                ends[0] = elem->GetNodeKor(nullptr, edge->Edge() - 1);
                ends[1] = elem->GetNodeKor(nullptr, edge->Edge() % corners);
            }
        }
        for (int e = 0; e < 2; ++e) {
            if (!ends[e]) continue;
            xyz[3 * e] = ends[e]->getCKpPointX();
            xyz[3 * e + 1] = ends[e]->getCKpPointY();
            xyz[3 * e + 2] = ends[e]->getCKpPointZ();
        }
    }
    return 0;
}

int CKpPly::GetSeedCurveEdges(int i, int n, int* elemIds, int* edgeIds) {
    return GetSeedCurveEdges(i, n, elemIds, edgeIds, nullptr);
}

int CKpPly::GetExtensionType() {
    return m_pat ? m_pat->exttp() : 0;
}

int CKpPly::GetInadmissibleMode() {
    return m_pat ? m_pat->inadmissibleMode() : 0;
}

double CKpPly::GetInadmissibleTolerance() {
    return m_pat ? m_pat->inadmissibleTolerance() : 0.0;
}

int CKpPly::GetNumSplitEdges() {
    if (!m_pat || !m_pat->PatSplits()) return 0;
    return m_pat->PatSplits()->entries();
}

int CKpPly::GetSplitEdges(int n, int* elemIds, int* edgeIds, int* flags) {
    if (!m_pat) return 1;
    if (n != GetNumSplitEdges() || (n > 0 && (!elemIds || !edgeIds))) return 2;
    if (n == 0) return 0;
    const CKpPatSplitStore* list = m_pat->PatSplits();
    int k = 0;
    for (const CKpPatSplit* s = list->First(); s; s = list->Next(s), ++k) {
        elemIds[k] = s->elemId();
        edgeIds[k] = s->edgeId();
        if (flags) flags[k] = s->flag();
    }
    return 0;
}

int CKpPly::GetBounds(double* warp2, double* weft2) {
    if (!m_pat || !warp2 || !weft2) return -1;
    copy2(m_pat->minwp(), m_pat->maxwp(), warp2);
    copy2(m_pat->minwt(), m_pat->maxwt(), weft2);
    return 0;
}

int CKpPly::GetSimulationResult() {
    return m_pat ? m_pat->SimResult() : -1;
}

int CKpPly::GetSimulationStrains(double* two) {
    return m_pat ? copy2(m_pat->minstrnc(), m_pat->maxstrnc(), two) : -1;
}

int CKpPly::GetSimulationThicknesses(double* two) {
    return m_pat ? copy2(m_pat->minthck(), m_pat->maxthck(), two) : -1;
}

IVekEventStore* CKpPly::GetEventStore() {
    return &m_events;
}

// ---------------------------------------------------------------- setters

int CKpPly::SetName(const char* name) {
    if (!name) return -1;
    if (m_store) {
        if (m_store->findByName(name)) return -1;
    } else if (sameText(m_name, name)) {
        return -1;
    }
    m_name = name;
    if (m_pat) m_pat->SetNameByPlyName(name);
    return 0;
}

int CKpPly::SetType(EVekMaterialType type) {
    m_type = type;
    if (m_pat) m_pat->setLyrtp(type);
    return 0;
}

int CKpPly::SetMaterialName(const char* name) {
    CKpLayup* model = GetLayup();
    if (!model || !name) return -1;
    CKpMatStore* mats = model->pMats();
    if (!mats) return -1;
    CVekObjectStoreIterator<CKpMat> it(*mats);
    while (++it) {
        CKpMat* mat = it.key();
        if (mat && std::strcmp(mat->mtrlnm(), name) == 0) {
            setMat(mat);
            return 0;
        }
    }
    return -1;
}

int CKpPly::ClearElementIdsOrders() {
    if (!m_pat) return -1;
    if (m_pat->PatElems()) m_pat->PatElems()->eraseAllObjects();
    // The ply elements pointed at the pattern elements just deleted.
    UpdatePlyElems();
    return 0;
}

int CKpPly::SetElementIdsOrders(int n, const int* ids, const int* orders) {
    if (!m_pat) return 1;
    CKpPatElemStore* list = m_pat->PatElems();
    if (!list) return 2;
    if (n != -1) return list->SetElemIdsOrders(n, ids, orders) == 0 ? 0 : 2;
    CKpLayup* model = GetLayup();
    if (!model || !model->pElems()) return 3;
    CKpElemStore* elems = model->pElems();
    std::vector<int> all;
    try {
        all.reserve(static_cast<size_t>(elems->entries()));
        CVekObjectStoreIterator<CKpElem> it(*elems);
        while (++it)
            if (it.key()) all.push_back(it.key()->id());
    } catch (const std::bad_alloc&) {
        return 2;
    }
    if (all.empty()) return 0;
    return list->SetElemIdsOrders(static_cast<int>(all.size()), all.data(), nullptr) == 0 ? 0 : 2;
}

int CKpPly::SetSeedPoint(const double* xyz) {
    if (!m_pat || !xyz) return -1;
    m_pat->setEye(xyz[0], xyz[1], xyz[2]);
    return 0;
}

int CKpPly::SetCoordOriginName(const double* xyz, const char* name) {
    if (!m_pat || !xyz) return -1;
    return m_pat->SetCoordOriginName(xyz, name);
}

int CKpPly::SetApplicationDirection(const double* xyz) {
    if (!m_pat || !xyz) return -1;
    m_pat->setEyed(xyz[0], xyz[1], xyz[2]);
    return 0;
}

int CKpPly::SetReferenceDirection(const double* xyz) {
    if (!m_pat || !xyz) return -1;
    m_pat->setRefd(xyz[0], xyz[1], xyz[2]);
    return 0;
}

int CKpPly::SetReferenceAngle(double angle) {
    if (!m_pat) return -1;
    m_pat->setRefang(angle);
    return 0;
}

int CKpPly::SetProjectionMethod(int method) {
    if (!m_pat) return -1;
    m_pat->setAxstp(method);
    return 0;
}

int CKpPly::SetWarpWeftAngle(double angle) {
    if (!m_pat) return -1;
    m_pat->setStwpwtang(angle);
    return 0;
}

int CKpPly::SetWarpWeftRatio(double ratio) {
    if (!m_pat) return -1;
    m_pat->setWarpWeftRatio(ratio);
    return 0;
}

int CKpPly::SetMaximumStrain(double strain) {
    if (!m_pat) return -1;
    m_pat->setMaxstrn(strain);
    return 0;
}

int CKpPly::SetStepLength(double step) {
    if (!m_pat) return -1;
    m_pat->setStep(step);
    return 0;
}

int CKpPly::SetSeedCurveType(int type) {
    return SetProjectionMethod(type);
}

int CKpPly::SetSeedCurveDirection(EVekPlySeedCurveDirection direction) {
    if (!m_pat) return -1;
    if (direction == EVekPlySeedCurveAngle) return 0;
    if (direction < EVekPlySeedCurveCalc || direction > EVekPlySeedCurveBias2) return -1;
    return SetSeedCurveDirectionAngle(kSeedCurveWords[direction]);
}

int CKpPly::SetSeedCurveAngle(double angle) {
    if (!m_pat || GetSeedCurveDirection() != EVekPlySeedCurveAngle) return -1;
    char text[64];
    std::snprintf(text, sizeof text, "%g", angle);
    return SetSeedCurveDirectionAngle(text);
}

int CKpPly::SetSeedCurveDirectionAngle(const char* text) {
    if (!m_pat) return -1;
    m_pat->setAxsdn(text);
    return 0;
}

int CKpPly::SetSeedCurveEdges(int i, int n, const int* elemIds, const int* edgeIds) {
    CKpLayup* model = GetLayup();
    CKpElemEdgeStore* curve = m_pat ? m_pat->SeedCurve(i) : nullptr;
    if (!model || !curve) return -1;
    return curve->Fill(model->pMsg(), n, elemIds, edgeIds) == 0 ? 0 : -1;
}

int CKpPly::SetExtensionType(int type) {
    if (!m_pat) return -1;
    m_pat->setExttp(type);
    return 0;
}

int CKpPly::SetInadmissibleOptions(int mode, double tolerance) {
    if (!m_pat) return -1;
    m_pat->setInadmissibleMode(mode);
    m_pat->setInadmissibleTolerance(tolerance);
    return 0;
}

int CKpPly::SetSplitEdges(int n, const int* elemIds, const int* edgeIds, const int* flags) {
    if (!m_pat || !m_pat->PatSplits()) return -1;
    return m_pat->PatSplits()->SetElemIdsEdgeIds(n, elemIds, edgeIds, flags) == 0 ? 0 : -1;
}

int CKpPly::SetBounds(const double* warp2, const double* weft2) {
    if (!m_pat || !warp2 || !weft2) return -1;
    m_pat->setMinwp(warp2[0]);
    m_pat->setMaxwp(warp2[1]);
    m_pat->setMinwt(weft2[0]);
    m_pat->setMaxwt(weft2[1]);
    return 0;
}

int CKpPly::AddEvent(int type) {
    if (m_events.maxId() == INT_MAX) return 1;  // no id left above the highest
    CKpEvent* event = new (std::nothrow) CKpEvent(m_events.maxId() + 1);
    if (!event) return 1;
    event->setType(type);
    if (m_events.insert(event) != 0) {  // the store could not grow
        delete event;
        return 1;
    }
    return 0;
}

// ---------------------------------------------------------------- simulation

int CKpPly::Simulate() {
    return Simulate(1);
}

int CKpPly::Simulate(int flag) {
    CKpLayup* model = GetLayup();
    if (!model) return -1;
    CKpMsg* log = model->pMsg();
    log->Create(1, "Simulating ply '%s'", name());
    if (!m_mat) {
        log->Create(4, "Simulation failed as ply '%s' does not reference a material.", name());
        return -1;
    }
    if (!m_pat) {
        log->Create(4, "Simulation failed as ply '%s' does not reference a pattern.", name());
        return -1;
    }
    return PlySimulate(m_mat, m_pat, this, model, flag);
}

bool CKpPly::IsInLayup(CKpLayup* model) const {
    CVekObjectStoreIterator<CKpLypPly> it(model->pLyp()->LypPlys());
    while (++it) {
        const CKpLypPly* lp = it.key();
        if (lp && (lp->pPly() == this || (lp->lyrtp() == m_type && lp->lyrid() == id())))
            return true;
    }
    return false;
}

CKpLayup* CKpPly::MakeDrapeCurrent() {
    CKpLayup* model = GetLayup();
    if (!model) return nullptr;
    if (model->pDrapeSim()->pPly() != this) Simulate(0);
    return model;
}

int CKpPly::GetBoundarySizes(int* contours, int* points) {
    CKpLayup* model = GetLayup();
    return model ? model->GetPlyBoundaryNum(name(), contours, points) : 1;
}

int CKpPly::GetBoundary(int contours, int points, int* pointCounts, double* xyz, int* nodeIds) {
    CKpLayup* model = GetLayup();
    return model ? model->GetPlyBoundary(name(), contours, points, pointCounts, xyz, nodeIds) : 1;
}

int CKpPly::GetHolesSizes(int* count) {
    CKpLayup* model = GetLayup();
    return model ? model->GetPlyHolesNum(name(), count) : 1;
}

int CKpPly::GetHoles(int count, int* elemIds) {
    CKpLayup* model = GetLayup();
    return model ? model->GetPlyHoles(name(), count, elemIds) : 1;
}

int CKpPly::GetOrientations(VekTList<int>& ids, VekTList<double>& mids, VekTList<double>& warps,
                            VekTList<double>& wefts, VekTList<double>& sizes) {
    if (!GetLayup()) return 1;
    if (!m_pat) return 2;
    const CKpPatElemStore* list = m_pat->PatElems();
    if (!list) return 3;
    const int n = list->entries();
    if (n > INT_MAX / 3) return 4;
    if (ids.SetSize(n) || mids.SetSize(3 * n) || warps.SetSize(3 * n) || wefts.SetSize(3 * n) ||
        sizes.SetSize(n))
        return 4;
    int k = 0;
    for (const CKpPatElem* pe = list->First(); pe; pe = list->Next(pe), ++k) {
        const CKpElem* elem = pe->pelem();
        if (!elem) continue;
        ids[k] = elem->id();
        CKpPoint mid;
        if (elem->GetMidpt(&mid) == 0) mid.Get(mids.GetData() + 3 * k);
        elem->GetDirection(pe->warpAngle(), warps.GetData() + 3 * k);
        elem->GetDirection(pe->weftAngle(), wefts.GetData() + 3 * k);
        double area = 0.0;
        if (elem->GetArea(&area) == 0) sizes[k] = 0.5 * std::sqrt(area);
    }
    return 0;
}

int CKpPly::GetDrapedPatternSizes(int mode, int* count) {
    CKpLayup* model = MakeDrapeCurrent();
    return model ? model->GetDrapedPatternSizes(mode, count) : 1;
}

int CKpPly::GetDrapedPattern(int mode, int size, int* minusI, int* plusI, int* minusJ, int* plusJ,
                             int* elemIds, double* xyz, double* shear) {
    CKpLayup* model = MakeDrapeCurrent();
    if (!model) return 1;
    return model->GetDrapedPattern(mode, size, minusI, plusI, minusJ, plusJ, elemIds, xyz, shear);
}

int CKpPly::GetFlatPatternSizes(int* rings, int* points) {
    CKpLayup* model = MakeDrapeCurrent();
    return model ? model->GetFlatPatternSizes(rings, points) : 1;
}

int CKpPly::GetFlatPattern(int rings, int size, int* counts, double* xyz, double* origin,
                           double* axes) {
    CKpLayup* model = MakeDrapeCurrent();
    if (!model) return 1;
    const int rc = model->GetFlatPattern(rings, size, counts, xyz);
    if (!m_pat) return rc;
    if (origin) copy3(m_pat->eyex(), m_pat->eyey(), m_pat->eyez(), origin);
    if (axes) {
        CKpDirn n, r, c;
        n.Set(-m_pat->eyedx(), -m_pat->eyedy(), -m_pat->eyedz());
        r.Set(m_pat->refdx(), m_pat->refdy(), m_pat->refdz());
        n.unitize();
        r.unitize();
        c.setCrossProduct(&n, &r);
        const double ca = std::cos(m_pat->refang());
        const double sa = std::sin(m_pat->refang());
        for (int i = 0; i < 3; ++i) {
            axes[3 * i + 0] = r.Get(i) * ca + c.Get(i) * sa;
            axes[3 * i + 1] = c.Get(i) * ca - r.Get(i) * sa;
            axes[3 * i + 2] = n.Get(i);
        }
    }
    return rc;
}

int CKpPly::Get3DFrom2D(const double* uv, double* xyz, int* elemId) {
    CKpLayup* model = MakeDrapeCurrent();
    return model ? model->Get3DFrom2D(uv, xyz, elemId) : 1;
}

int CKpPly::Get2DFrom3D(const double* xyz, double tolerance, double* uv) {
    CKpLayup* model = MakeDrapeCurrent();
    return model ? model->Get2DFrom3D(xyz, tolerance, uv) : 1;
}

// ---------------------------------------------------------------- exports

int CKpPly::Export3dDXF(const char* file, const char* layer, int flag) {
    CKpLayup* model = MakeDrapeCurrent();
    if (!model) return 1;
    if (!holdsDrape(model, this)) return 2;
    CKpFile record;
    record.SetName(file);
    const int rc = gen_draped_pat_dxf(model->pMsg(), &record, model->pFacs(), model->pBdys(),
                                      model->pDrapeSim()->pDrape(), layer, flag);
    if (rc != 0) {
        model->pMsg()->Create(4, "Could not export pattern data in DXF format");
        return 3;
    }
    model->pMsg()->Create(1, "Draped pattern exported in DXF format");
    return rc;
}

int CKpPly::Export3dIGES(const char* file, int flag) {
    CKpLayup* model = MakeDrapeCurrent();
    if (!model) return 1;
    if (!holdsDrape(model, this)) return 2;
    CKpFile record;
    record.SetName(file);
    if (gen_draped_pat_igs(model->pMsg(), &record, model->pFacs(), model->pBdys(),
                           model->pDrapeSim()->pDrape(), flag) != 0) {
        model->pMsg()->Create(4, "Could not export pattern data in IGES format");
        return -1;
    }
    model->pMsg()->Create(1, "Draped pattern exported in IGES format");
    return 0;
}

int CKpPly::Export3dVFP(const char* file, const char* name, int flag) {
    CKpLayup* model = MakeDrapeCurrent();
    if (!model) return 1;
    if (!holdsDrape(model, this)) return 2;
    CKpVFP writer;
    return writer.Write(model, file, name, flag);
}

int CKpPly::Export3dLaser(int kind, const char* file, int flag) {
    CKpLayup* model = MakeDrapeCurrent();
    if (!model) return 1;
    if (!holdsDrape(model, this)) return 2;
    return model->Export3dLaser(name(), kind, file, flag);
}

int CKpPly::Export2dDXF(const char* file, const char* layer, const char* style, int flag) {
    CKpLayup* model = MakeDrapeCurrent();
    if (!model) return 1;
    if (!holdsDrape(model, this)) return 2;
    return model->Export2dDXF(file, layer, style, flag);
}

int CKpPly::Export2dIGES(const char* file, int flag) {
    CKpLayup* model = MakeDrapeCurrent();
    if (!model) return 1;
    if (!holdsDrape(model, this)) return 2;
    CKpFile record;
    record.SetName(file);
    CKpDrapeSim* drape = model->pDrapeSim();
    if (gen_flat_pat_igs(model->pMsg(), &record, drape->pPat(), drape->pFlatPats(), flag) != 0) {
        model->pMsg()->Create(4, "Could not export cutout data in IGES format");
        return -1;
    }
    model->pMsg()->Create(1, "Flat pattern exported in IGES format");
    return 0;
}

int CKpPly::Export2dVirtek(const char* file, int) {
    CKpLayup* model = MakeDrapeCurrent();
    if (!model) return 1;
    if (!holdsDrape(model, this)) return 2;
    CKpMsg* log = model->pMsg();
    CKpDrapeSim* drape = model->pDrapeSim();
    if (!drape->pPat()) {
        log->Create(4, "No pattern data defined.");
        return -1;
    }
    FILE* fp = file ? std::fopen(file, "w") : nullptr;
    if (!fp) {
        log->Create(4, "Could not open file '%s' for writing.", file ? file : "");
        return -1;
    }
    const int rc = ExportLaserPly2DVKData(log, fp, drape->pPly() ? drape->pPly()->name() : "", 1,
                                          drape->pPat(), drape->pFlatPats()->First());
    std::fputs("EOD\n", fp);
    const bool failed = std::ferror(fp) != 0;
    if (std::fclose(fp) != 0 || failed) {
        log->Create(4, "Could not close file.");
        return -1;
    }
    return rc;
}

// ---------------------------------------------------------------- plots

int CKpPly::PlotAngles() {
    CKpLayup* model = GetLayup();
    if (!model) return 1;
    return PlotPlyAngles(model->pMsg(), model->pGra(), model->pPats(), model->pPlys(), name());
}

int CKpPly::PlotBoundary() {
    CKpLayup* model = GetLayup();
    if (!model) return 1;
    // The ply's region is traced afresh: the workspace may hold another ply.
    CKpBdyStore bdys(0);
    int nBdy = 0;
    int nPts = 0;
    if (bdys.CreatePlyBoundary(model->pMsg(), model->pGra(), model->pFacs(), model->pElems(),
                               model->pPlys(), model->pPats(), name(), &nBdy, &nPts) != 0)
        return 2;
    return bdys.PlotAllBoundary(model->pGra(), model->pFacs()) != 0 ? 3 : 0;
}

CKpLayup* CKpPly::SimulatedModel(int* status) {
    CKpLayup* model = MakeDrapeCurrent();
    if (!model) {
        *status = 1;
        return nullptr;
    }
    if (!holdsDrape(model, this)) {
        *status = 2;
        return nullptr;
    }
    return model;
}

int CKpPly::PlotOutline() {
    int status = 0;
    CKpLayup* model = SimulatedModel(&status);
    if (!model) return status;
    CKpDrapeSim* sim = model->pDrapeSim();
    return PlotOutlineOld(model->pGra(), sim->pDrape(), sim->pfOln());
}

int CKpPly::PlotDrapedPattern(int) {
    int status = 0;
    CKpLayup* model = SimulatedModel(&status);
    if (!model) return status;
    CKpDrapeSim* sim = model->pDrapeSim();
    return PlotDrapedPatternOld(model->pMsg(), model->pGra(), sim->pDrape(), sim->pPat());
}

int CKpPly::PlotFlatPattern() {
    int status = 0;
    CKpLayup* model = SimulatedModel(&status);
    if (!model) return status;
    CKpDrapeSim* sim = model->pDrapeSim();
    return PlotFlatPatternL(model->pMsg(), model->pGra(), sim->pPat(), sim->pFlatPats());
}

// ---------------------------------------------------------------- class operations

int CKpPly::ModifyAndUpdate(const char* name, int type, CKpMat* mat, CKpPat* pat) {
    setname(name);
    m_type = type;
    setMat(mat);
    setPat(pat);
    return UpdatePlyElems();
}

int CKpPly::ConvertPaintedToProjected() {
    if (m_type != 1) return 1;
    if (!m_pat || m_pat->ConvertPaintedToProjected() != 0) return 2;
    m_type = 2;
    if (CKpLayup* model = GetLayup())
        model->pMsg()->Create(1, "Ply '%s' has been converted from 'Painted' to 'Projected' type.",
                              name());
    return 0;
}

int CKpPly::UpdatePlyElems() {
    m_plyElems.eraseAllObjects();
    int rc = 0;
    if (m_pat && m_pat->PatElems()) {
        const CKpPatElemStore* list = m_pat->PatElems();
        for (CKpPatElem* pe = list->First(); pe; pe = list->Next(pe)) {
            CKpPlyElem* item = new (std::nothrow) CKpPlyElem(m_mat, pe);
            if (!item) {
                rc = -1;
                break;
            }
            m_plyElems.InsertLast(item);
        }
    }
    // The element stacks of a placed ply pointed at the ply elements just
    // deleted: place the layup again so that none survives.
    CKpLayup* model = GetLayup();
    if (model && IsInLayup(model)) {
        model->LayupRecreate(model->pMsg(), model->pElems(), m_store, model->pLyp());
    }
    return rc;
}

int CKpPly::UpdateSimulation() {
    return UpdatePlyElems();
}

void CKpPly::GetThicknessFieldName(const char* prefix, CKpStr& out) const {
    out = prefix ? prefix : "";
    out += "_";
    out += name();
    out += "_Thickness";
}

void CKpPly::GetRotationFieldName(const char* prefix, CKpStr& out) const {
    out = prefix ? prefix : "";
    out += "_";
    out += name();
    out += "_Rotation";
}

namespace {

// Puts `value` under `id` into the field's values (replacing an existing
// value of that id). 0; -1 when it cannot be stored.
int putFieldValue(CKpField* field, int id, double value) {
    if (!field) return 0;
    CKpFieldValStore* vals = field->GetFieldVals();
    if (!vals) return -1;
    CKpFieldVal* val = vals->find(id);
    if (val) {
        vals->SetIsConstantValValid(0);
        return val->SetVals(1, &value) == 0 ? 0 : -1;
    }
    val = new (std::nothrow) CKpFieldVal(id);
    if (!val || val->SetVals(1, &value) != 0) {
        delete val;
        return -1;
    }
    if (vals->insert(val) != 0) {
        delete val;
        return -1;
    }
    return 0;
}

}  // namespace

int CKpPly::GetThicknessesAndRotations(int useNominal, CKpField* thicknessField,
                                       CKpField* rotationField) {
    for (const CKpPlyElem* e = m_plyElems.First(); e; e = m_plyElems.Next(e)) {
        const CKpElem* elem = e->pelem();
        if (!elem || !elem->getSltd()) continue;
        const double t = useNominal ? e->mtrlthck() : e->thck();
        const double rot = wrapHalfOpen(e->rotn() - elem->theta());
        if (putFieldValue(thicknessField, elem->id(), t) != 0 ||
            putFieldValue(rotationField, elem->id(), rot) != 0)
            return -1;
    }
    return 0;
}

int CKpPly::GetSideOfSelectedElems() const {
    bool found = false;
    int side = 0;
    for (const CKpPlyElem* e = m_plyElems.First(); e; e = m_plyElems.Next(e)) {
        const CKpElem* elem = e->pelem();
        if (!elem || !elem->getSltd()) continue;
        if (!found) {
            side = e->GetSide();
            found = true;
        } else if (e->GetSide() != side) {
            return 0;
        }
    }
    return side;
}

int CKpPly::SetSelectedElemIds(CKpSet* set) const {
    if (!set) return -1;
    CKpIdStore& ids = set->Ids();
    ids.eraseAllObjects();
    for (const CKpPlyElem* e = m_plyElems.First(); e; e = m_plyElems.Next(e)) {
        const CKpElem* elem = e->pelem();
        if (elem && elem->getSltd() && !ids.findOrCreate(elem->id())) return -1;
    }
    return 0;
}
