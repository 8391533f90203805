#ifndef PLYSTRAND_LAYUPLIB_CKPGPLY_H
#define PLYSTRAND_LAYUPLIB_CKPGPLY_H

#include "layuplib/CKpGplyElemStore.h"
#include "layuplib/CKpStr.h"
#include "layuplib/CVekObject.h"

// CKpGply: one global ply while a layup is rebuilt from laminates
// (CreateLayupLaminate): the elements whose laminates carry a layer of this
// global ply id, the material of those layers and the number of connected
// pieces the elements form. It lives in a CKpGplyStore local to one run.
class CKpGply : public CVekObject {
  public:
    // Global ply `id`: empty name, no elements, material 0, 0 pieces.
    explicit CKpGply(int id);
    // Deletes the element entries.
    ~CKpGply() override;

    CKpGply(const CKpGply&) = delete;
    CKpGply& operator=(const CKpGply&) = delete;

    // Name of the ply built for the piece handled last ("" until then).
    const char* name() const { return m_name; }
    void setName(const char* name) { m_name = name ? name : ""; }

    // One entry per element, by element id (owned).
    CKpGplyElemStore& Elems() { return m_elems; }

    // Material id; 0 until the first layer sets it.
    int mid() const { return m_mid; }
    void setMid(int mid) { m_mid = mid; }

    // Number of connected pieces.
    int pieces() const { return m_pieces; }
    void setPieces(int n) { m_pieces = n; }

  private:
    CKpStr m_name;
    CKpGplyElemStore m_elems;
    int m_mid;
    int m_pieces;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPGPLY_H
