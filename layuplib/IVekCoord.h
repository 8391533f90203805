#ifndef PLYSTRAND_LAYUPLIB_IVEKCOORD_H
#define PLYSTRAND_LAYUPLIB_IVEKCOORD_H

// Frame types as clients see them. Cylindrical points are (r, theta, z) and
// spherical points (r, theta, phi), angles in degrees.
enum EVekCoordType : int {
    EVekCoordRectangular = 1,
    EVekCoordCylindrical = 2,
    EVekCoordSpherical = 3
};

// IVekCoord: a coordinate frame of the model as clients see it, handed out
// by IVekCoordStore::Get. The frame belongs to the model's store: clients
// never delete it (hence no public destructor).
class IVekCoord {
  public:
    // The frame's id (0 is the basic frame, never stored).
    virtual int GetId() = 0;

    // The frame's type; the stored value is passed on as it is.
    virtual EVekCoordType GetType() = 0;

    // Writes the origin A (3 doubles x y z, in the frame's reference frame,
    // not resolved to basic) into `origin`. 0; 1 when `origin` is null.
    virtual int GetOrigin(double* const origin) = 0;

    // Writes the unit direction of local axis `axis` (0 x, 1 y, 2 z) into
    // `dirn` (3 doubles), taken from the frame's own defining points without
    // resolving the reference frame; (0, 0, 0) for a frame that is not
    // rectangular. 0; 1 when `axis` is outside 0..2 or `dirn` is null
    // (nothing written).
    virtual int GetAxisDirection(int axis, double* const dirn) = 0;

    // The number of elements of the frame's model whose orientation comes
    // from a coordinate frame (orientation type 1) and names this frame.
    // 0 without a store, a model or an element store.
    virtual int GetNumElements() = 0;

    // Writes the ids of those elements in ascending order into `ids` (`n`
    // ints). 0 done; 1 when `n` differs from GetNumElements() or `ids` is
    // null while `n` is above 0; 2 without a store or model; 3 without an
    // element store. Nothing is written unless 0 is returned.
    virtual int GetElementIds(int n, int* ids) = 0;

  protected:
    ~IVekCoord() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKCOORD_H
