#ifndef PLYSTRAND_LAYUPLIB_IVEKEVENTSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKEVENTSTORE_H

// IVekEventStore: what outside clients see of the events recorded on a ply.
class IVekEventStore {
  public:
    virtual ~IVekEventStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKEVENTSTORE_H
