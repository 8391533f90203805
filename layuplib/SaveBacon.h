#ifndef PLYSTRAND_LAYUPLIB_SAVEBACON_H
#define PLYSTRAND_LAYUPLIB_SAVEBACON_H

#include <cstdio>

class CKpElemStore;
class CKpLypPlyStore;
class CKpMatStore;
class CKpMsg;
class CKpPlyStore;

// Text listings of the layup by plies and elements, written to an open
// stream. Both return 1 when written; the caller opens and closes the
// stream and checks it for write errors. Layup plies are walked in id
// order. Two layup plies belong to one group when their ply type and ply id
// are equal; groups are runs of consecutive layup plies, numbered from 1
// (the first layup ply is compared against type 0, id 0).

// BACON file: "! BACON data produced by Plystrand", then
//   ".PLI" and per layup ply "     I <id> ANGLE <side x offset, deg> T
//     <thickness> MAT <material external id>" (thickness: the override when
//     above 0, else the material's);
//   ".LAM" and per group "     LAM <group> PLI <id> <id>..." ;
//   ".ETA" and per group, for every ply element of the group's ply,
//     "     I <elem id + offset> LAM <group x stdn x dnfg> ANGLE <rotation,
//     deg> DRAPE 0".
// A layup ply whose ply ("Could not find specified layer.") or material
// ("Could not find specified material.") is missing is reported as an error
// and left out of that section. Null stores count as empty.
int SaveBacon(CKpMsg* msg, CKpMatStore* mats, CKpPlyStore* plys, CKpLypPlyStore* lypPlys, FILE* out,
              int elemIdOffset);

// Index file, counts "%6d": the number of layup plies; the largest number
// of stack entries referring to one layup ply; the largest stack of one
// element; then per layup ply "<id> <name, 73 columns>", its entry count and
// per entry "<elem id> <stack position from 1> <stdn x entry dnfg>"
// ("%6d %6d %2d"), elements in id order.
int SaveIndex(CKpElemStore* elems, CKpLypPlyStore* lypPlys, FILE* out);

#endif  // PLYSTRAND_LAYUPLIB_SAVEBACON_H
