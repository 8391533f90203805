#ifndef PLYSTRAND_LAYUPLIB_CKPID_H
#define PLYSTRAND_LAYUPLIB_CKPID_H

#include "layuplib/CVekObject.h"

// CKpId: an entry that carries nothing but its id; a store of them is a
// sorted set of integers (element ids of a set or a generation run).
class CKpId : public CVekObject {
  public:
    explicit CKpId(int id) : CVekObject(id) {}
    ~CKpId() override;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPID_H
