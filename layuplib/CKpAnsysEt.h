#ifndef PLYSTRAND_LAYUPLIB_CKPANSYSET_H
#define PLYSTRAND_LAYUPLIB_CKPANSYSET_H

#include "layuplib/CKpAnsysKeyoptStore.h"
#include "layuplib/CVekObject.h"

// CKpAnsysEt: one ANSYS element type definition of the mesh: the element
// type number (the ANSYS element kind, such as 181 for the layered shell)
// under the element type id (the CVekObject id), with its key options. Kept
// so that a mesh read from a CDB file can be saved in the layup file and
// written back.
class CKpAnsysEt : public CVekObject {
  public:
    // Element type `id` of kind `value`, without key options.
    CKpAnsysEt(int id, int value);

    // Copies id and value and, deeply, the key options: the copy can be
    // changed without touching the original.
    CKpAnsysEt(const CKpAnsysEt& other);
    CKpAnsysEt& operator=(const CKpAnsysEt&) = delete;

    // Deletes the key options.
    ~CKpAnsysEt() override;

    // The element type number.
    int Val() const { return m_value; }

    // The key options, owned by the element type.
    CKpAnsysKeyoptStore* pKeyopts() { return &m_keyopts; }

    // Gives key option `number` (any number) the value `value`, inserting it
    // when absent. An allocation failure changes nothing.
    void SetKeyopt(int number, int value);

    // The value of key option `number`; -1 when it is absent.
    int GetKeyopt(int number);

  private:
    int m_value;
    CKpAnsysKeyoptStore m_keyopts;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPANSYSET_H
