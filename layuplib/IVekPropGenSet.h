#ifndef PLYSTRAND_LAYUPLIB_IVEKPROPGENSET_H
#define PLYSTRAND_LAYUPLIB_IVEKPROPGENSET_H

// IVekPropGenSet: what outside clients see of the property generation settings: they fill the
// settings, run the generation and read the generated stores.
class IVekPropGenSet {
  public:
    virtual ~IVekPropGenSet() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKPROPGENSET_H
