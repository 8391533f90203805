#ifndef PLYSTRAND_LAYUPLIB_CKPPHYSPROP_H
#define PLYSTRAND_LAYUPLIB_CKPPHYSPROP_H

class CKpElemStore;
class CKpFacetStore;

// CKpPhysProp: the mass properties of the shell model: total area, volume
// and mass, the centre of gravity and the inertia about it. The mass of an
// element lies on its mid-surface (the faceted surface): the thickness adds
// volume and mass but no inertia. Units follow the model: lengths in model
// units, mass = density x volume.
class CKpPhysProp {
  public:
    // All twelve values 0.
    CKpPhysProp();

    // Computes the twelve values from the elements in ascending id order:
    // each element's area, first and second moments from its facets, its
    // volume and mass from its ply stack (sum of ply thickness x area and
    // density x thickness x area), its mass placed at its centroid with the
    // inertia of its surface scaled by mass / area. Elements whose facets
    // have no area are skipped (their centroid is undefined; they would add
    // nothing). The centre of gravity is (0, 0, 0) when the mass is 0.
    // 1; 0 for a null store (every value 0 then).
    int Calc(CKpElemStore* elems, const CKpFacetStore* facets);

    // Total area (square model units), volume and mass.
    double area() const { return m_values[0]; }
    double volume() const { return m_values[1]; }
    double mass() const { return m_values[2]; }
    // Centre of gravity, i 0, 1, 2 (x, y, z); 0.0 for another i.
    double cg(int i) const { return (i >= 0 && i < 3) ? m_values[3 + i] : 0.0; }
    // Inertia about the centre of gravity, i 0..5: Ixx, Iyy, Izz (about the
    // axes) and Ixy, Iyz, Izx (the products, integrals of x y, y z, z x
    // dm); 0.0 for another i.
    double inertia(int i) const { return (i >= 0 && i < 6) ? m_values[6 + i] : 0.0; }
    // All twelve in the order above.
    const double* values() const { return m_values; }

  private:
    double m_values[12];
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPHYSPROP_H
