#include "layuplib/CKpCoord.h"

#include <cstring>

#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpOrient.h"

namespace {

// The element store of the frame's model; null when any link is missing.
CKpElemStore* elementStoreOf(const CKpCoord& coord) {
    CKpLayup* layup = coord.GetLayup();
    return layup ? layup->pElems() : nullptr;
}

// Whether `elem` takes its orientation from frame `frameId`.
bool usesFrame(CKpElem* elem, int frameId) {
    if (!elem) return false;
    const CKpOrient* orient = elem->pOrient();
    return orient && orient->type() == CKpOrient::TypeCoord && orient->refId() == frameId;
}

}  // namespace

CKpCoord::CKpCoord(int id)
    : CVekObject(id),
      m_type(CKpCoordRectangular),
      m_rid(0),
      m_coords(),
      m_extId(0),
      m_store(nullptr) {}

CKpCoord::CKpCoord(const CKpCoord& other)
    : IVekCoord(),
      CVekObject(other),
      m_type(other.m_type),
      m_rid(other.m_rid),
      m_coords(),
      m_extId(other.m_extId),
      m_store(nullptr) {
    std::memcpy(m_coords, other.m_coords, sizeof(m_coords));
}

CKpCoord::~CKpCoord() = default;

double CKpCoord::coords(int index) const {
    return (index >= 0 && index < 9) ? m_coords[index] : 0.0;
}

void CKpCoord::setCoords(double value, int index) {
    if (index >= 0 && index < 9) m_coords[index] = value;
}

CKpLayup* CKpCoord::GetLayup() const {
    return m_store ? m_store->GetLayup() : nullptr;
}

void CKpCoord::SetCoordsByOriginDefault(const double* origin) {
    if (!origin) return;
    for (int i = 0; i < 3; ++i) {
        m_coords[i] = origin[i];
        m_coords[3 + i] = origin[i];
        m_coords[6 + i] = origin[i];
    }
    m_coords[5] += 1.0;  // B on the z axis
    m_coords[6] += 1.0;  // C on the x axis
}

void CKpCoord::SetCoordsByOriginAxes(const double* origin, const double* axes) {
    if (!origin || !axes) return;
    CKpDirn x, z;
    x.Set(axes);
    z.Set(axes + 6);
    x.unitize();
    z.unitize();
    for (int i = 0; i < 3; ++i) {
        m_coords[i] = origin[i];
        m_coords[3 + i] = origin[i] + z.Get(i);
        m_coords[6 + i] = origin[i] + x.Get(i);
    }
}

void CKpCoord::SetCoordsByEulerAngles(const double* angles) {
    if (!angles) return;
    CKpDirn z, x;
    z.Set(0.0, 0.0, 1.0);
    x.Set(1.0, 0.0, 0.0);
    CKpDirn* const turned[2] = {&z, &x};
    for (CKpDirn* d : turned) {
        d->Rotate(1, angles[2]);
        d->Rotate(0, angles[1]);
        d->Rotate(2, angles[0]);
    }
    for (int i = 0; i < 3; ++i) {
        m_coords[3 + i] = m_coords[i] + z.Get(i);
        m_coords[6 + i] = m_coords[i] + x.Get(i);
    }
}

void CKpCoord::cartesianAxes(CKpDirn& x, CKpDirn& y, CKpDirn& z) const {
    CKpPoint a, b, c;
    a.Set(m_coords);
    b.Set(m_coords + 3);
    c.Set(m_coords + 6);
    CKpDirn ac;
    z.set2pts(&a, &b);
    ac.set2pts(&a, &c);
    y.setCrossProduct(&z, &ac);
    x.setCrossProduct(&y, &z);
    x.unitize();
    y.unitize();
    z.unitize();
}

int CKpCoord::axes(CKpPoint* /*point*/, CKpDirn axes[3]) const {
    if (m_type != CKpCoordRectangular || !axes) return -1;
    cartesianAxes(axes[0], axes[1], axes[2]);
    return 0;
}

void CKpCoord::GetOrigin(CKpPoint* origin) const {
    if (origin) origin->Set(m_coords);
}

void CKpCoord::Transform(CKpPoint* point, CKpDirn* dirn) const {
    if (!point || m_type == 0 || m_extId == 0) return;
    CKpDirn ax[3];
    cartesianAxes(ax[0], ax[1], ax[2]);
    CKpPoint origin;
    GetOrigin(&origin);
    CKpDirn rel;
    rel.set2pts(&origin, point);
    point->Set(rel.DotProduct(&ax[0]), rel.DotProduct(&ax[1]), rel.DotProduct(&ax[2]));
    if (dirn) {
        const CKpDirn d = *dirn;
        dirn->Set(d.DotProduct(&ax[0]), d.DotProduct(&ax[1]), d.DotProduct(&ax[2]));
    }
}

int CKpCoord::GetId() {
    return id();
}

EVekCoordType CKpCoord::GetType() {
    return static_cast<EVekCoordType>(m_type);
}

int CKpCoord::GetOrigin(double* const origin) {
    if (!origin) return 1;
    std::memcpy(origin, m_coords, 3 * sizeof(double));
    return 0;
}

int CKpCoord::GetAxisDirection(int axis, double* const dirn) {
    if (axis < 0 || axis > 2 || !dirn) return 1;
    CKpDirn ax[3];
    axes(nullptr, ax);  // leaves the zero axes of a frame that is not rectangular
    ax[axis].Get(dirn);
    return 0;
}

int CKpCoord::GetNumElements() {
    CKpElemStore* elems = elementStoreOf(*this);
    if (!elems) return 0;
    int n = 0;
    const int count = elems->entries();
    for (int i = 0; i < count; ++i) {
        if (usesFrame((*elems)[i], id())) ++n;
    }
    return n;
}

int CKpCoord::GetElementIds(int n, int* ids) {
    if (n != GetNumElements() || (n > 0 && !ids)) return 1;
    if (!GetLayup()) return 2;
    CKpElemStore* elems = elementStoreOf(*this);
    if (!elems) return 3;
    // The store is sorted by id, so a scan in position order is ascending.
    int k = 0;
    const int count = elems->entries();
    for (int i = 0; i < count && k < n; ++i) {
        CKpElem* elem = (*elems)[i];
        if (usesFrame(elem, id())) ids[k++] = elem->id();
    }
    return 0;
}
