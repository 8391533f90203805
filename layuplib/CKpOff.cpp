#include "layuplib/CKpOff.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "layuplib/CKpBdy.h"
#include "layuplib/CKpBdyStore.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpOffStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/CalcBoundary.h"
#include "layuplib/CalcStart.h"
#include "layuplib/copy_text.h"
#include "layuplib/define_offset.h"
#include "layuplib/find_nei.h"
#include "layuplib/surface_div.h"

namespace {

void copy3(double* to, const double* from) {
    for (int i = 0; i < 3; ++i) to[i] = from[i];
}

bool finite3(const double* v) {
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

// Segments of a closed ring; -1 when the ring does not close within `cap`
// segments (broken links).
int ringSegments(const CKpBdy* ring, int cap) {
    if (!ring) return 0;
    int n = 0;
    const CKpBdy* s = ring;
    do {
        if (++n > cap) return -1;
        s = s->Next();
    } while (s && s != ring);
    return s ? n : -1;
}

}  // namespace

CKpOff::CKpOff(int id)
    : CVekObject(id),
      m_store(nullptr),
      m_seed{0.0, 0.0, 0.0},
      m_dirn{0.0, 0.0, 0.0},
      m_flag(0),
      m_value(0.0),
      m_originSet(0),
      m_origin{0.0, 0.0, 0.0} {}

CKpOff::~CKpOff() {
    m_elems.eraseAllObjects();
}

CKpLayup* CKpOff::GetLayup() const {
    return m_store ? m_store->GetLayup() : nullptr;
}

void CKpOff::GetEyePoint(double* xyz) const {
    if (xyz) copy3(xyz, m_seed);
}

void CKpOff::GetEyeDirn(double* xyz) const {
    if (xyz) copy3(xyz, m_dirn);
}

void CKpOff::Clear() {
    m_originSet = 0;
    m_originName.Clear();
    std::fill(m_origin, m_origin + 3, 0.0);
}

int CKpOff::SelectElements() {
    CKpLayup* model = GetLayup();
    if (!model) return 1;
    CKpElemStore* elems = model->pElems();
    CKpFacetStore* facets = model->pFacs();
    if (!elems || !facets) return 2;
    if (surface_restore(elems, facets) != 0) return 3;
    for (const CKpOffElem* e = m_elems.First(); e; e = m_elems.Next(e)) {
        CKpElem* elem = elems->find(e->elemId());
        if (elem && surface_select_elem(elem, facets, 0) != 0) return 4;
    }
    if (find_selected_neighbour(model->pMsg(), model->pGra(), facets, elems) != 0) return 5;
    return 0;
}

int CKpOff::CalculateStart(int& startFacet, int& directionFlag) {
    startFacet = -1;
    directionFlag = 0;
    CKpLayup* model = GetLayup();
    if (!model) return 1;
    if (!model->pFacs()) return 2;
    CKpPoint eye, start;
    CKpDirn dirn;
    eye.Set(m_seed);
    dirn.Set(m_dirn);
    if (CalcStart(model->pMsg(), model->pFacs(), eye, dirn, 0, startFacet, start, directionFlag))
        return 3;
    return 0;
}

int CKpOff::CalculateBoundary(CKpBdyStore* store) {
    CKpLayup* model = GetLayup();
    if (!model || !store) return 1;
    if (!model->pElems() || !model->pFacs()) return 2;
    if (SelectElements() != 0) return 3;
    int start = -1, dirn = 0;
    if (CalculateStart(start, dirn) != 0) return 4;
    if (CalcBoundary(model->pMsg(), model->pFacs(), start, dirn, store) != 0) return 5;
    return 0;
}

int CKpOff::GetId() {
    return id();
}

const char* CKpOff::GetName() {
    return m_name;
}

int CKpOff::GetNumElements() {
    return m_elems.entries();
}

int CKpOff::GetElementIds(int n, int* ids) {
    if (n != m_elems.entries()) return 1;
    if (!ids && n > 0) return 2;
    int i = 0;
    for (const CKpOffElem* e = m_elems.First(); e; e = m_elems.Next(e)) ids[i++] = e->elemId();
    return 0;
}

int CKpOff::GetSeedPoint(double* xyz) {
    if (!xyz) return -1;
    copy3(xyz, m_seed);
    return 0;
}

int CKpOff::GetCoordOriginName(double* xyz, char* buffer, int size) {
    if (m_originSet == 0) return 1;
    if (!buffer) return 2;
    copy_text(buffer, size, m_originName);
    if (xyz) copy3(xyz, m_origin);
    return 0;
}

int CKpOff::GetApplicationDirection(double* xyz) {
    if (!xyz) return -1;
    copy3(xyz, m_dirn);
    return 0;
}

double CKpOff::GetOffsetValue() {
    return m_value;
}

EVekOffsetFlag CKpOff::GetOffsetFlag() {
    return static_cast<EVekOffsetFlag>(m_flag);
}

int CKpOff::GetBoundarySizes(int& contours, int& points) {
    contours = 0;
    points = 0;
    CKpLayup* model = GetLayup();
    CKpBdyStore store(0);
    if (!model || CalculateBoundary(&store) != 0) return 1;
    const int cap = 3 * model->pFacs()->entries();
    int total = 0;
    for (int r = 0; r < store.GetNumBdys(); ++r) {
        const int n = ringSegments(store.GetBdy(r), cap);
        if (n < 0) return 1;
        total += n + 1;
    }
    contours = store.GetNumBdys();
    points = total;
    return 0;
}

int CKpOff::GetBoundary(int contours, int points, int* counts, double* coords, int* ids) {
    CKpLayup* model = GetLayup();
    CKpBdyStore store(0);
    const int status = CalculateBoundary(&store);
    if (status == 1 || status == 2) return status;
    if (status != 0) return 3;
    CKpFacetStore* facets = model->pFacs();

    // 1. Sizes first, so that nothing is written when it does not fit.
    const int rings = store.GetNumBdys();
    const int cap = 3 * facets->entries();
    std::vector<int> segments(static_cast<size_t>(rings));
    int total = 0;
    for (int r = 0; r < rings; ++r) {
        segments[r] = ringSegments(store.GetBdy(r), cap);
        if (segments[r] < 0) return 3;
        total += segments[r] + 1;
    }
    if (rings > contours || total > points) return 3;

    // 2. Per ring the start of its first segment, then each segment's end,
    //    which closes the ring on its first point.
    int p = 0;
    auto put = [&](const CKpBdy* s, int vx) {
        const CKpFacet* f = facets->pFac(s->getFacet());
        const CKpPoint* pt = f ? f->getCKpPoint(vx) : nullptr;
        const CKpNode* node = f ? f->getCKpNode(vx) : nullptr;
        if (coords) {
            coords[3 * p] = pt ? pt->getx() : 0.0;
            coords[3 * p + 1] = pt ? pt->gety() : 0.0;
            coords[3 * p + 2] = pt ? pt->getz() : 0.0;
        }
        if (ids) ids[p] = node ? node->id() : 0;
        ++p;
    };
    for (int r = 0; r < rings; ++r) {
        if (counts) counts[r] = segments[r] + 1;
        const CKpBdy* s = store.GetBdy(r);
        put(s, s->vx0());
        for (int k = 0; k < segments[r]; ++k, s = s->Next()) put(s, s->vx1());
    }
    return 0;
}

int CKpOff::SetName(const char* name) {
    if (!name) return -1;
    if (m_store) {
        CVekObjectStoreIterator<CKpOff> it(*m_store);
        while (++it)
            if (std::strcmp(it.key()->name(), name) == 0) return -1;
    }
    m_name = name;
    return 0;
}

int CKpOff::SetElementIds(int n, const int* ids) {
    if (!ids) return 1;
    m_elems.eraseAllObjects();
    for (int i = 0; i < n; ++i) {
        CKpOffElem* e = new (std::nothrow) CKpOffElem(ids[i]);
        if (!e) return 3;
        m_elems.InsertLast(e);
    }
    return 0;
}

int CKpOff::SetSeedPoint(const double* xyz) {
    if (!xyz || !finite3(xyz)) return -1;
    copy3(m_seed, xyz);
    return 0;
}

int CKpOff::SetCoordOriginName(const double* xyz, const char* name) {
    if (!xyz) return -1;
    ++m_originSet;
    m_originName = name ? name : "";
    copy3(m_origin, xyz);
    return 0;
}

int CKpOff::SetApplicationDirection(const double* xyz) {
    if (!xyz || !finite3(xyz)) return -1;
    copy3(m_dirn, xyz);
    return 0;
}

int CKpOff::SetOffsetValue(double value) {
    if (!std::isfinite(value)) return -1;
    m_value = value;
    return 0;
}

int CKpOff::SetOffsetFlag(EVekOffsetFlag flag) {
    m_flag = flag;
    return 0;
}

int CKpOff::Apply() {
    CKpLayup* model = GetLayup();
    if (!model) return 1;
    if (!model->pElems() || !model->pFacs()) return 2;
    if (SelectElements() != 0) return 3;
    int start = -1, dirn = 0;
    if (CalculateStart(start, dirn) != 0) return 4;
    if (define_offset(model->pMsg(), model->pElems(), model->pFacs(), m_value, m_flag, start,
                      dirn) != 0)
        return 5;
    return 0;
}
