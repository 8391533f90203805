#ifndef PLYSTRAND_LAYUPLIB_CKPVIEW_H
#define PLYSTRAND_LAYUPLIB_CKPVIEW_H

// CKpView: the model's view rotation, a 3×3 matrix kept row by row. It is
// saved with the layup file as three angles and set again from them.
class CKpView {
  public:
    // The identity.
    CKpView();

    // Back to the identity.
    void Identity();

    // Entry of row i, column j (each 0..2); 0.0 outside that range.
    double xfm(int i, int j) const;

    // Sets the matrix from three angles a, b, c in radians (sX = sin X,
    // cX = cos X):
    //   row 0: cb·cc,                cb·sc,                -sb
    //   row 1: sa·sb·cc - ca·sc,     sa·sb·sc + ca·cc,     sa·cb
    //   row 2: ca·sb·cc + sa·sc,     ca·sb·sc - sa·cc,     ca·cb
    void rot(double a, double b, double c);

  private:
    double m_xfm[9];
};

#endif  // PLYSTRAND_LAYUPLIB_CKPVIEW_H
