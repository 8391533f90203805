#include "layuplib/CKpFacetIntPts.h"

#include "layuplib/geom_util.h"

namespace {
const double kNotMeasured = 1e12;
}

CKpFacetIntPts::CKpFacetIntPts() : m_numPts(0), m_facets(10), m_points(10), m_dists(10) {}

int CKpFacetIntPts::AddPt(int facet, CKpPoint point) {
    const int n = m_numPts;
    // Reserve all three slots before writing, so a failed growth leaves the
    // lists of equal length.
    if (m_facets.Size(n + 1) != 0 || m_points.Size(n + 1) != 0 || m_dists.Size(n + 1) != 0) {
        m_facets.Size(n);
        m_points.Size(n);
        m_dists.Size(n);
        return 1;
    }
    m_facets[n] = facet;
    m_points[n] = point;
    m_dists[n] = kNotMeasured;
    m_numPts = n + 1;
    return 0;
}

int CKpFacetIntPts::GetPt(int i, int* facet, CKpPoint* point) const {
    if (i < 0 || i >= m_numPts) return 1;
    if (facet) *facet = m_facets[i];
    if (point) *point = m_points[i];
    return 0;
}

double CKpFacetIntPts::GetDist(int i) const {
    if (i < 0 || i >= m_numPts) return kNotMeasured;
    return m_dists[i];
}

void CKpFacetIntPts::SortPointsDistance(const CKpPoint* reference) {
    if (!reference) return;
    m_origin = *reference;
    for (int i = 0; i < m_numPts; ++i) m_dists[i] = dist_2pt(&m_origin, &m_points[i]);
    for (int i = 0; i < m_numPts; ++i) {
        for (int j = i + 1; j < m_numPts; ++j) {
            if (m_dists[i] > m_dists[j]) {
                m_facets.Swap(i, j);
                m_points.Swap(i, j);
                m_dists.Swap(i, j);
            }
        }
    }
}

void CKpFacetIntPts::Clear() {
    m_facets.Size(0);
    m_points.Size(0);
    m_dists.Size(0);
    m_numPts = 0;
    m_origin = CKpPoint();
}

int CKpFacetIntPts::Set(const CKpFacetIntPts& other) {
    if (&other == this) return 0;
    Clear();
    const int n = other.m_numPts;
    if (m_facets.Size(n) != 0 || m_points.Size(n) != 0 || m_dists.Size(n) != 0) {
        Clear();
        return 1;
    }
    for (int i = 0; i < n; ++i) {
        m_facets[i] = other.m_facets[i];
        m_points[i] = other.m_points[i];
        m_dists[i] = other.m_dists[i];
    }
    m_numPts = n;
    m_origin = other.m_origin;
    return 0;
}
