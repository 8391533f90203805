#ifndef PLYSTRAND_FILEFORMATS_CCDBEBLOCK_H
#define PLYSTRAND_FILEFORMATS_CCDBEBLOCK_H

#include "layuplib/CKpStr.h"

class CKpElem;
class CKpMat;

// CCDBEblock: formats one shell element as an EBLOCK data line of the solid
// format (19i8).
class CCDBEblock {
  public:
    // Replaces `line` by the fields of `elem`, each "%8d", then "\n":
    //  1 material: the ANSYS material field, or when that is 0 (or the element
    //    has no ANSYS data) the id of `defaultMaterial` (may be null);
    //  2 element type, 3 real constant set: the ANSYS fields;
    //  4 section: the property id for quad4 and tria3, else 0;
    //  5-8 element coordinate system, birth/death, solid model reference,
    //    shape flag: the ANSYS fields;
    //  9 node count: 4 for quad4 and tria3, 8 for quad8 and tria6, else 0;
    //  10 the eighth ANSYS field; 11 the element id;
    //  12.. the node ids in ANSYS order (corners first): quad4 1 2 3 4,
    //    quad8 1 3 5 7 2 4 6 8, tria3 1 2 3 3, tria6 1 3 5 5 2 4 5 6 (stored
    //    perimeter positions from 1).
    // ANSYS fields read 0 without ANSYS data.
    static void SetGet(const CKpElem* elem, const CKpMat* defaultMaterial, CKpStr& line);
    // The same into `out` (room for 256 bytes); returns the length.
    static int Format(const CKpElem* elem, const CKpMat* defaultMaterial, char* out);
    // The field values of the line (at most 19) into `fields`; returns the
    // count. Used to check widths before a file is opened.
    static int Fields(const CKpElem* elem, const CKpMat* defaultMaterial, long long* fields);
};

#endif  // PLYSTRAND_FILEFORMATS_CCDBEBLOCK_H
