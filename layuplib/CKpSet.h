#ifndef PLYSTRAND_LAYUPLIB_CKPSET_H
#define PLYSTRAND_LAYUPLIB_CKPSET_H

#include "layuplib/CKpIdStore.h"
#include "layuplib/CKpStr.h"
#include "layuplib/CVekObject.h"
#include "layuplib/IVekSet.h"

// CKpSet: a named set of ids (the elements of a patch or a region), kept as
// a plain sorted list. The set store owns the set.
class CKpSet : public IVekSet, public CVekObject {
  public:
    // An empty set with the given id and an empty name.
    explicit CKpSet(int id);
    // Deletes the id entries.
    ~CKpSet() override;

    CKpSet(const CKpSet&) = delete;
    CKpSet& operator=(const CKpSet&) = delete;

    // The name ("" when unset).
    const char* name() const { return m_name; }
    void setName(const char* name) { m_name = name ? name : ""; }

    // The ids, ascending.
    CKpIdStore& Ids() { return m_ids; }

  private:
    CKpStr m_name;
    CKpIdStore m_ids;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPSET_H
