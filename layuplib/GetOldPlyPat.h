#ifndef PLYSTRAND_LAYUPLIB_GETOLDPLYPAT_H
#define PLYSTRAND_LAYUPLIB_GETOLDPLYPAT_H

class CKpLayup;
class CKpPat;
class CKpPly;

// Looks up the ply named `plyName` (exact, case-sensitive) in the model's ply
// store and the pattern it refers to in the pattern store. On success *ply
// and *pat receive them (owned by the stores) and the result is 0. -1 with
// an error in the model's log when the ply ("Could not find ply '%s' to
// modify.") or its pattern ("Could not find pattern for ply '%s'.") is
// absent; -1 for a null model, name or out pointer. On failure *ply and *pat
// are left as they were.
int GetOldPlyPat(CKpLayup* model, const char* plyName, CKpPly** ply, CKpPat** pat);

#endif  // PLYSTRAND_LAYUPLIB_GETOLDPLYPAT_H
