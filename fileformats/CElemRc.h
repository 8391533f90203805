#ifndef PLYSTRAND_FILEFORMATS_CELEMRC_H
#define PLYSTRAND_FILEFORMATS_CELEMRC_H

#include "layuplib/CVekObject.h"

// CElemRc: the link a CDB read keeps from a SHELL99 element (the id) to its
// real constant set and the KEYOPT(11) value of its element type (0 nodes
// at the mid-surface, 1 bottom, 2 top), until the laminates of the sets
// exist.
class CElemRc : public CVekObject {
  public:
    CElemRc(int elemId, int rlset, int keyopt11)
        : CVekObject(elemId), m_rlset(rlset), m_keyopt11(keyopt11) {}
    ~CElemRc() override;

    int Rlset() const { return m_rlset; }
    int Keyopt11() const { return m_keyopt11; }

  private:
    int m_rlset;
    int m_keyopt11;
};

#endif  // PLYSTRAND_FILEFORMATS_CELEMRC_H
