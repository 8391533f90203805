#ifndef PLYSTRAND_FILEFORMATS_CRCLAM_H
#define PLYSTRAND_FILEFORMATS_CRCLAM_H

#include "layuplib/CVekObject.h"

// CRcLam: for one real constant set (the id), the laminates made from it,
// one per KEYOPT(11) value k = 0, 1, 2 that its elements use.
class CRcLam : public CVekObject {
  public:
    // Set `rlset`: no laminate ids, no value used.
    explicit CRcLam(int rlset);
    ~CRcLam() override;

    // Raises the used flag of k for k = 0, 1, 2; other values change nothing.
    void SetKeyopt11(int k);
    // 1 when k (0..2) is used, else 0 (also for any other k).
    int Used(int k) const { return valid(k) ? m_used[k] : 0; }
    // The laminate id recorded for k (0 none, also for any other k).
    int LamId(int k) const { return valid(k) ? m_lamIds[k] : 0; }
    // Records the laminate id of k (0..2; other k change nothing).
    void SetLamId(int k, int lamId) {
        if (valid(k)) m_lamIds[k] = lamId;
    }

  private:
    static bool valid(int k) { return k >= 0 && k <= 2; }

    int m_lamIds[3];
    int m_used[3];
};

#endif  // PLYSTRAND_FILEFORMATS_CRCLAM_H
