#ifndef PLYSTRAND_LAYUPLIB_IVEKORIENTATIONSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKORIENTATIONSTORE_H

// IVekOrientationStore: what outside clients see of the model's orientation
// definitions. The orientation store derives from it first, so a store
// pointer is also the interface pointer. The store belongs to the model:
// clients never delete it. The operations keep this slot order.
class IVekOrientationStore {
  public:
    // Gives elements their own orientation angles. A new field named "Theta"
    // (id = highest field id + 1, type 1, no values) goes into the model's
    // field store, and a new orientation "Theta" of type 2 (id = highest
    // orientation id + 1) referring to that field goes into this store. Then
    // for each i the element with id elemIds[i] is linked to the new
    // orientation and its theta set to angles[i] (radians, from the element's
    // reference direction about its normal). `elemIds` and `angles`: n
    // entries each, read. Ids naming no element are skipped.
    //   0  done (also for n < 1: the field and orientation are still made);
    //   1  without model;
    //  -1  a null array with n > 0, or an angle that is not finite (error
    //      message, nothing created), a highest field or orientation id of
    //      INT_MAX (nothing created), or memory running out (what was
    //      created before stays).
    virtual int SetOrientationAngles(int n, const int* elemIds, const double* angles) = 0;

  protected:
    ~IVekOrientationStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKORIENTATIONSTORE_H
