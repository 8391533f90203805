#ifndef PLYSTRAND_LAYUPLIB_CKPFACETINTPTS_H
#define PLYSTRAND_LAYUPLIB_CKPFACETINTPTS_H

#include "layuplib/CKpPoint.h"
#include "layuplib/CVekTemplateList.h"

// CKpFacetIntPts: the points where a ray pierces facets of the faceted
// surface, each with its facet index and its distance from a reference
// point, sortable by that distance.
//
// The three lists (facets, points, distances) always hold GetNumPts()
// entries; they grow in steps of 10. A distance of 1e12 means "not yet
// measured". Positions i run 0..GetNumPts()-1.
class CKpFacetIntPts {
  public:
    // Empty, reference point (0, 0, 0).
    CKpFacetIntPts();

    CKpFacetIntPts(const CKpFacetIntPts&) = delete;
    CKpFacetIntPts& operator=(const CKpFacetIntPts&) = delete;

    // Appends facet index `facet`, `point` and the distance 1e12. 0; 1 when
    // memory runs out (nothing is appended).
    int AddPt(int facet, CKpPoint point);

    // Number of points.
    int GetNumPts() const { return m_numPts; }

    // Writes the facet index and the point at position i (each when its
    // pointer is not null). 0; 1 when i is outside 0..GetNumPts()-1
    // (nothing written).
    int GetPt(int i, int* facet, CKpPoint* point) const;

    // The distance at position i; 1e12 outside 0..GetNumPts()-1.
    double GetDist(int i) const;

    // The reference point of the last SortPointsDistance; (0, 0, 0) before
    // one and after Clear.
    CKpPoint GetOrigin() const { return m_origin; }

    // Keeps `reference` (read) as the origin, sets every distance to
    // |point - reference| and orders the entries by ascending distance
    // (an exchange sort; equal distances keep no particular order).
    // Nothing for a null reference.
    void SortPointsDistance(const CKpPoint* reference);

    // Empties the three lists and zeroes the reference point.
    void Clear();

    // Becomes a copy of `other` (read). 0; 1 when memory runs out (this
    // list is then empty).
    int Set(const CKpFacetIntPts& other);

  private:
    int m_numPts;
    CVekTemplateList<int> m_facets;
    CVekTemplateList<CKpPoint> m_points;
    CKpPoint m_origin;
    CVekTemplateList<double> m_dists;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPFACETINTPTS_H
