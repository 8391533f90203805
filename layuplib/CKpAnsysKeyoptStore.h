#ifndef PLYSTRAND_LAYUPLIB_CKPANSYSKEYOPTSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPANSYSKEYOPTSTORE_H

#include "layuplib/CKpAnsysKeyopt.h"
#include "layuplib/CVekObjectStore.h"

// CKpAnsysKeyoptStore: the key options of one ANSYS element type, by KEYOPT
// number. Owns its key options.
class CKpAnsysKeyoptStore : public CVekObjectStore<CKpAnsysKeyopt> {
  public:
    // An empty store of capacity 64.
    CKpAnsysKeyoptStore();

    // A deep copy: a new CKpAnsysKeyopt for each key option of `other`, in
    // number order. A key option that cannot be allocated is left out.
    CKpAnsysKeyoptStore(const CKpAnsysKeyoptStore& other);
    CKpAnsysKeyoptStore& operator=(const CKpAnsysKeyoptStore&) = delete;

    // Deletes every key option.
    ~CKpAnsysKeyoptStore() override;

    // The value of key option `number`; -1 when it is absent.
    int GetKeyoptVal(int number);

    // Gives key option `number` the value `value`, inserting it when absent.
    // Numbers below 1 are ignored.
    // An allocation failure leaves the store unchanged.
    void SetKeyoptVal(int number, int value);

  private:
    // The element type sets key options of any number through Put.
    friend class CKpAnsysEt;

    // Sets or inserts key option `number` (any number) with `value`. An
    // allocation failure leaves the store unchanged.
    void Put(int number, int value);

    // Puts a copy of the key option `obj` (null is ignored).
    void copyFrom(const CVekObject* obj);
};

#endif  // PLYSTRAND_LAYUPLIB_CKPANSYSKEYOPTSTORE_H
