#ifndef PLYSTRAND_LAYUPLIB_IVEKSET_H
#define PLYSTRAND_LAYUPLIB_IVEKSET_H

// IVekSet: what outside clients see of one named set of ids (the elements of
// a patch or a region). CKpSet derives from it first. The set belongs to the
// model's set store: clients never delete it.
class IVekSet {
  public:
    // The name ("" when unset). Valid until the name changes.
    virtual const char* GetName() = 0;

    // The number of ids held (an id added twice counts twice).
    virtual int GetNumIds() = 0;

    // The ids in ascending order into `ids` (n ints, written). 0; 1 when n
    // differs from GetNumIds or `ids` is null with n > 0 (nothing written).
    virtual int GetIds(int n, int* ids) = 0;

    // Stores a copy of `name` (null stores ""). 0.
    virtual int SetName(const char* name) = 0;

  protected:
    ~IVekSet() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKSET_H
