#ifndef PLYSTRAND_LAYUPLIB_CLEAR_PATTERN_H
#define PLYSTRAND_LAYUPLIB_CLEAR_PATTERN_H

class CKpDrape;
class CKpFlatPatStore;
class CKpOln;
class CKpPat;
class CKpPly;

// Release of the working objects of one ply simulation. A `keep` flag of 1
// means the object belongs to a store (the model's pattern or ply store) and
// must not be deleted here; 0 means the caller's working copy is deleted.
// Every function sets the pointer to null and the flag to 0 and returns 0.

// Empties the drape grid (CKpDrape::reinit; a null grid is skipped), then
// deletes `pattern` unless `keep` is 1.
int DeletePattern(CKpDrape* drape, CKpPat*& pattern, int& keep);

// Deletes `ply` unless `keep` is 1.
int clear_ply(CKpPly*& ply, int& keep);

// Frees the closed outline ring that starts at `outline`, entry by entry
// (also a ring left open at one end).
int DeleteOutline(CKpOln*& outline);

// DeletePattern, then DeleteOutline on `outline`, then empties the flat
// patterns (a null store is skipped).
int clear_pattern(CKpDrape* drape, CKpPat*& pattern, int& keep, CKpFlatPatStore* flatPats,
                  CKpOln*& outline);

#endif  // PLYSTRAND_LAYUPLIB_CLEAR_PATTERN_H
