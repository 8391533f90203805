#ifndef PLYSTRAND_FILEFORMATS_CLAMRC_H
#define PLYSTRAND_FILEFORMATS_CLAMRC_H

#include "layuplib/CVekObject.h"

// CLamRc: for one laminate used by SHELL99 elements (the id), the number of
// the real constant set a CDB write gives it (0 until known).
class CLamRc : public CVekObject {
  public:
    CLamRc(int lamId, int rlset) : CVekObject(lamId), m_rlset(rlset) {}
    ~CLamRc() override;

    int Rlset() const { return m_rlset; }
    void SetRlset(int rlset) { m_rlset = rlset; }

  private:
    int m_rlset;
};

#endif  // PLYSTRAND_FILEFORMATS_CLAMRC_H
