#ifndef PLYSTRAND_LAYUPLIB_IVEKPLYLAYUP_H
#define PLYSTRAND_LAYUPLIB_IVEKPLYLAYUP_H

#include "layuplib/IVekLayupPlyStore.h"

// IVekPlyLayup: what outside clients see of the model's layup, the ordered
// stack of plies. CKpLyp derives from it. The layup belongs to the model:
// clients never delete it. Angles are radians.
//
// Placing a ply (Create) makes a layup ply and pushes one entry onto the ply
// stack of every element the ply covers; element stacks run bottom first.
class IVekPlyLayup {
  public:
    // Empties the layup: name "", id 0, every layup ply deleted, every
    // element stack emptied and side flag 0, every ply's instance count 0.
    // 0; 1 without model; 2 when the stores cannot be reached.
    virtual int Clear() = 0;
    // The layup name ("" when unset).
    virtual const char* GetName() = 0;
    // Stores the name (null: ""). 0.
    virtual int SetName(const char* name) = 0;

    // Builds the layup from n entries (the layup plies made so far stay):
    // entry i places the ply named plyNames[i] counts[i] times, with ply
    // group plyGroups[i] and sequence sequences[i] (either array may be
    // null: no labels), ply type types[i] (EVekMaterialType; a painted type
    // places with angle offset 0), side sides[i] (+1 or -1), angle offset
    // angleOffsets[i], thickness override thicknessOverrides[i] and global
    // ply id globalPlyIds[i] (n entries each, read). The layup id becomes 1.
    // Each failed placement is logged with the warning "Error adding ply
    // <ply> to layup <layup>." and the rest go on; at the end the
    // information "Layup '<name>' created". 0 (also when placements
    // failed); 1 without model; -1 with an error for n below 0 or a null
    // array (other than the labels) when n is above 0 (nothing placed).
    virtual int Create(int n, const char* const* plyGroups, const char* const* sequences,
                       const int* types, const char* const* plyNames, const int* counts,
                       const int* sides, const double* angleOffsets,
                       const double* thicknessOverrides, const int* globalPlyIds) = 0;

    // The layup plies.
    virtual IVekLayupPlyStore* GetLayupPlyStore() = 0;
    // The number of layup plies.
    virtual int GetNumLayupPlyIDs() = 0;

    // Per layup ply, in id order, into position i of each array that is not
    // null: ids[i] its id; names[i] (a buffer of `size` bytes) its name
    // (IVekLayupPly::GetName), at most size - 1 characters and terminated;
    // materialNames[i] (`size` bytes) the external name of the first state
    // listed by its ply's material ("" when the material lists no state);
    // thicknesses[i] the material's nominal thickness. The material name and
    // thickness are left untouched when the layup ply has no ply or the ply
    // no material. With size below 1 no text is written. `n` must equal
    // GetNumLayupPlyIDs(): else 1. 0.
    virtual int GetLayupPlyIDsNamesThicks(int n, int* ids, char** names, char** materialNames,
                                          int size, double* thicknesses) = 0;

    // The elements that carry layup ply `layupPlyId`: for each element in
    // ascending id order, the first entry of its stack that belongs to that
    // layup ply gives the element id, its position in the stack (1 at the
    // bottom; with `fromTop` non-zero 1 at the top) and its direction (the
    // ply's start-direction flag times the entry's direction flag, +1 or
    // -1). `count` receives the number of such elements (0 when the model
    // has none); the arrays (room for `size` ints each, written; any may be
    // null) receive the first min(count, size) of them. 0; 1 without model;
    // 2 without element store.
    virtual int GetLayupPlyLayers(int fromTop, int layupPlyId, int size, int& count, int* elemIds,
                                  int* positions, int* directions) = 0;

  protected:
    ~IVekPlyLayup() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKPLYLAYUP_H
