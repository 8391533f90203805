#ifndef PLYSTRAND_LAYUPLIB_IVEKSUBLAYUPPLYSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKSUBLAYUPPLYSTORE_H

// IVekSubLayupPlyStore: what outside clients see of the plies of one sub-layup.
class IVekSubLayupPlyStore {
  public:
    virtual ~IVekSubLayupPlyStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKSUBLAYUPPLYSTORE_H
