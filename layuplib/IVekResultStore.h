#ifndef PLYSTRAND_LAYUPLIB_IVEKRESULTSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKRESULTSTORE_H

// IVekResultStore: the model's layered element results as clients see them.
// The model owns the store and hands it out through
// ILayup::GetResultStore.
class IVekResultStore {
  public:
    virtual ~IVekResultStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKRESULTSTORE_H
