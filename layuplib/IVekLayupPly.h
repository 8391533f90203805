#ifndef PLYSTRAND_LAYUPLIB_IVEKLAYUPPLY_H
#define PLYSTRAND_LAYUPLIB_IVEKLAYUPPLY_H

#include "layuplib/IVekMaterial.h"

// IVekLayupPly: what outside clients see of one placement of a ply in the
// layup (a layup ply). CKpLypPly derives from it first. The layup ply belongs
// to the layup: clients never delete it. Texts stay valid until the layup
// ply or its ply changes; angles are radians; points and directions are in
// the basic frame, model length units.
class IVekLayupPly {
  public:
    // The free labels: ply group and sequence ("" when unset).
    virtual const char* GetPlyGroup() = 0;
    virtual const char* GetSequence() = 0;
    // The name: the ply name, followed by "_" and the instance number when
    // the instance is above 1 ("P1", "P1_2", ...); the default name "gl<id>"
    // when no ply is linked.
    virtual const char* GetName() = 0;
    // The ply type (from the linked ply, else the copy made when linking).
    virtual EVekMaterialType GetType() = 0;
    // The ply's name; "" without ply.
    virtual const char* GetPlyName() = 0;
    // Instance number: 1 for the first placement of the ply, 2 for the
    // second, ...
    virtual int GetInstance() = 0;
    // Side of the reference surface on which the ply is stacked: +1 or -1.
    virtual int GetSide() = 0;
    // Angle offset added to the fibre angles, radians.
    virtual double GetAngleOffset() = 0;
    // Thickness used instead of the element's when above 0.
    virtual double GetThicknessOverride() = 0;
    virtual int GetGlobalPlyID() = 0;
    // Number of elements of the ply (its pattern elements); 0 without ply.
    virtual int GetNumElements() = 0;

    // Where this layup ply lies on each element of its ply. `n` must equal
    // GetNumElements() (else 1); n below 1 gives 2; 3 without ply; 4 without
    // model. Position i is the ply's i-th element (pattern element order);
    // elements that do not exist, or whose stack does not hold this layup
    // ply, are skipped. For each such element (offsets along its normal from
    // its ply stack: bottom, middle and top of this layup ply; lower/upper
    // are top/bottom when the entry's GetElemDnfg is negative, else
    // bottom/top), every array that is not null receives:
    //   vertexCounts[i]       its corner count (3 or 4);
    //   lowerPoints, middlePoints, upperPoints
    //                         its corners moved to the lower, middle and
    //                         upper surface, 3 doubles per corner, packed
    //                         one element after the other (skipped
    //                         elements take no room: 12 n doubles always
    //                         suffice);
    //   midpoints[3i..]       its midpoint on the middle surface;
    //   warpDirections[3i..], weftDirections[3i..]
    //                         the in-plane unit directions at the pattern
    //                         element's warp and weft angles;
    //   sizes[i]              half the square root of its area.
    // Positions of skipped elements are left untouched. 0.
    virtual int GetThicksOrients(int n, int* vertexCounts, double* lowerPoints,
                                 double* middlePoints, double* upperPoints, double* midpoints,
                                 double* warpDirections, double* weftDirections, double* sizes) = 0;

  protected:
    ~IVekLayupPly() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKLAYUPPLY_H
