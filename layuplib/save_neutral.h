#ifndef PLYSTRAND_LAYUPLIB_SAVE_NEUTRAL_H
#define PLYSTRAND_LAYUPLIB_SAVE_NEUTRAL_H

class CKpElemStore;
class CKpFile;
class CKpMsg;
class CKpNodeStore;

// Host neutral file (revision 2.5): fixed-column text of numbered packets,
// each a header card ("%2d" packet type, then ID, IV, KC, N1..N5 as "%8d")
// followed by data cards; reals in 16 columns (fortreal09).
//
// gen_solid_elems_neutral writes a solid mesh to the file named by `file`:
// title (25) and summary (26, N1/N2 the node and element counts of the
// stores), one node packet (1) per placed, unmerged node in id order, one
// element packet (2) per solid in id order (bricks 101 and 102 shape 8,
// wedges 111 and 112 shape 7; node ids in stored order, ten a line), the
// end packet (99). Other element types are reported ("Unsupported element
// type.") and left out. Lines end in '\n'. 0; -1 after an error ("Could
// not open file '%s' for writing.", a failed write, "Could not close
// file.").
int gen_solid_elems_neutral(CKpMsg* msg, CKpFile* file, CKpNodeStore* nodes, CKpElemStore* elems);

#endif  // PLYSTRAND_LAYUPLIB_SAVE_NEUTRAL_H
