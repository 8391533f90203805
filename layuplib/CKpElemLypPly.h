#ifndef PLYSTRAND_LAYUPLIB_CKPELEMLYPPLY_H
#define PLYSTRAND_LAYUPLIB_CKPELEMLYPPLY_H

#include "layuplib/CVekListItem.h"

class CKpLypPly;
class CKpPlyElem;

// CKpElemLypPly: one entry of an element's ply stack: the layup ply (one
// placement of a ply in the layup) and the ply element of that ply on this
// element. Placing a ply in the layup pushes one such entry onto the stack of
// every element the ply covers. Both links are held, not owned.
//
// Values come from the layup ply (type, ply id, instance, global ply id,
// thickness override, angle offset, its ply's start-direction flag) and from
// the ply element (direction flag, material, fibre angles, thickness). A
// missing link reads as 0. Angles are radians in the element's frame.
class CKpElemLypPly : public CVekListItem {
  public:
    CKpElemLypPly(CKpLypPly* lypPly, CKpPlyElem* plyElem);
    // Copies both links; the copy lies in no list.
    CKpElemLypPly(const CKpElemLypPly& other);
    CKpElemLypPly& operator=(const CKpElemLypPly&) = delete;
    // Clears both links and destroys neither.
    ~CKpElemLypPly() override;

    // The layup ply and its id (0 without layup ply; layup ply ids start
    // at 1).
    CKpLypPly* getLypPly() const { return m_lypPly; }
    void setLypPly(CKpLypPly* lypPly) { m_lypPly = lypPly; }
    int getLypPlyId() const;

    // The ply element.
    CKpPlyElem* getPlyElem() const { return m_plyElem; }
    void setPlyElem(CKpPlyElem* plyElem) { m_plyElem = plyElem; }

    // From the layup ply: ply type, ply id, instance, global ply id.
    int lyrtp() const;
    int lyrid() const;
    int instance() const;
    int gplyid() const;
    // The layup ply's name with its instance (CKpLypPly::GetPlyNameInstance:
    // "P1", "P1_2", ...); "" without layup ply.
    const char* GetLayupPlyName() const;

    // From the ply element: direction flag, material id, material nominal
    // thickness, material state id, density, weft minus warp angle.
    int dnfg() const;
    int mtrl() const;
    double mtrlthck() const;
    int sttid() const;
    double dens() const;
    double wpwtang() const;

    // The layup ply's start-direction flag times the ply element's dnfg.
    int GetElemDnfg() const;

    // Thickness of this entry: the layup ply's thickness override when
    // greater than 0, else the ply element's thickness.
    double thck() const;

    // Fibre (warp) angle of this entry: the ply element's rotn plus
    // dnfg x (angle offset x stdn), with stdn the layup ply's start-direction
    // flag. Not wrapped.
    double rotn() const;

  private:
    CKpLypPly* m_lypPly;    // not owned
    CKpPlyElem* m_plyElem;  // not owned
};

#endif  // PLYSTRAND_LAYUPLIB_CKPELEMLYPPLY_H
