#ifndef PLYSTRAND_TESTS_SUPPORT_REFUSINGSTORE_H
#define PLYSTRAND_TESTS_SUPPORT_REFUSINGSTORE_H

#include "layuplib/CVekObject.h"

// An object store of type `Store` that takes nothing, as a store whose arrays
// cannot grow: every insertion returns -1 and leaves the object with the
// caller. `refused` counts the attempts, so a test sees that the code under
// test did try to store. Whether the caller then frees the object is what
// LeakSanitizer checks in the sanitizer run.
template <class Store>
class RefusingStore : public Store {
  public:
    using Store::insert;
    using Store::Store;
    int refused = 0;

  protected:
    int insert(CVekObject*) override {
        ++refused;
        return -1;
    }
};

#endif  // PLYSTRAND_TESTS_SUPPORT_REFUSINGSTORE_H
