#ifndef PLYSTRAND_LAYUPLIB_NODE_REREF_H
#define PLYSTRAND_LAYUPLIB_NODE_REREF_H

// Linking of the mesh records after a mesh has been read: element node ids
// to node objects, pattern element ids to elements.

class CKpElemStore;
class CKpMsg;
class CKpNodeStore;
class CKpPatStore;

// For every element and each of its node positions, looks the node id up in
// `nodes` and stores the node pointer in the element. Each id not found
// draws the warning "Missing node <position from 1> id <node id> on element
// id <element id>."; an element with a missing node then draws "Deleting
// element id <id>." and is removed from `elems` and deleted. Returns 1; -1
// for a null store (nothing done). `msg` may be null (no messages).
int node_reref(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems);

// For every pattern of `patterns` and each of its pattern elements, links
// the pattern element to the element of its id. An id below 1, above the
// largest element id or not in `elems` draws the warning "Element <id>
// referenced by pattern <pattern name> does not exist, deleting the pattern
// element data." and that pattern element is unlinked from its pattern and
// deleted. Returns 0; -1 for a null store (nothing done).
int elem_reref(CKpMsg* msg, CKpElemStore* elems, CKpPatStore* patterns);

#endif  // PLYSTRAND_LAYUPLIB_NODE_REREF_H
