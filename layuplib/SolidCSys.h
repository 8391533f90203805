#ifndef PLYSTRAND_LAYUPLIB_SOLIDCSYS_H
#define PLYSTRAND_LAYUPLIB_SOLIDCSYS_H

#include <vector>

#include "layuplib/IFillSolidCSys.h"

namespace SolidElements {

class SolidElement;
class SolidStackingTube;

// SolidCSys: a coordinate system made from one stacking tube, later shared
// with the tubes whose axes lie within its angle tolerance. The bricks and
// the tube belong to the filler.
class SolidCSys : public IFillSolidCSys {
  public:
    // Axes and origin are 3 doubles each; `angleTol` in radians.
    SolidCSys(const double* xAxis, const double* yAxis, const double* zAxis, const double* origin,
              SolidStackingTube* tube, double angleTol);

    int GetOrigin(double* xyz) override;
    int GetXAxis(double* xyz) override;
    int GetYAxis(double* xyz) override;
    int GetZAxis(double* xyz) override;
    int GetNumElementIDs(int& n) override;
    int GetElementIDs(int* ids) override;

    const double* XAxis() const { return m_x; }
    const double* YAxis() const { return m_y; }
    const double* ZAxis() const { return m_z; }
    SolidStackingTube* GetTube() const { return m_tube; }
    int GetID() const { return m_id; }
    void SetID(int id) { m_id = id; }
    void AddElement(SolidElement* elem) { m_elements.push_back(elem); }

    // True when the angles between the X axes, the Y axes and the Z axes of
    // this system and `other` are each at most this system's tolerance.
    bool IsAlike(const SolidCSys& other) const;
    // Takes over `other`'s bricks (appended); other's tube points here.
    void Absorb(SolidCSys& other);

    virtual ~SolidCSys() = default;

  private:
    double m_x[3], m_y[3], m_z[3], m_origin[3];
    SolidStackingTube* m_tube;
    double m_angleTol;
    int m_id = -1;
    std::vector<SolidElement*> m_elements;
};

}  // namespace SolidElements

#endif  // PLYSTRAND_LAYUPLIB_SOLIDCSYS_H
