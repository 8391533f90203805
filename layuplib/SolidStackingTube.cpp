#include "layuplib/SolidStackingTube.h"

#include "layuplib/LinAlg.h"
#include "layuplib/Midpoint.h"

namespace SolidElements {

void SolidStackingTube::AddFace(SolidElementFace* face, const double* centroid) {
    m_faces.push_back(face);
    m_centroids.push_back({centroid[0], centroid[1], centroid[2]});
}

void SolidStackingTube::GetMidPlane(double* n, double& d) const {
    LinAlg::PlaneFromPoints(m_points[0]->GetXYZ(), m_points[3]->GetXYZ(), m_points[1]->GetXYZ(), n,
                            d);
}

void SolidStackingTube::GetMidNormal(double* n) const {
    double a[3], b[3];
    LinAlg::Vector(m_points[0]->GetXYZ(), m_points[2]->GetXYZ(), a);
    LinAlg::Vector(m_points[1]->GetXYZ(), m_points[3]->GetXYZ(), b);
    LinAlg::CrossProduct(a, b, n);
    LinAlg::Normalize(n);
}

void SolidStackingTube::GetMidpoint(double* out) const {
    out[0] = out[1] = out[2] = 0.0;
    for (const Midpoint* p : m_points)
        for (int c = 0; c < 3; ++c) out[c] += p->GetXYZ()[c];
    if (!m_points.empty()) LinAlg::VectorDivide(out, static_cast<double>(m_points.size()));
}

}  // namespace SolidElements
