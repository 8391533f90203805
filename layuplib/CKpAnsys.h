#ifndef PLYSTRAND_LAYUPLIB_CKPANSYS_H
#define PLYSTRAND_LAYUPLIB_CKPANSYS_H

#include <memory>

#include "layuplib/CKpAnsysEtStore.h"

// CKpAnsys: the ANSYS element type definitions of the model (embedded in
// the model object). They come from a CDB file or from the layup file
// (records 009 and 010) and live as long as the model: emptying the model
// keeps them.
class CKpAnsys {
  public:
    // An empty element type store of capacity 64.
    CKpAnsys();

    // Deletes every element type (with its key options), then the store.
    ~CKpAnsys();

    CKpAnsys(const CKpAnsys&) = delete;
    CKpAnsys& operator=(const CKpAnsys&) = delete;

    // The element types, owned by this object.
    CKpAnsysEtStore* pEts() { return m_ets.get(); }

  private:
    std::unique_ptr<CKpAnsysEtStore> m_ets;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPANSYS_H
