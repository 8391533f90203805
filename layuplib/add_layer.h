#ifndef PLYSTRAND_LAYUPLIB_ADD_LAYER_H
#define PLYSTRAND_LAYUPLIB_ADD_LAYER_H

// Placing plies in the layup and emptying it.
//
// A placement (a layup ply, CKpLypPly) pushes one entry (CKpElemLypPly) onto
// the ply stack of every element the ply covers. Stacks run bottom first;
// with s = stdn x dnfg of the ply element x side, an entry with s >= 1 goes
// on top, any other at the bottom. An element's side flag (CKpElem
// getsidefg) records which sides carry plies: 0 none, 1 the positive side,
// 2 the negative side, 3 both. Angles are radians. Messages go to the model's
// (or the given) message log: 1 information, 2 warning, 4 error.

class CKpElemStore;
class CKpLayup;
class CKpLyp;
class CKpLypPlyStore;
class CKpMsg;
class CKpPlyStore;

// One placement of the ply named `plyName` of `plyStore` into
// `layupPlyStore`:
//   1. the ply; absent: error "Could not find ply '<name>'", -1;
//   2. a layup ply with id = highest layup ply id + 1, default name
//      "gl<id>", the ply's type, id and link, instance = the ply's instance
//      count + 1 (which the ply then takes), `side`, `angleOffset`,
//      `thicknessOverride`, `globalPlyId`, `plyGroup` and `sequence` (null:
//      no label);
//   3. for each ply element whose pattern element is linked to an element
//      (others are skipped), in order: an entry on that element's stack and
//      its side flag updated (0 -> 1 for s = 1, 0 -> 2 for s = -1; 1 with
//      s = -1 or 2 with s = 1 -> 3, the element noted);
//   4. when elements were noted: warning "After adding ply <name>, plies
//      have been added to both sides of Elem:" with " <id>" for each of the
//      first 9 noted and "..." when 10 or more were, else ".".
// 0; -1 for a null store, and after the error "Could not allocate memory."
// (the ply's instance count unchanged when the layup ply cannot be made,
// also for want of an id when the highest layup ply id is INT_MAX;
// the entries already pushed stay when an entry cannot be made). `log` may
// be null (no messages).
int add_layer(CKpMsg* log, CKpPlyStore* plyStore, const char* plyName, int side, double angleOffset,
              double thicknessOverride, int globalPlyId, CKpLypPlyStore* layupPlyStore,
              const char* plyGroup, const char* sequence);

// The model's placement of a ply in its layup (the layup embedded in
// `model`):
//   1. the ply of that name; absent: error "Could not find ply '<name>', so
//      cannot add it to layup.", -1;
//   2. its pattern by id; absent: error "Could not find pattern for ply
//      '<name>', so cannot add it to layup.", -1;
//   3. a pattern whose simulation result is not 0: error "Could not add ply
//      '<name>' to layup as the draping simulation was not sucessful.", -1;
//   4. add_layer, with the angle offset 0 when `type` is 1 (painted); on
//      failure the information " eye x: ... dz: ..." with the pattern's
//      start point and application direction, then error "Could not add ply
//      '<name>' to layup", -1;
//   5. information "Ply '<name>' added to layup", 0.
// -1 without message for a null model.
int CreateLayupPly(CKpLayup* model, const char* plyGroup, const char* sequence, int type,
                   const char* plyName, int side, double angleOffset, double thicknessOverride,
                   int globalPlyId);

// Empties the layup: every element of `elements` gets side flag 0 and an
// empty stack (the entries deleted), every ply of `plies` instance count 0;
// the layup's id becomes 0, its name "" and its layup plies are deleted. 0;
// -1 for a null argument (nothing changes).
int DeleteLayup(CKpElemStore* elements, CKpPlyStore* plies, CKpLyp* layup);

// Whether `name` is free for a new ply of `model`: error "Ply name '<name>'
// already used." and -1 when a ply bears it; error "Pattern name
// '<name>_pattern' already used." and -1 when a pattern bears that name;
// else 0. Any length of name is accepted. -1 without message for a null
// model or name.
int CheckPlyName(CKpLayup* model, const char* name);

#endif  // PLYSTRAND_LAYUPLIB_ADD_LAYER_H
