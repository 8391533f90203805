#ifndef PLYSTRAND_LAYUPLIB_IVEKMATERIALSTATESTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKMATERIALSTATESTORE_H

// IVekMaterialStateStore: the states of one material (the base state and those added for larger
// shear strains) as outside clients see them.
class IVekMaterialStateStore {
  public:
    virtual ~IVekMaterialStateStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKMATERIALSTATESTORE_H
