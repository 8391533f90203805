#ifndef PLYSTRAND_LAYUPLIB_IVEKSUBLAYUPSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKSUBLAYUPSTORE_H

// IVekSubLayupStore: what outside clients see of the model's sub-layups. The sub-layup store
// derives from it first, so a store pointer is also the interface pointer.
class IVekSubLayupStore {
  public:
    virtual ~IVekSubLayupStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKSUBLAYUPSTORE_H
