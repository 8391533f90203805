#ifndef PLYSTRAND_LAYUPLIB_CHECKMESH_H
#define PLYSTRAND_LAYUPLIB_CHECKMESH_H

class CKpElemStore;
class CKpMsg;
class CKpNodeStore;

// Decides whether the layup's mesh and a database mesh (e.g. the host's, or
// another layup's) are the same mesh, and reports the first difference as
// information (severity 1) in `msg` (may be null: no messages). All stores
// are read only.
//
// Checks, in order, stopping at the first difference:
//   1. the element counts: "Element number mismatch: Layup <n> database <m>";
//   2. the nodes, walked side by side in ascending id order until either
//      store ends (extra nodes of the longer store are not looked at): a
//      pair whose ids differ, or whose positions differ by `tolerance` or
//      more on some axis (model length units), gives
//      "Node position mismatch for tolerance <tol>:\n Layup    id <id> xyz
//      <x> <y> <z>\n database id <id> xyz <x> <y> <z>";
//   3. the elements, walked side by side in ascending id order: a pair that
//      differs in id, geometry type (gmtp), kind (eltp) or node count gives
//      four messages "Element type mismatch: Layup id   ... database id
//      ...", then gmtp, eltp and nnod; a pair whose node ids differ at some
//      (perimeter) position gives "Element connectivity mismatch: Layup id
//      ... database id ..." and "Element connectivity mismatch: Layup nid
//      ... database nid ... on nd <position from 1>".
// Numbers are printed "%6d" and "%16g" (position "%1d").
//
// Returns 0 when the meshes match, 1 at the first difference; 1 without a
// message when a store is null.
int CheckMesh(CKpMsg* msg, CKpNodeStore* layupNodes, CKpElemStore* layupElems,
              CKpNodeStore* dbNodes, CKpElemStore* dbElems, double tolerance);

#endif  // PLYSTRAND_LAYUPLIB_CHECKMESH_H
