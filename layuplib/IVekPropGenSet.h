#ifndef PLYSTRAND_LAYUPLIB_IVEKPROPGENSET_H
#define PLYSTRAND_LAYUPLIB_IVEKPROPGENSET_H

class IVekCoordStore;
class IVekFieldStore;
class IVekLamStore;
class IVekMaterialStore;
class IVekPropertySetStore;
class IVekSetStore;
class IVekSubLayupStore;

// Element codes and orientation kinds accepted by
// IVekPropGenSet::SetPropertyModeByCodeAndOrientation. Only the values named
// here are accepted; any other value is refused there.
enum EVekCode : int { eVekCode21 = 21, eVekCode22 = 22, eVekCode31 = 31 };
enum EVekOrientation : int { eVekOrientation1 = 1, eVekOrientation2 = 2, eVekOrientation3 = 3 };

// IVekPropGenSet: property generation as clients see it. A client clears
// the settings, fills them, runs the generation and then reads the generated
// laminates, frames, fields, materials, property sets, sets and sub-layups
// through the store getters. The model owns the object (ILayup::GetPropGenSet);
// clients never delete it. The operations keep this slot order; the
// destructor follows them.
//
// Angles are radians; the thickness tolerance is a percentage of the ply or
// laminate thickness (and, compared as a length, the distance tolerance of
// frame matching). Every setter returns 0 unless stated.
//
// Property modes (what each writes: CKpPropGenSet::Run and SaveLaminate):
//   0     laminate only, no material orientation
//   1     one frame built from the two vectors, axis number 3 or 2
//   2     frames matched or created per group, at the first ply's angle
//   3     the first ply's angle (degrees in the property words)
//   4     the orientation "Default", element angle 0
//   5     the projected vector (primary, else secondary)
//   6     one of two frames built from two coordinate axes
//   7     projection of global X (global Z where X is too steep)
//   8, 108      frames matched or created per element, as orientation frame
//   9     a per-element orientation field holding the first ply's angle
//   118   as 8, with equivalent materials made from the laminates
//   1108  as 8, the frame written as the coordinate system of the property
//   2004  the ANSYS element orientation, orientation "Default(ANSYS)"
//   13009 sub-layups and fields instead of laminates
class IVekPropGenSet {
  public:
    // Resets every setting to 0 (name and element ids emptied; the vector
    // directions are kept) and empties what earlier runs generated: the
    // model's laminates, coordinate frames, orientations, laminate
    // materials, property sets, fields and sub-layups (not the sets). 0.
    virtual int Clear() = 0;

    // Name prefix of everything generated; null stores "".
    virtual int SetName(const char* name) = 0;

    // Adds elements to process: `n` ids from `ids` (read), or every element
    // of the model for n = -1. Ids naming no element and ids already listed
    // are skipped; the list accumulates until Clear. Marks the results
    // stale. 0 (also for n = 0); 1 without model; -1 for n below -1 or a
    // null `ids` with n above 0, and when memory runs out ("Could not
    // allocate memory."), with an error message.
    virtual int SetElementIds(int n, const int* ids) = 0;

    // Six options copied unchanged into every generated property set
    // (6 ints, read; null changes nothing).
    virtual int SetPropertySetOptions(const int options[6]) = 0;

    // The property mode (table above), stored unchecked; Run refuses an
    // unsupported one.
    virtual int SetPropertyMode(int mode) = 0;

    // Sets the mode from an element code and an orientation kind: (21, 1)
    // 7, (21, 2) 6, (31, 1) 4, (31, 2) 6, (22, 3) 13009. Any other pair
    // returns 1 and leaves the mode as it was.
    virtual int SetPropertyModeByCodeAndOrientation(EVekCode code, EVekOrientation orientation) = 0;

    // Id of the first (which 0) or second (which 1) frame of modes 1 and 6.
    // Another `which` returns 1 and changes nothing.
    virtual int SetCoordId(int which, int id) = 0;

    // The primary (which 0) or secondary (which 1) vector or coordinate axis
    // (3 doubles x y z, basic frame, read; null changes nothing). Another
    // `which` returns 1 and changes nothing.
    virtual int SetVectorDirection(int which, const double v[3]) = 0;

    // Smallest angle (radians) between a vector and the element normal for
    // the vector to be projected onto the element.
    virtual int SetSwitchAngle(double angle) = 0;
    // Ply angle tolerance of laminate matching, radians.
    virtual int SetAngleTolerance(double angle) = 0;
    // Ply thickness and offset tolerance of laminate matching, percent.
    virtual int SetThicknessTolerance(double percent) = 0;

    // First ids of the generated frames, orientation field (suffix of its
    // name in mode 9), laminates and property sets; each following one
    // takes the next id.
    virtual int SetFirstCoordId(int id) = 0;
    virtual int SetFirstFieldId(int id) = 0;
    virtual int SetFirstLamId(int id) = 0;
    virtual int SetFirstPropId(int id) = 0;

    // Nonzero: each ply counts with its material's nominal thickness
    // instead of its draped thickness.
    virtual int SetIgnoreThickness(int flag) = 0;
    // Nonzero: generated layer angles and thicknesses are snapped to equally
    // spaced values.
    virtual int SetEquallySpacedVariables(int flag) = 0;
    // 1: the material state of each ply is part of a laminate's identity.
    virtual int SetShearCorrection(int flag) = 0;

    // Runs the generation over the listed elements (or, without a list, the
    // elements selected on the surface). 0 done (in mode 13009 the status of
    // sub-layup creation); 1 without model; 2 out of memory; 3 when the
    // listed elements cannot be selected; -1 when saving the laminates or
    // making the equivalent materials failed (the log says why).
    virtual int Run() = 0;

    // The model's stores holding the results; null while no model is set.
    // A store that does not exist yet is created by the model.
    virtual IVekLamStore* GetLamStore() = 0;
    virtual IVekCoordStore* GetCoordStore() = 0;
    virtual IVekFieldStore* GetFieldStore() = 0;
    virtual IVekMaterialStore* GetGeneratedMaterialStore() = 0;
    virtual IVekPropertySetStore* GetPropertySetStore() = 0;
    virtual IVekSetStore* GetSetStore() = 0;
    virtual IVekSubLayupStore* GetSubLayupStore() = 0;

    virtual ~IVekPropGenSet() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKPROPGENSET_H
