#ifndef PLYSTRAND_LAYUPLIB_CKPFIELDVALSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPFIELDVALSTORE_H

#include "layuplib/CKpFieldVal.h"
#include "layuplib/CVekObjectStore.h"

class CKpField;

// CKpFieldValStore: the per-element value records of one field, by element
// id. The store owns its records; it belongs to its field, whose cached
// constant-value check it marks stale whenever a record is inserted.
class CKpFieldValStore : public CVekObjectStore<CKpFieldVal> {
  public:
    // An empty store of capacity 64 belonging to `field` (may be null).
    explicit CKpFieldValStore(CKpField* field);
    // Deletes every record.
    ~CKpFieldValStore() override;

    CKpFieldValStore(const CKpFieldValStore&) = delete;
    CKpFieldValStore& operator=(const CKpFieldValStore&) = delete;

    // The owning field.
    CKpField* GetField() const { return m_field; }

    // Makes this store the owner of `val`, inserts it (the store then
    // deletes it) and marks the field's constant-value check stale. Null is
    // ignored. The caller keeps element ids unique (look the id up first).
    // 0 when stored; -1 for null or when the store cannot grow.
    int insert(CKpFieldVal* val);

    // The largest value count among the records; 0 when empty.
    int GetMaxNumVals();

    // Sets the owning field's constant-check flag (0 = stale); nothing
    // without a field.
    void SetIsConstantValValid(int valid);

  private:
    CKpField* m_field;  // owner of this store
};

#endif  // PLYSTRAND_LAYUPLIB_CKPFIELDVALSTORE_H
