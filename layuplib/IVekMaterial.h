#ifndef PLYSTRAND_LAYUPLIB_IVEKMATERIAL_H
#define PLYSTRAND_LAYUPLIB_IVEKMATERIAL_H

// IVekMaterial: what outside clients see of one material. CKpMat derives from it first.
class IVekMaterial {
  public:
    virtual ~IVekMaterial() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKMATERIAL_H
