#ifndef PLYSTRAND_LAYUPLIB_ELEM_SORT_H
#define PLYSTRAND_LAYUPLIB_ELEM_SORT_H

// qsort comparison functions over arrays of CKpElem* (each argument points
// at one CKpElem* slot). They order elements for grouping by property and
// orientation, and by connectivity. Null slots sort after every element
// (and compare equal among themselves). Results are negative, 0 or
// positive; values are compared, never subtracted.
//
//   cmpElemPid          pid ascending
//   cmpElemPidId        pid, then element id
//   cmpElemPidOrient    pid, then orientation: elements with an orientation
//                       (CKpElem::pOrient set) first, by the orientation's
//                       id; elements without one last
//   cmpElemPidOrientId  as cmpElemPidOrient, then element id
//   cmpElemNodes        node count, then the node ids position by position
//                       in stored (perimeter) order
//   cmpElemNodesId      as cmpElemNodes, then element id
int cmpElemPid(const void* a, const void* b);
int cmpElemPidId(const void* a, const void* b);
int cmpElemPidOrient(const void* a, const void* b);
int cmpElemPidOrientId(const void* a, const void* b);
int cmpElemNodes(const void* a, const void* b);
int cmpElemNodesId(const void* a, const void* b);

#endif  // PLYSTRAND_LAYUPLIB_ELEM_SORT_H
