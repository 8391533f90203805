#ifndef PLYSTRAND_LAYUPLIB_IVEKMATERIALSTATESTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKMATERIALSTATESTORE_H

#include "layuplib/IVekMaterialState.h"

// IVekMaterialStateStore: the states of one material as outside clients see
// them: the base state (index 0, key 0.0) and the further states added for
// larger shear strains, in the order they were added. Clients never delete
// the store or a state.
class IVekMaterialStateStore {
  public:
    // Deletes every further state; the base state stays. 0.
    virtual int Clear() = 0;

    // The state for the shear strain `strain` (radians):
    //   exactly 0.0: the base state (nothing is added);
    //   a key some state already holds exactly: null (nothing is added);
    //   otherwise a new state with every default, key `strain` and state id
    //   = the largest state id of the further states + 1, appended at the
    //   end. Null as well for a non-finite strain or when memory runs out.
    virtual IVekMaterialState* Add(double strain) = 0;

    // Number of states, the base state included (further states + 1).
    virtual int Count() = 0;

    // State `index`: 0 the base state, i >= 1 the i-th further state in the
    // order they were added; null for a negative index or past the last.
    virtual IVekMaterialState* Get(int index) = 0;

  protected:
    ~IVekMaterialStateStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKMATERIALSTATESTORE_H
