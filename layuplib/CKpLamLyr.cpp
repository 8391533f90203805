#include "layuplib/CKpLamLyr.h"

#include <cmath>

#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatPropStore.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/angle_util.h"

namespace {

// The material's state at `index`: 0 the material itself, 1.. the added
// states in the order they were added; null when there is none.
const CKpMatProp* stateAt(const CKpMat* mat, int index) {
    if (!mat || index < 0) return nullptr;
    if (index == 0) return mat;
    const CKpMatPropStore* states = mat->MatStates();
    return states ? states->GetIndex(index - 1) : nullptr;
}

}  // namespace

CKpLamLyr::CKpLamLyr()
    : m_store(nullptr), m_mid(0), m_t(0.0), m_theta(0.0), m_sout(2), m_sttid(0), m_gplyid(0) {}

CKpLamLyr::CKpLamLyr(const CKpLamLyr& other)
    : IVekLamLayer(),
      CVekListItem(),
      m_store(nullptr),
      m_mid(other.m_mid),
      m_t(other.m_t),
      m_theta(other.m_theta),
      m_sout(other.m_sout),
      m_sttid(other.m_sttid),
      m_gplyid(other.m_gplyid) {}

CKpLamLyr::~CKpLamLyr() = default;

CKpLayup* CKpLamLyr::GetLayup() const {
    return m_store ? m_store->GetLayup() : nullptr;
}

IVekMaterial* CKpLamLyr::GetMaterial() {
    CKpLayup* layup = GetLayup();
    CKpMatStore* mats = layup ? layup->pMats() : nullptr;
    CKpMat* mat = mats ? mats->find(m_mid) : nullptr;
    return mat;
}

const char* CKpLamLyr::GetExternalMaterialName() {
    const CKpMatProp* state = stateAt(dynamic_cast<CKpMat*>(GetMaterial()), m_sttid);
    return state ? state->extmtrlnm() : nullptr;
}

int CKpLamLyr::GetExternalMaterialId() {
    const CKpMatProp* state = stateAt(dynamic_cast<CKpMat*>(GetMaterial()), m_sttid);
    return state ? state->extmtrlid() : 0;
}

int CKpLamLyr::SetMaterial(IVekMaterial* material) {
    if (!material) return 1;
    CKpLayup* layup = GetLayup();
    if (!layup) return 2;
    CKpMatStore* mats = layup->pMats();
    if (!mats) return 3;
    CKpMat* mat = dynamic_cast<CKpMat*>(material);
    if (!mat || mats->find(mat->id()) != mat) return 4;
    m_mid = mat->id();
    return 0;
}

int CKpLamLyr::SetThickness(double thickness) {
    m_t = thickness;
    return 0;
}

int CKpLamLyr::SetAngle(double angle) {
    m_theta = angle;
    return 0;
}

int CKpLamLyr::SetGlobalPlyID(int id) {
    m_gplyid = id;
    return 0;
}

int CKpLamLyr::SetGlobalPlyName(const char* name) {
    SetLayupPlyName(name);
    return 0;
}

double CKpLamLyr::GetThickAtAngle(double angle, double tol) const {
    const double d = piby2_piby2(m_theta - angle);
    return (-tol < d && d <= tol) ? m_t : 0.0;
}

double CKpLamLyr::GetNominalAngle(double ref, int n) const {
    const double d = piby2_piby2(m_theta - ref);
    if (n < 1 || !std::isfinite(d)) return d;
    const double pi = std::acos(-1.0);
    const double step = pi / n;
    // Sector index, closed at its lower bound; wrapped so that the sectors
    // at both ends of [-pi/2, pi/2] (the same axis) share one index.
    long long i = static_cast<long long>(std::floor(d / step + 0.5)) % n;
    if (i < 0) i += n;
    return piby2_piby2(static_cast<double>(i) * step);
}
