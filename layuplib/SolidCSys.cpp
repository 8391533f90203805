#include "layuplib/SolidCSys.h"

#include <algorithm>

#include "layuplib/LinAlg.h"
#include "layuplib/SolidElement.h"
#include "layuplib/SolidStackingTube.h"

namespace SolidElements {

namespace {
int copy3(const double* from, double* to) {
    if (to) std::copy(from, from + 3, to);
    return 0;
}
}  // namespace

SolidCSys::SolidCSys(const double* xAxis, const double* yAxis, const double* zAxis,
                     const double* origin, SolidStackingTube* tube, double angleTol)
    : m_tube(tube), m_angleTol(angleTol) {
    std::copy(xAxis, xAxis + 3, m_x);
    std::copy(yAxis, yAxis + 3, m_y);
    std::copy(zAxis, zAxis + 3, m_z);
    std::copy(origin, origin + 3, m_origin);
}

int SolidCSys::GetOrigin(double* xyz) {
    return copy3(m_origin, xyz);
}
int SolidCSys::GetXAxis(double* xyz) {
    return copy3(m_x, xyz);
}
int SolidCSys::GetYAxis(double* xyz) {
    return copy3(m_y, xyz);
}
int SolidCSys::GetZAxis(double* xyz) {
    return copy3(m_z, xyz);
}

int SolidCSys::GetNumElementIDs(int& n) {
    n = static_cast<int>(m_elements.size());
    return 0;
}

int SolidCSys::GetElementIDs(int* ids) {
    if (!ids) return 0;
    for (size_t i = 0; i < m_elements.size(); ++i) ids[i] = m_elements[i]->GetID();
    return 0;
}

bool SolidCSys::IsAlike(const SolidCSys& other) const {
    return LinAlg::AngleNormalised(m_x, other.m_x) <= m_angleTol &&
           LinAlg::AngleNormalised(m_y, other.m_y) <= m_angleTol &&
           LinAlg::AngleNormalised(m_z, other.m_z) <= m_angleTol;
}

void SolidCSys::Absorb(SolidCSys& other) {
    m_elements.insert(m_elements.end(), other.m_elements.begin(), other.m_elements.end());
    other.m_elements.clear();
    if (other.m_tube) other.m_tube->SetCSys(this);
}

}  // namespace SolidElements
