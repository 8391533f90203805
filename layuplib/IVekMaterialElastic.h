#ifndef PLYSTRAND_LAYUPLIB_IVEKMATERIALELASTIC_H
#define PLYSTRAND_LAYUPLIB_IVEKMATERIALELASTIC_H

// IVekMaterialElastic: the elastic constants of a material state as outside clients see them.
// IVekMaterialState derives from it first.
class IVekMaterialElastic {
  public:
    virtual ~IVekMaterialElastic() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKMATERIALELASTIC_H
