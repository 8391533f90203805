#ifndef PLYSTRAND_LAYUPLIB_CKPREF_H
#define PLYSTRAND_LAYUPLIB_CKPREF_H

#include "layuplib/CVekObject.h"
#include "layuplib/CVekObjectStore.h"

// CKpRef: the elements that reference one node. Its id is the node id; it
// holds one plain CVekObject per element, keyed by the element id (capacity
// 64), and owns them.
class CKpRef : public CVekObject {
  public:
    // A record for node `id` with no elements.
    explicit CKpRef(int id);
    // Erases and deletes the held objects.
    ~CKpRef() override;
    CKpRef(const CKpRef&) = delete;
    CKpRef& operator=(const CKpRef&) = delete;

    // The element ids; objects inserted into it are owned by the record.
    CVekObjectStore<CVekObject>& GetElems() { return elems; }

  private:
    CVekObjectStore<CVekObject> elems;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPREF_H
