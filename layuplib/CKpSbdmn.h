#ifndef PLYSTRAND_LAYUPLIB_CKPSBDMN_H
#define PLYSTRAND_LAYUPLIB_CKPSBDMN_H

#include "layuplib/CVekObject.h"

// CKpSbdmn: one subdomain of the faceted surface (a connected region of
// facets), by its number 1, 2, ... as id: its facet count and area.
class CKpSbdmn : public CVekObject {
  public:
    // Subdomain `id` of `numFacets` facets and `area` (square model units).
    CKpSbdmn(int id, int numFacets = 0, double area = 0.0);
    ~CKpSbdmn() override;

    // Number of facets.
    int NumFacs() const { return m_numFacets; }
    // Area, square model units.
    double Area() const { return m_area; }
    // Add to the facet count / the area.
    void AddNumFacs(int n) { m_numFacets += n; }
    void AddArea(double area) { m_area += area; }

  private:
    int m_numFacets;
    double m_area;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPSBDMN_H
