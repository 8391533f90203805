#ifndef PLYSTRAND_LAYUPLIB_CREATERESULTSSORT_H
#define PLYSTRAND_LAYUPLIB_CREATERESULTSSORT_H

#include <string>

class CKpDB;
class CKpElemStore;
class CKpLamStore;
class CKpLypPly;
class CKpLyp;
class CKpMsg;
class CKpResStore;

// Sorting of per-element layer results into one result per ply: mode 0 per
// layup ply, mode 1 per global ply id of the laminates. The input results
// are those whose names 0..3 equal names[0..3]; each new result keeps names
// 0..2, name 3 gets " (Sort-Layup)" or " (Sort-GPlyID)" (no blank when it
// was empty), name 4 "Layer <gply>" (mode 1) or the section name of the
// layup ply (mode 0; "<id + 1000>" for an id without layup ply). Each
// element the ply covers gets a copy of its layer's record; in mode 0 the
// shear values 3..5 of a tensor change sign where the ply lies reversed.
// `option` nonzero numbers layers from the top of each element's stack.
// Texts are cut to 255 characters. ids[0] the first new id, ids[1] one past
// the last. 0, or -1 after an error ("Could not allocate memory.", before any
// result is made, also when the store's ids leave no room for the new
// results and the id one past them).
int CreateResultsSort2(int mode, CKpMsg* msg, CKpResStore* results, CKpDB* db,
                       CKpElemStore* elements, CKpLyp* layup, CKpLamStore* laminates,
                       const char* const names[5], const int* flags, const char* const* separators,
                       int option, int* ids);

// The layer name of a mode-0 result from up to eight parts, each taken when
// its flag is set and followed by its separator when a later part is
// taken: 0 `prefix`, 1 `number` zero-padded to the digits of `count`, 2 the
// ply name, 3 its material name, 4 the material thickness ("%G", with a
// point), 5 the pattern angle in degrees (likewise), 6 the ply type text,
// 7 "Reversed" (side below 1) or "Original".
std::string SetResultSectionName(const int* flags, const char* const* separators,
                                 const char* prefix, int number, int count,
                                 const CKpLypPly* layupPly);

// `value` zero-padded to as many digits as `count` has ("%0*d"): 10 plies
// give "01" .. "10", 100 plies "001" .. "100"; counts below 10 no padding.
std::string GetPaddedStrInt(int value, int count);

#endif  // PLYSTRAND_LAYUPLIB_CREATERESULTSSORT_H
