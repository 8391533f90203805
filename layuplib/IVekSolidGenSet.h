#ifndef PLYSTRAND_LAYUPLIB_IVEKSOLIDGENSET_H
#define PLYSTRAND_LAYUPLIB_IVEKSOLIDGENSET_H

// IVekSolidGenSet: solid generation as clients see it: clear, set each
// option, run, then read the generated solid mesh or export it. The model
// owns the object.
class IVekSolidGenSet {
  public:
    // Resets every setting to its default and empties the generated
    // objects (see CKpSolidGenSet::Clear). 0.
    virtual int Clear() = 0;

    virtual ~IVekSolidGenSet() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKSOLIDGENSET_H
