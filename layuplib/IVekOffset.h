#ifndef PLYSTRAND_LAYUPLIB_IVEKOFFSET_H
#define PLYSTRAND_LAYUPLIB_IVEKOFFSET_H

// IVekOffset: what outside clients see of one offset definition. CKpOff derives from it first.
class IVekOffset {
  public:
    virtual ~IVekOffset() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKOFFSET_H
