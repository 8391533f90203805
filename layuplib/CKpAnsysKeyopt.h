#ifndef PLYSTRAND_LAYUPLIB_CKPANSYSKEYOPT_H
#define PLYSTRAND_LAYUPLIB_CKPANSYSKEYOPT_H

#include "layuplib/CVekObject.h"

// CKpAnsysKeyopt: one key option (KEYOPT) of an ANSYS element type. Its
// CVekObject id is the KEYOPT number.
class CKpAnsysKeyopt : public CVekObject {
  public:
    // Key option `number` with `value`.
    CKpAnsysKeyopt(int number, int value);
    // Copies number and value.
    CKpAnsysKeyopt(const CKpAnsysKeyopt& other);
    CKpAnsysKeyopt& operator=(const CKpAnsysKeyopt&) = default;
    ~CKpAnsysKeyopt() override;

    int Val() const { return m_value; }
    void SetVal(int value) { m_value = value; }

  private:
    int m_value;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPANSYSKEYOPT_H
