#ifndef PLYSTRAND_LAYUPLIB_CALCELEMENTDATA2_H
#define PLYSTRAND_LAYUPLIB_CALCELEMENTDATA2_H

// Element data for the projected fibre angles and the surface queries.

class CKpDirn;
class CKpElem;
class CKpMsg;
class CKpPoint;

// The geometry of one shell element (model length units, basic frame):
// *midpt its midpoint (CKpElem::GetMidpt), *normal its unit normal
// (GetNormal), *ref its reference direction (GetReference), *area its area
// in square model units (GetArea), queried in that order; every output
// must be given. `msg` is not written to.
// 0; -1 for a null element or output (nothing written); otherwise the
// status of the first query that fails (1; the outputs before it are
// written).
int CalcElementData2(CKpMsg* msg, const CKpElem* elem, CKpPoint* midpt, CKpDirn* normal,
                     CKpDirn* ref, double* area);

#endif  // PLYSTRAND_LAYUPLIB_CALCELEMENTDATA2_H
