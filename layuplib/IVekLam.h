#ifndef PLYSTRAND_LAYUPLIB_IVEKLAM_H
#define PLYSTRAND_LAYUPLIB_IVEKLAM_H

class IVekLamLayerStore;

// IVekLam: what outside clients see of one laminate. CKpLam derives from it
// first. The laminate belongs to the model's laminate store: clients never
// delete it.
//
// The offset z is the position of the bottom of the stack relative to the
// reference surface (model length units): the stored offset when one was
// given, else minus half the total thickness (the stack centred).
class IVekLam {
  public:
    // The name; "" when unset. Valid until the name changes.
    virtual const char* GetName() = 0;

    // The offset z (see above).
    virtual double GetOffset() = 0;

    // The offset as a fraction of the thickness measured from the mid-plane:
    // -z / t - 0.5 (t the total thickness). 0.0 when the laminate has no
    // layers, when t is 0 and when no offset is given.
    virtual double GetOffsetAbaqus() = 0;

    // The number of elements of the model whose property id equals the
    // laminate id; 0 without store, model or element store.
    virtual int GetNumElements() = 0;

    // Writes the ids of those elements in ascending order into `ids` (`n`
    // ints). 0 done; 1 when `n` differs from GetNumElements() or `ids` is
    // null while `n` is above 0; 2 without store or model; 3 without element
    // store. Nothing is written unless 0 is returned.
    virtual int GetElementIds(int n, int* ids) = 0;

    // The layers, bottom first; owned by the laminate.
    virtual IVekLamLayerStore* GetLamLayerStore() = 0;

    // Renames the laminate. -1 (old name kept) when the laminate lies in a
    // store and a laminate of that store, this one included, already bears
    // exactly this name (case-sensitive); else 0. Null is taken as "".
    virtual int SetName(const char* name) = 0;

    // Stores `z` as the given offset (the offset is then "given"). 0.
    virtual int SetOffset(double z) = 0;

    // Gives every element named in `ids` (`n` ints, read) the laminate id as
    // its property id; ids naming no element are skipped. 0 (also for n < 1);
    // 1 for a null `ids`; 2 without store or model; 3 without element store.
    virtual int SetElementIds(int n, const int* ids) = 0;

    virtual ~IVekLam() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKLAM_H
