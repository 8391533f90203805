#ifndef PLYSTRAND_LAYUPLIB_IVEKOFFSETSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKOFFSETSTORE_H

// IVekOffsetStore: what outside clients see of the model's offset definitions. The offset store
// derives from it first, so a store pointer is also the interface pointer.
class IVekOffsetStore {
  public:
    virtual ~IVekOffsetStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKOFFSETSTORE_H
