#ifndef PLYSTRAND_LAYUPLIB_CKPOFFSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPOFFSTORE_H

#include "layuplib/CKpOff.h"
#include "layuplib/CVekObjectStore.h"
#include "layuplib/IVekOffsetStore.h"

class CKpLayup;

// CKpOffStore: the model's offset definitions by id. It derives from its
// interface first, so the store pointer is the interface pointer. It owns
// its definitions and keeps a pointer back to the model, through which a
// definition reaches the elements and the faceted surface. The operations
// of IVekOffsetStore are documented there.
class CKpOffStore : public IVekOffsetStore, public CVekObjectStore<CKpOff> {
  public:
    // An empty store of capacity 64 belonging to `layup` (may be null).
    explicit CKpOffStore(CKpLayup* layup);
    // Deletes every definition.
    ~CKpOffStore() override;

    CKpOffStore(const CKpOffStore&) = delete;
    CKpOffStore& operator=(const CKpOffStore&) = delete;

    // The owning model (null when none).
    CKpLayup* GetLayup() const { return m_layup; }
    void SetLayup(CKpLayup* layup) { m_layup = layup; }

    // Makes this store the owner of `off` and inserts it; the store then
    // deletes it. Null is ignored. When the store cannot grow the
    // definition stays with the caller (its store pointer left null).
    // 0 when stored; -1 for null or when the store cannot grow.
    int insert(CKpOff* off);

    // Applies every definition in ascending id (CKpOff::Apply) and stops at
    // the first that fails: 1; else 0 (also for an empty store). The
    // definitions applied before the failing one keep their effect.
    int Apply();

    // The first definition in ascending id whose name is exactly `name`;
    // null when none or for a null name.
    CKpOff* findByName(const char* name);

    // Removes and deletes `off`. 0; -1 for null or a definition this store
    // does not hold.
    int Delete(CKpOff* off);

    // ---- IVekOffsetStore, in slot order
    int Clear() override;
    IVekOffset* New() override;
    int Delete(IVekOffset* offset) override;
    int Count() override;
    IVekOffset* Get(const char* name) override;
    IVekOffset* Get(int index) override;

  private:
    CKpLayup* m_layup;  // held, not owned
};

#endif  // PLYSTRAND_LAYUPLIB_CKPOFFSTORE_H
