#ifndef PLYSTRAND_LAYUPLIB_CKPORIENTSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPORIENTSTORE_H

#include "layuplib/CKpOrient.h"
#include "layuplib/CVekObjectStore.h"
#include "layuplib/IVekOrientationStore.h"

class CKpLayup;

// CKpOrientStore: the model's orientation definitions by id. It derives from
// its interface first, so the store pointer is the interface pointer. The
// store owns its definitions and keeps a pointer back to the model, through
// which a definition reaches the elements and coordinate frames.
class CKpOrientStore : public IVekOrientationStore, public CVekObjectStore<CKpOrient> {
  public:
    // An empty store of capacity 64 belonging to `layup` (may be null).
    explicit CKpOrientStore(CKpLayup* layup);
    // Deletes every definition.
    ~CKpOrientStore() override;

    CKpOrientStore(const CKpOrientStore&) = delete;
    CKpOrientStore& operator=(const CKpOrientStore&) = delete;

    // The owning model (null when none).
    CKpLayup* GetLayup() const { return m_layup; }
    void SetLayup(CKpLayup* layup) { m_layup = layup; }

    // Makes this store the owner of `orient` and inserts it; the store then
    // deletes it. Null is ignored.
    void insert(CKpOrient* orient);

    // Clears the orientation link of every element of the model (pointer
    // null, id 0, theta 0), then deletes every orientation definition and
    // every coordinate frame of the model. 1 without model, 2 without
    // element store, 3 without coordinate frame store, 4 when clearing the
    // element links fails (nothing is deleted then), else 0.
    int Clear();

  private:
    CKpLayup* m_layup;  // held, not owned
};

#endif  // PLYSTRAND_LAYUPLIB_CKPORIENTSTORE_H
