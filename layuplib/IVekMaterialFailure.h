#ifndef PLYSTRAND_LAYUPLIB_IVEKMATERIALFAILURE_H
#define PLYSTRAND_LAYUPLIB_IVEKMATERIALFAILURE_H

// IVekMaterialFailure: the failure allowables of a material state as outside clients see them.
class IVekMaterialFailure {
  public:
    virtual ~IVekMaterialFailure() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKMATERIALFAILURE_H
