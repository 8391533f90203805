#ifndef PLYSTRAND_LAYUPLIB_IVEKFIELD_H
#define PLYSTRAND_LAYUPLIB_IVEKFIELD_H

// IVekField: what outside clients see of a named set of per-element values (a thickness, a
// rotation, two in-plane directions per element). CKpField derives from it first.
class IVekField {
  public:
    virtual ~IVekField() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKFIELD_H
