#ifndef PLYSTRAND_LAYUPLIB_SAVE_NEUTRAL_H
#define PLYSTRAND_LAYUPLIB_SAVE_NEUTRAL_H

class CKpElemStore;
class CKpFemtrl;
class CKpFile;
class CKpMatStore;
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

// save_neutral writes the shell model: title (25) and summary (26, N1/N2
// the store counts), node packets (1) for placed nodes in id order, element
// packets (2) for quad4/quad8 (shape 4) and tria3/tria6 (shape 3) with the
// property id equal to the element id and the corners before the midsides
// on the connectivity card, a laminate material packet (3, ID element id +
// 100, IV 12, N1 3n) for each element with n stack entries (96 zero reals,
// then per entry thickness, rotation in degrees and the number of the last
// material list record of the entry's ply type and material), a property
// packet (4) per written element, the end packet (99). Other element types
// are reported ("Unsupported facet number.") and get no packet at all.
// 0; -1 after an error ("Could not open file '%s' for writing.", "Could not
// allocate memory." with the file closed, a failed write, "Could not close
// file.").
int save_neutral(CKpMsg* msg, CKpFile* file, CKpNodeStore* nodes, CKpElemStore* elems,
                 CKpMatStore* mats);

// The material list of save_neutral: one record per material in id order,
// each followed by one record per further state in state order, numbered
// from 1. Null (after "Could not allocate memory.") when a record cannot be
// allocated; null for an empty or null store too. Free with
// CKpFemtrl::DeleteList.
CKpFemtrl* make_femtrl_list(CKpMsg* msg, CKpMatStore* mats, bool* failed);

// ImportMorvek25 reads the nodes (packet 1) and the quad4, quad8, tria3 and
// tria6 elements (packet 2, shell type 1, midside nodes moved into perimeter
// order) of the file named by `file` into the stores, sets the file type to
// "MNF" and links the elements to their nodes (node_reref: elements with a
// missing node are deleted with warnings). A header is a line whose packet
// type, ID, IV and KC columns each hold just an integer; other lines and
// other packets are skipped, as are ids below 1, unknown shapes and a
// further packet of an id already in the store (the first one counts). A CR
// before the line end is ignored; a line of any length is one line, and
// the last one reads the same without its line end. Data cards are read in
// free form, and every number read is checked (a real must be finite): the
// node card's x, y, z, the element card's node count, configuration,
// property id, 0 and three reals, the node ids its shape takes and an
// element header's N1 (blank is 0); text after them is ignored.
// Connectivity ids left out read as 0. 0; -1 after one error: "Could not open file '%s' for
// reading." (with " The file does not exist." / "is a directory." / "is
// empty." when that is why; stores untouched), "Neutral file '%s' is not a
// neutral file: its first line is not a packet header." (stores
// untouched), "Could not read node data." / "Could not read element data."
// followed by " Neutral file '%s' ends early at line %d." (end of file
// inside a packet, or a last line without line end whose fields stop
// short or whose last field is cut), by " Neutral file '%s', line %d: field
// %d is missing." or by " Neutral file '%s', line %d: field %d '%s' is not
// a valid integer." ("number", "finite number"; fields counted from 1, the
// header's N1 being field 5; the field's text up to a blank, at most 40
// characters) (what was read stays, unlinked), "Neutral file
// '%s' ends early at line %d without the end packet 99; ..." (what was
// read stays, linked) or "Could not close file.".
int ImportMorvek25(CKpMsg* msg, CKpFile* file, CKpNodeStore* nodes, CKpElemStore* elems);

#endif  // PLYSTRAND_LAYUPLIB_SAVE_NEUTRAL_H
