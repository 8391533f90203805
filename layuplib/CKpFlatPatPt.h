#ifndef PLYSTRAND_LAYUPLIB_CKPFLATPATPT_H
#define PLYSTRAND_LAYUPLIB_CKPFLATPATPT_H

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpPlotPoint.h"
#include "layuplib/CKpPoint.h"

class CKpBdy;

// CKpFlatPatPt: one point of a flat pattern. Its place in the fabric plane
// is the plot point's x = u and y = v (z = 0), both in warp steps: the warp
// runs along u, the weft at the fabric's warp-weft angle a; multiply by the
// step in use for model units. The point also remembers where it lies on
// the draped surface (position, facet, edge), which is the point's half of
// the mapping between the flat pattern and the drape. The plot flag (0
// dropped, 1 or 2 kept) is set by the pattern's thinning.
class CKpFlatPatPt : public CKpPlotPoint {
  public:
    // Position and direction zero, shear 0.0, facet and edge -1, extension
    // 0, no boundary segment, no next point.
    CKpFlatPatPt()
        : position(),
          shear(0.0),
          direction(),
          facet(-1),
          edge(-1),
          extension(0),
          bdy(nullptr),
          next(nullptr) {}
    // Copies u, v, z, the plot flag and every field of the point except
    // the list links, the boundary segment and the next pointer (all null
    // in the copy).
    CKpFlatPatPt(const CKpFlatPatPt& other);
    CKpFlatPatPt& operator=(const CKpFlatPatPt&) = delete;
    ~CKpFlatPatPt() override;

    // Flat coordinates, warp steps (the plot point's x and y).
    double getU() const { return getx(); }
    double getV() const { return gety(); }
    void SetUV(double u, double v) { Set(u, v, 0.0); }

    // Where the point lies on the draped surface (model units).
    const CKpPoint& GetPosition() const { return position; }
    void SetPosition(const CKpPoint& p) { position = p; }

    // Shear strain of the drape point the point came from, radians; 0.0 for
    // points made by refinement.
    double GetShear() const { return shear; }
    void SetShear(double s) { shear = s; }

    // Direction of the fibre along which the fabric reached the point (not
    // normalised; zero when unknown).
    const CKpDirn& GetDirection() const { return direction; }
    void SetDirection(const CKpDirn& d) { direction = d; }

    // Facet index the point lies on (-1 none) and the local edge of that
    // facet it lies on (0..2, or edge + 3; -1 none).
    int GetFacet() const { return facet; }
    void SetFacet(int f) { facet = f; }
    int GetEdge() const { return edge; }
    void SetEdge(int e) { edge = e; }

    // Grid direction index in which the point was found: 0 +u (warp), 1 +v
    // (weft), 2 -u, 3 -v.
    int GetExtension() const { return extension; }
    void SetExtension(int k) { extension = k; }

    // The ply boundary segment the point lies on, set by the refinement;
    // null when none was found. Not owned (the boundary store owns it).
    CKpBdy* GetBdy() const { return bdy; }
    void SetBdy(CKpBdy* segment) { bdy = segment; }

    // The next point of the pattern's chain; null at the end. Not owned by
    // the point (the chain's store owns every point).
    CKpFlatPatPt* getNext() const { return next; }
    void setNext(CKpFlatPatPt* point) { next = point; }

  private:
    CKpPoint position;   // where the point lies on the draped surface
    double shear;        // shear strain of the drape point it came from, radians
    CKpDirn direction;   // fibre direction in which the fabric reached the point
    int facet;           // facet the point lies on
    int edge;            // local edge of that facet (0..2, or edge + 3)
    int extension;       // grid direction: 0 +u, 1 +v, 2 -u, 3 -v
    CKpBdy* bdy;         // ply boundary segment the point lies on; not owned
    CKpFlatPatPt* next;  // next point of the pattern
};

#endif  // PLYSTRAND_LAYUPLIB_CKPFLATPATPT_H
