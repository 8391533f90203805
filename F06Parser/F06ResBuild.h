#ifndef PLYSTRAND_F06PARSER_F06RESBUILD_H
#define PLYSTRAND_F06PARSER_F06RESBUILD_H

#include "F06Parser/CF06ResBranch.h"

class CKpLayup;
class CKpRes;
class CKpResElem;
class CF06NameBranch;

// Filing layered result records of the solver readers.
//
// A reader keeps one "current" blank result, gives it the names and codes
// of the next record and hands the record in. When a stored result has the
// same five names, the record goes there and the current result stays with
// the caller; otherwise the current result is stored in the model's result
// store, takes the record, and a new blank result with the store's highest
// id + 1 becomes the caller's current one.

// Files `elem` (owned from here on; an existing record of that element is
// overwritten and `elem` deleted). 0; -1 for null arguments or when memory
// runs out (elem is deleted, nothing filed).
int FindOrCreateResElem(CKpLayup* model, CF06ResBranchArray* branches, CKpRes** current,
                        CKpResElem* elem);

// Puts `elem` into `res`: a record of that element already there takes the
// new values and `elem` is deleted; otherwise `res` owns it.
void FileResElem(CKpRes* res, CKpResElem* elem);

// Files a new record of element `eid` with `n` floats from `values` into
// `res` as FileResElem does. 0; -1 for a null result or when memory runs
// out.
int FileResValues(CKpRes* res, int eid, int n, const float* values);

// The result that took the last record filed through `branches`; null
// before the first.
inline CKpRes* LastFiledResult(const CF06ResBranchArray* branches) {
    return branches && branches->m_last ? branches->m_last->GetRes() : nullptr;
}

// Shell forces: "Shell Forces"/"Membrane Forces" with Fx, Fy, 0, Fxy, Qy, Qx
// and "Shell Forces"/"Bending Moments" with Mx, My, 0, Mxy, 0, 0 (values in
// the order Fx Fy Fxy Mx My Mxy Qx Qy); with `second` nonzero six more from
// `values2` in the same order. Orientation 1, type 3, location 1. The name
// branch is not used (may be null). 0 or -1.
int CreateResElemForce(CKpLayup* model, CF06NameBranch* names, CF06ResBranchArray* branches,
                       CKpRes** current, const char* subtitle, const char* label, int eid,
                       const float values[8], int second, const float values2[8]);

// One failure index under "Failure Indices"/criterion/"Layer <layer>"; with
// interfaceFlag -1 also `bond` under "Interface <layer>-<layer+1>".
// Orientation 4, type 1, location 1. 0 or -1.
int CreateResElemFailure(CKpLayup* model, CF06NameBranch* names, CF06ResBranchArray* branches,
                         CKpRes** current, const char* subtitle, const char* label,
                         const char* criterion, int layer, int eid, float value, int interfaceFlag,
                         float bond);

// The bond index alone under "Interface <layer>-<layer+1>" (what
// CreateResElemFailure files for interfaceFlag -1 after the layer). 0 or -1.
int CreateResElemInterface(CKpLayup* model, CF06ResBranchArray* branches, CKpRes** current,
                           const char* subtitle, const char* label, const char* criterion,
                           int layer, int eid, float bond);

// Ply stresses s1 s2 t12 t1z t2z under "Stress Tensor"/"Fibre Directions"/
// "Layer <layer>" as s1, s2, 0, t12, t2z, t1z. Orientation 4, type 3,
// location 1. 0 or -1.
int CreateResElemStress(CKpLayup* model, CF06NameBranch* names, CF06ResBranchArray* branches,
                        CKpRes** current, const char* subtitle, const char* label, int layer,
                        int eid, const float stress[5]);

#endif  // PLYSTRAND_F06PARSER_F06RESBUILD_H
