#ifndef PLYSTRAND_LAYUPLIB_CREATEELEMS_H
#define PLYSTRAND_LAYUPLIB_CREATEELEMS_H

// Making tria3 elements from free-edge loops. The loop filling itself,
// CKpBdyNodeStore::CreateElems and CreateElemsMidpt, is declared with the
// loop (CKpBdyNodeStore.h) and defined in CreateElems.cpp.

class CKpElemStore;
class CKpNode;

// Makes one tria3 element over the nodes a, b, c (in that order; node ids
// and node pointers both set): id = the store's largest id + 1 (1 for an
// empty store), gmtp 11, eltp 1, every other field at its default; inserts
// it into `elems`. The nodes belong to the node store. 0; -1 when a pointer
// is null, the largest id is INT_MAX, or the element cannot be allocated or
// stored (nothing inserted).
int CreateTria3Elem(CKpElemStore* elems, CKpNode* a, CKpNode* b, CKpNode* c);

#endif  // PLYSTRAND_LAYUPLIB_CREATEELEMS_H
