#ifndef PLYSTRAND_LAYUPLIB_IVEKOFFSETSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKOFFSETSTORE_H

#include "layuplib/IVekOffset.h"

// IVekOffsetStore: what outside clients see of the model's offset
// definitions. The offset store derives from it first, so a store pointer is
// also the interface pointer. The store belongs to the model.
class IVekOffsetStore {
  public:
    // Deletes every definition, then sets every element's offset flag and
    // value to 0 (elements no definition touched included). 0; 1 without
    // model; 2 without element store; 3 when the element table holds an
    // empty entry.
    virtual int Clear() = 0;
    // A new definition with id = highest id + 1, all values 0, empty name
    // and element list, owned by the store; null when it cannot be made.
    virtual IVekOffset* New() = 0;
    // Removes and deletes a definition of this store. 0; -1 for null or a
    // definition this store does not hold (nothing deleted).
    virtual int Delete(IVekOffset* offset) = 0;
    // The number of definitions.
    virtual int Count() = 0;
    // The first definition in ascending id whose name equals `name` exactly;
    // null when none or for a null name.
    virtual IVekOffset* Get(const char* name) = 0;
    // The definition at `index` (0-based) in ascending id order; null
    // outside 0 .. Count() - 1.
    virtual IVekOffset* Get(int index) = 0;

  protected:
    ~IVekOffsetStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKOFFSETSTORE_H
