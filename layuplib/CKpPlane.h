#ifndef PLYSTRAND_LAYUPLIB_CKPPLANE_H
#define PLYSTRAND_LAYUPLIB_CKPPLANE_H

class CKpPoint;

// CKpPlane: the plane a·x + b·y + c·z + d = 0. The normal (a, b, c) is not
// normalised; callers may set the four coefficients directly (a unit normal
// makes a·x + b·y + c·z + d the signed distance from the plane).
class CKpPlane {
  public:
    double a = 0.0;
    double b = 0.0;
    double c = 0.0;
    double d = 0.0;

    // The plane through p0, p1, p2: normal (p1 - p0) × (p2 - p0), not
    // normalised, and d = -normal·p0. 0; -1 when the normal is zero (the
    // three points are collinear or coincide; the degenerate plane is
    // stored all the same) or a pointer is null (nothing stored).
    int Set3Points(const CKpPoint* p0, const CKpPoint* p1, const CKpPoint* p2);
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPLANE_H
