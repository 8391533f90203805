#ifndef PLYSTRAND_LAYUPLIB_IVEKPLYSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKPLYSTORE_H

#include "layuplib/IVekPly.h"

// IVekPlyStore: what outside clients see of the model's plies. The ply store
// derives from it first, so a store pointer is also the interface pointer.
// The store belongs to the model and owns its plies: clients never delete
// either. The operations keep this slot order.
class IVekPlyStore {
  public:
    // A new ply (id = highest ply id + 1, empty name) with a new pattern of
    // its own (id = highest pattern id + 1) in the model's pattern store.
    // Null without model or pattern store, when either highest id is
    // INT_MAX, or when memory runs out.
    virtual IVekPly* New() = 0;
    // Removes and deletes `ply` and then its pattern. 0; -1 for a null ply,
    // a ply of another store, no model, or a ply that a layup ply refers to
    // (error "Ply '<name>' referenced by layup and cannot be deleted.",
    // nothing deleted). Also -1, with the ply deleted, when another ply
    // still uses the pattern (warning "Pattern '<pattern>' referenced by ply
    // '<other>' and cannot be deleted.").
    virtual int Delete(IVekPly* ply) = 0;
    // Lets `newPly` take the place of `oldPly`: the layup plies of the old
    // ply are pointed at the new one, the old ply's events are copied to the
    // new one followed by one event of type 2, the old ply and its pattern
    // are deleted, the new ply takes `name` (when given, not empty), the old
    // ply's id and the old pattern's id, and the layup's element stacks are
    // rebuilt when any layup ply was re-pointed. 0; -1 when either ply is
    // null or not of this store, both are the same ply, there is no model,
    // or a step fails.
    virtual int Replace(IVekPly* oldPly, IVekPly* newPly, const char* name) = 0;
    // The number of plies.
    virtual int Count() = 0;
    // The first ply in id order whose name is exactly `name`; null when none
    // (or for a null name).
    virtual IVekPly* Get(const char* name) = 0;
    // The ply at `index` (0-based) in ascending id order; null outside
    // 0..Count()-1.
    virtual IVekPly* Get(int index) = 0;

  protected:
    ~IVekPlyStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKPLYSTORE_H
