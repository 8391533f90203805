#ifndef PLYSTRAND_LAYUPLIB_CKPCURVESTORE_H
#define PLYSTRAND_LAYUPLIB_CKPCURVESTORE_H

#include "layuplib/CKpCurve.h"
#include "layuplib/CVekObjectStore.h"

// CKpCurveStore: the model's curves by id. Owns its curves.
class CKpCurveStore : public CVekObjectStore<CKpCurve> {
  public:
    // An empty store of capacity 64.
    CKpCurveStore();

    // Deletes every curve.
    ~CKpCurveStore() override;

    CKpCurveStore(const CKpCurveStore&) = delete;
    CKpCurveStore& operator=(const CKpCurveStore&) = delete;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPCURVESTORE_H
