#ifndef PLYSTRAND_HOST_LAYUPSLOT_H
#define PLYSTRAND_HOST_LAYUPSLOT_H

// The exported functions reach the slot's model as the class they work on.

#include "host/LayupApi.h"
#include "layuplib/CKpLayup.h"

// The model in the exported interface's slot; null when the slot is empty.
inline CKpLayup* slotLayup() {
    return static_cast<CKpLayup*>(LayupSlotModel());
}

#endif  // PLYSTRAND_HOST_LAYUPSLOT_H
