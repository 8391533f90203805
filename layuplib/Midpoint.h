#ifndef PLYSTRAND_LAYUPLIB_MIDPOINT_H
#define PLYSTRAND_LAYUPLIB_MIDPOINT_H

namespace SolidElements {

// Midpoint: one mid-surface point of a stacking tube. Points of neighbouring
// tubes that coincide are merged: all but one point to a representative and
// share its id.
class Midpoint {
  public:
    Midpoint(double x, double y, double z) : m_xyz{x, y, z} {}

    // The representative's id when this point duplicates another, else its
    // own (-1 until the points are merged).
    int GetID() const { return m_representative ? m_representative->m_id : m_id; }
    void SetID(int id) { m_id = id; }
    // The representative, or null when this point is one.
    const Midpoint* GetRepresentative() const { return m_representative; }
    void SetRepresentative(const Midpoint* rep) { m_representative = rep; }
    // x, y, z (3 doubles).
    const double* GetXYZ() const { return m_xyz; }

  private:
    double m_xyz[3];
    int m_id = -1;
    const Midpoint* m_representative = nullptr;
};

}  // namespace SolidElements

#endif  // PLYSTRAND_LAYUPLIB_MIDPOINT_H
