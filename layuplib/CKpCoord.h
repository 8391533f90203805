#ifndef PLYSTRAND_LAYUPLIB_CKPCOORD_H
#define PLYSTRAND_LAYUPLIB_CKPCOORD_H

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/CVekObject.h"
#include "layuplib/IVekCoord.h"

class CKpCoordStore;
class CKpLayup;

// Frame types: 1 rectangular (x, y, z), 2 cylindrical (r, theta, z),
// 3 spherical (r, theta, phi); angles of points in degrees.
enum CKpCoordType : int { CKpCoordRectangular = 1, CKpCoordCylindrical = 2, CKpCoordSpherical = 3 };

// CKpCoord: a coordinate frame defined like a solver's three-point frame
// card: origin A, a point B on the local z axis and a point C in the local
// x-z plane, all three given in the reference frame `rid` (0 the basic
// frame). The local Cartesian axes follow from them:
//   z = unit(B - A), y = unit(z × (C - A)), x = y × z.
// For a cylindrical or spherical frame these axes carry the point's
// Cartesian form (see CKpCoordStore::GetBasicCoords).
//
// The frame's id is its CVekObject id; a frame of id 0 is the basic frame
// and is never stored.
class CKpCoord : public IVekCoord, public CVekObject {
  public:
    // A rectangular frame with reference frame 0, all nine defining
    // coordinates 0, external id 0 and no store.
    explicit CKpCoord(int id);

    // Copies id, type, reference frame, the nine coordinates and the
    // external id; the copy belongs to no store.
    CKpCoord(const CKpCoord& other);
    CKpCoord& operator=(const CKpCoord&) = delete;

    ~CKpCoord() override;

    // ---- Definition ----

    // Frame type (any value is kept; values other than 2 and 3 behave as
    // rectangular when points are resolved).
    CKpCoordType type() const { return m_type; }
    void setType(CKpCoordType type) { m_type = type; }

    // Id of the reference frame in which A, B and C are given; 0 basic.
    int rid() const { return m_rid; }
    void setRid(int rid) { m_rid = rid; }

    // The frame's id in the source it came from (host database, solver
    // file); 0 when none.
    int GetExtId() const { return m_extId; }
    void SetExtId(int extId) { m_extId = extId; }

    // Defining coordinate `index`: 0..2 A (x, y, z), 3..5 B, 6..8 C. An
    // index outside 0..8 reads 0.0 and writes nothing.
    double coords(int index) const;
    void setCoords(double value, int index);

    // The store the frame was inserted into (set by CKpCoordStore::insert);
    // not owned. GetLayup: that store's model, null without a store.
    CKpCoordStore* GetCoordStore() const { return m_store; }
    void SetCoordStore(CKpCoordStore* store) { m_store = store; }
    CKpLayup* GetLayup() const;

    // A = origin, B = A + (0, 0, 1), C = A + (1, 0, 0): axes parallel to
    // those of the reference frame. `origin`: 3 doubles, read. Null changes
    // nothing.
    void SetCoordsByOriginDefault(const double* origin);

    // A = origin, B = A + unit z axis, C = A + unit x axis (a zero axis is
    // used as it is). `origin`: 3 doubles; `axes`: 9 doubles, the x, y and z
    // axis directions in that order; both read. Either null changes nothing.
    void SetCoordsByOriginAxes(const double* origin, const double* axes);

    // Keeps A; turns (0, 0, 1) about the y axis by angles[2], then about the
    // x axis by angles[1], then about the z axis by angles[0] (radians,
    // right-handed) and sets B = A + the result; C likewise from (1, 0, 0).
    // `angles`: 3 doubles, read. Null changes nothing.
    void SetCoordsByEulerAngles(const double* angles);

    // ---- Axes and transformation ----

    // For a rectangular frame: writes the unit local axes (from the frame's
    // own points, not resolved through `rid`) into axes[0] = x, axes[1] = y,
    // axes[2] = z; an axis of zero length stays zero. 0. Another type, or a
    // null `axes`, returns -1 and writes nothing. The point argument is not
    // used.
    int axes(CKpPoint* point, CKpDirn axes[3]) const;

    // A as a point (in the reference frame).
    void GetOrigin(CKpPoint* origin) const;

    // Only when the type is not 0 and the external id is not 0: replaces
    // `point` (a position in the frame's reference frame) by its components
    // along the local Cartesian axes relative to A, and `dirn` (may be null)
    // by its components along the same axes. For cylindrical and spherical
    // frames the same Cartesian axes are used (the caller receives
    // Cartesian components, not r/theta values). A null point does nothing.
    void Transform(CKpPoint* point, CKpDirn* dirn) const;

    // ---- IVekCoord ----
    int GetId() override;
    EVekCoordType GetType() override;
    int GetOrigin(double* const origin) override;
    int GetAxisDirection(int axis, double* const dirn) override;
    int GetNumElements() override;
    int GetElementIds(int n, int* ids) override;

  private:
    // The local Cartesian axes from A, B and C as given (any type).
    void cartesianAxes(CKpDirn& x, CKpDirn& y, CKpDirn& z) const;

    CKpCoordType m_type;
    int m_rid;
    double m_coords[9];
    int m_extId;
    CKpCoordStore* m_store;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPCOORD_H
