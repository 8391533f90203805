#ifndef PLYSTRAND_LAYUPLIB_IVEKLAMLAYERSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKLAMLAYERSTORE_H

// IVekLamLayerStore: what outside clients see of the layer list of a laminate.
class IVekLamLayerStore {
  public:
    virtual ~IVekLamLayerStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKLAMLAYERSTORE_H
