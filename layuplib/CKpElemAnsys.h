#ifndef PLYSTRAND_LAYUPLIB_CKPELEMANSYS_H
#define PLYSTRAND_LAYUPLIB_CKPELEMANSYS_H

// CKpElemAnsys: the ANSYS data of one element (eight integers as the CDB
// exchange gives them, kept in this order), created on demand by the
// element and saved as its record 208 of the layup file.
class CKpElemAnsys {
  public:
    enum { NUM_VALUES = 8 };

    // All eight values 0.
    CKpElemAnsys();

    // Sets all eight values to 0.
    void init();

    // Value i (0..7); 0 for any other i.
    int Get(int i) const { return valid(i) ? m_vals[i] : 0; }

    // Sets value i (0..7); any other i changes nothing.
    void Set(int i, int value) {
        if (valid(i)) m_vals[i] = value;
    }

  private:
    static bool valid(int i) { return i >= 0 && i < NUM_VALUES; }

    int m_vals[NUM_VALUES];
};

#endif  // PLYSTRAND_LAYUPLIB_CKPELEMANSYS_H
