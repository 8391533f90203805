#ifndef PLYSTRAND_LAYUPLIB_IFILLSOLIDCSYS_H
#define PLYSTRAND_LAYUPLIB_IFILLSOLIDCSYS_H

namespace SolidElements {

// IFillSolidCSys: a coordinate system shared by stacking tubes of alike
// orientation, as clients read it back. The filler owns it; it stays valid
// until the filler is released. Vectors are 3 doubles (x, y, z), basic
// frame. The operations keep this slot order and all return 0; null output
// arrays are not written.
class IFillSolidCSys {
  public:
    // Mean of the mid-surface points of the tube the system was made from.
    virtual int GetOrigin(double* xyz) = 0;
    // Unit axes: X the reference direction projected into the mid-surface,
    // Z the tube normal, Y = Z x X.
    virtual int GetXAxis(double* xyz) = 0;
    virtual int GetYAxis(double* xyz) = 0;
    virtual int GetZAxis(double* xyz) = 0;
    // Number of bricks (written) and their input ids.
    virtual int GetNumElementIDs(int& n) = 0;
    virtual int GetElementIDs(int* ids) = 0;

  protected:
    ~IFillSolidCSys() = default;
};

}  // namespace SolidElements

#endif  // PLYSTRAND_LAYUPLIB_IFILLSOLIDCSYS_H
