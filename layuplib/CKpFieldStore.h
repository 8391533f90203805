#ifndef PLYSTRAND_LAYUPLIB_CKPFIELDSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPFIELDSTORE_H

#include "layuplib/CKpField.h"
#include "layuplib/CVekObjectStore.h"
#include "layuplib/IVekFieldStore.h"

class CKpLayup;

// CKpFieldStore: the model's fields by id. It derives from its interface
// first, so the store pointer is the interface pointer. It owns its fields
// and keeps a pointer back to the model.
class CKpFieldStore : public IVekFieldStore, public CVekObjectStore<CKpField> {
  public:
    // An empty store of capacity 64 belonging to `layup` (may be null).
    explicit CKpFieldStore(CKpLayup* layup);
    // Deletes every field.
    ~CKpFieldStore() override;

    CKpFieldStore(const CKpFieldStore&) = delete;
    CKpFieldStore& operator=(const CKpFieldStore&) = delete;

    // ---- IVekFieldStore (see there) ----
    int Count() override { return entries(); }
    CKpField* Get(int index) override { return (*this)[index]; }

    // The owning model (null when none).
    CKpLayup* GetLayup() const { return m_layup; }
    void SetLayup(CKpLayup* layup) { m_layup = layup; }

    // Makes this store the owner of `field` and inserts it; the store then
    // deletes it. Null is ignored. When the store cannot grow the field
    // stays with the caller (entries() does not change).
    // 0 when stored; -1 for null or when the store cannot grow.
    int insert(CKpField* field);

    // The first field in ascending id order whose name equals `name`
    // exactly (case-sensitive); null when none, and for a null name.
    CKpField* findByName(const char* name);

  private:
    CKpLayup* m_layup;  // held, not owned
};

#endif  // PLYSTRAND_LAYUPLIB_CKPFIELDSTORE_H
