#ifndef PLYSTRAND_LAYUPLIB_CKPELEMREF_H
#define PLYSTRAND_LAYUPLIB_CKPELEMREF_H

#include "layuplib/CVekObject.h"

class CKpElem;

// CKpElemRef: a reference from an element of one mesh to an element of
// another, kept in the first element's reference store (CKpElem::pElemRefs).
// The ply import uses these references as its lookup table. Its CVekObject id
// is the id of the referenced element.
class CKpElemRef : public CVekObject {
  public:
    // A reference to `elem` (not owned; id 0 when null) with the rotation
    // angle `angle` (radians) from this element's frame to the referenced
    // element's, and the direction flag `flag`: +1 when both normals run the
    // same way, -1 when they run opposite ways.
    CKpElemRef(CKpElem* elem, double angle, int flag);
    ~CKpElemRef() override;
    CKpElemRef(const CKpElemRef&) = delete;
    CKpElemRef& operator=(const CKpElemRef&) = delete;

    // The referenced element; null when none was given.
    CKpElem* GetElem() const { return m_elem; }
    double GetAngle() const { return m_angle; }
    void SetAngle(double angle) { m_angle = angle; }
    int GetFlag() const { return m_flag; }
    void SetFlag(int flag) { m_flag = flag; }

  private:
    CKpElem* m_elem;  // not owned
    double m_angle;
    int m_flag;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPELEMREF_H
